// SPDX-License-Identifier: GPL-3.0-or-later
// The document window, driven through its controls and its real dialogs.
#include "DocumentTesting.h"
#include "frmDocument.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QWindow>
#include <filesystem>

using namespace documents_testing;

namespace {

const std::string Tagged = Audio(1000) + TagBytes("Song", "Band", "Album", "2003", "Nice", 17);

class DocumentWindow : public AreaTest {
protected:
    static QMdiSubWindow* Sub(frmDocument* doc) { return qobject_cast<QMdiSubWindow*>(doc->parentWidget()); }
    static std::string Path(frmDocument* doc) { return doc->txtFilename->text().toStdString(); }
    static void Type(QLineEdit* box, const char* text) { QTest::keyClicks(box, QString::fromUtf8(text)); }
};

TEST_F(DocumentWindow, FillsFromATaggedFileWithoutCountingItAsAnEdit)
{
    const std::string title30 = "A title of exactly thirty char";
    // Artist "Группа" in Windows-1251.
    frmDocument* doc = OpenFile("song.mp3", Audio(500) + TagBytes(title30, "\xc3\xf0\xf3\xef\xef\xe0", "Album",
                                                                  "2003", "Nice", 17));
    EXPECT_EQ(doc->property("Tag").toString(), "CHILD");
    EXPECT_EQ(QFontInfo(doc->txtTitle->font()).family(), "Tahoma");
    EXPECT_EQ(doc->windowTitle(), "song.mp3");
    EXPECT_EQ(Sub(doc)->windowTitle(), "song.mp3");
    EXPECT_EQ(doc->txtFilename->text().toStdString(), dir / "song.mp3");
    EXPECT_TRUE(doc->txtFilename->isReadOnly());
    EXPECT_EQ(doc->txtTitle->text().toStdString(), title30);
    EXPECT_EQ(doc->txtArtist->text(), QString::fromUtf8("Группа"));
    EXPECT_EQ(doc->txtAlbum->text(), "Album");
    EXPECT_EQ(doc->txtYear->text(), "2003");
    EXPECT_EQ(doc->txtGenre->currentText(), "Rock");
    EXPECT_EQ(doc->txtGenre->currentData().toInt(), 17);
    EXPECT_EQ(doc->txtComment->text(), "Nice");
    EXPECT_FALSE(doc->chkAdv->isChecked());
    EXPECT_FALSE(doc->txtFilenameNew->isEnabled());
    EXPECT_FALSE(doc->cmdRename->isEnabled());
}

TEST_F(DocumentWindow, UntaggedFilesAndUnnamedGenresShowTheEmptyEntry)
{
    frmDocument* untagged = OpenFile("plain.mp3", Audio(300));
    EXPECT_EQ(untagged->windowTitle(), "plain.mp3");
    for (QLineEdit* box : {untagged->txtTitle, untagged->txtArtist, untagged->txtAlbum, untagged->txtYear,
                           untagged->txtComment})
        EXPECT_TRUE(box->text().isEmpty()) << box->objectName().toStdString();
    for (const auto& [name, genre] : {std::pair<const char*, int>{"g0.mp3", 0}, {"g126.mp3", 126}, {"g254.mp3", 254}}) {
        frmDocument* doc = OpenFile(name, Audio(200) + TagBytes("T", "", "", "", "", static_cast<std::uint8_t>(genre)));
        EXPECT_EQ(doc->txtGenre->currentIndex(), 0) << name;
        EXPECT_EQ(doc->txtGenre->currentData().toInt(), 255) << name;
        EXPECT_EQ(doc->windowTitle(), QString::fromLatin1(name));
    }
}

TEST_F(DocumentWindow, GenreListHoldsTheEmptyEntryThenGenresOneTo125ByName)
{
    QComboBox* genres = OpenFile("song.mp3", Tagged)->txtGenre;
    ASSERT_EQ(genres->count(), 126);
    EXPECT_EQ(genres->itemText(0), "");
    EXPECT_EQ(genres->itemData(0).toInt(), 255);
    EXPECT_EQ(genres->itemText(1), "A Capela");
    EXPECT_EQ(genres->itemText(125), "Vocal");
    EXPECT_EQ(genres->findText("Blues"), -1); // genre 0 is not offered
    EXPECT_EQ(genres->itemData(genres->findText("Dance Hall")).toInt(), 125);
    EXPECT_EQ(genres->itemData(genres->findText("Rock & Roll")).toInt(), 78);
    for (int i = 2; i < genres->count(); ++i)
        EXPECT_LE(genres->itemText(i - 1).remove('-').compare(genres->itemText(i).remove('-'), Qt::CaseInsensitive), 0)
            << genres->itemText(i - 1).toStdString() << " before " << genres->itemText(i).toStdString();
}

TEST_F(DocumentWindow, MarkerIsAddedOnceAndRemovedExactly)
{
    frmDocument* doc = OpenFile("x *.mp3", Tagged);
    Type(doc->txtTitle, "ab");
    doc->txtGenre->setCurrentIndex(3);
    Type(doc->txtComment, "c");
    EXPECT_EQ(doc->windowTitle(), "x *.mp3 *");
    doc->cmdChange->click();
    EXPECT_EQ(doc->windowTitle(), "x *.mp3");
    doc->txtGenre->setCurrentIndex(4);
    EXPECT_EQ(doc->windowTitle(), "x *.mp3 *");
}

TEST_F(DocumentWindow, CaptionShowsABracketedStarAsWritten)
{
    // Qt's rule for shown titles, applied to what the sub-window holds.
    auto shown = [](frmDocument* doc) {
        QWidget probe;
        probe.setWindowTitle(Sub(doc)->windowTitle());
        probe.winId();
        return probe.windowHandle()->title();
    };
    frmDocument* doc = OpenFile("a[*]b.mp3", Tagged);
    EXPECT_EQ(shown(doc), "a[*]b.mp3");
    Type(doc->txtTitle, "x");
    EXPECT_EQ(shown(doc), "a[*]b.mp3 *");
    EXPECT_EQ(doc->windowTitle(), "a[*]b.mp3 *"); // the frame's window list shows this one
    doc->chkAdv->click();
    doc->txtFilenameNew->setText("[*][*]");
    doc->cmdRename->click();
    EXPECT_EQ(shown(doc), "[*][*].mp3 *");
    doc->cmdChange->click();
    EXPECT_EQ(shown(doc), "[*][*].mp3");
}

TEST_F(DocumentWindow, FieldsTakeAtMostTheirWidth)
{
    frmDocument* doc = OpenFile("song.mp3", Audio(200));
    Type(doc->txtYear, "20031");
    EXPECT_EQ(doc->txtYear->text(), "2003");
    Type(doc->txtTitle, "1234567890123456789012345678901");
    EXPECT_EQ(doc->txtTitle->text().size(), 30);
}

TEST_F(DocumentWindow, AdvancedSectionCollapsesAndExpandsTheWindow)
{
    frmDocument* doc = OpenFile("song.mp3", Tagged);
    QMdiSubWindow* sub = Sub(doc);
    const QMargins frame = sub->contentsMargins();
    auto bottomOf = [](QWidget* w) { return w->geometry().bottom() + 1; };
    EXPECT_EQ(sub->height(), 272);
    EXPECT_EQ(doc->height() + frame.top() + frame.bottom(), 272);
    EXPECT_LE(bottomOf(doc->cmdChange), doc->height()); // the buttons are not cut off

    doc->chkAdv->click();
    EXPECT_EQ(sub->height(), 437);
    EXPECT_LE(bottomOf(doc->cmdRename), doc->height());
    EXPECT_TRUE(doc->txtFilenameNew->isEnabled());
    EXPECT_FALSE(doc->cmdRename->isEnabled()); // empty template
    Type(doc->txtFilenameNew, "%1");
    EXPECT_TRUE(doc->cmdRename->isEnabled());
    doc->txtFilenameNew->clear();
    EXPECT_FALSE(doc->cmdRename->isEnabled());
    Type(doc->txtFilenameNew, "%2");

    doc->chkAdv->click();
    EXPECT_EQ(sub->height(), 272);
    EXPECT_FALSE(doc->txtFilenameNew->isEnabled());
    EXPECT_FALSE(doc->cmdRename->isEnabled());
    doc->chkAdv->click();
    EXPECT_TRUE(doc->cmdRename->isEnabled()); // template kept
    EXPECT_EQ(doc->windowTitle(), "song.mp3"); // the template is no edit of the tag
}

TEST_F(DocumentWindow, TabMovesInTheFormOrder)
{
    frmDocument* doc = OpenFile("song.mp3", Tagged);
    doc->chkAdv->click();
    Type(doc->txtFilenameNew, "%1");
    EXPECT_EQ(TabOrder(doc, doc->txtFilename), QStringList({"txtFilename", "txtTitle", "txtArtist", "txtAlbum", "txtYear", "txtGenre",
                                  "txtComment", "chkAdv", "cmdRefresh", "cmdChange", "txtFilenameNew",
                                  "cmdRename"}));
}

TEST_F(DocumentWindow, SaveAppendsToAnUntaggedFileThenOverwrites)
{
    frmDocument* doc = OpenFile("plain.mp3", Audio(1000));
    Type(doc->txtTitle, "New");
    Type(doc->txtArtist, "Band");
    Type(doc->txtYear, "1999");
    doc->txtGenre->setCurrentIndex(doc->txtGenre->findText("Rock"));
    DialogDriver none;
    doc->cmdChange->click();
    EXPECT_TRUE(none.Seen().empty());
    EXPECT_EQ(SizeOf(dir / "plain.mp3"), 1128u);
    EXPECT_EQ(LastRecord(dir / "plain.mp3"), TagBytes("New", "Band", "", "1999", "", 17));

    Type(doc->txtComment, "Again");
    doc->cmdChange->click();
    EXPECT_EQ(SizeOf(dir / "plain.mp3"), 1128u);
    EXPECT_EQ(LastRecord(dir / "plain.mp3"), TagBytes("New", "Band", "", "1999", "Again", 17));

    frmDocument* again = frmDocument::Open(&area, doc->FilePath(), "plain.mp3");
    EXPECT_EQ(again->txtComment->text(), "Again");
    EXPECT_EQ(again->txtGenre->currentText(), "Rock");
}

TEST_F(DocumentWindow, EmptyGenreAndEmptyYearAreSavedAsNoGenreAndNuls)
{
    frmDocument* doc = OpenFile("song.mp3", Tagged);
    doc->txtGenre->setCurrentIndex(0);
    doc->txtYear->clear();
    doc->cmdChange->click();
    EXPECT_EQ(LastRecord(Path(doc)), TagBytes("Song", "Band", "Album", "", "Nice", 255));
}

TEST_F(DocumentWindow, ReadOnlyFileIsWrittenOnlyAfterYesAndStaysReadOnly)
{
    frmDocument* doc = OpenFile("song.mp3", Tagged);
    const std::string path = Path(doc);
    SetMode(path, 0454);
    Type(doc->txtTitle, "X");
    {
        DialogDriver driver({Answer(QMessageBox::No)});
        doc->cmdChange->click();
        ASSERT_EQ(driver.Seen().size(), 1u);
        EXPECT_EQ(driver.Seen()[0].text, Shown("Файл " + path + " доступен только для чтения.\r\r"
                                                "Вы все равно хотите изменить теги в нем?"));
        EXPECT_EQ(driver.Seen()[0].title, "Morvik");
        EXPECT_EQ(driver.Seen()[0].icon, QMessageBox::Question);
        EXPECT_EQ(driver.Seen()[0].buttons.size(), 2);
    }
    EXPECT_EQ(ReadFile(path), Tagged);
    EXPECT_EQ(ModeOf(path) & 07777, 0454u);
    EXPECT_EQ(doc->windowTitle(), "song.mp3 *");
    {
        DialogDriver driver({Answer(QMessageBox::Yes)});
        doc->cmdChange->click();
        EXPECT_EQ(driver.Seen().size(), 1u);
    }
    EXPECT_EQ(LastRecord(path), TagBytes("SongX", "Band", "Album", "2003", "Nice", 17));
    EXPECT_EQ(ModeOf(path) & 07777, 0454u);
    EXPECT_EQ(doc->windowTitle(), "song.mp3");
}

TEST_F(DocumentWindow, ReturnOnAFocusedNoAnswersNo)
{
    QPointer<frmDocument> doc = OpenFile("song.mp3", Tagged);
    const std::string path = Path(doc);
    SetMode(path, 0444);
    Type(doc->txtTitle, "X");
    {
        DialogDriver driver({ReturnOn(QMessageBox::No)});
        doc->cmdChange->click();
        EXPECT_EQ(driver.Seen().size(), 1u);
    }
    EXPECT_EQ(ReadFile(path), Tagged) << "the read-only file was written";
    SetMode(path, 0644);
    {
        DialogDriver driver({ReturnOn(QMessageBox::No)});
        EXPECT_TRUE(Sub(doc)->close());
        EXPECT_EQ(driver.Seen().size(), 1u);
    }
    EXPECT_TRUE(Gone(doc));
    EXPECT_EQ(ReadFile(path), Tagged) << "the closing prompt saved";
}

TEST_F(DocumentWindow, FailedSaveIsReportedKeepsTheEditsAndRestoresReadOnly)
{
    frmDocument* doc = OpenFile("song.mp3", Tagged);
    const std::string path = Path(doc);
    SetMode(path, 0444);
    doc->txtYear->setText("abc");
    {
        DialogDriver driver({Answer(QMessageBox::Yes), Answer(QMessageBox::Ok)});
        doc->cmdChange->click();
        ASSERT_EQ(driver.Seen().size(), 2u);
        EXPECT_EQ(driver.Seen()[1].text, Shown(path + "\r\rНедопустимый год: нужно положительное число не больше 32767."));
        EXPECT_EQ(driver.Seen()[1].icon, QMessageBox::Critical);
        EXPECT_EQ(driver.Seen()[1].title, "Morvik");
    }
    EXPECT_EQ(ReadFile(path), Tagged);
    EXPECT_EQ(ModeOf(path) & 07777, 0444u);
    EXPECT_EQ(doc->windowTitle(), "song.mp3 *");
    EXPECT_EQ(doc->txtYear->text(), "abc");

    // A file cut below one record fails inside the write.
    SetMode(path, 0644);
    dir.Write("song.mp3", Audio(50));
    doc->txtYear->setText("2004");
    DialogDriver driver({Answer(QMessageBox::Ok)});
    doc->cmdChange->click();
    ASSERT_EQ(driver.Seen().size(), 1u);
    EXPECT_TRUE(driver.Seen()[0].text.startsWith(QString::fromStdString(path + "\n")));
    EXPECT_EQ(SizeOf(path), 50u);
    EXPECT_EQ(doc->windowTitle(), "song.mp3 *");
}

TEST_F(DocumentWindow, SaveAndRereadWithoutEditsTouchNothing)
{
    QPointer<frmDocument> doc = OpenFile("song.mp3", Tagged);
    std::filesystem::remove(dir / "song.mp3");
    DialogDriver none;
    doc->cmdChange->click();
    doc->cmdRefresh->click();
    EXPECT_TRUE(none.Seen().empty());
    EXPECT_FALSE(Gone(doc));
    EXPECT_FALSE(Exists(dir / "song.mp3"));
}

TEST_F(DocumentWindow, RereadShowsWhatTheFileHoldsNow)
{
    frmDocument* doc = OpenFile("song.mp3", Tagged);
    Type(doc->txtTitle, "edited");
    dir.Write("song.mp3", Audio(1000) + TagBytes("Other", "", "", "1980", "", 0));
    doc->cmdRefresh->click();
    EXPECT_EQ(doc->txtTitle->text(), "Other");
    EXPECT_EQ(doc->txtArtist->text(), "");
    EXPECT_EQ(doc->txtYear->text(), "1980");
    EXPECT_EQ(doc->txtGenre->currentIndex(), 0);
    EXPECT_EQ(doc->windowTitle(), "song.mp3");

    Type(doc->txtTitle, "x");
    dir.Write("song.mp3", Audio(1000));
    doc->cmdRefresh->click();
    EXPECT_EQ(doc->txtTitle->text(), "");
    EXPECT_EQ(doc->txtYear->text(), "");
    EXPECT_EQ(doc->windowTitle(), "song.mp3");
}

TEST_F(DocumentWindow, FailedRereadIsReportedAndKeepsTheEdits)
{
    frmDocument* doc = OpenFile("song.mp3", Tagged);
    Type(doc->txtTitle, "edited");
    dir.Write("song.mp3", Audio(20));
    DialogDriver driver({Answer(QMessageBox::Ok)});
    doc->cmdRefresh->click();
    ASSERT_EQ(driver.Seen().size(), 1u);
    EXPECT_EQ(driver.Seen()[0].icon, QMessageBox::Critical);
    EXPECT_TRUE(driver.Seen()[0].text.startsWith(QString::fromStdString(Path(doc) + "\n")));
    EXPECT_EQ(doc->txtTitle->text(), "Songedited");
    EXPECT_EQ(doc->windowTitle(), "song.mp3 *");
}

TEST_F(DocumentWindow, VanishedFileIsReportedAndItsWindowCloses)
{
    for (const char* action : {"save", "reread", "rename"}) {
        SCOPED_TRACE(action);
        QPointer<frmDocument> doc = OpenFile("song.mp3", Tagged);
        const std::string path = Path(doc);
        Type(doc->txtTitle, "edited");
        doc->chkAdv->click();
        Type(doc->txtFilenameNew, "new");
        std::filesystem::remove(path);
        DialogDriver driver({Answer(QMessageBox::Ok)});
        QPushButton* button = std::string(action) == "save" ? doc->cmdChange
            : std::string(action) == "reread"               ? doc->cmdRefresh
                                                            : doc->cmdRename;
        button->click();
        ASSERT_EQ(driver.Seen().size(), 1u); // no closing prompt after it
        EXPECT_EQ(driver.Seen()[0].text,
                  Shown("Файл " + path + " отсутствует.\rОкно, соответствующее этому файлу будет закрыто."));
        EXPECT_EQ(driver.Seen()[0].icon, QMessageBox::Critical);
        EXPECT_TRUE(Gone(doc));
        EXPECT_FALSE(Exists(path));
        EXPECT_FALSE(Exists(dir / "new.mp3"));
    }
}

TEST_F(DocumentWindow, ClosingPromptAnswers)
{
    const QString prompt = Shown("Теги файла " + dir / "song.mp3" + " были изменены.\r\rСохранить сделанные изменения?");
    {
        SCOPED_TRACE("no edits: no question");
        QPointer<frmDocument> doc = OpenFile("song.mp3", Tagged);
        DialogDriver none;
        EXPECT_TRUE(Sub(doc)->close());
        EXPECT_TRUE(none.Seen().empty());
        EXPECT_TRUE(Gone(doc));
    }
    {
        SCOPED_TRACE("Cancel keeps the window");
        QPointer<frmDocument> doc = OpenFile("song.mp3", Tagged);
        Type(doc->txtTitle, "X");
        {
            DialogDriver driver({Answer(QMessageBox::Cancel)});
            EXPECT_FALSE(Sub(doc)->close());
            ASSERT_EQ(driver.Seen().size(), 1u);
            EXPECT_EQ(driver.Seen()[0].text, prompt);
            EXPECT_EQ(driver.Seen()[0].buttons.size(), 3);
            EXPECT_EQ(driver.Seen()[0].icon, QMessageBox::Question);
        }
        EXPECT_FALSE(Gone(doc));
        EXPECT_EQ(doc->windowTitle(), "song.mp3 *");
        EXPECT_EQ(doc->txtTitle->text(), "SongX");

        DialogDriver no({Answer(QMessageBox::No)});
        EXPECT_TRUE(Sub(doc)->close());
        EXPECT_TRUE(Gone(doc));
        EXPECT_EQ(ReadFile(dir / "song.mp3"), Tagged);
    }
    {
        SCOPED_TRACE("Yes saves and closes");
        QPointer<frmDocument> doc = OpenFile("song.mp3", Tagged);
        Type(doc->txtTitle, "Y");
        DialogDriver yes({Answer(QMessageBox::Yes)});
        EXPECT_TRUE(Sub(doc)->close());
        EXPECT_TRUE(Gone(doc));
        EXPECT_EQ(LastRecord(dir / "song.mp3"), TagBytes("SongY", "Band", "Album", "2003", "Nice", 17));
    }
    {
        SCOPED_TRACE("Yes with a failing save keeps the window and its edits");
        QPointer<frmDocument> doc = OpenFile("song.mp3", Tagged);
        doc->txtYear->setText("0");
        DialogDriver driver({Answer(QMessageBox::Yes), Answer(QMessageBox::Ok)});
        EXPECT_FALSE(Sub(doc)->close());
        ASSERT_EQ(driver.Seen().size(), 2u);
        EXPECT_EQ(driver.Seen()[1].icon, QMessageBox::Critical);
        EXPECT_FALSE(Gone(doc));
        EXPECT_EQ(doc->windowTitle(), "song.mp3 *");
        EXPECT_EQ(ReadFile(dir / "song.mp3"), Tagged);
    }
    {
        SCOPED_TRACE("Yes on a vanished file reports it and closes");
        QPointer<frmDocument> doc = OpenFile("gone.mp3", Tagged);
        Type(doc->txtTitle, "W");
        std::filesystem::remove(dir / "gone.mp3");
        DialogDriver driver({Answer(QMessageBox::Yes), Answer(QMessageBox::Ok)});
        EXPECT_TRUE(Sub(doc)->close());
        ASSERT_EQ(driver.Seen().size(), 2u);
        EXPECT_TRUE(driver.Seen()[1].text.contains(QString::fromUtf8("отсутствует")));
        EXPECT_TRUE(Gone(doc));
        EXPECT_FALSE(Exists(dir / "gone.mp3"));
    }
    {
        SCOPED_TRACE("Yes, then Return at the warning about lost characters, keeps the window and writes nothing");
        QPointer<frmDocument> doc = OpenFile("song.mp3", Tagged);
        doc->txtTitle->setText(QString::fromUtf8("Müller"));
        {
            DialogDriver driver({Answer(QMessageBox::Yes), [](QWidget* box) { QTest::keyClick(box, Qt::Key_Return); }});
            EXPECT_FALSE(Sub(doc)->close());
            ASSERT_EQ(driver.Seen().size(), 2u);
            EXPECT_EQ(driver.Seen()[1].icon, QMessageBox::Warning);
        }
        EXPECT_FALSE(Gone(doc));
        EXPECT_EQ(doc->windowTitle(), "song.mp3 *");
        EXPECT_EQ(doc->txtTitle->text(), QString::fromUtf8("Müller"));
        EXPECT_EQ(ReadFile(dir / "song.mp3"), Tagged);
        DialogDriver no({Answer(QMessageBox::No)});
        EXPECT_TRUE(Sub(doc)->close());
    }
    {
        SCOPED_TRACE("Yes, then No to the read-only question, closes without writing");
        QPointer<frmDocument> doc = OpenFile("song.mp3", Tagged);
        SetMode(dir / "song.mp3", 0444);
        Type(doc->txtTitle, "Z");
        DialogDriver driver({Answer(QMessageBox::Yes), Answer(QMessageBox::No)});
        EXPECT_TRUE(Sub(doc)->close());
        EXPECT_TRUE(Gone(doc));
        EXPECT_EQ(ReadFile(dir / "song.mp3"), Tagged);
        SetMode(dir / "song.mp3", 0644);
    }
}

TEST_F(DocumentWindow, EnterPressesSave)
{
    frmDocument* doc = OpenFile("song.mp3", Tagged);
    Type(doc->txtTitle, "!");
    QTest::keyClick(doc->txtTitle, Qt::Key_Return);
    EXPECT_EQ(doc->windowTitle(), "song.mp3");
    EXPECT_EQ(LastRecord(dir / "song.mp3"), TagBytes("Song!", "Band", "Album", "2003", "Nice", 17));
}

TEST_F(DocumentWindow, RenamesAfterTheTemplateInTheSameFolder)
{
    frmDocument* doc = OpenFile("x.mp3", Tagged);
    doc->chkAdv->click();
    Type(doc->txtFilenameNew, "%2 - %1");
    DialogDriver none;
    doc->cmdRename->click();
    EXPECT_TRUE(none.Seen().empty());
    EXPECT_FALSE(Exists(dir / "x.mp3"));
    EXPECT_EQ(ReadFile(dir / "Band - Song.mp3"), Tagged);
    EXPECT_EQ(doc->txtFilename->text().toStdString(), dir / "Band - Song.mp3");
    EXPECT_EQ(doc->windowTitle(), "Band - Song.mp3");

    const std::pair<const char*, const char*> cases[] = {
        {"kept.mp3", "kept.mp3"},      // no second extension
        {"upper.MP3", "upper.MP3.mp3"}, // the comparison is case-sensitive
        {"%3%5-", "Album-.mp3"},        // the empty genre entry gives nothing
    };
    doc->txtGenre->setCurrentIndex(0);
    for (const auto& [templ, name] : cases) {
        doc->txtFilenameNew->setText(QString::fromUtf8(templ));
        doc->cmdRename->click();
        EXPECT_EQ(doc->windowTitle().toStdString(), std::string(name) + " *");
        EXPECT_TRUE(Exists(dir / name)) << name;
    }
    doc->txtTitle->setText("a%2");
    doc->txtFilenameNew->setText("%1");
    doc->cmdRename->click();
    EXPECT_TRUE(Exists(dir / "aBand.mp3")); // a placeholder inside a value is replaced too
}

TEST_F(DocumentWindow, TakenNameAsksUntilAFreeNameOrCancel)
{
    frmDocument* doc = OpenFile("Song.mp3", Tagged);
    const std::string path = Path(doc);
    doc->chkAdv->click();
    {
        // The file's own name needs nothing.
        Type(doc->txtFilenameNew, "%1");
        DialogDriver none;
        doc->cmdRename->click();
        EXPECT_TRUE(none.Seen().empty());
    }
    dir.Write("Band.mp3", "taken");
    doc->txtFilenameNew->setText("%2");
    {
        // OK with the same taken path asks again.
        const std::string taken = dir / "Band.mp3";
        DialogDriver driver({QueryAnswer(QString::fromStdString(taken)), Click("cmdCancel")});
        doc->cmdRename->click();
        ASSERT_EQ(driver.Seen().size(), 2u);
        EXPECT_EQ(driver.Seen()[0].objectName, "frmQuery");
        EXPECT_EQ(driver.Seen()[0].text.toStdString(), path);
        EXPECT_EQ(driver.Seen()[0].value.toStdString(), taken);
        EXPECT_EQ(driver.Seen()[1].objectName, "frmQuery");
    }
    {
        // Closing the prompt by its frame is a Cancel: no rename is tried.
        DialogDriver driver({CloseBox()});
        doc->cmdRename->click();
        EXPECT_EQ(driver.Seen().size(), 1u);
    }
    EXPECT_EQ(ReadFile(path), Tagged);
    EXPECT_EQ(doc->windowTitle(), "Song.mp3");

    Type(doc->txtComment, "!"); // unsaved edits keep their marker behind the new name
    {
        DialogDriver driver({QueryAnswer(QString::fromStdString(dir / "Free.mp3"))});
        doc->cmdRename->click();
        ASSERT_EQ(driver.Seen().size(), 1u);
        EXPECT_EQ(driver.Seen()[0].value.toStdString(), dir / "Band.mp3");
    }
    EXPECT_EQ(ReadFile(dir / "Band.mp3"), "taken");
    EXPECT_FALSE(Exists(path));
    EXPECT_EQ(doc->windowTitle(), "Free.mp3 *");
    doc->cmdChange->click();
    EXPECT_EQ(doc->windowTitle(), "Free.mp3");
    EXPECT_EQ(LastRecord(dir / "Free.mp3"), TagBytes("Song", "Band", "Album", "2003", "Nice!", 17));
}

TEST_F(DocumentWindow, ARenamePromptInAWindows1251FolderKeepsThatFolder)
{
    // "Музыка" in Windows-1251.
    const std::string folder = dir.MakeFolder("\xcc\xf3\xe7\xfb\xea\xe0");
    const std::string path = dir.Write("\xcc\xf3\xe7\xfb\xea\xe0/a.mp3", Tagged);
    dir.Write("\xcc\xf3\xe7\xfb\xea\xe0/Song.mp3", "taken");
    frmDocument* doc = frmDocument::Open(&area, path, "a.mp3");
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(Path(doc), dir / "Музыка/a.mp3");
    doc->chkAdv->click();
    Type(doc->txtFilenameNew, "%1");
    {
        DialogDriver driver({QueryAnswer(QString::fromStdString(dir / "Музыка/Ёлка.mp3"))});
        doc->cmdRename->click();
        ASSERT_EQ(driver.Seen().size(), 1u);
        EXPECT_EQ(driver.Seen()[0].text.toStdString(), dir / "Музыка/a.mp3");
        EXPECT_EQ(driver.Seen()[0].value.toStdString(), dir / "Музыка/Song.mp3");
    }
    EXPECT_EQ(ReadFile(folder + "Ёлка.mp3"), Tagged);
    EXPECT_EQ(doc->FilePath(), folder + "Ёлка.mp3");
    EXPECT_EQ(doc->windowTitle(), "Ёлка.mp3");
    EXPECT_FALSE(Exists(dir / "Музыка"));
}

TEST_F(DocumentWindow, FailedRenameIsReportedAndChangesNothing)
{
    frmDocument* doc = OpenFile("Song.mp3", Tagged);
    const std::string path = Path(doc);
    dir.Write("Band.mp3", "taken");
    doc->chkAdv->click();
    Type(doc->txtFilenameNew, "%2");
    {
        DialogDriver driver({QueryAnswer(QString::fromStdString(dir / "no such folder/x.mp3")),
                             Answer(QMessageBox::Ok)});
        doc->cmdRename->click();
        ASSERT_EQ(driver.Seen().size(), 2u);
        EXPECT_EQ(driver.Seen()[1].icon, QMessageBox::Critical);
        EXPECT_TRUE(driver.Seen()[1].text.contains(QString::fromStdString(path)));
    }
    // A hidden file is no file to the existence test, but is never replaced.
    dir.Write(".hidden.mp3", "hidden");
    doc->txtFilenameNew->setText(".hidden");
    {
        DialogDriver driver({Answer(QMessageBox::Ok)});
        doc->cmdRename->click();
        ASSERT_EQ(driver.Seen().size(), 1u);
        EXPECT_EQ(driver.Seen()[0].icon, QMessageBox::Critical);
    }
    EXPECT_EQ(ReadFile(dir / ".hidden.mp3"), "hidden");
    EXPECT_EQ(ReadFile(path), Tagged);
    EXPECT_EQ(Path(doc), path);
    EXPECT_EQ(doc->windowTitle(), "Song.mp3");
}

TEST_F(DocumentWindow, PlaceholderLabelsInsertAtTheCaretOrOverTheSelection)
{
    frmDocument* doc = OpenFile("song.mp3", Tagged);
    doc->chkAdv->click();
    Type(doc->txtFilenameNew, "a");
    QTest::mouseClick(doc->lblPress[3], Qt::LeftButton);
    EXPECT_EQ(doc->txtFilenameNew->text(), "a%3");
    EXPECT_EQ(doc->txtFilenameNew->cursorPosition(), 3);
    doc->txtFilenameNew->setSelection(0, 1);
    QTest::mouseClick(doc->lblPress[5], Qt::LeftButton);
    EXPECT_EQ(doc->txtFilenameNew->text(), "%5%3");
    EXPECT_EQ(doc->txtFilenameNew->cursorPosition(), 2);

    doc->txtFilenameNew->clear();
    QTest::mouseClick(doc->lblPress[1], Qt::LeftButton);
    EXPECT_TRUE(doc->cmdRename->isEnabled());
    EXPECT_EQ(doc->lblPress[2]->text(), "%2 - Исполнитель");
}

TEST_F(DocumentWindow, ReadErrorIsReportedAndLeavesNoWindow)
{
    const std::pair<const char*, const char*> cases[] = {{"short.mp3", "Файл короче 128 байт"},
                                                         {"tune.wav", "Недопустимое имя файла"}};
    for (const auto& [name, description] : cases) {
        const std::string path = dir.Write(name, Audio(100));
        DialogDriver driver({Answer(QMessageBox::Ok)});
        EXPECT_EQ(frmDocument::Open(&area, path, name), nullptr);
        ASSERT_EQ(driver.Seen().size(), 1u);
        EXPECT_EQ(driver.Seen()[0].title, "Morvik");
        EXPECT_EQ(driver.Seen()[0].icon, QMessageBox::Critical);
        EXPECT_TRUE(driver.Seen()[0].text.startsWith(QString::fromStdString(path + "\n"))) << name;
        EXPECT_TRUE(driver.Seen()[0].text.startsWith(Shown(path + "\r\r" + description))) << name;
    }
    EXPECT_TRUE(area.subWindowList().isEmpty());
}

} // namespace
