// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmMDI.h"

#include "frmAbout.h"
#include "frmOptions.h"
#include "Application.h"
#include "BackgroundRun.h"
#include "FormToolkit.h"
#include "Paths.h"
#include "BatchRun.h"
#include "TakeBack.h"
#include "UserDialogs.h"
#include "mdlMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>
#include <QScreen>
#include <QSysInfo>
#include <QTimer>
#include <QUrl>
#include <algorithm>

namespace {

QMenu* AddMenu(QMenuBar* bar, const char* name, const char* caption)
{
    QMenu* menu = bar->addMenu(QString::fromUtf8(caption));
    menu->setObjectName(QString::fromLatin1(name));
    Shell::Form::KeepWindowFont(menu); // a pop-up window takes no font from the frame
    return menu;
}

QAction* AddItem(QMenu* menu, const char* name, const char* caption, const QKeySequence& shortcut = {})
{
    QAction* item = menu->addAction(QString::fromUtf8(caption));
    item->setObjectName(QString::fromLatin1(name));
    item->setShortcut(shortcut);
    return item;
}

void AddSeparator(QMenu* menu, const char* name)
{
    menu->addSeparator()->setObjectName(QString::fromLatin1(name));
}

// How a drop is taken: never as a move, which would tell the file manager
// that dragged the files to delete them once we have them.
Qt::DropAction OpenAction(Qt::DropActions possible)
{
    if (possible & Qt::CopyAction)
        return Qt::CopyAction;
    if (possible & Qt::LinkAction)
        return Qt::LinkAction;
    return Qt::IgnoreAction;
}

} // namespace

std::vector<QPoint> IconPositions(const std::vector<QSize>& icons, const QSize& area)
{
    std::vector<QPoint> places(icons.size());
    int bottom = area.height();
    for (std::size_t first = 0; first < icons.size();) {
        // One row: as many icons as fit across, at least one.
        std::size_t end = first;
        int width = 0, height = 0;
        while (end < icons.size() && (end == first || width + icons[end].width() <= area.width())) {
            width += icons[end].width();
            height = std::max(height, icons[end].height());
            ++end;
        }
        for (int x = 0; first < end; x += icons[first++].width())
            places[first] = QPoint(x, bottom - height);
        bottom -= height;
    }
    return places;
}

frmMDI::frmMDI(Commands commands) : commands_(std::move(commands))
{
    setObjectName(QStringLiteral("frmMDI"));
    setWindowTitle(QString::fromUtf8(Core::AppTitle));
    setWindowIcon(Shell::FrameIcon());
    Shell::Form::KeepWindowFont(this);
    // QMdiArea paints the palette's workspace colour behind the documents.
    mdiArea_ = new QMdiArea(this);
    mdiArea_->setObjectName(QStringLiteral("mdiArea"));
    setCentralWidget(mdiArea_);
    BuildMenus();
    setAcceptDrops(true);

    // Load: the design size in the middle of the screen, then the window
    // state the program starts with.
    resize(600, 450 + menuBar()->sizeHint().height());
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
    switch (mdlMain::btMDIWindowState) {
    case 1: setWindowState(Qt::WindowMinimized); break;
    case 2: setWindowState(Qt::WindowMaximized); break;
    default: break;
    }
}

void frmMDI::BuildMenus()
{
    QMenuBar* bar = menuBar();
    mnuFile = AddMenu(bar, "mnuFile", "&Файл");
    mnuFileOpen = AddItem(mnuFile, "mnuFileOpen", "&Открыть...", QKeySequence(Qt::CTRL | Qt::Key_O));
    mnuFileClose = AddItem(mnuFile, "mnuFileClose", "&Закрыть");
    mnuFileCloseAll = AddItem(mnuFile, "mnuFileCloseAll", "Закрыть &все");
    AddSeparator(mnuFile, "mnuFileSep2");
    mnuFileExit = AddItem(mnuFile, "mnuFileExit", "В&ыход");

    mnuTools = AddMenu(bar, "mnuTools", "&Действия");
    mnuToolsFill = AddItem(mnuTools, "mnuToolsFill", "&Заполнить теги...", QKeySequence(Qt::CTRL | Qt::Key_F));
    mnuToolsRename = AddItem(mnuTools, "mnuToolsRename", "&Переименовать файлы...", QKeySequence(Qt::CTRL | Qt::Key_R));
    mnuToolsParse = AddItem(mnuTools, "mnuToolsParse", "&Теги из имён файлов...", QKeySequence(Qt::CTRL | Qt::Key_T));
    mnuToolsRecode = AddItem(mnuTools, "mnuToolsRecode", "Перекодировать теги...");
    AddSeparator(mnuTools, "mnuToolsSep2");
    // No shortcut: Ctrl+Z belongs to the text fields.
    mnuToolsUndo = AddItem(mnuTools, "mnuToolsUndo", "Отменить последнюю операцию");
    AddSeparator(mnuTools, "mnuToolsSep1");
    mnuToolsOptions = AddItem(mnuTools, "mnuToolsOptions", "&Настройки...");
    mnuToolsOptions->setEnabled(false); // the settings have no behaviour yet

    mnuWindow = AddMenu(bar, "mnuWindow", "&Окно");
    mnuWindowCascade = AddItem(mnuWindow, "mnuWindowCascade", "&Каскадом");
    mnuWindowIcons = AddItem(mnuWindow, "mnuWindowIcons", "&Упорядочить значки");

    mnuHelp = AddMenu(bar, "mnuHelp", "&?");
    mnuHelp->setAccessibleName(QString::fromUtf8("Справка")); // "?" says nothing to a screen reader
    mnuHelpAbout = AddItem(mnuHelp, "mnuHelpAbout", "О программе...");

    connect(mnuFileOpen, &QAction::triggered, this, &frmMDI::mnuFileOpen_Click);
    connect(mnuFileClose, &QAction::triggered, this, &frmMDI::mnuFileClose_Click);
    connect(mnuFileCloseAll, &QAction::triggered, this, &frmMDI::mnuFileCloseAll_Click);
    connect(mnuFileExit, &QAction::triggered, this, &QWidget::close);
    connect(mnuToolsFill, &QAction::triggered, this, &frmMDI::mnuToolsFill_Click);
    connect(mnuToolsRename, &QAction::triggered, this, &frmMDI::mnuToolsRename_Click);
    connect(mnuToolsParse, &QAction::triggered, this, &frmMDI::mnuToolsParse_Click);
    connect(mnuToolsRecode, &QAction::triggered, this, [this] { OpenRecodeTool({}); });
    connect(mnuToolsUndo, &QAction::triggered, this, &frmMDI::mnuToolsUndo_Click);
    connect(mnuTools, &QMenu::aboutToShow, this, &frmMDI::UpdateUndo);
    connect(mnuToolsOptions, &QAction::triggered, this, &frmMDI::mnuToolsOptions_Click);
    connect(mnuWindowCascade, &QAction::triggered, this, &frmMDI::mnuWindowCascade_Click);
    connect(mnuWindowIcons, &QAction::triggered, this, &frmMDI::mnuWindowIcons_Click);
    connect(mnuHelpAbout, &QAction::triggered, this, &frmMDI::mnuHelpAbout_Click);
    connect(mnuWindow, &QMenu::aboutToShow, this, &frmMDI::ListWindows);
    UpdateUndo();
}

bool frmMDI::IsChild(const QWidget* widget)
{
    return widget && widget->property("Tag").toString() == QLatin1String("CHILD");
}

QList<QMdiSubWindow*> frmMDI::ChildWindows() const
{
    QList<QMdiSubWindow*> children;
    for (QMdiSubWindow* sub : mdiArea_->subWindowList(QMdiArea::CreationOrder))
        if (IsChild(sub->widget()))
            children << sub;
    return children;
}

void frmMDI::OpenFiles(const std::vector<std::string>& paths)
{
    if (commands_.OpenFiles && !paths.empty())
        commands_.OpenFiles(*this, paths);
}

std::vector<std::string> frmMDI::DroppedMp3Files(const QMimeData* data)
{
    std::vector<std::string> paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl& url : data->urls()) {
        // Files of this machine only; a file manager may name it as the host.
        const QString host = url.host();
        if (!url.isLocalFile()
            || !(host.isEmpty() || host == QLatin1String("localhost") || host == QSysInfo::machineHostName()))
            continue;
        const QString local = url.path();
        // The name's bytes as the file system has them.
        std::string path = QFile::encodeName(local).toStdString();
        if (!Core::HasMp3Extension(path) || QFileInfo(local).isDir())
            continue;
        paths.push_back(std::move(path));
    }
    return paths;
}

void frmMDI::dragEnterEvent(QDragEnterEvent* event)
{
    const Qt::DropAction action = OpenAction(event->possibleActions());
    if (action == Qt::IgnoreAction || DroppedMp3Files(event->mimeData()).empty()) {
        event->ignore();
        return;
    }
    event->setDropAction(action);
    event->accept();
}

void frmMDI::dropEvent(QDropEvent* event)
{
    const Qt::DropAction action = OpenAction(event->possibleActions());
    const std::vector<std::string> paths = DroppedMp3Files(event->mimeData());
    if (action == Qt::IgnoreAction || paths.empty()) {
        event->ignore();
        return;
    }
    event->setDropAction(action);
    event->accept();
    // Opened once the drop is over: a file that is missing shows a modal
    // box, and the file manager that dragged it must not wait for that.
    QTimer::singleShot(0, this, [this, paths] { OpenFiles(paths); });
}

void frmMDI::ShowModeless(QWidget* window)
{
    if (!window)
        return;
    window->setAttribute(Qt::WA_DeleteOnClose); // none is used twice
    window->show();
}

void frmMDI::ListWindows()
{
    qDeleteAll(windowList_);
    windowList_.clear();
    const QList<QMdiSubWindow*> children = ChildWindows();
    if (children.isEmpty())
        return;
    windowList_ << mnuWindow->addSeparator();
    int number = 0;
    for (QMdiSubWindow* sub : children) {
        ++number;
        const QString caption = sub->widget()->windowTitle().replace(QLatin1Char('&'), QLatin1String("&&"));
        const QString key = number <= 9 ? QStringLiteral("&%1").arg(number) : QString::number(number);
        QAction* entry = mnuWindow->addAction(key + QLatin1Char(' ') + caption);
        // Only the active window's entry carries a mark.
        const bool active = sub == mdiArea_->currentSubWindow();
        entry->setCheckable(active);
        entry->setChecked(active);
        connect(entry, &QAction::triggered, this, [this, target = QPointer<QMdiSubWindow>(sub)] {
            if (!target)
                return;
            if (target->isMinimized())
                target->showNormal();
            mdiArea_->setActiveSubWindow(target);
        });
        windowList_ << entry;
    }
}

void frmMDI::closeEvent(QCloseEvent* event)
{
    // A run works over the frame's windows: it is stopped first, and the
    // frame closes once it has ended.
    if (Shell::PutOffCloseForRun(this)) {
        event->ignore();
        return;
    }
    QList<QPointer<QMdiSubWindow>> children;
    for (QMdiSubWindow* sub : ChildWindows())
        children << sub;
    for (const QPointer<QMdiSubWindow>& sub : children) {
        if (!sub)
            continue;
        QCloseEvent query;
        QCoreApplication::sendEvent(sub->widget(), &query);
        if (!query.isAccepted()) {
            event->ignore();
            return;
        }
    }
    // Every document has agreed: they go now without being asked again, and
    // the windows the frame owns go with it.
    for (const QPointer<QMdiSubWindow>& sub : children)
        if (sub)
            sub->deleteLater();
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child->isWindow())
            child->close();
    event->accept();
}

void frmMDI::mnuFileOpen_Click()
{
    if (commands_.Open)
        ShowModeless(commands_.Open(*this));
}

void frmMDI::mnuFileClose_Click()
{
    if (ChildWindows().isEmpty())
        return;
    if (QMdiSubWindow* active = mdiArea_->currentSubWindow())
        active->close();
}

void frmMDI::mnuFileCloseAll_Click()
{
    QList<QPointer<QMdiSubWindow>> children;
    for (QMdiSubWindow* sub : ChildWindows())
        children << sub;
    for (const QPointer<QMdiSubWindow>& sub : children)
        if (sub)
            sub->close(); // a cancelled prompt keeps this one; the walk goes on
}

void frmMDI::mnuToolsFill_Click()
{
    if (commands_.FillTags)
        ShowModeless(commands_.FillTags(*this));
}

void frmMDI::mnuToolsRename_Click()
{
    if (commands_.RenameFiles)
        ShowModeless(commands_.RenameFiles(*this));
}

void frmMDI::mnuToolsParse_Click()
{
    if (commands_.ParseTags)
        ShowModeless(commands_.ParseTags(*this));
}

void frmMDI::OpenRecodeTool(const std::string& folder)
{
    if (commands_.RecodeTags)
        ShowModeless(commands_.RecodeTags(*this, folder));
}

void frmMDI::mnuToolsUndo_Click()
{
    Shell::RunInBackground(this, mnuToolsUndo->text(), Core::NewTakeBack());
    UpdateUndo();
}

void frmMDI::UpdateUndo()
{
    mnuToolsUndo->setEnabled(Core::CanTakeBack());
}

void frmMDI::mnuToolsOptions_Click()
{
    ShowModeless(new frmOptions(this));
}

void frmMDI::mnuWindowCascade_Click()
{
    mdiArea_->cascadeSubWindows();
}

void frmMDI::mnuWindowIcons_Click()
{
    QList<QMdiSubWindow*> minimised;
    std::vector<QSize> sizes;
    for (QMdiSubWindow* sub : ChildWindows())
        if (sub->isMinimized()) {
            minimised << sub;
            sizes.push_back(sub->size());
        }
    const std::vector<QPoint> places = IconPositions(sizes, mdiArea_->viewport()->size());
    for (qsizetype i = 0; i < minimised.size(); ++i)
        minimised[i]->move(places[static_cast<std::size_t>(i)]);
}

void frmMDI::mnuHelpAbout_Click()
{
    frmAbout about(this);
    about.exec();
}
