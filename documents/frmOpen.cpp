#include "frmOpen.h"

#include "FileSystem.h"
#include "FormToolkit.h"
#include "MessageBoxes.h"
#include "QtText.h"
#include "frmDocument.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QMdiArea>
#include <QPushButton>
#include <QStorageInfo>
#include <QStyle>
#include <QTreeWidget>
#include <algorithm>

using Form::Place;
using mdlMain::Q;
using mdlMain::U8;

namespace {

constexpr int PathRole = Qt::UserRole;

// "/mnt/usb [MUSIC]": the mount point, and the volume label where there is one.
QString DriveEntry(const QStorageInfo& volume)
{
    const QString label = volume.name();
    return label.isEmpty() ? volume.rootPath() : volume.rootPath() + QStringLiteral(" [") + label + QLatin1Char(']');
}

// A volume that is missing, not mounted or cannot be listed is not ready.
bool DriveReady(const QString& root)
{
    const QStorageInfo volume(root);
    const QFileInfo folder(root);
    return folder.isDir() && folder.isReadable() && folder.isExecutable() && (!volume.isValid() || volume.isReady());
}

// The folder that is current on a drive: the process's current folder when it
// lies on that volume, else the volume's root.
QString CurrentFolderOn(const QString& root)
{
    const QString cwd = QDir::currentPath();
    return QStorageInfo(cwd).rootPath() == root ? cwd : root;
}

} // namespace

frmOpen::frmOpen(QWidget* owner, QMdiArea* area) : QDialog(owner), area_(area)
{
    setObjectName(QStringLiteral("frmOpen"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Открыть"));
    Form::FixWindow(this, 476, 287);

    Form::Caption(this, QStringLiteral("Папка"), 10, 5);
    DirList = Place(new QTreeWidget(this), "DirList", 5, 20, 191, 186);
    DirList->setHeaderHidden(true);
    DirList->setRootIsDecorated(false);
    DirList->setItemsExpandable(false);
    DirList->setExpandsOnDoubleClick(false);
    DirList->setIndentation(12);
    // Folders are entered by double-click, never expanded: no branch arrows.
    DirList->setStyleSheet(QStringLiteral("QTreeView::branch { image: none; }"));

    Form::Caption(this, QStringLiteral("Файлы"), 205, 5);
    FileList = Place(new QListWidget(this), "FileList", 200, 19, 271, 188);
    FileList->setSelectionMode(QAbstractItemView::ExtendedSelection);

    Form::Caption(this, QStringLiteral("Диск"), 10, 216);
    DriveList = Place(new QComboBox(this), "DriveList", 41, 212, 156, 21);

    Form::Separator(this, 5, 244, 466);
    cmdOpen = Form::Button(this, "cmdOpen", QStringLiteral("Открыть"), 280, 255);
    cmdOpen->setDefault(true);
    cmdClose = Form::Button(this, "cmdClose", QStringLiteral("Закрыть"), 380, 255);
    Form::TabOrder({DirList, FileList, DriveList, cmdOpen, cmdClose});

    // Load: the drive of the current folder, and that folder.
    LoadDrives();
    SetDirPath(QDir::currentPath());

    connect(DriveList, &QComboBox::currentIndexChanged, this, &frmOpen::DriveList_Change);
    // Queued: the tree is rebuilt, so the clicked item must not be in use.
    connect(DirList, &QTreeWidget::itemDoubleClicked, this, &frmOpen::DirList_DblClick, Qt::QueuedConnection);
    connect(FileList, &QListWidget::itemDoubleClicked, this, &frmOpen::cmdOpen_Click);
    connect(cmdOpen, &QPushButton::clicked, this, &frmOpen::cmdOpen_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);
}

void frmOpen::LoadDrives()
{
    QList<QStorageInfo> volumes = QStorageInfo::mountedVolumes();
    std::sort(volumes.begin(), volumes.end(),
              [](const QStorageInfo& a, const QStorageInfo& b) { return a.rootPath() < b.rootPath(); });
    const QString cwdRoot = QStorageInfo(QDir::currentPath()).rootPath();
    for (const QStorageInfo& volume : volumes) {
        DriveList->addItem(DriveEntry(volume), volume.rootPath());
        if (volume.rootPath() == cwdRoot)
            curDrive = DriveList->count() - 1;
    }
    if (curDrive < 0) {
        DriveList->insertItem(0, cwdRoot, cwdRoot);
        curDrive = 0;
    }
    DriveList->setCurrentIndex(curDrive);
}

void frmOpen::DriveList_Change()
{
    const int index = DriveList->currentIndex();
    if (index < 0)
        return;
    const QString root = DriveList->itemData(index, RootRole).toString();
    if (!DriveReady(root)) {
        mdlMain::MsgBox(QStringLiteral("Устройство не готово"), mdlMain::vbExclamation,
                        QStringLiteral("Диск ") + DriveList->itemText(index).toUpper(), this);
        // Back to the drive shown before; that runs this handler for it.
        DriveList->setCurrentIndex(curDrive);
        return;
    }
    SetDirPath(CurrentFolderOn(root));
    curDrive = index;
}

void frmOpen::SetDirPath(const QString& path)
{
    dirPath_ = path;
    ShowFolderTree(path);
    ShowFiles(path);
}

void frmOpen::ShowFolderTree(const QString& path)
{
    // The chain from the drive's root down to the folder, then its sub-folders;
    // a folder outside the drive hangs from "/".
    QString root = DriveList->currentData(RootRole).toString();
    const QString prefix = root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/');
    if (root.isEmpty() || (path != root && !path.startsWith(prefix)))
        root = QStringLiteral("/");
    DirList->clear();
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    auto* item = new QTreeWidgetItem(DirList, {root});
    item->setData(0, PathRole, root);
    item->setIcon(0, openIcon);
    QString chain = root;
    for (const QString& part : path.mid(root.size()).split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        chain = QDir(chain).filePath(part);
        item = new QTreeWidgetItem(item, {part});
        item->setData(0, PathRole, chain);
        item->setIcon(0, openIcon);
    }
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
    const QDir folder(path);
    for (const QString& name : folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
        auto* sub = new QTreeWidgetItem(item, {name});
        sub->setData(0, PathRole, folder.filePath(name));
        sub->setIcon(0, closedIcon);
    }
    DirList->expandAll();
    DirList->setCurrentItem(item);
}

void frmOpen::ShowFiles(const QString& path)
{
    std::vector<std::string> names = Platform::ListMp3Files(U8(path), nullptr, Platform::Links::Followed);
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return Q(a).compare(Q(b), Qt::CaseInsensitive) < 0;
    });
    FileList->clear();
    for (const std::string& name : names)
        FileList->addItem(Q(name));
}

void frmOpen::DirList_DblClick(QTreeWidgetItem* item)
{
    if (item)
        SetDirPath(item->data(0, PathRole).toString());
}

void frmOpen::cmdOpen_Click()
{
    const QString folder = dirPath_.endsWith(QLatin1Char('/')) ? dirPath_ : dirPath_ + QLatin1Char('/');
    std::vector<std::string> paths;
    for (int i = 0; i < FileList->count(); ++i)
        if (FileList->item(i)->isSelected())
            paths.push_back(U8(folder + FileList->item(i)->text()));
    if (area_)
        frmDocument::OpenFiles(area_, paths, this);
    close();
}
