// The frame as the program loads it, with the real document and tool windows.
#include "DialogDriver.h"
#include "Startup.h"
#include "TempDir.h"
#include "frmDocument.h"
#include "frmMDI.h"

#include <QAction>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QPointer>
#include <QTest>
#include <gtest/gtest.h>

using namespace testing_support;

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
