// SPDX-License-Identifier: GPL-3.0-or-later
// The frame as the program loads it, with the real document and tool windows.
#include "DialogDriver.h"
#include "Startup.h"
#include "TempDir.h"
#include "frmDocument.h"
#include "frmMDI.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
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
struct InFolder {
    std::filesystem::path previous = std::filesystem::current_path();
    explicit InFolder(const std::string& folder) { std::filesystem::current_path(folder); }
    ~InFolder() { std::filesystem::current_path(previous); }
};

QStringList Documents(const frmMDI& frame) // caption: title as read, per window in order
{
    QStringList docs;
    for (QMdiSubWindow* sub : frame.ChildWindows())
        if (auto* doc = qobject_cast<frmDocument*>(sub->widget()))
            docs << doc->txtFilename->text() + ": " + doc->txtTitle->text();
    return docs;
}

} // namespace

TEST(StartupTest, ArgumentsArePathsTakenFromTheCurrentFolder)
{
    EXPECT_EQ(Program::FilesFromArguments({"/m/a.mp3", ".//sub/b.mp3", "\xff.mp3"}, "/home/u"),
              Paths({"/m/a.mp3", "/home/u/sub/b.mp3", "/home/u/\xff.mp3"}));
    EXPECT_EQ(Program::FilesFromArguments({"a.mp3"}, "/"), Paths({"/a.mp3"}));
}

TEST(StartupTest, FilesOnTheCommandLineOpenInOrderAfterTheFrame)
{
    TempDir dir;
    const std::string a = dir.Write("a.mp3", Audio(300) + TagBytes("First"));
    dir.Write("B.MP3", Audio(300) + TagBytes("Second"));
    const InFolder here(dir.Path());
    DialogDriver driver({Answer(QMessageBox::Ok)});
    std::unique_ptr<frmMDI> frame = Program::Start({a, dir / "gone.mp3", "B.MP3"});
    EXPECT_TRUE(frame->isVisible() && frame->isMaximized());
    EXPECT_EQ(Documents(*frame), QStringList({QString::fromStdString(a + ": First"),
                                              QString::fromStdString(dir / "B.MP3: Second")}));
    EXPECT_EQ(frame->MdiArea()->currentSubWindow(), frame->ChildWindows().last()) << "the last one is in front";
    ASSERT_EQ(driver.Seen().size(), 1u);
    EXPECT_EQ(driver.Seen()[0].text.toStdString(), "Файл " + dir / "gone.mp3" + " отсутствует и не будет открыт.");
    frame->close();
}

TEST(StartupTest, DroppedMp3FilesOpenInOrderAndTheRestIsRefused)
{
    TempDir dir;
    const std::string a = dir.Write("a.mp3", Audio(300) + TagBytes("First"));
    const std::string c = dir.Write("C.Mp3", Audio(300) + TagBytes("Second"));
    const auto url = [](const std::string& path) { return QUrl::fromLocalFile(QString::fromStdString(path)); };
    std::unique_ptr<frmMDI> frame = Program::Start({});
    EXPECT_TRUE(frame->acceptDrops());
    DialogDriver driver; // no box is expected
    // Drags and drops urls, offering these actions; says how the frame took each.
    const auto dragAndDrop = [&frame](const QList<QUrl>& urls, Qt::DropActions offered) {
        QMimeData data;
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(100, 100), offered, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(frame.get(), &enter);
        QDropEvent drop(QPointF(100, 100), offered, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(frame.get(), &drop);
        const auto how = [](const QDropEvent& e) {
            return !e.isAccepted() ? "refused" : e.dropAction() == Qt::CopyAction ? "copy" : "other";
        };
        return QString(how(enter)) + " " + how(drop);
    };
    const QString folder = QString::fromStdString(dir.MakeFolder("album.mp3"));
    // Taken as a copy although a move is offered: a move tells the file
    // manager to delete what it dragged.
    EXPECT_EQ(dragAndDrop({url(a), url(dir.Write("notes.txt", "x")), QUrl::fromLocalFile(folder),
                           QUrl("https://example.org/b.mp3"), QUrl("file://elsewhere.example" + QString::fromStdString(a)),
                           url(c)},
                          Qt::CopyAction | Qt::MoveAction),
              "copy copy");
    EXPECT_TRUE(frame->ChildWindows().isEmpty()) << "opened once the drop is over";
    EXPECT_TRUE(QTest::qWaitFor([&frame] { return !frame->ChildWindows().isEmpty(); }, 2000));
    EXPECT_EQ(Documents(*frame),
              QStringList({QString::fromStdString(a + ": First"), QString::fromStdString(c + ": Second")}));

    EXPECT_EQ(dragAndDrop({url(dir / "notes.txt"), QUrl::fromLocalFile(folder)}, Qt::CopyAction), "refused refused");
    EXPECT_EQ(dragAndDrop({url(a)}, Qt::MoveAction), "refused refused");
    QTest::qWait(50);
    EXPECT_EQ(frame->ChildWindows().size(), 2);
    EXPECT_TRUE(driver.Seen().empty());
    frame->close();
}

TEST(StartupTest, CommandsOpenTheRealWindowsAndExitClosesAll)
{
    TempDir dir;
    const std::string path = dir.Write("a.mp3", Audio(500) + TagBytes("Song"));
    const std::string before = ReadFile(path);

    std::unique_ptr<frmMDI> frame = Program::LoadFrame();
    frame->show();
    EXPECT_TRUE(frame->isMaximized());
    EXPECT_TRUE(frame->MdiArea()->subWindowList().isEmpty());

    frame->mnuFileOpen->trigger();
    frame->mnuToolsFill->trigger();
    frame->mnuToolsFill->trigger();
    frame->mnuToolsRename->trigger();
    frame->mnuToolsParse->trigger();
    frame->mnuToolsRecode->trigger();
    QStringList windows;
    for (QWidget* w : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w->isWindow() && w->isVisible())
            windows << w->objectName();
    windows.sort();
    EXPECT_EQ(windows, QStringList({"frmMain", "frmMain", "frmOpen", "frmParse", "frmRecode", "frmRename"}));

    QPointer<frmDocument> doc = frmDocument::Open(frame->MdiArea(), path, "a.mp3");
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

TEST(StartupTest, ADocumentsCodepageLabelOpensTheRecodeToolOnItsFolder)
{
    TempDir dir;
    const std::string path = dir.Write("koi.mp3", Audio(500) + TagBytes("\xEB\xC9\xCE\xCF", "\xE7\xD2\xD5\xD0\xD0\xC1"));
    std::unique_ptr<frmMDI> frame = Program::LoadFrame();
    frame->show();
    frmDocument* doc = frmDocument::Open(frame->MdiArea(), path, "koi.mp3");
    ASSERT_NE(doc, nullptr);
    ASSERT_TRUE(doc->lblCodepage->isVisibleTo(doc));
    emit doc->lblCodepage->linkActivated(QStringLiteral("recode"));
    QWidget* tool = frame->findChild<QWidget*>("frmRecode", Qt::FindDirectChildrenOnly);
    ASSERT_NE(tool, nullptr);
    EXPECT_TRUE(tool->isVisible());
    EXPECT_EQ(tool->findChild<QLineEdit*>("txtDir")->text().toStdString(), dir.Path());
    frame->close();
}
