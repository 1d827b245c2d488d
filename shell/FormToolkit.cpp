// SPDX-License-Identifier: GPL-3.0-or-later
#include "FormToolkit.h"

#include <QApplication>
#include <QComboBox>
#include <QFont>
#include <QFrame>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <algorithm>
#include <cmath>

namespace Shell::Form {

namespace {

class EscapeBlocker : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
            return true;
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

QPushButton* Button(QWidget* parent, const char* name, const QString& text, int x, int y)
{
    return Place(new QPushButton(text, parent), name, x, y, 91, 26);
}

QLabel* Caption(QWidget* parent, const QString& text, int x, int y, QWidget* buddy)
{
    auto* label = new QLabel(text, parent);
    if (buddy)
        Names(label, buddy);
    label->adjustSize();
    label->move(x, y);
    return label;
}

QLabel* CaptionBefore(QWidget* parent, const QString& text, QWidget* buddy, int right)
{
    auto* label = new QLabel(text, parent);
    Names(label, buddy);
    label->setGeometry(0, buddy->y(), right, buddy->height());
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

void Names(QLabel* caption, QWidget* field)
{
    caption->setBuddy(field);
    field->setAccessibleName(caption->text());
}

void NameBlankEntries(QComboBox* list, const QString& name)
{
    for (int i = 0; i < list->count(); ++i)
        if (list->itemText(i).isEmpty())
            list->setItemData(i, name, Qt::AccessibleTextRole);
}

QFrame* Separator(QWidget* parent, int x, int y, int width)
{
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(x, y, width, 2);
    return line;
}

void TabOrder(std::initializer_list<QWidget*> order)
{
    QWidget* previous = nullptr;
    for (QWidget* w : order) {
        if (previous)
            QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

QFont WindowFont()
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSizeF(8.25);
    return font;
}

void KeepWindowFont(QWidget* window)
{
    // A font set on the window is inherited by its controls ahead of the
    // application's and of the per-class fonts a platform theme installs.
    window->setFont(WindowFont());
}

void FixWindow(QWidget* window, int clientWidth, int clientHeight)
{
    KeepWindowFont(window);
    window->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    window->setFixedSize(clientWidth, clientHeight);
    IgnoreEscape(window);
}

void IgnoreEscape(QWidget* window)
{
    window->installEventFilter(new EscapeBlocker(window));
}

namespace {

double Luminance(const QColor& c)
{
    const auto linear = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    const QColor rgb = c.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) + 0.0722 * linear(rgb.blueF());
}

} // namespace

double Contrast(const QColor& a, const QColor& b)
{
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

bool Reads(const QColor& text, const QColor& background)
{
    return Contrast(text, background) >= 4.5;
}

void SetFieldColour(QWidget* field, const QColor& colour, QPalette::ColorRole role)
{
    // Judged by the palette the field would have of itself, so that a
    // second call (a field greyed out, then enabled again) decides afresh.
    const QPalette own = field->parentWidget() ? field->parentWidget()->palette() : QApplication::palette(field);
    const QColor paint = Reads(own.color(QPalette::Active, QPalette::Text), colour) ? colour
                                                                                  : own.color(QPalette::Active, role);
    QPalette pal = field->palette();
    pal.setColor(QPalette::Base, paint);
    pal.setColor(QPalette::Button, paint);
    field->setPalette(pal);
}

FocusBack::~FocusBack()
{
    GiveFocus(widget_);
}

void GiveFocus(QWidget* widget)
{
    if (!widget || !widget->isVisible())
        return;
    widget->window()->activateWindow();
    widget->setFocus(Qt::OtherFocusReason);
}

PlaceholderLabel::PlaceholderLabel(const QString& caption, QWidget* parent, std::function<void()> onClick)
    : QLabel(caption, parent), onClick_(std::move(onClick))
{
    const QColor darkBlue(0, 0, 192);
    QPalette pal = palette();
    const QColor window = pal.color(QPalette::Active, QPalette::Window);
    QColor ink = darkBlue;
    if (!Reads(ink, window))
        ink = pal.color(QPalette::Active, QPalette::Link);
    if (!Reads(ink, window)) // a theme whose link colour is made for fields, not windows
        ink = pal.color(QPalette::Active, QPalette::WindowText);
    pal.setColor(QPalette::WindowText, ink);
    setPalette(pal);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
}

void PlaceholderLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        onClick_();
    QLabel::mouseReleaseEvent(event);
}

} // namespace Shell::Form
