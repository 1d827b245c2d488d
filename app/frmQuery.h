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

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void txtValue_Change();
    void cmdOK_Click();
    void cmdCancel_Click();
};
