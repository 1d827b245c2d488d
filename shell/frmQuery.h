#pragma once
// The value prompt: asks for another full path when a rename's target is
// taken. The caller fills lblFName and txtValue, shows it modal and reads
// QueryResult and CancelPressed after it has hidden itself.
#include <QDialog>

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

private:
    void txtValue_Change();
    void cmdOK_Click();
};
