#include "frmOpen.h"

#include "FileNames.h"
#include "FileSystem.h"
#include "FormToolkit.h"
#include "MessageBoxes.h"
#include "Paths.h"
#include "QtText.h"
#include "frmDocument.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QMdiArea>
#include <QPushButton>
#include <QStorageInfo>
#include <QStyle>
#include <QTreeWidget>
#include <algorithm>

using Shell::Form::Place;
using Shell::Q;
using Core::Readable;

namespace {

constexpr int BytesRole = frmOpen::BytesRole;

std::string Bytes(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

QByteArray ItemBytes(const std::string& bytes)
{
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// Names in the order the user reads them: as shown, ignoring letter case.
void SortReadably(std::vector<std::string>& names)
{
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return Q(Readable(a)).compare(Q(Readable(b)), Qt::CaseInsensitive) < 0;
    });
}

// The process's current folder, as the system names it; "/" when it is gone.
std::string CurrentFolder()
{
    const std::string cwd = Core::Platform::CurrentFolder();
    return cwd.empty() ? std::string("/") : cwd;
}

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

// The root of the volume of the current folder. Qt cannot name a folder that
// is not UTF-8, so the nearest one above it that it can name stands in.
QString CurrentRoot()
{
    std::string folder = CurrentFolder();
    while (folder.size() > 1 && Readable(folder) != folder) {
        const std::size_t slash = folder.rfind('/');
        folder.resize(slash == 0 || slash == std::string::npos ? 1 : slash);
    }
    return QStorageInfo(Q(folder)).rootPath();
}

// The folder that is current on a drive: the process's current folder when it
// lies on that volume, else the volume's root.
std::string CurrentFolderOn(const QString& root)
{
    return CurrentRoot() == root ? CurrentFolder() : Bytes(root);
}

} // namespace

frmOpen::frmOpen(QWidget* owner, QMdiArea* area) : QDialog(owner), area_(area)
{
    setObjectName(QStringLiteral("frmOpen"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Открыть"));
    Shell::Form::FixWindow(this, 476, 287);

    DirList = Place(new QTreeWidget(this), "DirList", 5, 20, 191, 186);
    Shell::Form::Caption(this, QStringLiteral("Папка"), 10, 5, DirList);
    DirList->setHeaderHidden(true);
    DirList->setRootIsDecorated(false);
    DirList->setItemsExpandable(false);
    DirList->setExpandsOnDoubleClick(false);
    DirList->setIndentation(12);
    // Folders are entered by double-click, never expanded: no branch arrows.
    DirList->setStyleSheet(QStringLiteral("QTreeView::branch { image: none; }"));

    FileList = Place(new QListWidget(this), "FileList", 200, 19, 271, 188);
    Shell::Form::Caption(this, QStringLiteral("Файлы"), 205, 5, FileList);
    FileList->setSelectionMode(QAbstractItemView::ExtendedSelection);

    DriveList = Place(new QComboBox(this), "DriveList", 41, 212, 156, 21);
    Shell::Form::Caption(this, QStringLiteral("Диск"), 10, 216, DriveList);

    Shell::Form::Separator(this, 5, 244, 466);
    cmdOpen = Shell::Form::Button(this, "cmdOpen", QStringLiteral("Открыть"), 280, 255);
    cmdOpen->setDefault(true);
    cmdClose = Shell::Form::Button(this, "cmdClose", QStringLiteral("Закрыть"), 380, 255);
    Shell::Form::TabOrder({DirList, FileList, DriveList, cmdOpen, cmdClose});

    // Load: the drive of the current folder, and that folder.
    LoadDrives();
    SetDirPath(CurrentFolder());

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
    const QString cwdRoot = CurrentRoot();
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
        Shell::WindowDialogs(this).MsgBox("Устройство не готово", Core::vbExclamation,
                                          Shell::U8(QStringLiteral("Диск ") + DriveList->itemText(index).toUpper()));
        // Back to the drive shown before; that runs this handler for it.
        DriveList->setCurrentIndex(curDrive);
        return;
    }
    SetDirPath(CurrentFolderOn(root));
    curDrive = index;
}

void frmOpen::SetDirPath(const std::string& path)
{
    dirPath_ = path;
    ShowFolderTree(path);
    ShowFiles(path);
}

void frmOpen::ShowFolderTree(const std::string& path)
{
    // The chain from the drive's root down to the folder, then its sub-folders;
    // a folder outside the drive hangs from "/".
    const std::string drive = Bytes(DriveList->currentData(RootRole).toString());
    const bool onDrive
        = !drive.empty() && (path == drive || path.starts_with(drive.ends_with('/') ? drive : drive + '/'));
    const std::string root = onDrive ? drive : std::string(1, '/');
    DirList->clear();
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const auto addItem = [](auto* parent, const std::string& name, const std::string& bytes, const QIcon& icon) {
        auto* item = new QTreeWidgetItem(parent, {Q(Readable(name))});
        item->setData(0, BytesRole, ItemBytes(bytes));
        item->setIcon(0, icon);
        return item;
    };
    QTreeWidgetItem* item = addItem(DirList, root, root, openIcon);
    std::string chain = root;
    for (std::size_t begin = root.size(); begin < path.size();) {
        std::size_t end = path.find('/', begin);
        if (end == std::string::npos)
            end = path.size();
        if (end > begin) {
            const std::string part = path.substr(begin, end - begin);
            chain = Core::JoinPath(chain, part);
            item = addItem(item, part, chain, openIcon);
        }
        begin = end + 1;
    }
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
    std::vector<std::string> folders = Core::Platform::ListFolders(path);
    SortReadably(folders);
    for (const std::string& name : folders)
        addItem(item, name, Core::JoinPath(path, name), closedIcon);
    DirList->expandAll();
    DirList->setCurrentItem(item);
}

void frmOpen::ShowFiles(const std::string& path)
{
    std::vector<std::string> names = Core::Platform::ListMp3Files(path, nullptr, Core::Platform::Links::Followed);
    SortReadably(names);
    FileList->clear();
    for (const std::string& name : names) {
        auto* item = new QListWidgetItem(Q(Readable(name)), FileList);
        item->setData(BytesRole, ItemBytes(name));
    }
}

void frmOpen::DirList_DblClick(QTreeWidgetItem* item)
{
    if (item)
        SetDirPath(item->data(0, BytesRole).toByteArray().toStdString());
}

void frmOpen::cmdOpen_Click()
{
    std::vector<std::string> paths;
    for (int i = 0; i < FileList->count(); ++i)
        if (FileList->item(i)->isSelected())
            paths.push_back(Core::JoinPath(dirPath_, FileList->item(i)->data(BytesRole).toByteArray().toStdString()));
    if (area_)
        frmDocument::OpenFiles(area_, paths, this);
    close();
}
