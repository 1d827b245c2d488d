#pragma once
// The open dialog: drives (the mounted volumes), the folder chain and the
// *.mp3 files of the current folder; each selected file opens in a new
// document window of the frame's area. Create it with new: it deletes itself
// when it closes.
#include <QDialog>
#include <QPointer>
#include <string>

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

    // The folder the tree and the file list show, as the system names it.
    const std::string& DirListPath() const { return dirPath_; }

    QTreeWidget* DirList;
    QComboBox* DriveList;
    QListWidget* FileList;
    QPushButton* cmdOpen;
    QPushButton* cmdClose;

    // Item data of a DriveList entry: the volume's root folder. Items of
    // DirList and FileList carry the bytes of their folder's path or file's
    // name (QByteArray) here; their text only shows them.
    static constexpr int RootRole = Qt::UserRole;
    static constexpr int BytesRole = Qt::UserRole;

private:
    void LoadDrives();
    void DriveList_Change();
    // Shows path in the folder tree and its *.mp3 files in the file list.
    void SetDirPath(const std::string& path);
    void ShowFolderTree(const std::string& path);
    void ShowFiles(const std::string& path);
    void DirList_DblClick(QTreeWidgetItem* item);
    void cmdOpen_Click();

    QPointer<QMdiArea> area_;
    std::string dirPath_;
    int curDrive = -1; // the DriveList entry last shown successfully
};
