// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The frame: a multiple-document window whose only children are the
// document windows, recognised by their tag "CHILD", and the program's menus.
#include <QMainWindow>
#include <QPoint>
#include <QSize>
#include <functional>
#include <string>
#include <vector>

class QAction;
class QMimeData;
class QMdiArea;
class QMdiSubWindow;
class QMenu;

// Places of the icons of minimised windows in an area of this size: left to
// right along the bottom, a new row above when one is full.
std::vector<QPoint> IconPositions(const std::vector<QSize>& icons, const QSize& area);

class frmMDI : public QMainWindow {
    Q_OBJECT
public:
    // Makes a new window for a command that opens one; the frame shows it
    // modeless and lets it delete itself when it closes.
    using WindowFactory = std::function<QWidget*(frmMDI& frame)>;
    // Opens files (full paths, as bytes) in document windows, in order.
    using FileOpener = std::function<void(frmMDI& frame, const std::vector<std::string>& paths)>;
    // Makes a new tool window on a folder (bytes, ending in "/"; "" for
    // none chosen yet).
    using FolderWindowFactory = std::function<QWidget*(frmMDI& frame, const std::string& folder)>;
    struct Commands {
        WindowFactory Open;
        WindowFactory FillTags;
        WindowFactory RenameFiles;
        WindowFactory ParseTags;
        FileOpener OpenFiles;
        FolderWindowFactory RecodeTags;
    };

    explicit frmMDI(Commands commands);

    QMdiArea* MdiArea() const { return mdiArea_; }
    // The sub-windows whose widget carries the tag, in the order they came.
    QList<QMdiSubWindow*> ChildWindows() const;
    // Whether this widget is a document window (its "Tag" property).
    static bool IsChild(const QWidget* widget);

    // Opens these files in document windows, in order, by the same road as
    // the open dialog.
    void OpenFiles(const std::vector<std::string>& paths);
    // The MP3 files among dropped data, in the order they were dropped: files
    // of this machine whose names end in ".mp3" in any letter case; folders
    // and everything else are left out.
    static std::vector<std::string> DroppedMp3Files(const QMimeData* data);
    // Opens the recode tool on folder, as a document window asks for it.
    void OpenRecodeTool(const std::string& folder);

    QMenu* mnuFile;
    QAction* mnuFileOpen;
    QAction* mnuFileClose;
    QAction* mnuFileCloseAll;
    QAction* mnuFileExit;
    QMenu* mnuTools;
    QAction* mnuToolsFill;
    QAction* mnuToolsRename;
    QAction* mnuToolsParse;
    QAction* mnuToolsRecode;
    QAction* mnuToolsUndo;
    QAction* mnuToolsOptions;
    QMenu* mnuWindow;
    QAction* mnuWindowCascade;
    QAction* mnuWindowIcons;
    QMenu* mnuHelp;
    QAction* mnuHelpAbout;

protected:
    // Exit and the close box: every document window is asked first, and one
    // refusal keeps everything open.
    void closeEvent(QCloseEvent* event) override;
    // MP3 files dragged from a file manager open as documents; a drag that
    // carries none is refused.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildMenus();
    void ShowModeless(QWidget* window);
    void ListWindows();

    void mnuFileOpen_Click();
    void mnuFileClose_Click();
    void mnuFileCloseAll_Click();
    void mnuToolsFill_Click();
    void mnuToolsRename_Click();
    void mnuToolsParse_Click();
    void mnuToolsUndo_Click();
    // The undo entry can be chosen while the last run's journal is there,
    // also after a new start of the program.
    void UpdateUndo();
    void mnuToolsOptions_Click();
    void mnuWindowCascade_Click();
    void mnuWindowIcons_Click();
    void mnuHelpAbout_Click();

    Commands commands_;
    QMdiArea* mdiArea_;
    QList<QAction*> windowList_; // the window list's entries below the fixed items
};
