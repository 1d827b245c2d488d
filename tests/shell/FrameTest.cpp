// SPDX-License-Identifier: GPL-3.0-or-later
// The frame with small stand-in document windows: menus, window list, Close,
// Close all, Exit, the about box and the settings dialog.
#include "DialogDriver.h"
#include "frmAbout.h"
#include "frmMDI.h"
#include "frmOptions.h"
#include "Journal.h"
#include "MessageBoxes.h"
#include "ScriptedDialogs.h"
#include "TagObjects.h"
#include "TempDir.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

// A document window as the frame sees one: tagged, with a caption, and a
// close prompt that asks only while it has unsaved changes.
class TestChild : public QWidget {
public:
    TestChild(const QString& caption, bool dirty) : dirty_(dirty)
    {
        setProperty("Tag", "CHILD");
        setWindowTitle(dirty ? caption + " *" : caption);
    }
    int prompts = 0;

protected:
    void closeEvent(QCloseEvent* event) override
    {
        if (!dirty_)
            return;
        ++prompts;
        if (Shell::MsgBox("Save?", Core::vbYesNoCancelQuestion, "Morvik", this) == Core::vbCancel)
            event->ignore();
        else
            dirty_ = false;
    }

private:
    bool dirty_;
};

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto count = [](int& n) {
            return [&n](frmMDI& f) -> QWidget* {
                ++n;
                return new QWidget(&f, Qt::Window);
            };
        };
        frame = std::make_unique<frmMDI>(frmMDI::Commands{count(opens), count(fills), count(renames), count(parses), {}, {}});
        frame->show();
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    }

    QPointer<TestChild> AddChild(const QString& caption, bool dirty = false)
    {
        auto* child = new TestChild(caption, dirty);
        frame->MdiArea()->addSubWindow(child)->show();
        return child;
    }

    QStringList WindowList()
    {
        emit frame->mnuWindow->aboutToShow();
        QStringList entries;
        for (QAction* a : frame->mnuWindow->actions())
            if (a != frame->mnuWindowCascade && a != frame->mnuWindowIcons)
                entries << (a->isSeparator() ? "-" : a->text() + (a->isChecked() ? " [v]" : ""));
        return entries;
    }

    std::unique_ptr<frmMDI> frame;
    int opens = 0, fills = 0, renames = 0, parses = 0;
};

} // namespace

TEST_F(FrameTest, StartsMaximisedWithoutChildren)
{
    EXPECT_EQ(frame->objectName(), "frmMDI");
    EXPECT_EQ(frame->windowTitle(), "Morvik");
    EXPECT_TRUE(frame->isMaximized());
    EXPECT_TRUE(frame->MdiArea()->subWindowList().isEmpty());
    EXPECT_EQ(frame->centralWidget(), frame->MdiArea());
    // Prompts of its documents and tool windows sit over it.
    QDialog tool(frame.get());
    EXPECT_EQ(Shell::FrameOf(&tool), frame.get());
    EXPECT_EQ(Shell::FrameOf(frame->MdiArea()), frame.get());
    EXPECT_FALSE(frame->windowIcon().isNull());
}

TEST_F(FrameTest, MenusItemsAndShortcuts)
{
    struct Item {
        const char* name;
        const char* caption;
        QKeySequence shortcut;
    };
    const std::vector<std::pair<Item, std::vector<Item>>> menus = {
        {{"mnuFile", "&Файл", {}},
         {{"mnuFileOpen", "&Открыть...", QKeySequence("Ctrl+O")},
          {"mnuFileClose", "&Закрыть", {}},
          {"mnuFileCloseAll", "Закрыть &все", {}},
          {"mnuFileSep2", "", {}},
          {"mnuFileExit", "В&ыход", {}}}},
        {{"mnuTools", "&Действия", {}},
         {{"mnuToolsFill", "&Заполнить теги...", QKeySequence("Ctrl+F")},
          {"mnuToolsRename", "&Переименовать файлы...", QKeySequence("Ctrl+R")},
          {"mnuToolsParse", "&Теги из имён файлов...", QKeySequence("Ctrl+T")},
          {"mnuToolsRecode", "Перекодировать теги...", {}},
          {"mnuToolsSep2", "", {}},
          {"mnuToolsUndo", "Отменить последнюю операцию", {}},
          {"mnuToolsSep1", "", {}},
          {"mnuToolsOptions", "&Настройки...", {}}}},
        {{"mnuWindow", "&Окно", {}},
         {{"mnuWindowCascade", "&Каскадом", {}}, {"mnuWindowIcons", "&Упорядочить значки", {}}}},
        {{"mnuHelp", "&?", {}}, {{"mnuHelpAbout", "О программе...", {}}}},
    };
    const QList<QAction*> bar = frame->menuBar()->actions();
    ASSERT_EQ(bar.size(), qsizetype(menus.size()));
    for (std::size_t m = 0; m < menus.size(); ++m) {
        const auto& [title, items] = menus[m];
        QMenu* menu = bar[qsizetype(m)]->menu();
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->objectName(), title.name);
        EXPECT_EQ(menu->title(), QString::fromUtf8(title.caption));
        const QList<QAction*> actions = menu->actions();
        ASSERT_EQ(actions.size(), qsizetype(items.size())) << title.name;
        for (std::size_t i = 0; i < items.size(); ++i) {
            QAction* a = actions[qsizetype(i)];
            EXPECT_EQ(a->objectName(), items[i].name);
            EXPECT_EQ(a->text(), QString::fromUtf8(items[i].caption)) << items[i].name;
            EXPECT_EQ(a->isSeparator(), *items[i].caption == '\0') << items[i].name;
            EXPECT_EQ(a->shortcut(), items[i].shortcut) << items[i].name;
        }
    }
    EXPECT_FALSE(frame->mnuToolsOptions->isEnabled());
}

TEST_F(FrameTest, TheUndoEntryFollowsTheJournalAndTakesTheLastRunBack)
{
    StateHome state;
    emit frame->mnuTools->aboutToShow();
    EXPECT_FALSE(frame->mnuToolsUndo->isEnabled());

    // A run changes a file, noting it in the journal.
    TempDir dir;
    const std::string path = dir.Write("a.mp3", Audio(200) + TagBytes("old"));
    const std::string before = ReadFile(path);
    {
        ScriptedDialogs scripted;
        const auto journal = Core::RunJournal::Begin(scripted);
        ASSERT_TRUE(journal);
        const auto tag = Core::NewTagObject();
        tag->TagRead(path);
        tag->SetTitle("new");
        journal->WriteTag(*tag, path);
    }
    emit frame->mnuTools->aboutToShow();
    EXPECT_TRUE(frame->mnuToolsUndo->isEnabled());
    // A frame that starts anew finds it too.
    EXPECT_TRUE(frmMDI(frmMDI::Commands{}).mnuToolsUndo->isEnabled());

    DialogDriver driver({Answer(QMessageBox::Ok)});
    driver.PassOver("frmProgress"); // a slow machine takes more than half a second
    frame->mnuToolsUndo->trigger();
    ASSERT_EQ(driver.Seen().size(), 1u);
    EXPECT_EQ(driver.Seen()[0].text, "Последняя операция отменена. Возвращено файлов: 1 из 1.");
    EXPECT_EQ(driver.Seen()[0].icon, QMessageBox::Information);
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_FALSE(frame->mnuToolsUndo->isEnabled());
}

TEST_F(FrameTest, ShortcutsOpenANewOwnedWindowEachTime)
{
    for (Qt::Key key : {Qt::Key_F, Qt::Key_F, Qt::Key_R, Qt::Key_T, Qt::Key_O}) {
        QCoreApplication::processEvents(); // the window opened last takes the focus
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
        QTest::keyClick(frame->windowHandle(), key, Qt::ControlModifier);
    }
    EXPECT_EQ(fills, 2);
    EXPECT_EQ(renames, 1);
    EXPECT_EQ(parses, 1);
    EXPECT_EQ(opens, 1);
    int shown = 0;
    for (QWidget* w : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w->isWindow() && w->isVisible()) {
            ++shown;
            EXPECT_TRUE(w->testAttribute(Qt::WA_DeleteOnClose));
        }
    EXPECT_EQ(shown, 5);
}

TEST_F(FrameTest, WindowListShowsEveryCaptionAndMarksTheActive)
{
    EXPECT_EQ(WindowList(), QStringList());
    AddChild("a.mp3");
    auto b = AddChild("b.mp3", true);
    AddChild("R&B.mp3");
    frame->MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(b->parentWidget()));
    const QStringList expected = {"-", "&1 a.mp3", "&2 b.mp3 * [v]", "&3 R&&B.mp3"};
    EXPECT_EQ(WindowList(), expected);
    EXPECT_EQ(WindowList(), expected) << "showing the menu again lists each window once";

    // Choosing an entry activates that window, also a minimised one.
    auto* first = frame->MdiArea()->subWindowList().first();
    first->showMinimized();
    WindowList();
    frame->mnuWindow->actions().at(3)->trigger();
    EXPECT_EQ(frame->MdiArea()->currentSubWindow(), first);
    EXPECT_FALSE(first->isMinimized());
}

TEST_F(FrameTest, CloseClosesOnlyTheActiveChild)
{
    frame->mnuFileClose->trigger(); // nothing open: nothing happens
    auto a = AddChild("a.mp3");
    auto b = AddChild("b.mp3");
    frame->MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(a->parentWidget()));
    frame->mnuFileClose->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(a.isNull());
    EXPECT_FALSE(b.isNull());
    EXPECT_EQ(frame->MdiArea()->subWindowList().size(), 1);
}

TEST_F(FrameTest, CloseAllGoesOnPastACancelledChild)
{
    auto a = AddChild("a.mp3");
    auto b = AddChild("b.mp3", true);
    auto c = AddChild("c.mp3");
    DialogDriver driver({Answer(QMessageBox::Cancel)});
    frame->mnuFileCloseAll->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(a.isNull());
    ASSERT_FALSE(b.isNull());
    EXPECT_TRUE(c.isNull());
    EXPECT_EQ(b->prompts, 1);
    EXPECT_EQ(driver.Seen().size(), 1u);
}

TEST_F(FrameTest, ExitCancelledKeepsEverythingOpen)
{
    auto a = AddChild("a.mp3", true);
    auto b = AddChild("b.mp3", true);
    // The first document would close, the second refuses: the first stays too.
    DialogDriver driver({Answer(QMessageBox::No), Answer(QMessageBox::Cancel)});
    frame->mnuFileExit->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(frame->isVisible());
    ASSERT_FALSE(a.isNull());
    ASSERT_FALSE(b.isNull());
    EXPECT_TRUE(a->isVisible());
    EXPECT_EQ(driver.Seen().size(), 2u);
}

TEST_F(FrameTest, ExitAsksEachDocumentOnceAndClosesEverything)
{
    auto dirty = AddChild("a.mp3", true);
    auto clean = AddChild("b.mp3");
    frame->mnuToolsFill->trigger();
    DialogDriver driver({Answer(QMessageBox::No)});
    frame->close(); // the close box does what Exit does
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(frame->isVisible());
    EXPECT_TRUE(dirty.isNull());
    EXPECT_TRUE(clean.isNull());
    EXPECT_EQ(driver.Seen().size(), 1u);
    for (QWidget* w : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        EXPECT_FALSE(w->isWindow() && w->isVisible()) << "a tool window outlived the frame";
}

TEST_F(FrameTest, AboutBoxIsModalWithItsText)
{
    // A click on the menu bar opens a menu, except while the about box is up.
    const auto clickFileMenu = [this] {
        QMenuBar* bar = frame->menuBar();
        const QPoint at = bar->mapTo(frame.get(), bar->actionGeometry(frame->mnuFile->menuAction()).center());
        QTest::mouseClick(frame->windowHandle(), Qt::LeftButton, {}, at);
        const bool opened = QApplication::activePopupWidget() != nullptr;
        if (opened)
            QApplication::activePopupWidget()->close();
        return opened;
    };
    ASSERT_TRUE(clickFileMenu());

    bool blocked = false;
    QString focus, text;
    QSize size, banner;
    QList<QRect> places;
    DialogDriver driver({[&](QWidget* w) {
        auto* about = qobject_cast<frmAbout*>(w);
        ASSERT_NE(about, nullptr);
        size = about->size();
        places = {about->Image1->geometry(), about->Text1->geometry(), about->cmdClose->geometry()};
        EXPECT_EQ(about->cmdClose->text(), QString::fromUtf8("Закрыть"));
        EXPECT_EQ(about->palette().color(QPalette::Window), QColor(Qt::white));
        focus = about->focusWidget() ? about->focusWidget()->objectName() : QString();
        text = about->Text1->toPlainText();
        banner = about->Image1->pixmap().size();
        EXPECT_TRUE(about->cmdClose->isDefault());
        EXPECT_TRUE(about->Text1->isReadOnly());
        QTest::keyClick(about, Qt::Key_Escape);
        EXPECT_TRUE(about->isVisible()) << "Esc closed the about box";
        blocked = !clickFileMenu();
        about->cmdClose->click();
    }});
    frame->mnuHelpAbout->trigger();
    ASSERT_EQ(driver.Seen().size(), 1u);
    EXPECT_EQ(driver.Seen()[0].title, QString::fromUtf8("О программе"));
    EXPECT_TRUE(blocked) << "the frame took a command while the about box was open";
    EXPECT_EQ(size, QSize(421, 252));
    EXPECT_EQ(banner, QSize(267, 44));
    EXPECT_EQ(places, QList<QRect>({{5, 10, 267, 44}, {5, 60, 411, 151}, {325, 220, 91, 26}}));
    EXPECT_EQ(focus, "cmdClose");
    EXPECT_TRUE(frame->findChildren<frmAbout*>().isEmpty()) << "the about box is unloaded";

    // What the user reads in the box, row by row.
    const QStringList rows = text.split("\n");
    ASSERT_EQ(rows.size(), 12); // eleven rows and the empty text after the last line break
    EXPECT_EQ(rows[0], QString::fromUtf8("О программе:"));
    EXPECT_TRUE(rows[1].startsWith(QString::fromUtf8("\tАвтор\t")));
    EXPECT_EQ(rows[2], QString::fromUtf8("\tВерсия\t1.00"));
    EXPECT_EQ(rows[3], QString::fromUtf8("\tРелиз\t1 ноября 2003 года"));
    EXPECT_EQ(rows[4], "");
    EXPECT_EQ(rows[5], QString::fromUtf8("Контакты:"));
    EXPECT_TRUE(rows[6].startsWith("\tInternet\t"));
    EXPECT_TRUE(rows[7].startsWith("\te-mail\t"));
    EXPECT_EQ(rows[9], QString::fromUtf8("Библиотеки:"));
    EXPECT_TRUE(rows[10].startsWith("\t") && rows[10].contains("Quenlar"));
    EXPECT_EQ(rows[11], "");
}

TEST_F(FrameTest, SettingsCannotBeChosenAndDoNothing)
{
    frame->mnuToolsOptions->trigger();
    EXPECT_TRUE(frame->findChildren<frmOptions*>().isEmpty());

    frmOptions options(frame.get());
    // OK is the named default; once shown, the focused Cancel takes Return.
    EXPECT_TRUE(options.cmdOK->isDefault());
    options.show();
    EXPECT_EQ(options.windowTitle(), QString::fromUtf8("Настройки"));
    EXPECT_EQ(options.size(), QSize(421, 256));
    EXPECT_EQ(options.cmdOK->geometry(), QRect(225, 225, 91, 26));
    EXPECT_EQ(options.cmdCancel->geometry(), QRect(325, 225, 91, 26));
    EXPECT_EQ(options.focusWidget(), options.cmdCancel);
    options.cmdOK->click();
    options.cmdCancel->click();
    QTest::keyClick(&options, Qt::Key_Return);
    QTest::keyClick(&options, Qt::Key_Escape);
    EXPECT_TRUE(options.isVisible());
    options.close();
    EXPECT_FALSE(options.isVisible());
}

TEST_F(FrameTest, ArrangeIconsLinesUpMinimisedWindowsAlongTheBottom)
{
    AddChild("a.mp3");
    AddChild("b.mp3");
    AddChild("c.mp3");
    const QList<QMdiSubWindow*> subs = frame->MdiArea()->subWindowList();
    subs[0]->showMinimized();
    subs[2]->showMinimized();
    frame->mnuWindowIcons->trigger();
    const int bottom = frame->MdiArea()->viewport()->height();
    EXPECT_EQ(subs[0]->geometry().bottomLeft(), QPoint(0, bottom - 1));
    EXPECT_EQ(subs[2]->geometry().bottomLeft(), QPoint(subs[0]->width(), bottom - 1));
}

TEST(IconPositionsTest, RowsFillFromTheBottomLeft)
{
    const QSize icon(160, 30);
    EXPECT_TRUE(IconPositions({}, QSize(400, 300)).empty());
    EXPECT_EQ(IconPositions({icon, icon, icon}, QSize(400, 300)),
              (std::vector<QPoint>{{0, 270}, {160, 270}, {0, 240}}));
    // An icon wider than the area still gets a row of its own.
    EXPECT_EQ(IconPositions({QSize(500, 30), icon}, QSize(400, 300)),
              (std::vector<QPoint>{{0, 270}, {0, 240}}));
}
