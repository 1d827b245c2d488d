// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmOpen.h"

#include "FileNames.h"
#include "FileSystem.h"
#include "FormToolkit.h"
#include "MessageBoxes.h"
#include "Paths.h"
#include "QtText.h"
#include "frmDocument.h"

#include <QComboBox>
#include <QFontMetricsF>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QListWidget>
#include <QMdiArea>
#include <QPushButton>
#include <QStorageInfo>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <algorithm>
#include <functional>
#include <string_view>

namespace Form = Shell::Form;
using Form::Place;
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

// Names as a folder gave them, the text the lists show for each, and the
// order in which the user reads them.
struct Listing {
    std::vector<std::string> bytes;
    std::vector<QString> texts;
    std::vector<std::size_t> order; // indexes into bytes and texts
};

// Appends text, case-folded a character at a time as QString::toCaseFolded
// folds it, to keys as big-endian UTF-16: bytes that compare as the folded
// code units do, and so as a case-insensitive comparison of the texts.
void AppendFolded(std::string& keys, const QString& text)
{
    const auto put = [&keys](char16_t unit) {
        keys += static_cast<char>(unit >> 8);
        keys += static_cast<char>(unit & 0xff);
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            c = QChar::surrogateToUcs4(static_cast<char16_t>(c), text[++i].unicode());
        c = QChar::toCaseFolded(c);
        if (QChar::requiresSurrogates(c)) {
            put(QChar::highSurrogate(c));
            put(QChar::lowSurrogate(c));
        } else {
            put(static_cast<char16_t>(c));
        }
    }
}

// The order in which the user reads names: as shown, ignoring letter case;
// names that differ only in case by their shown text. Each name is decoded
// and folded once, not at each of the n log n comparisons, and the folded
// texts lie side by side, where comparing them touches little memory.
Listing InReadingOrder(std::vector<std::string> names)
{
    Listing listing{std::move(names), {}, {}};
    const std::size_t count = listing.bytes.size();
    struct Key {
        std::size_t offset, length, index;
    };
    std::vector<Key> keys;
    std::string folded;
    listing.texts.reserve(count);
    keys.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        listing.texts.push_back(Q(Readable(listing.bytes[i])));
        const std::size_t offset = folded.size();
        AppendFolded(folded, listing.texts.back());
        keys.push_back({offset, folded.size() - offset, i});
    }
    const auto folding = [&](const Key& k) { return std::string_view(folded).substr(k.offset, k.length); };
    std::sort(keys.begin(), keys.end(), [&](const Key& a, const Key& b) {
        const int order = folding(a).compare(folding(b));
        return order != 0 ? order < 0 : listing.texts[a.index] < listing.texts[b.index];
    });
    listing.order.reserve(count);
    for (const Key& key : keys)
        listing.order.push_back(key.index);
    return listing;
}

// The index of the text that needs the most room in font. Shaping each text
// costs as much as the view's measuring it, so texts are judged by the sum of
// their characters' advances, each character measured once, and only the
// few widest by that sum are shaped whole: kerning can reorder close ones.
std::size_t Widest(const std::vector<QString>& texts, const QFont& font)
{
    if (texts.empty())
        return 0;
    const QFontMetricsF metrics(font);
    std::vector<qreal> advance(0x10000, -1);
    std::vector<std::pair<qreal, std::size_t>> sums;
    sums.reserve(texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        qreal sum = 0;
        for (const QChar c : texts[i]) {
            qreal& a = advance[c.unicode()];
            if (a < 0)
                a = metrics.horizontalAdvance(c);
            sum += a;
        }
        sums.emplace_back(sum, i);
    }
    const auto shaped = sums.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(sums.size(), 32));
    std::partial_sort(sums.begin(), shaped, sums.end(), std::greater<>());
    std::size_t widest = sums.front().second;
    qreal most = -1;
    for (auto it = sums.begin(); it != shaped; ++it) {
        const qreal width = metrics.horizontalAdvance(texts[it->second]);
        if (width > most) {
            most = width;
            widest = it->second;
        }
    }
    return widest;
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

// The file list lays out with uniform item sizes, so that the view does not
// measure every name: it takes one item's size for all. This answers with the
// widest name's size, so that every name shows whole and a long one can be
// scrolled to, as when each item was measured.
class frmOpen::WidestNameDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void SetWidestRow(int row) { widestRow_ = row; }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QModelIndex widest = index.siblingAtRow(widestRow_);
        return QStyledItemDelegate::sizeHint(option, widest.isValid() ? widest : index);
    }

private:
    int widestRow_ = -1;
};

frmOpen::frmOpen(QWidget* owner, QMdiArea* area) : QDialog(owner), area_(area)
{
    setObjectName(QStringLiteral("frmOpen"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Открыть"));
    Form::FixWindow(this, 476, 287);

    DirList = Place(new QTreeWidget(this), "DirList", 5, 20, 191, 186);
    Form::Caption(this, QStringLiteral("Папка"), 10, 5, DirList);
    DirList->setHeaderHidden(true);
    DirList->setRootIsDecorated(false);
    DirList->setItemsExpandable(false);
    DirList->setExpandsOnDoubleClick(false);
    DirList->setIndentation(12);
    DirList->setUniformRowHeights(true);
    // Folders are entered by double-click, or Return or Right as in a file
    // manager, never expanded: no branch arrows.
    DirList->setStyleSheet(QStringLiteral("QTreeView::branch { image: none; }"));
    // A widget with a style sheet takes the application's font, not the window's.
    DirList->setFont(Form::WindowFont());

    FileList = Place(new QListWidget(this), "FileList", 200, 19, 271, 188);
    Form::Caption(this, QStringLiteral("Файлы"), 205, 5, FileList);
    FileList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    FileList->setUniformItemSizes(true);
    widestName_ = new WidestNameDelegate(FileList);
    FileList->setItemDelegate(widestName_);

    DriveList = Place(new QComboBox(this), "DriveList", 41, 212, 156, 21);
    Form::Caption(this, QStringLiteral("Диск"), 10, 216, DriveList);

    Form::Separator(this, 5, 244, 466);
    cmdOpen = Form::Button(this, "cmdOpen", QStringLiteral("Открыть"), 280, 255);
    cmdOpen->setDefault(true);
    cmdClose = Form::Button(this, "cmdClose", QStringLiteral("Закрыть"), 380, 255);
    Form::TabOrder({DirList, FileList, DriveList, cmdOpen, cmdClose});

    // Load: the drive of the current folder, and that folder.
    LoadDrives();
    SetDirPath(CurrentFolder());

    connect(DriveList, &QComboBox::currentIndexChanged, this, &frmOpen::DriveList_Change);
    // Queued: the tree is rebuilt, so the clicked item must not be in use.
    connect(DirList, &QTreeWidget::itemDoubleClicked, this, &frmOpen::DirList_DblClick, Qt::QueuedConnection);
    DirList->installEventFilter(this);
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
    // One reading of the folder serves both lists: a large one is slow to read.
    std::vector<std::string> folders;
    std::vector<std::string> files
        = Core::Platform::ListMp3Files(path, nullptr, Core::Platform::Links::Followed, &folders);
    ShowFolderTree(path, std::move(folders));
    ShowFiles(std::move(files));
}

void frmOpen::ShowFolderTree(const std::string& path, std::vector<std::string> folders)
{
    // The chain from the drive's root down to the folder, then its sub-folders;
    // a folder outside the drive hangs from "/".
    const std::string drive = Bytes(DriveList->currentData(RootRole).toString());
    const bool onDrive
        = !drive.empty() && (path == drive || path.starts_with(drive.ends_with('/') ? drive : drive + '/'));
    const std::string root = onDrive ? drive : std::string(1, '/');
    DirList->clear();
    // The items are built whole and the tree takes them all at once: a change
    // to an item the tree holds, or each item put in apart, is news the view
    // must act on.
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const auto newItem = [](const QString& text, const std::string& bytes, const QIcon& icon) {
        auto* item = new QTreeWidgetItem(QStringList{text});
        item->setData(0, BytesRole, ItemBytes(bytes));
        item->setIcon(0, icon);
        return item;
    };
    QTreeWidgetItem* top = newItem(Q(Readable(root)), root, openIcon);
    QTreeWidgetItem* item = top;
    std::string chain = root;
    for (std::size_t begin = root.size(); begin < path.size();) {
        std::size_t end = path.find('/', begin);
        if (end == std::string::npos)
            end = path.size();
        if (end > begin) {
            const std::string part = path.substr(begin, end - begin);
            chain = Core::JoinPath(chain, part);
            QTreeWidgetItem* child = newItem(Q(Readable(part)), chain, openIcon);
            item->addChild(child);
            item = child;
        }
        begin = end + 1;
    }
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
    const Listing subFolders = InReadingOrder(std::move(folders));
    QList<QTreeWidgetItem*> subs;
    subs.reserve(static_cast<qsizetype>(subFolders.order.size()));
    for (const std::size_t i : subFolders.order)
        subs.append(newItem(subFolders.texts[i], Core::JoinPath(path, subFolders.bytes[i]), closedIcon));
    item->addChildren(subs);
    DirList->addTopLevelItem(top);
    DirList->expandAll();
    DirList->setCurrentItem(item);
}

void frmOpen::ShowFiles(std::vector<std::string> names)
{
    Listing files = InReadingOrder(std::move(names));
    const std::size_t widest = Widest(files.texts, FileList->font());
    QStringList rows;
    rows.reserve(static_cast<qsizetype>(files.order.size()));
    for (const std::size_t i : files.order)
        rows.append(std::move(files.texts[i]));
    FileList->clear();
    widestName_->SetWidestRow(
        static_cast<int>(std::find(files.order.begin(), files.order.end(), widest) - files.order.begin()));
    // The list takes all names in one insertion and their bytes stay here:
    // each item put in apart costs a round of the view's bookkeeping, and
    // data set on an item in the list a pass that grows with the list.
    FileList->addItems(rows);
    fileBytes_ = std::move(files.bytes);
    fileRows_ = std::move(files.order);
}

void frmOpen::DirList_DblClick(QTreeWidgetItem* item)
{
    if (item)
        SetDirPath(item->data(0, BytesRole).toByteArray().toStdString());
}

bool frmOpen::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == DirList && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        // Return would otherwise press "Открыть", which with no file chosen opens nothing.
        if ((enter || key->key() == Qt::Key_Right) && !(key->modifiers() & ~Qt::KeypadModifier)) {
            DirList_DblClick(DirList->currentItem());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmOpen::cmdOpen_Click()
{
    std::vector<std::string> paths;
    for (int row = 0; row < FileList->count(); ++row)
        if (FileList->item(row)->isSelected())
            paths.push_back(Core::JoinPath(dirPath_, fileBytes_[fileRows_[static_cast<std::size_t>(row)]]));
    if (area_)
        frmDocument::OpenFiles(area_, paths, this);
    close();
}
