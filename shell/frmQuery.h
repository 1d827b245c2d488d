// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The value prompt: asks for another full path when a rename's target is
// taken. The caller fills lblFName and txtValue, shows it modal and reads
// QueryResult and CancelPressed after it has hidden itself.
#include <QDialog>
#include <QList>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

class frmQuery : public QDialog {
    Q_OBJECT
public:
    explicit frmQuery(QWidget* owner = nullptr);

    QString QueryResult;        // the text confirmed with OK; "" after Cancel
    bool CancelPressed = false; // True after Cancel or the close box

    QLabel* lblFName;
    QLineEdit* txtValue;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

    // Cancel, the close box and anything else that dismisses the dialog
    // without OK leave the state of Cancel, so no rename is attempted.
    void reject() override;

    // Escape alone does nothing; twice in a row, with no other key between,
    // it calls this (when set), and a true answer dismisses the prompt as
    // Cancel.
    std::function<bool()> OnEscapeTwice;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Tells a screen reader, in the field's description, which file is
    // being renamed.
    void showEvent(QShowEvent* event) override;

private:
    void txtValue_Change();
    void cmdOK_Click();

    bool escapePressed_ = false; // the last key pressed was Escape
    QList<QLabel*> intro_;       // the labels above the field, in reading order
};
