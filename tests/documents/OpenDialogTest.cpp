// SPDX-License-Identifier: GPL-3.0-or-later
// The open dialog over a temporary folder made the current one.
#include "DocumentTesting.h"
#include "frmDocument.h"
#include "frmOpen.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QStorageInfo>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>
#include <unistd.h>

using namespace documents_testing;

namespace {

const std::string Tagged = Audio(200) + TagBytes("Song", "Band");

class OpenDialog : public AreaTest {
protected:
    void SetUp() override
    {
        AreaTest::SetUp();
        previous = QDir::currentPath();
        QDir::setCurrent(QString::fromStdString(dir.Path()));
    }
    void TearDown() override { QDir::setCurrent(previous); }

    frmOpen* NewDialog()
    {
        auto* dialog = new frmOpen(nullptr, &area);
        dialog->show();
        return dialog;
    }
    static QStringList Names(const QListWidget* list)
    {
        QStringList names;
        for (int i = 0; i < list->count(); ++i)
            names << list->item(i)->text();
        return names;
    }
    static void Select(frmOpen* dialog, const QStringList& names)
    {
        for (const QString& name : names)
            dialog->FileList->findItems(name, Qt::MatchExactly).value(0)->setSelected(true);
    }
    QStringList Titles() const
    {
        QStringList titles;
        for (QMdiSubWindow* sub : area.subWindowList())
            titles << sub->widget()->windowTitle();
        return titles;
    }
    static QString Cwd() { return QDir::currentPath(); }

    QString previous;
};

TEST_F(OpenDialog, ListsTheMp3FilesOfTheCurrentFolderInAnyLetterCase)
{
    for (const char* name : {"b.mp3", "A.MP3", "c.Mp3", ".hidden.mp3", "notes.txt", "song.mp3.bak"})
        dir.Write(name, Tagged);
    dir.MakeFolder("folder.mp3");
    QPointer<frmOpen> dialog = NewDialog();
    EXPECT_EQ(dialog->windowTitle(), "Открыть");
    EXPECT_EQ(dialog->size(), QSize(476, 287));
    EXPECT_EQ(dialog->DirListPath(), Cwd().toStdString());
    EXPECT_EQ(Names(dialog->FileList), QStringList({"A.MP3", "b.mp3", "c.Mp3"}));
    EXPECT_EQ(dialog->FileList->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(TabOrder(dialog, dialog->DirList),
              QStringList({"DirList", "FileList", "DriveList", "cmdOpen", "cmdClose"}));
    delete dialog;
}

TEST_F(OpenDialog, OpensTheSelectedFilesInListOrderThenCloses)
{
    for (const char* name : {"c.mp3", "a.mp3", "B.MP3", "d.mp3"})
        dir.Write(name, Tagged);
    QPointer<frmOpen> dialog = NewDialog();
    Select(dialog, {"c.mp3", "a.mp3", "B.MP3"});
    DialogDriver none;
    dialog->cmdOpen->click();
    EXPECT_TRUE(none.Seen().empty());
    EXPECT_EQ(Titles(), QStringList({"a.mp3", "B.MP3", "c.mp3"}));
    auto* last = qobject_cast<frmDocument*>(area.activeSubWindow()->widget());
    EXPECT_EQ(last->txtFilename->text().toStdString(), dir / "c.mp3"); // one separator
    EXPECT_EQ(last->txtTitle->text(), "Song");
    EXPECT_TRUE(Gone(dialog));
}

TEST_F(OpenDialog, NoSelectionOpensNothingAndCloses)
{
    dir.Write("a.mp3", Tagged);
    QPointer<frmOpen> dialog = NewDialog();
    dialog->cmdOpen->click();
    EXPECT_TRUE(area.subWindowList().isEmpty());
    EXPECT_TRUE(Gone(dialog));
}

TEST_F(OpenDialog, VanishedAndUnreadableFilesAreReportedAndTheRestOpen)
{
    for (const char* name : {"a.mp3", "b.mp3", "d.mp3"})
        dir.Write(name, Tagged);
    dir.Write("c.mp3", Audio(50));
    QPointer<frmOpen> dialog = NewDialog();
    Select(dialog, {"a.mp3", "b.mp3", "c.mp3", "d.mp3"});
    std::filesystem::remove(dir / "a.mp3");
    DialogDriver driver({Answer(QMessageBox::Ok), Answer(QMessageBox::Ok)});
    dialog->cmdOpen->click();
    ASSERT_EQ(driver.Seen().size(), 2u);
    EXPECT_EQ(driver.Seen()[0].text.toStdString(), "Файл " + dir / "a.mp3" + " отсутствует и не будет открыт.");
    EXPECT_EQ(driver.Seen()[0].title, "Morvik");
    EXPECT_EQ(driver.Seen()[0].icon, QMessageBox::Critical);
    EXPECT_TRUE(driver.Seen()[1].text.startsWith(QString::fromStdString(dir / "c.mp3" + "\n")));
    EXPECT_EQ(driver.Seen()[1].icon, QMessageBox::Critical);
    EXPECT_EQ(Titles(), QStringList({"b.mp3", "d.mp3"}));
    EXPECT_TRUE(Gone(dialog));
}

TEST_F(OpenDialog, SameFileTwiceGivesTwoIndependentWindows)
{
    dir.Write("a.mp3", Tagged);
    for (int i = 0; i < 2; ++i) {
        frmOpen* dialog = NewDialog();
        Select(dialog, {"a.mp3"});
        dialog->cmdOpen->click();
    }
    ASSERT_EQ(Titles(), QStringList({"a.mp3", "a.mp3"}));
    auto* first = qobject_cast<frmDocument*>(area.subWindowList()[0]->widget());
    QTest::keyClicks(first->txtTitle, "x");
    EXPECT_EQ(Titles(), QStringList({"a.mp3 *", "a.mp3"}));
}

TEST_F(OpenDialog, DoubleClickAndEnterOpenTheSelection)
{
    dir.Write("a.mp3", Tagged);
    dir.Write("b.mp3", Tagged);
    QPointer<frmOpen> dialog = NewDialog();
    QListWidgetItem* b = dialog->FileList->item(1);
    const QPoint at = dialog->FileList->visualItemRect(b).center();
    QTest::mouseClick(dialog->FileList->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(dialog->FileList->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(Titles(), QStringList({"b.mp3"}));
    EXPECT_TRUE(Gone(dialog));

    dialog = NewDialog();
    Select(dialog, {"a.mp3"});
    dialog->FileList->setFocus();
    QTest::keyClick(dialog->FileList, Qt::Key_Return);
    EXPECT_EQ(Titles(), QStringList({"b.mp3", "a.mp3"}));
    EXPECT_TRUE(Gone(dialog));
}

TEST_F(OpenDialog, FolderTreeShowsTheChainAndEntersAFolderOnDoubleClick)
{
    dir.MakeFolder("Music");
    dir.MakeFolder("art");
    dir.MakeFolder(".git");
    dir.Write("Music/in.mp3", Tagged);
    QPointer<frmOpen> dialog = NewDialog();
    QTreeWidgetItem* current = dialog->DirList->currentItem();
    ASSERT_NE(current, nullptr);
    EXPECT_EQ(current->text(0), QDir(Cwd()).dirName());
    QStringList subs;
    for (int i = 0; i < current->childCount(); ++i)
        subs << current->child(i)->text(0);
    EXPECT_EQ(subs, QStringList({"art", "Music"}));
    QStringList chain;
    for (QTreeWidgetItem* item = current; item; item = item->parent())
        chain.prepend(item->text(0));
    EXPECT_EQ(QDir::cleanPath(chain.join('/')), Cwd());

    // A click only highlights; a double-click enters.
    const QPoint at = dialog->DirList->visualItemRect(current->child(1)).center();
    QTest::mouseClick(dialog->DirList->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(dialog->DirListPath(), Cwd().toStdString());
    QTest::mouseDClick(dialog->DirList->viewport(), Qt::LeftButton, {}, at);
    QApplication::processEvents();
    EXPECT_EQ(dialog->DirListPath(), Cwd().toStdString() + "/Music");
    EXPECT_EQ(Names(dialog->FileList), QStringList({"in.mp3"}));
    EXPECT_EQ(dialog->DirList->currentItem()->text(0), "Music");
    delete dialog;
}

TEST_F(OpenDialog, TheKeyboardAloneReachesASubFolderAndOpensAFileThere)
{
    dir.MakeFolder("art");
    dir.MakeFolder("Music");
    dir.MakeFolder("Music/Live");
    dir.Write("Music/in.mp3", Tagged);
    dir.Write("Music/Live/deep.mp3", Tagged);
    QPointer<frmOpen> dialog = NewDialog();
    dialog->DirList->setFocus();
    const auto press = [&](Qt::Key key) { QTest::keyClick(dialog->focusWidget(), key); };
    // Down to "art", then "Music"; Return enters it and does not press "Открыть".
    press(Qt::Key_Down);
    press(Qt::Key_Down);
    EXPECT_EQ(dialog->DirList->currentItem()->text(0), "Music");
    press(Qt::Key_Return);
    ASSERT_FALSE(Gone(dialog));
    EXPECT_EQ(dialog->DirListPath(), Cwd().toStdString() + "/Music");
    EXPECT_EQ(Names(dialog->FileList), QStringList({"in.mp3"}));
    EXPECT_EQ(dialog->focusWidget(), dialog->DirList) << "the tree keeps the focus";
    // Right enters too.
    press(Qt::Key_Down);
    press(Qt::Key_Right);
    EXPECT_EQ(dialog->DirListPath(), Cwd().toStdString() + "/Music/Live");
    // Tab to the files, pick one, Return opens it.
    press(Qt::Key_Tab);
    EXPECT_EQ(dialog->focusWidget(), dialog->FileList);
    press(Qt::Key_Down);
    QTest::keyClick(dialog->FileList, Qt::Key_Space);
    press(Qt::Key_Return);
    EXPECT_EQ(Titles(), QStringList({"deep.mp3"}));
    EXPECT_TRUE(Gone(dialog));
}

TEST_F(OpenDialog, DriveThatIsNotReadyIsReportedAndTheListGoesBack)
{
    dir.Write("root.mp3", Tagged);
    dir.MakeFolder("sub");
    QPointer<frmOpen> dialog = NewDialog();
    // A volume rooted at the temporary folder, and one that is not there.
    const QString root = QString::fromStdString(dir.Path());
    dialog->DriveList->addItem(root, root);
    dialog->DriveList->addItem("/nowhere/vol [Disc]", "/nowhere/vol");
    dialog->DriveList->setCurrentIndex(dialog->DriveList->count() - 2);
    EXPECT_EQ(dialog->DirListPath(), root.toStdString());
    // The folder the user entered is not kept: the drive's own folder comes back.
    const QPoint at = dialog->DirList->visualItemRect(dialog->DirList->currentItem()->child(0)).center();
    QTest::mouseClick(dialog->DirList->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(dialog->DirList->viewport(), Qt::LeftButton, {}, at);
    QApplication::processEvents();
    ASSERT_EQ(dialog->DirListPath(), root.toStdString() + "sub");

    DialogDriver driver({Answer(QMessageBox::Ok)});
    dialog->DriveList->setCurrentIndex(dialog->DriveList->count() - 1);
    ASSERT_EQ(driver.Seen().size(), 1u);
    EXPECT_EQ(driver.Seen()[0].text, "Устройство не готово");
    EXPECT_EQ(driver.Seen()[0].title, "Диск /NOWHERE/VOL [DISC]");
    EXPECT_EQ(driver.Seen()[0].icon, QMessageBox::Warning);
    EXPECT_EQ(driver.Seen()[0].buttons.size(), 1);
    EXPECT_EQ(dialog->DriveList->currentIndex(), dialog->DriveList->count() - 2);
    EXPECT_EQ(dialog->DirListPath(), root.toStdString());

    // A file in the root of a volume gets one separator before its name.
    Select(dialog, {"root.mp3"});
    dialog->cmdOpen->click();
    ASSERT_EQ(area.subWindowList().size(), 1);
    EXPECT_EQ(qobject_cast<frmDocument*>(area.subWindowList()[0]->widget())->txtFilename->text(),
              root + "root.mp3");
}

TEST_F(OpenDialog, NamesInWindows1251ShowReadablyAndOpenTheirOwnFile)
{
    // "Музыка/Ёлка.mp3" in Windows-1251, beside a file named as Qt would show it undecoded.
    const std::string folder = dir.MakeFolder("\xcc\xf3\xe7\xfb\xea\xe0");
    const std::string path = dir.Write("\xcc\xf3\xe7\xfb\xea\xe0/\xa8\xeb\xea\xe0.mp3", Tagged);
    const std::string lookAlike = dir.Write("\xcc\xf3\xe7\xfb\xea\xe0/\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd.mp3",
                                            Audio(200) + TagBytes("Other"));
    ASSERT_EQ(::chdir(folder.c_str()), 0);
    QPointer<frmOpen> dialog = NewDialog();
    EXPECT_EQ(dialog->DirList->currentItem()->text(0), "Музыка");
    EXPECT_EQ(dialog->DriveList->currentData(), QStorageInfo(QString::fromStdString(dir.Path())).rootPath());
    EXPECT_EQ(Names(dialog->FileList), QStringList({"Ёлка.mp3", "\uFFFD\uFFFD\uFFFD\uFFFD.mp3"}));

    Select(dialog, {"Ёлка.mp3"});
    DialogDriver none;
    dialog->cmdOpen->click();
    EXPECT_TRUE(none.Seen().empty());
    ASSERT_EQ(Titles(), QStringList({"Ёлка.mp3"}));
    auto* doc = qobject_cast<frmDocument*>(area.activeSubWindow()->widget());
    EXPECT_EQ(doc->FilePath(), path);
    EXPECT_EQ(doc->txtFilename->text().toStdString(), dir / "Музыка/Ёлка.mp3");
    EXPECT_EQ(doc->txtTitle->text(), "Song");

    doc->txtTitle->setText("Ель");
    doc->cmdChange->click();
    EXPECT_EQ(LastRecord(path), TagBytes("\xc5\xeb\xfc", "Band"));
    EXPECT_EQ(LastRecord(lookAlike), TagBytes("Other"));
}

TEST_F(OpenDialog, FilesComeInTheOrderOfTheirShownTextIgnoringCase)
{
    // Capitals fold, Cyrillic ones and those beyond U+FFFF too; "ё" comes
    // after "я" and "ÿ" (U+00FF) before "ā" (U+0101), by their codes; those
    // beyond U+FFFF, stored as pairs from U+D800 on, before a fullwidth one;
    // a Windows-1251 name where its shown text puts it; names equal but for
    // case by their text.
    for (const char* name : {"ёлка.mp3", "Ель.mp3", "ЯБЛОКО.mp3", "арбуз.mp3", "ā.mp3", "ÿ.mp3", "Ａ.mp3", "😀.mp3",
                             "𐐀b.mp3", "𐐨a.mp3", "b.mp3", "B.mp3", "\xc0\xe9\xe2\xe0.mp3"})
        dir.Write(name, Tagged);
    QPointer<frmOpen> dialog = NewDialog();
    EXPECT_EQ(Names(dialog->FileList),
              QStringList({"B.mp3", "b.mp3", "ÿ.mp3", "ā.mp3", "Айва.mp3", "арбуз.mp3", "Ель.mp3", "ЯБЛОКО.mp3",
                           "ёлка.mp3", "𐐨a.mp3", "𐐀b.mp3", "😀.mp3", "Ａ.mp3"}));
    delete dialog;
}

TEST_F(OpenDialog, EveryRowIsAsWideAsTheLongestNameOfTheFolderShown)
{
    const QString longName = "a song whose name is far too long for the list to show at once.mp3";
    dir.Write(longName.toStdString(), Tagged);
    dir.Write("b.mp3", Tagged);
    dir.MakeFolder("short");
    dir.Write("short/c.mp3", Tagged);
    QPointer<frmOpen> dialog = NewDialog();
    QListWidget* list = dialog->FileList;
    const int needed = list->fontMetrics().horizontalAdvance(longName);
    EXPECT_GE(list->visualItemRect(list->item(1)).width(), needed);
    EXPECT_GT(list->horizontalScrollBar()->maximum(), 0);

    const QPoint at = dialog->DirList->visualItemRect(dialog->DirList->currentItem()->child(0)).center();
    QTest::mouseClick(dialog->DirList->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(dialog->DirList->viewport(), Qt::LeftButton, {}, at);
    QApplication::processEvents();
    ASSERT_EQ(Names(list), QStringList({"c.mp3"}));
    EXPECT_LT(list->visualItemRect(list->item(0)).width(), needed);
    EXPECT_EQ(list->horizontalScrollBar()->maximum(), 0);
    delete dialog;
}

} // namespace
