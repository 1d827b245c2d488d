// The frame as the program loads it, with the real document and tool windows.
#include "DialogDriver.h"
#include "Startup.h"
#include "TempDir.h"
#include "frmDocument.h"
#include "frmMDI.h"

#include <QAction>
#include <QLineEdit>
#include <QMdiArea>
#include <QDragEnterEvent>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>

using namespace testing_support;
using Paths = std::vector<std::string>;

namespace {

// Works in folder until it goes, as a program started there would.
class InFolder {
public:
    explicit InFolder(const std::string& folder) : previous_(std::filesystem::current_path())
    {
        std::filesystem::current_path(folder);
    }
    ~InFolder() { std::filesystem::current_path(previous_); }

private:
    std::filesystem::path previous_;
};

frmDocument* Document(QMdiSubWindow* sub)
{
    return qobject_cast<frmDocument*>(sub->widget());
}

} // namespace

TEST(StartupTest, ArgumentsArePathsTakenFromTheCurrentFolder)
{
    EXPECT_EQ(mdlMain::FilesFromArguments({"/m/a.mp3", "b.mp3", "./c.mp3", ".//sub/d.mp3", "\xff\xfe.mp3"}, "/home/u"),
              Paths({"/m/a.mp3", "/home/u/b.mp3", "/home/u/c.mp3", "/home/u/sub/d.mp3", "/home/u/\xff\xfe.mp3"}));
    EXPECT_EQ(mdlMain::FilesFromArguments({"a.mp3"}, "/"), Paths({"/a.mp3"}));
    EXPECT_EQ(mdlMain::FilesFromArguments({"a.mp3"}, ""), Paths({"a.mp3"})) << "no current folder: left as given";
    EXPECT_EQ(mdlMain::FilesFromArguments({}, "/home/u"), Paths());
}

TEST(StartupTest, FilesOnTheCommandLineOpenInOrderAfterTheFrame)
{
    TempDir dir;
    const std::string a = dir.Write("a.mp3", Audio(300) + TagBytes("First"));
    dir.Write("B.MP3", Audio(300) + TagBytes("Second"));
    const std::string gone = dir / "gone.mp3";
    const InFolder here(dir.Path());

    DialogDriver driver({Answer(QMessageBox::Ok)});
    std::unique_ptr<frmMDI> frame(mdlMain::Start({a, gone, "B.MP3"}));
    EXPECT_TRUE(frame->isVisible());
    EXPECT_TRUE(frame->isMaximized());
    const QList<QMdiSubWindow*> children = frame->ChildWindows();
    ASSERT_EQ(children.size(), 2);
    EXPECT_EQ(Document(children[0])->windowTitle(), "a.mp3");
    EXPECT_EQ(Document(children[0])->txtFilename->text().toStdString(), a);
    EXPECT_EQ(Document(children[0])->txtTitle->text(), "First");
    EXPECT_EQ(Document(children[1])->windowTitle(), "B.MP3");
    EXPECT_EQ(Document(children[1])->txtFilename->text().toStdString(), dir / "B.MP3");
    EXPECT_EQ(Document(children[1])->txtTitle->text(), "Second");
    EXPECT_EQ(frame->MdiArea()->currentSubWindow(), children[1]) << "the last one opened is in front";
    ASSERT_EQ(driver.Seen().size(), 1u);
    EXPECT_EQ(driver.Seen()[0].text.toStdString(), "Файл " + gone + " отсутствует и не будет открыт.");
    EXPECT_EQ(driver.Seen()[0].icon, QMessageBox::Critical);
    frame->close();
}

TEST(StartupTest, DroppedFilesOpenAsDocuments)
{
    TempDir dir;
    const std::string a = dir.Write("a.mp3", Audio(300) + TagBytes("Dropped"));
    std::unique_ptr<frmMDI> frame(mdlMain::Start({}));
    EXPECT_TRUE(frame->ChildWindows().isEmpty());

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(a)),
                  QUrl::fromLocalFile(QString::fromStdString(dir.Write("cover.jpg", "x")))});
    QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(frame.get(), &enter);
    QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(frame.get(), &drop);
    EXPECT_TRUE(drop.isAccepted());
    ASSERT_TRUE(QTest::qWaitFor([&frame] { return !frame->ChildWindows().isEmpty(); }, 2000));
    ASSERT_EQ(frame->ChildWindows().size(), 1);
    EXPECT_EQ(Document(frame->ChildWindows()[0])->txtTitle->text(), "Dropped");
    frame->close();
}

TEST(StartupTest, CommandsOpenTheRealWindowsAndExitClosesAll)
{
    TempDir dir;
    const std::string path = dir.Write("a.mp3", Audio(500) + TagBytes("Song"));
    const std::string before = ReadFile(path);

    std::unique_ptr<frmMDI> frame(mdlMain::LoadFrame());
    frame->show();
    EXPECT_TRUE(frame->isMaximized());
    EXPECT_TRUE(frame->MdiArea()->subWindowList().isEmpty());

    frame->mnuFileOpen->trigger();
    frame->mnuToolsFill->trigger();
    frame->mnuToolsFill->trigger();
    frame->mnuToolsRename->trigger();
    QStringList windows;
    for (QWidget* w : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w->isWindow() && w->isVisible())
            windows << w->objectName();
    windows.sort();
    EXPECT_EQ(windows, QStringList({"frmMain", "frmMain", "frmOpen", "frmRename"}));

    QPointer<frmDocument> doc = frmDocument::Open(frame->MdiArea(), QString::fromStdString(path), "a.mp3");
    ASSERT_FALSE(doc.isNull());
    doc->txtTitle->setText("Other");
    emit frame->mnuWindow->aboutToShow();
    EXPECT_EQ(frame->mnuWindow->actions().last()->text(), "&1 a.mp3 *");

    DialogDriver driver({Answer(QMessageBox::No)});
    frame->mnuFileExit->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(frame->isVisible());
    EXPECT_TRUE(doc.isNull());
    ASSERT_EQ(driver.Seen().size(), 1u) << "one question for the one changed document";
    EXPECT_EQ(driver.Seen()[0].icon, QMessageBox::Question);
    EXPECT_EQ(ReadFile(path), before);
    for (QWidget* w : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        EXPECT_FALSE(w->isWindow() && w->isVisible()) << w->objectName().toStdString();
}
