#pragma once
// The open dialog: drives (the mounted volumes), the folder chain and the
// *.mp3 files of the current folder; each selected file opens in a new
// document window of the frame's area. Create it with new: it deletes itself
// when it closes.
#include <QDialog>
#include <QPointer>

class QComboBox;
class QListWidget;
class QMdiArea;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class frmOpen : public QDialog {
    Q_OBJECT
public:
    frmOpen(QWidget* owner, QMdiArea* area);

    // The folder the tree and the file list show.
    QString DirListPath() const { return dirPath_; }

    QTreeWidget* DirList;
    QComboBox* DriveList;
    QListWidget* FileList;
    QPushButton* cmdOpen;
    QPushButton* cmdClose;

    // Item data of a DriveList entry: the volume's root folder.
    static constexpr int RootRole = Qt::UserRole;

private:
    void LoadDrives();
    void DriveList_Change();
    // Shows path in the folder tree and its *.mp3 files in the file list.
    void SetDirPath(const QString& path);
    void ShowFolderTree(const QString& path);
    void ShowFiles(const QString& path);
    void DirList_DblClick(QTreeWidgetItem* item);
    void cmdOpen_Click();

    QPointer<QMdiArea> area_;
    QString dirPath_;
    int curDrive = -1; // the DriveList entry last shown successfully
};
