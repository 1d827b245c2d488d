// SPDX-License-Identifier: GPL-3.0-or-later
#include "AccessibleMenus.h"

#include <QAccessible>
#include <QAccessibleObject>
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

namespace Shell {

namespace {

// A menu bar's entry as Qt's own is, with the menu's accessible name.
class NamedEntry : public QAccessibleObject, public QAccessibleActionInterface {
public:
    NamedEntry(QAction* action, QMenuBar* bar) : QAccessibleObject(action), action_(action), bar_(bar) {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }
    bool isValid() const override { return action_ && bar_; }
    QWindow* window() const override { return bar_ ? bar_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(bar_.data()); }
    int childCount() const override { return action_ && action_->menu() ? 1 : 0; }
    QAccessibleInterface* child(int index) const override
    {
        return index == 0 && childCount() ? QAccessible::queryAccessibleInterface(action_->menu()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return childCount() && child && child->object() == action_->menu() ? 0 : -1;
    }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::MenuItem; }
    QString text(QAccessible::Text t) const override
    {
        if (!isValid())
            return {};
        if (t == QAccessible::Name)
            return action_->menu()->accessibleName();
        if (t == QAccessible::Accelerator) {
            const qsizetype amp = action_->text().indexOf(QLatin1Char('&'));
            return amp >= 0 && amp + 1 < action_->text().size()
                       ? QKeySequence(Qt::ALT).toString(QKeySequence::NativeText) + action_->text().at(amp + 1)
                       : QString();
        }
        return {};
    }
    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect r = bar_->actionGeometry(action_);
        return QRect(bar_->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!isValid())
            return s;
        s.invisible = !bar_->isVisible() || !action_->isVisible();
        s.disabled = !action_->isEnabled();
        s.focused = bar_->activeAction() == action_;
        s.hasPopup = true;
        return s;
    }

    QStringList actionNames() const override { return {showMenuAction()}; }
    void doAction(const QString& name) override
    {
        if (name == showMenuAction() && isValid() && action_->isEnabled())
            bar_->setActiveAction(action_);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QPointer<QAction> action_;
    QPointer<QMenuBar> bar_;
};

QAccessibleInterface* NamedEntryFactory(const QString&, QObject* object)
{
    auto* action = qobject_cast<QAction*>(object);
    if (!action || !action->menu() || action->menu()->accessibleName().isEmpty())
        return nullptr;
    for (QObject* user : action->associatedObjects())
        if (auto* bar = qobject_cast<QMenuBar*>(user))
            return new NamedEntry(action, bar);
    return nullptr;
}

} // namespace

void NameMenuBarEntries()
{
    static const bool installed = (QAccessible::installFactory(NamedEntryFactory), true);
    (void)installed;
}

} // namespace Shell
