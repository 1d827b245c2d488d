// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The open dialog: drives (the mounted volumes), the folder chain and the
// *.mp3 files of the current folder; each selected file opens in a new
// document window of the frame's area. Create it with new: it deletes itself
// when it closes.
#include <QDialog>
#include <QPointer>
#include <string>
#include <vector>

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
    // DirList carry the bytes of their folder's path (QByteArray) here; their
    // text only shows them. The bytes of FileList's names the dialog keeps.
    static constexpr int RootRole = Qt::UserRole;
    static constexpr int BytesRole = Qt::UserRole;

protected:
    // Return and Right on a folder of DirList enter it.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class WidestNameDelegate;

    void LoadDrives();
    void DriveList_Change();
    // Shows path in the folder tree and its *.mp3 files in the file list.
    void SetDirPath(const std::string& path);
    // The chain down to path and folders, the names of its sub-folders.
    void ShowFolderTree(const std::string& path, std::vector<std::string> folders);
    // names: the *.mp3 files of the folder shown.
    void ShowFiles(std::vector<std::string> names);
    void DirList_DblClick(QTreeWidgetItem* item);
    void cmdOpen_Click();

    WidestNameDelegate* widestName_ = nullptr;
    QPointer<QMdiArea> area_;
    std::string dirPath_;
    // The names of FileList as the folder gave them, and for each row of the
    // list the index of its name there.
    std::vector<std::string> fileBytes_;
    std::vector<std::size_t> fileRows_;
    int curDrive = -1; // the DriveList entry last shown successfully
};
