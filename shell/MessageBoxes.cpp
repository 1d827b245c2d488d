// SPDX-License-Identifier: GPL-3.0-or-later
#include "MessageBoxes.h"

#include "FileNames.h"
#include "FormToolkit.h"
#include "QtText.h"
#include "frmQuery.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QWindow>

namespace Shell {

namespace {

int busyPointers = 0; // BusyPointer objects alive; theirs are the top overrides
int suspensions = 0;  // NormalPointer objects alive; the outermost takes the overrides off

struct BoxStyle {
    QMessageBox::Icon icon;
    QList<QMessageBox::StandardButton> buttons; // in order
    qsizetype defaultButton = 0;                // the first, unless the style names the second
};

BoxStyle StyleOf(int style)
{
    BoxStyle s;
    switch (style & 0x70) {
    case 16: s.icon = QMessageBox::Critical; break;
    case 32: s.icon = QMessageBox::Question; break;
    case 48: s.icon = QMessageBox::Warning; break;
    case 64: s.icon = QMessageBox::Information; break;
    default: s.icon = QMessageBox::NoIcon; break;
    }
    switch (style & 0x07) {
    case 3: s.buttons = {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel}; break;
    case 4: s.buttons = {QMessageBox::Yes, QMessageBox::No}; break;
    default: s.buttons = {QMessageBox::Ok}; break;
    }
    if ((style & Core::vbDefaultButton2) && s.buttons.size() > 1)
        s.defaultButton = 1;
    return s;
}

int ResultOf(QMessageBox::StandardButton button, const BoxStyle& style)
{
    switch (button) {
    case QMessageBox::Yes: return Core::vbYes;
    case QMessageBox::No: return Core::vbNo;
    case QMessageBox::Cancel: return Core::vbCancel;
    case QMessageBox::Ok: return Core::vbOK;
    default: break;
    }
    // Dismissed without a button: the most cautious answer the box offers.
    if (style.buttons.contains(QMessageBox::Cancel))
        return Core::vbCancel;
    return style.buttons.contains(QMessageBox::No) ? Core::vbNo : Core::vbOK;
}

// The texts Qt's Russian translation gives the standard buttons, set here so
// that they stay Russian where that translation is not installed.
QString ButtonText(QMessageBox::StandardButton button)
{
    switch (button) {
    case QMessageBox::Yes: return QStringLiteral("&Да");
    case QMessageBox::No: return QStringLiteral("&Нет");
    case QMessageBox::Cancel: return QStringLiteral("Отмена");
    default: return QStringLiteral("OK");
    }
}

// frmQuery behind the ValuePrompt interface, loaded for one file. The prompt
// is its only owner; the owner window only places it and stays beneath it.
class QueryPrompt : public Core::ValuePrompt {
public:
    QueryPrompt(QWidget* owner, std::function<bool()> askStop) : form_(std::make_unique<frmQuery>())
    {
        form_->OnEscapeTwice = std::move(askStop);
        if (!owner)
            return;
        const QWidget* window = owner->window();
        form_->winId(); // a native window to tie to the owner's
        if (QWindow* handle = form_->windowHandle())
            handle->setTransientParent(window->windowHandle());
        form_->move(window->geometry().center() - form_->rect().center());
    }

    std::string Ask(const std::string& path, const std::string& proposal) override
    {
        form_->lblFName->setText(Q(Core::Readable(path)));
        form_->txtValue->setText(Q(Core::Readable(proposal)));
        form_->txtValue->setSelection(0, form_->txtValue->text().size());
        const NormalPointer pointer;
        form_->exec();
        // The folder the user kept goes back to its own bytes.
        return Core::BytesOfEdit(U8(form_->QueryResult), proposal);
    }
    bool CancelPressed() const override { return form_->CancelPressed; }

private:
    std::unique_ptr<frmQuery> form_;
};

} // namespace

QWidget* FrameOf(QWidget* window)
{
    if (!window)
        return nullptr;
    window = window->window();
    while (QWidget* owner = window->parentWidget())
        window = owner->window();
    return window;
}

int MsgBox(const QString& text, int style, const QString& title, QWidget* owner)
{
    const BoxStyle s = StyleOf(style);
    QMessageBox box(owner ? owner : QApplication::activeWindow());
    box.setWindowTitle(title);
    box.setIcon(s.icon);
    box.setTextFormat(Qt::PlainText); // paths and tag texts are never markup
    box.setText(QString(text).replace(QLatin1Char('\r'), QLatin1Char('\n')));
    Form::KeepWindowFont(&box);
    for (QMessageBox::StandardButton b : s.buttons)
        box.addButton(b)->setText(ButtonText(b));
    box.setDefaultButton(s.buttons[s.defaultButton]);
    // Escape answers Cancel, or OK where that is the only button; a Yes/No
    // box has no answer for it.
    if (s.buttons.contains(QMessageBox::Cancel))
        box.setEscapeButton(QMessageBox::Cancel);
    else if (s.buttons == QList<QMessageBox::StandardButton>{QMessageBox::Ok})
        box.setEscapeButton(QMessageBox::Ok);
    else
        Form::IgnoreEscape(&box);
    const NormalPointer pointer;
    box.exec();
    return ResultOf(box.standardButton(box.clickedButton()), s);
}

NormalPointer::NormalPointer()
{
    if (suspensions++ == 0)
        for (int i = 0; i < busyPointers; ++i)
            QApplication::restoreOverrideCursor();
}

NormalPointer::~NormalPointer()
{
    if (--suspensions == 0)
        for (int i = 0; i < busyPointers; ++i)
            QApplication::setOverrideCursor(Qt::WaitCursor);
}

BusyPointer::BusyPointer()
{
    if (suspensions == 0)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    ++busyPointers;
}

BusyPointer::~BusyPointer()
{
    --busyPointers;
    if (suspensions == 0)
        QApplication::restoreOverrideCursor();
}

bool BusyPointer::Active()
{
    return busyPointers > 0;
}

int WindowDialogs::MsgBox(const std::string& text, int style, const std::string& title)
{
    return Shell::MsgBox(Q(Core::Readable(text)), style, Q(title), owner_);
}

std::unique_ptr<Core::ValuePrompt> WindowDialogs::NewPrompt()
{
    return std::make_unique<QueryPrompt>(FrameOf(owner_), askStop_);
}

} // namespace Shell
