// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Answers the real modal dialogs that the code under test opens: polls
// QApplication::activeModalWidget() every 10 ms, records each dialog it sees
// and runs the next scripted action on it. Check the record after the call
// that opened the dialogs has returned. An action that leaves its dialog
// open (an ASSERT failed inside it) fails the test, and that dialog and
// every later one are dismissed, so the test ends instead of hanging.
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>
#include <functional>
#include <vector>

namespace testing_support {

struct SeenDialog {
    QString objectName;        // frmQuery, or empty for a message box
    QString title;
    QString text;              // message box text, or frmQuery's lblFName
    QString value;             // frmQuery's txtValue as shown
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;       // texts of the message box buttons, in order
    bool unexpected = false;   // no action was left: it was closed unanswered
};

class DialogDriver : public QObject {
    Q_OBJECT
public:
    using Action = std::function<void(QWidget* dialog)>;

    explicit DialogDriver(std::vector<Action> actions = {});
    ~DialogDriver() override;

    void Add(Action action) { actions_.push_back(std::move(action)); }
    // An action that leaves its dialog open on purpose (it posts keys, say);
    // the next action answers what comes up next.
    void AddKeepingOpen(Action action);
    // Dialogs with this object name are left to the test (a progress window
    // the test watches itself).
    void PassOver(const QString& objectName) { passOver_ << objectName; }
    const std::vector<SeenDialog>& Seen() const { return seen_; }
    std::size_t Unused() const { return actions_.size() - next_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Poll();
    static void Dismiss(QWidget* dialog);

    std::vector<Action> actions_;
    std::vector<std::size_t> keepingOpen_; // indexes of actions that may leave their dialog open
    QStringList passOver_;
    std::size_t next_ = 0;
    std::vector<SeenDialog> seen_;
    QTimer timer_;
    QPointer<QWidget> handled_; // the dialog answered last, until it hides
    bool busy_ = false;
    bool broken_ = false; // an action left its dialog open: the rest are dismissed
};

// The control of window with this object name; a failure of the test when
// there is none.
template <class T>
T* Find(QWidget* window, const char* name)
{
    T* w = window->findChild<T*>(QString::fromLatin1(name));
    if (!w)
        ADD_FAILURE() << "no control " << name;
    return w;
}

// Presses a standard button of a QMessageBox.
DialogDriver::Action Answer(QMessageBox::StandardButton button);
// Clicks the button with this object name inside the dialog.
DialogDriver::Action Click(const char* buttonObjectName);
// Sets frmQuery's txtValue to text, then presses OK.
DialogDriver::Action QueryAnswer(const QString& text);
// Gives a button the focus and presses Return, as a user who tabbed to it.
DialogDriver::Action ReturnOn(QMessageBox::StandardButton button);
DialogDriver::Action ReturnOn(const char* buttonObjectName);
// Closes the dialog by its frame (as the window's close box does).
DialogDriver::Action CloseBox();

} // namespace testing_support
