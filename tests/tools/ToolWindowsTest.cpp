// SPDX-License-Identifier: GPL-3.0-or-later
// The tool windows driven as the user drives them, with real message
// boxes and prompts answered.
#include "CodepageTesting.h"
#include "DialogDriver.h"
#include "HookedTag.h"
#include "FileSystem.h"
#include "Journal.h"
#include "JournalReader.h"
#include "MessageBoxes.h"
#include "ScriptedDialogs.h"
#include "TakeBack.h"
#include "TempDir.h"
#include "TagObjects.h"
#include "frmMDI.h"
#include "frmMain.h"
#include "frmParse.h"
#include "frmPreview.h"
#include "frmRecode.h"
#include "frmRename.h"
#include "WindowTagObjects.h"
#include "mdlBrowseForFolder.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFontInfo>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <thread>

using namespace testing_support;

namespace {

QColor BaseOf(QWidget* w)
{
    return w->palette().color(QPalette::Base);
}

// The folder picker answers with folder (or "" for cancel) and remembers how it was asked.
struct Chooser {
    QString folder;
    QWidget* owner = nullptr;
    QString prompt;
    unsigned flags = 0;
    int calls = 0;
    std::function<void()> meanwhile; // what happens while the picker is up
    Chooser()
    {
        mdlBrowseForFolder::SetChooserForTests([this](QWidget* o, const QString& p, unsigned f) {
            owner = o, prompt = p, flags = f, ++calls;
            if (meanwhile)
                meanwhile();
            return folder;
        });
    }
    ~Chooser() { mdlBrowseForFolder::SetChooserForTests(nullptr); }
};

// A window that is shown like the frame shows it, and closed at the end.
template <class W>
struct Shown {
    QPointer<W> w = new W(nullptr);
    Shown() { w->show(); }
    ~Shown()
    {
        if (w)
            w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    W* operator->() const { return w; }
    operator W*() const { return w; }
};

std::string Mp3(const TempDir& dir, const std::string& name, const std::string& record, mode_t mode = 0644)
{
    const std::string path = dir.Write(name, Audio(100) + record);
    SetMode(path, mode);
    return path;
}

// Answers whatever comes: the prompt with target, any box with its first button.
DialogDriver::Action AnyDialog(const QString& target)
{
    return [target](QWidget* w) {
        if (w->objectName() == "frmQuery")
            QueryAnswer(target)(w);
        else if (auto* box = qobject_cast<QMessageBox*>(w))
            box->buttons().first()->click();
    };
}

// Answers with answer, noting first how the pointer was while the dialog was
// up: "run" while a run holds the busy pointer, " busy" while it still shows.
DialogDriver::Action NotingPointer(QStringList& log, DialogDriver::Action answer)
{
    return [&log, answer](QWidget* w) {
        log << QString(Shell::BusyPointer::Active() ? "run" : "idle")
                   + (QApplication::overrideCursor() ? " busy" : "");
        answer(w);
    };
}

TEST(FillWindow, OpensWithEveryRowCheckedAndTheGenreListFilled)
{
    Shown<frmMain> w;
    EXPECT_EQ(w->objectName(), "frmMain");
    EXPECT_EQ(w->windowTitle(), "Заполнить теги");
    EXPECT_EQ(w->size(), QSize(347, 361));
    auto* cmdFill = Find<QPushButton>(w, "cmdFill");
    EXPECT_FALSE(cmdFill->isEnabled());
    EXPECT_TRUE(cmdFill->isDefault());
    EXPECT_EQ(BaseOf(Find<QLineEdit>(w, "tPath")), QColor(224, 224, 224));
    EXPECT_TRUE(Find<QLineEdit>(w, "tPath")->isReadOnly());
    EXPECT_EQ(Find<QPushButton>(w, "cmdBrowse")->toolTip(), "Обзор");
    for (const char* row : {"Title", "Artist", "Album", "Year", "Genre", "Comment"}) {
        EXPECT_TRUE(Find<QCheckBox>(w, qPrintable(QString("ch") + row))->isChecked()) << row;
        QWidget* field = Find<QWidget>(w, qPrintable(QString("t") + row));
        EXPECT_TRUE(field->isEnabled()) << row;
        EXPECT_EQ(BaseOf(field), QColor(Qt::white)) << row;
    }
    EXPECT_EQ(Find<QLabel>(w, "lComment")->text(), "Комментарий");
    EXPECT_EQ(Find<QLabel>(w, "lblPaste0")->text(), "%0 - имя файла");
    EXPECT_EQ(Find<QLabel>(w, "lblPaste6")->text(), "%6 - текущее поле \"Комментарий\"");
    EXPECT_EQ(Find<QLineEdit>(w, "tYear")->maxLength(), 4);
    auto* tTitle = Find<QLineEdit>(w, "tTitle");
    tTitle->setText(QString(40000, 'x'));
    EXPECT_EQ(tTitle->text().size(), 40000);

    auto* tGenre = Find<QComboBox>(w, "tGenre");
    auto tag = Core::NewTagObject();
    ASSERT_EQ(tGenre->count(), 127);
    EXPECT_EQ(tGenre->currentIndex(), 0);
    EXPECT_EQ(tGenre->itemText(0), "");
    EXPECT_EQ(tGenre->itemData(0).toInt(), 255);
    std::vector<bool> seen(126, false);
    for (int i = 1; i < tGenre->count(); ++i) {
        const int id = tGenre->itemData(i).toInt();
        ASSERT_TRUE(id >= 0 && id <= 125) << id;
        EXPECT_EQ(tGenre->itemText(i).toStdString(), tag->GenreIDToName(static_cast<std::uint8_t>(id)));
        // Sorted as a desktop list sorts: letter case and hyphens do not count.
        const auto key = [&](int k) { return tGenre->itemText(k).remove('-').toLower(); };
        EXPECT_LE(key(i - 1).compare(key(i)), 0);
        seen[id] = true;
    }
    EXPECT_TRUE(std::all_of(seen.begin(), seen.end(), [](bool b) { return b; }));
}

TEST(FillWindow, CheckBoxesGreyAndRestoreTheirRows)
{
    Shown<frmMain> w;
    for (const char* row : {"Title", "Year", "Genre", "Comment"}) {
        auto* check = Find<QCheckBox>(w, qPrintable(QString("ch") + row));
        QWidget* field = Find<QWidget>(w, qPrintable(QString("t") + row));
        QWidget* label = Find<QWidget>(w, qPrintable(QString("l") + row));
        QTest::mouseClick(check, Qt::LeftButton);
        EXPECT_FALSE(field->isEnabled()) << row;
        EXPECT_FALSE(label->isEnabled()) << row;
        EXPECT_EQ(BaseOf(field), QColor(197, 197, 197)) << row;
        QTest::mouseClick(check, Qt::LeftButton);
        EXPECT_TRUE(field->isEnabled()) << row;
        EXPECT_TRUE(label->isEnabled()) << row;
        EXPECT_EQ(BaseOf(field), QColor(Qt::white)) << row;
    }
    // SetStatus works on any field, the genre list included.
    w->SetStatus(Find<QWidget>(w, "tGenre"), false);
    EXPECT_FALSE(Find<QWidget>(w, "tGenre")->isEnabled());
}

TEST(FillWindow, LegendLinesGoOnlyIntoTheFourTemplateFields)
{
    Shown<frmMain> w;
    auto* tYear = Find<QLineEdit>(w, "tYear");
    tYear->setText("19");
    tYear->setFocus();
    QTest::mouseClick(Find<QLabel>(w, "lblPaste1"), Qt::LeftButton);
    EXPECT_EQ(tYear->text(), "19");

    auto* tTitle = Find<QLineEdit>(w, "tTitle");
    tTitle->setText("abc");
    tTitle->setFocus();
    tTitle->selectAll();
    QTest::mouseClick(Find<QLabel>(w, "lblPaste1"), Qt::LeftButton);
    EXPECT_EQ(tTitle->text(), "%1");
    EXPECT_EQ(w->focusWidget(), tTitle);

    auto* tComment = Find<QLineEdit>(w, "tComment");
    tComment->setText("ab");
    tComment->setFocus();
    tComment->setCursorPosition(1);
    QTest::mouseClick(Find<QLabel>(w, "lblPaste6"), Qt::LeftButton);
    EXPECT_EQ(tComment->text(), "a%6b");
    EXPECT_EQ(tComment->cursorPosition(), 3);
}

TEST(FillWindow, BrowseEnablesFillAndACancelKeepsTheFolder)
{
    TempDir dir;
    Chooser chooser;
    Shown<frmMain> w;
    DialogDriver driver;
    // Enter does nothing before a folder is chosen.
    QTest::keyClick(Find<QLineEdit>(w, "tTitle"), Qt::Key_Return);
    QTest::qWait(50);
    EXPECT_TRUE(driver.Seen().empty());

    chooser.folder = QString::fromStdString(dir.Path());
    QTest::mouseClick(Find<QPushButton>(w, "cmdBrowse"), Qt::LeftButton);
    EXPECT_EQ(chooser.owner, w);
    EXPECT_EQ(chooser.prompt, "Выберите папку");
    EXPECT_EQ(chooser.flags, 1u);
    EXPECT_EQ(Find<QLineEdit>(w, "tPath")->text().toStdString(), dir.Path());
    EXPECT_TRUE(Find<QPushButton>(w, "cmdFill")->isEnabled());

    chooser.folder.clear();
    QTest::mouseClick(Find<QPushButton>(w, "cmdBrowse"), Qt::LeftButton);
    EXPECT_EQ(chooser.calls, 2);
    EXPECT_EQ(Find<QLineEdit>(w, "tPath")->text().toStdString(), dir.Path());
    EXPECT_TRUE(Find<QPushButton>(w, "cmdFill")->isEnabled());

    // A folder that already ends in the separator gets no second one.
    chooser.folder = "/";
    QTest::mouseClick(Find<QPushButton>(w, "cmdBrowse"), Qt::LeftButton);
    EXPECT_EQ(Find<QLineEdit>(w, "tPath")->text(), "/");
}

TEST(ToolWindows, ThePickerGivesTheFocusBackToTheButtonThatOpenedIt)
{
    TempDir dir;
    Chooser chooser;
    // The picker, as a window of its own, takes the activation and leaves
    // it elsewhere when it goes.
    QWidget elsewhere;
    chooser.meanwhile = [&] {
        elsewhere.show();
        elsewhere.activateWindow();
        QApplication::processEvents();
    };
    Shown<frmMain> fill;
    Shown<frmRename> rename;
    for (QWidget* w : {static_cast<QWidget*>(fill), static_cast<QWidget*>(rename)}) {
        SCOPED_TRACE(w->objectName().toStdString());
        auto* browse = Find<QPushButton>(w, "cmdBrowse");
        for (const QString& folder : {QString::fromStdString(dir.Path()), QString()}) { // chosen, cancelled
            w->activateWindow();
            browse->setFocus();
            chooser.folder = folder;
            QTest::keyClick(browse, Qt::Key_Space);
            QApplication::processEvents();
            EXPECT_TRUE(w->isActiveWindow());
            EXPECT_EQ(QApplication::focusWidget(), browse);
        }
    }
}

TEST(ToolWindows, AFolderNameQtCouldNotCarryIsReportedAndNotTaken)
{
    TempDir dir;
    Chooser chooser;
    Shown<frmMain> w;
    chooser.folder = QString::fromStdString(dir.Path());
    QTest::mouseClick(Find<QPushButton>(w, "cmdBrowse"), Qt::LeftButton);
    // How Qt hands over a folder whose name is not UTF-8.
    chooser.folder = QString::fromStdString(dir.Path()) + QChar(QChar::ReplacementCharacter) + "/";
    DialogDriver driver({Answer(QMessageBox::Ok)});
    QTest::mouseClick(Find<QPushButton>(w, "cmdBrowse"), Qt::LeftButton);
    ASSERT_EQ(driver.Seen().size(), 1u);
    EXPECT_EQ(driver.Seen()[0].text, "Имя папки " + chooser.folder + " не удаётся передать системе без искажений."
                                         "\n\nПереименуйте папку или выберите другую.");
    EXPECT_EQ(driver.Seen()[0].icon, QMessageBox::Critical);
    EXPECT_EQ(Find<QLineEdit>(w, "tPath")->text().toStdString(), dir.Path());
}

TEST(FillWindow, AWholeRunAsksAboutReadOnlyFilesAndStaysOpen)
{
    TempDir dir;
    const std::string plain = Mp3(dir, "Band - Song.mp3", TagBytes("old", "Band", "", "", "", 17));
    const std::string ro = Mp3(dir, "ro.mp3", TagBytes("old"), 0444);
    Chooser chooser;
    chooser.folder = QString::fromStdString(dir.Path());
    Shown<frmMain> w;
    QTest::mouseClick(Find<QPushButton>(w, "cmdBrowse"), Qt::LeftButton);
    Find<QLineEdit>(w, "tTitle")->setText("%0");
    Find<QLineEdit>(w, "tComment")->setText("by %2");
    for (const char* box : {"chArtist", "chAlbum", "chYear", "chGenre"})
        QTest::mouseClick(Find<QCheckBox>(w, box), Qt::LeftButton);

    QStringList pointer;
    DialogDriver driver({Answer(QMessageBox::Yes), NotingPointer(pointer, Answer(QMessageBox::Ok))});
    QTest::keyClick(Find<QLineEdit>(w, "tTitle"), Qt::Key_Return); // the default button
    EXPECT_EQ(pointer, QStringList({"run"})) << "busy for the run, the normal pointer at its boxes";
    ASSERT_EQ(driver.Seen().size(), 2u);
    const SeenDialog& question = driver.Seen()[0];
    EXPECT_EQ(question.text.toStdString(), "Файл " + ro + " доступен только для чтения\n\nЗаполнить теги в этом файле?");
    EXPECT_EQ(question.icon, QMessageBox::Question);
    EXPECT_EQ(question.title, "Morvik");
    EXPECT_EQ(question.buttons.size(), 2);
    EXPECT_EQ(driver.Seen()[1].text, "Заполнение тегов завершено.");
    EXPECT_EQ(driver.Seen()[1].icon, QMessageBox::Information);

    EXPECT_EQ(LastRecord(plain), TagBytes("Band - Song", "Band", "", "", "by Band", 17));
    EXPECT_EQ(LastRecord(ro), TagBytes("ro", "", "", "", "by ", 255));
    EXPECT_EQ(ModeOf(ro), 0444u);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(Find<QLineEdit>(w, "tTitle")->text(), "%0");
}

// The names the Tab key visits from the window's first control, disabled
// controls included (they take their place once enabled).
QStringList TabOrder(QWidget* window)
{
    QStringList names;
    for (QWidget* w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain())
        if ((w->focusPolicy() & Qt::TabFocus) && w->parentWidget() == window)
            names << w->objectName();
    return names;
}

TEST(FillWindow, AWarningAboutLostCharactersComesFromTheRunAndReturnAnswersNo)
{
    TempDir dir;
    const std::string song = Mp3(dir, "song.mp3", TagBytes("old"));
    Chooser chooser;
    chooser.folder = QString::fromStdString(dir.Path());
    Shown<frmMain> w;
    QTest::mouseClick(Find<QPushButton>(w, "cmdBrowse"), Qt::LeftButton);
    Find<QLineEdit>(w, "tTitle")->setText(QString::fromUtf8("Café %0"));

    DialogDriver driver({[](QWidget* box) { QTest::keyClick(box, Qt::Key_Return); }});
    QTest::mouseClick(Find<QPushButton>(w, "cmdFill"), Qt::LeftButton);
    ASSERT_EQ(driver.Seen().size(), 1u);
    EXPECT_TRUE(driver.Seen()[0].text.contains(QString::fromUtf8("«é» (U+00E9)"))) << driver.Seen()[0].text.toStdString();
    EXPECT_EQ(driver.Seen()[0].icon, QMessageBox::Warning);
    EXPECT_EQ(LastRecord(song), TagBytes("old"));
}

TEST(ToolWindows, TabVisitsTheControlsInOrderFromTheFolderField)
{
    Shown<frmMain> fill;
    EXPECT_EQ(TabOrder(fill).mid(0, 9), QStringList({"tPath", "cmdBrowse", "tTitle", "tArtist", "tAlbum", "tYear",
                                                      "tGenre", "tComment", "cmdFill"}));
    ASSERT_TRUE(QTest::qWaitForWindowActive(fill));
    EXPECT_EQ(fill->focusWidget(), Find<QWidget>(fill, "tPath"));
    Shown<frmRename> rename;
    EXPECT_EQ(TabOrder(rename), QStringList({"txtDir", "txtFilenameNew", "cmdRename", "cmdPreview", "cmdBrowse"}));
    ASSERT_TRUE(QTest::qWaitForWindowActive(rename));
    EXPECT_EQ(rename->focusWidget(), Find<QWidget>(rename, "txtDir"));
}

TEST(ToolWindows, EscapeDoesNotCloseAndClosingDeletes)
{
    for (int i = 0; i < 2; ++i) {
        QPointer<QWidget> w = i == 0 ? static_cast<QWidget*>(new frmMain(nullptr)) : new frmRename(nullptr);
        w->show();
        QTest::keyClick(w, Qt::Key_Escape);
        EXPECT_TRUE(w->isVisible()) << i;
        w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(w.isNull()) << i;
    }
}

TEST(RenameWindow, OpensEmptyAndEnablesRenameOnFolderAndTemplate)
{
    TempDir dir;
    Chooser chooser;
    Shown<frmRename> w;
    EXPECT_EQ(w->objectName(), "frmRename");
    EXPECT_EQ(w->windowTitle(), "Переименовать файлы");
    EXPECT_EQ(w->size(), QSize(371, 191));
    EXPECT_EQ(Find<QPushButton>(w, "cmdBrowse")->toolTip(), "Выбрать");
    EXPECT_EQ(Find<QLabel>(w, "lblPress5")->text(), "%5 - Жанр");
    auto* txtDir = Find<QLineEdit>(w, "txtDir");
    auto* txtFilenameNew = Find<QLineEdit>(w, "txtFilenameNew");
    auto* cmdRename = Find<QPushButton>(w, "cmdRename");
    EXPECT_TRUE(txtDir->isReadOnly());
    EXPECT_TRUE(cmdRename->isDefault());
    EXPECT_FALSE(cmdRename->isEnabled());

    txtFilenameNew->setText("  ");
    EXPECT_FALSE(cmdRename->isEnabled());
    chooser.folder = QString::fromStdString(dir.Path());
    QTest::mouseClick(Find<QPushButton>(w, "cmdBrowse"), Qt::LeftButton);
    EXPECT_EQ(chooser.prompt, "Выберите папку");
    EXPECT_EQ(chooser.flags, 1u);
    EXPECT_EQ(txtDir->text().toStdString(), dir.Path());
    EXPECT_TRUE(cmdRename->isEnabled()); // blanks count as a template here

    chooser.folder.clear();
    QTest::mouseClick(Find<QPushButton>(w, "cmdBrowse"), Qt::LeftButton);
    EXPECT_EQ(txtDir->text().toStdString(), dir.Path());

    DialogDriver driver({Answer(QMessageBox::Ok)});
    QTest::mouseClick(cmdRename, Qt::LeftButton);
    ASSERT_EQ(driver.Seen().size(), 1u);
    EXPECT_EQ(driver.Seen()[0].text, "Шаблон имени не задан");
    EXPECT_EQ(driver.Seen()[0].icon, QMessageBox::Critical);

    txtFilenameNew->clear();
    EXPECT_FALSE(cmdRename->isEnabled());
}

TEST(RenameWindow, LegendLinesReplaceTheSelectionOfTheTemplate)
{
    Shown<frmRename> w;
    auto* txtFilenameNew = Find<QLineEdit>(w, "txtFilenameNew");
    txtFilenameNew->setText("xaby");
    txtFilenameNew->setFocus();
    txtFilenameNew->setSelection(1, 2);
    QTest::mouseClick(Find<QLabel>(w, "lblPress3"), Qt::LeftButton);
    EXPECT_EQ(txtFilenameNew->text(), "x%3y");
    EXPECT_EQ(w->focusWidget(), txtFilenameNew);
    QTest::mouseClick(Find<QLabel>(w, "lblPress1"), Qt::LeftButton);
    EXPECT_EQ(txtFilenameNew->text(), "x%3%1y");
}

TEST(RenameWindow, AWholeRunPromptsForATakenNameAndReportsTheRest)
{
    TempDir dir;
    const std::string x = Mp3(dir, "x.mp3", TagBytes("T", "A"));
    const std::string blocker = dir.Write("A - T.mp3", Audio(300)); // untagged: reported, never renamed
    Chooser chooser;
    chooser.folder = QString::fromStdString(dir.Path());
    Shown<frmRename> w;
    QTest::mouseClick(Find<QPushButton>(w, "cmdBrowse"), Qt::LeftButton);
    Find<QLineEdit>(w, "txtFilenameNew")->setText("%2 - %1");

    const QString chosen = QString::fromStdString(dir / "chosen.mp3");
    QStringList pointer;
    DialogDriver driver({NotingPointer(pointer, AnyDialog(chosen)), NotingPointer(pointer, AnyDialog(chosen)),
                         NotingPointer(pointer, AnyDialog(chosen))});
    QTest::mouseClick(Find<QPushButton>(w, "cmdRename"), Qt::LeftButton);
    EXPECT_EQ(pointer, QStringList({"run", "run", "run"})) << "the prompt shows the normal pointer too";
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "and the run gives it back";
    ASSERT_EQ(driver.Seen().size(), 3u);
    bool prompted = false, reported = false;
    for (std::size_t i = 0; i < 2; ++i) {
        const SeenDialog& d = driver.Seen()[i];
        if (d.objectName == "frmQuery") {
            prompted = true;
            EXPECT_EQ(d.text.toStdString(), x);
            EXPECT_EQ(d.value.toStdString(), blocker);
        } else {
            reported = true;
            EXPECT_EQ(d.text.toStdString(), "Неверный формат тегов в файле " + blocker);
            EXPECT_EQ(d.icon, QMessageBox::Critical);
        }
    }
    EXPECT_TRUE(prompted && reported);
    EXPECT_EQ(driver.Seen()[2].text, "Процесс переименования завершен.");
    EXPECT_EQ(driver.Seen()[2].icon, QMessageBox::Information);
    EXPECT_FALSE(Exists(x));
    EXPECT_EQ(LastRecord(dir / "chosen.mp3"), TagBytes("T", "A"));
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(Find<QLineEdit>(w, "txtFilenameNew")->text(), "%2 - %1");
}

TEST(ToolWindows, BothToolsJournalTheirRunsAndWaitWhileAnotherRunWorks)
{
    StateHome state;
    TempDir dir;
    const std::string path = Mp3(dir, "a.mp3", TagBytes("T", "A"));
    const std::string before = ReadFile(path);
    Chooser chooser;
    chooser.folder = QString::fromStdString(dir.Path());
    Shown<frmMain> fill;
    QTest::mouseClick(Find<QPushButton>(fill, "cmdBrowse"), Qt::LeftButton);
    Find<QLineEdit>(fill, "tTitle")->setText("new");
    Shown<frmRename> rename;
    QTest::mouseClick(Find<QPushButton>(rename, "cmdBrowse"), Qt::LeftButton);
    Find<QLineEdit>(rename, "txtFilenameNew")->setText("%2 - %1");
    {
        ScriptedDialogs other;
        const auto running = Core::RunJournal::Begin(other);
        ASSERT_TRUE(running);
        DialogDriver driver({Answer(QMessageBox::Ok), Answer(QMessageBox::Ok)});
        QTest::mouseClick(Find<QPushButton>(fill, "cmdFill"), Qt::LeftButton);
        QTest::mouseClick(Find<QPushButton>(rename, "cmdRename"), Qt::LeftButton);
        ASSERT_EQ(driver.Seen().size(), 2u);
        for (const SeenDialog& d : driver.Seen()) {
            EXPECT_EQ(d.text, "Другая операция Morvik уже выполняется. Дождитесь её окончания.");
            EXPECT_EQ(d.icon, QMessageBox::Warning);
        }
        EXPECT_EQ(ReadFile(path), before);
    }
    EXPECT_FALSE(Core::JournalExists());

    DialogDriver driver({Answer(QMessageBox::Ok), Answer(QMessageBox::Ok)});
    QTest::mouseClick(Find<QPushButton>(fill, "cmdFill"), Qt::LeftButton);
    ASSERT_EQ(Core::ReadJournal().entries.size(), 1u);
    EXPECT_EQ(Core::ReadJournal().entries[0].kind, Core::JournalEntry::Write);
    QTest::mouseClick(Find<QPushButton>(rename, "cmdRename"), Qt::LeftButton);
    ASSERT_EQ(Core::ReadJournal().entries.size(), 1u);
    EXPECT_EQ(Core::ReadJournal().entries[0].kind, Core::JournalEntry::Rename);
    ASSERT_EQ(driver.Seen().size(), 2u);
    EXPECT_EQ(driver.Seen()[1].text, "Процесс переименования завершен.");
}

// The windows' tag objects read slowly, as on a USB stick, while this lives.
struct SlowDisk {
    explicit SlowDisk(std::chrono::milliseconds perRead)
    {
        Shell::SetTagObjectFactoryForTests([perRead]() -> std::unique_ptr<Quenlar::_TMP3Tag> {
            auto tag = std::make_unique<HookedTag>();
            tag->beforeRead = [perRead](const std::string&) { std::this_thread::sleep_for(perRead); };
            return tag;
        });
    }
    ~SlowDisk() { Shell::SetTagObjectFactoryForTests(nullptr); }
};

// Watches for the progress window and notes what it shows; presses "Стоп"
// once the bar has passed stopAt.
struct ProgressWatch {
    QTimer timer;
    QString title;
    int maximum = -1, shownAt = -1;
    bool stopped = false, normalPointerOver = false, busyElsewhere = false;
    ProgressWatch(int stopAt, QElapsedTimer& clock, QWidget* elsewhere)
    {
        QObject::connect(&timer, &QTimer::timeout, [=, this, &clock] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (w->objectName() != "frmProgress" || !w->isVisible())
                    continue;
                auto* bar = w->findChild<QProgressBar*>("prgFiles");
                auto* stop = w->findChild<QPushButton*>("cmdStop");
                ASSERT_TRUE(bar && stop);
                if (shownAt < 0) {
                    shownAt = static_cast<int>(clock.elapsed());
                    title = w->windowTitle();
                    EXPECT_EQ(stop->text(), "Стоп");
                    EXPECT_TRUE(w->isModal());
                    normalPointerOver = !QApplication::overrideCursor() && w->cursor().shape() == Qt::ArrowCursor;
                    busyElsewhere = elsewhere->cursor().shape() == Qt::WaitCursor;
                }
                maximum = bar->maximum();
                if (!stopped && bar->value() > stopAt) {
                    stopped = true;
                    QTest::mouseClick(stop, Qt::LeftButton);
                }
            }
        });
        timer.start(20);
    }
};

TEST(FillWindow, ALongRunShowsItsProgressAndStopsBetweenTwoFiles)
{
    TempDir dir;
    constexpr int kFiles = 300;
    for (int i = 0; i < kFiles; ++i)
        Mp3(dir, std::to_string(i) + ".mp3", TagBytes("old"));
    const SlowDisk slow(std::chrono::milliseconds(5));
    Chooser chooser;
    chooser.folder = QString::fromStdString(dir.Path());
    Shown<frmMain> w;
    QTest::mouseClick(Find<QPushButton>(w, "cmdBrowse"), Qt::LeftButton);
    Find<QLineEdit>(w, "tTitle")->setText("new");
    for (const char* box : {"chArtist", "chAlbum", "chYear", "chGenre", "chComment"})
        QTest::mouseClick(Find<QCheckBox>(w, box), Qt::LeftButton);

    QElapsedTimer clock;
    clock.start();
    ProgressWatch watch(20, clock, w);
    DialogDriver driver({Answer(QMessageBox::Ok)});
    driver.PassOver("frmProgress");
    QTest::mouseClick(Find<QPushButton>(w, "cmdFill"), Qt::LeftButton);

    EXPECT_GE(watch.shownAt, 400) << "a run shows its progress only once it has lasted";
    EXPECT_EQ(watch.title, "Заполнить теги — выполняется");
    EXPECT_EQ(watch.maximum, kFiles);
    EXPECT_TRUE(watch.normalPointerOver) << "the normal pointer over the progress window";
    EXPECT_TRUE(watch.busyElsewhere) << "the busy one over the tool window";
    ASSERT_TRUE(watch.stopped);
    ASSERT_EQ(driver.Seen().size(), 1u);
    const std::string text = driver.Seen()[0].text.toStdString();
    const std::string head = "Заполнение тегов прервано. Изменено файлов: ";
    ASSERT_EQ(text.rfind(head, 0), 0u) << text;
    const int changed = std::stoi(text.substr(head.size()));
    EXPECT_EQ(text, head + std::to_string(changed) + " из " + std::to_string(kFiles) + ".");
    int filled = 0;
    for (int i = 0; i < kFiles; ++i) {
        const std::string record = LastRecord(dir / (std::to_string(i) + ".mp3"));
        filled += record == TagBytes("new");
        EXPECT_TRUE(record == TagBytes("new") || record == TagBytes("old")) << i;
    }
    EXPECT_EQ(filled, changed);
    EXPECT_LT(changed, kFiles);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(w->cursor().shape(), Qt::ArrowCursor) << "the tool window's pointer is given back";
    for (QWidget* top : QApplication::topLevelWidgets())
        EXPECT_FALSE(top->objectName() == "frmProgress" && top->isVisible());
    QApplication::processEvents();
    EXPECT_TRUE(w->isActiveWindow()) << "the tool that ran is the active window again";
    EXPECT_EQ(QApplication::focusWidget(), Find<QPushButton>(w, "cmdFill"));
}

TEST(RenameWindow, EscapeTwiceAtAPromptAsksAndStopsTheRun)
{
    TempDir dir;
    for (const char* name : {"a.mp3", "b.mp3", "c.mp3"})
        Mp3(dir, name, TagBytes("Same"));
    Chooser chooser;
    chooser.folder = QString::fromStdString(dir.Path());
    Shown<frmRename> w;
    QTest::mouseClick(Find<QPushButton>(w, "cmdBrowse"), Qt::LeftButton);
    Find<QLineEdit>(w, "txtFilenameNew")->setText("%1");

    DialogDriver driver;
    driver.AddKeepingOpen([](QWidget* prompt) {
        auto* value = prompt->findChild<QLineEdit*>("txtValue");
        for (int key : {Qt::Key_Escape, Qt::Key_A, Qt::Key_Escape, Qt::Key_Escape})
            QCoreApplication::postEvent(value, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
    });
    driver.Add(Answer(QMessageBox::Yes));
    driver.Add(Answer(QMessageBox::Ok));
    QTest::mouseClick(Find<QPushButton>(w, "cmdRename"), Qt::LeftButton);

    ASSERT_EQ(driver.Seen().size(), 3u);
    EXPECT_EQ(driver.Seen()[0].objectName, "frmQuery");
    EXPECT_EQ(driver.Seen()[1].icon, QMessageBox::Question);
    EXPECT_EQ(driver.Seen()[1].text, "Остановить переименование файлов?\n\nЭтот файл и следующие переименованы не будут.");
    EXPECT_EQ(driver.Seen()[2].text, "Переименование прервано. Переименовано файлов: 1 из 3.");
    int kept = 0;
    for (const char* name : {"a.mp3", "b.mp3", "c.mp3"})
        kept += Exists(dir / name);
    EXPECT_EQ(kept, 2);
    EXPECT_TRUE(Exists(dir / "Same.mp3"));
}

} // namespace

namespace {

// A folder of files tagged "old", filled or renamed by a slowed run that
// something closes from code part way.
class ClosedDuringARun : public ::testing::Test {
protected:
    static constexpr int kFiles = 3000;
    StateHome state;
    TempDir dir;
    Chooser chooser;
    frmMDI frame{frmMDI::Commands{}};

    void SetUp() override
    {
        for (int i = 0; i < kFiles; ++i)
            Mp3(dir, std::to_string(i) + ".mp3", TagBytes(i % 2 ? "Same" : "old"));
        chooser.folder = QString::fromStdString(dir.Path());
        frame.show();
    }
    // The files as the run left them: each as before or as filled, and how many were filled.
    int Filled()
    {
        int filled = 0;
        for (int i = 0; i < kFiles; ++i) {
            const std::string record = LastRecord(dir / (std::to_string(i) + ".mp3"));
            const std::string old = TagBytes(i % 2 ? "Same" : "old");
            EXPECT_TRUE(record == TagBytes("new") || record == old) << i;
            filled += record == TagBytes("new");
        }
        return filled;
    }
    // Takes the run back, as the frame's menu entry does.
    void TakeBackAll()
    {
        ScriptedDialogs told;
        EXPECT_EQ(Core::TakeBackLastRun(told), Core::TakeBackEnd::Done);
        for (int i = 0; i < kFiles; ++i)
            ASSERT_EQ(LastRecord(dir / (std::to_string(i) + ".mp3")), TagBytes(i % 2 ? "Same" : "old")) << i;
    }
};

TEST_F(ClosedDuringARun, TheFillWindowOrTheFrameClosesOnceItsRunHasStopped)
{
    const SlowDisk slow(std::chrono::milliseconds(1));
    for (const int afterMs : {200, 1500})
        for (const bool wholeFrame : {false, true}) {
            SCOPED_TRACE(std::to_string(afterMs) + (wholeFrame ? " ms, the frame" : " ms, the window"));
            frame.show();
            QPointer<frmMain> w = new frmMain(&frame);
            w->show();
            QTest::mouseClick(Find<QPushButton>(w, "cmdBrowse"), Qt::LeftButton);
            Find<QLineEdit>(w, "tTitle")->setText("new");
            for (const char* box : {"chArtist", "chAlbum", "chYear", "chGenre", "chComment"})
                QTest::mouseClick(Find<QCheckBox>(w, box), Qt::LeftButton);
            QWidget* target = wholeFrame ? static_cast<QWidget*>(&frame) : w.data();
            QTimer::singleShot(afterMs, target, [target] { EXPECT_FALSE(target->close()); });
            DialogDriver driver({Answer(QMessageBox::Ok)});
            driver.PassOver("frmProgress");
            QTest::mouseClick(Find<QPushButton>(w, "cmdFill"), Qt::LeftButton);
            ASSERT_TRUE(w) << "the window stays until its run has ended";
            QTest::qWait(20);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            EXPECT_TRUE(w.isNull()) << "and then closes";
            EXPECT_EQ(frame.isVisible(), !wholeFrame);
            ASSERT_EQ(driver.Seen().size(), 1u);
            const int filled = Filled();
            EXPECT_EQ(driver.Seen()[0].text.toStdString(), "Заполнение тегов прервано. Изменено файлов: "
                                                               + std::to_string(filled) + " из 3000.");
            EXPECT_LT(filled, kFiles);
            TakeBackAll();
        }
}

TEST_F(ClosedDuringARun, TheRenameWindowClosedAtAPromptStopsAfterThatFile)
{
    const SlowDisk slow(std::chrono::milliseconds(1));
    QPointer<frmRename> w = new frmRename(&frame);
    w->show();
    QTest::mouseClick(Find<QPushButton>(w, "cmdBrowse"), Qt::LeftButton);
    Find<QLineEdit>(w, "txtFilenameNew")->setText("%1");
    // Every other file is tagged "Same": the second of them meets a taken name.
    DialogDriver driver;
    driver.Add([&](QWidget* prompt) {
        EXPECT_FALSE(w->close());
        Click("cmdCancel")(prompt);
    });
    driver.Add(Answer(QMessageBox::Ok));
    driver.PassOver("frmProgress");
    QTest::mouseClick(Find<QPushButton>(w, "cmdRename"), Qt::LeftButton);
    QTest::qWait(20);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(w.isNull());
    ASSERT_EQ(driver.Seen().size(), 2u);
    EXPECT_EQ(driver.Seen()[0].objectName, "frmQuery");
    const std::string text = driver.Seen()[1].text.toStdString();
    EXPECT_EQ(text.rfind("Переименование прервано. Переименовано файлов: ", 0), 0u) << text;
    EXPECT_TRUE(Exists(dir / "Same.mp3"));
    ScriptedDialogs told;
    EXPECT_EQ(Core::TakeBackLastRun(told), Core::TakeBackEnd::Done);
    EXPECT_EQ(Core::Platform::ListMp3Files(dir.Path()).size(), std::size_t(kFiles));
    EXPECT_FALSE(Exists(dir / "Same.mp3"));
}

TEST(ParseWindow, OpensWithItsOptionsOffAndEnablesBothButtonsOnFolderAndPattern)
{
    TempDir dir;
    Chooser chooser;
    Shown<frmParse> w;
    EXPECT_EQ(w->objectName(), "frmParse");
    EXPECT_EQ(w->windowTitle(), "Теги из имён файлов");
    EXPECT_EQ(w->size(), QSize(371, 251));
    EXPECT_EQ(QFontInfo(w->font()).family(), "Tahoma");
    for (const char* name : {"chkOnlyEmpty", "chkUnderscores", "chkLastSeparator"})
        EXPECT_FALSE(Find<QCheckBox>(w, name)->isChecked()) << name;
    EXPECT_EQ(Find<QCheckBox>(w, "chkUnderscores")->text(), "Заменять «_» пробелами");
    EXPECT_EQ(Find<QLabel>(w, "lblPress9")->text(), "%9 - пропустить");
    EXPECT_EQ(Find<QLineEdit>(w, "txtPattern")->accessibleName(), "Шаблон имени");
    auto* txtDir = Find<QLineEdit>(w, "txtDir");
    auto* txtPattern = Find<QLineEdit>(w, "txtPattern");
    auto* cmdPreview = Find<QPushButton>(w, "cmdPreview");
    auto* cmdParse = Find<QPushButton>(w, "cmdParse");
    EXPECT_TRUE(txtDir->isReadOnly());
    EXPECT_TRUE(cmdParse->isDefault());
    EXPECT_EQ(cmdPreview->text(), "Просмотр...");

    // The legend types its placeholders into the pattern.
    txtPattern->setFocus();
    QTest::mouseClick(Find<QLabel>(w, "lblPress9"), Qt::LeftButton);
    txtPattern->insert(" - ");
    QTest::mouseClick(Find<QLabel>(w, "lblPress2"), Qt::LeftButton);
    EXPECT_EQ(txtPattern->text(), "%9 - %2");
    EXPECT_FALSE(cmdPreview->isEnabled() || cmdParse->isEnabled()) << "no folder yet";

    chooser.folder = QString::fromStdString(dir.Path());
    QTest::mouseClick(Find<QPushButton>(w, "cmdBrowse"), Qt::LeftButton);
    EXPECT_EQ(chooser.prompt, "Выберите папку");
    EXPECT_EQ(txtDir->text().toStdString(), dir.Path());
    EXPECT_TRUE(cmdPreview->isEnabled() && cmdParse->isEnabled());
    txtPattern->clear();
    EXPECT_FALSE(cmdPreview->isEnabled() || cmdParse->isEnabled());
}

TEST(ParseWindow, ARefusedPatternIsReportedAndARunEndsWithOneBox)
{
    StateHome state;
    TempDir dir;
    const std::string abc = Mp3(dir, "A - B - C.mp3", TagBytes("x"));
    const std::string bare = dir.Write("track05.mp3", Audio(300));
    const std::string before = ReadFile(abc);
    Chooser chooser;
    chooser.folder = QString::fromStdString(dir.Path());
    Shown<frmParse> w;
    QTest::mouseClick(Find<QPushButton>(w, "cmdBrowse"), Qt::LeftButton);
    Find<QLineEdit>(w, "txtPattern")->setText("%2%1");
    {
        DialogDriver driver({Answer(QMessageBox::Ok)});
        QTest::mouseClick(Find<QPushButton>(w, "cmdParse"), Qt::LeftButton);
        ASSERT_EQ(driver.Seen().size(), 1u);
        EXPECT_EQ(driver.Seen()[0].icon, QMessageBox::Critical);
        EXPECT_TRUE(driver.Seen()[0].text.startsWith("Между «%2» (исполнитель) и «%1» (название)"))
            << driver.Seen()[0].text.toStdString();
        EXPECT_EQ(ReadFile(abc), before);
    }
    // The tick boxes reach the run.
    Find<QLineEdit>(w, "txtPattern")->setText("%2 - %1");
    Find<QCheckBox>(w, "chkLastSeparator")->setChecked(true);
    DialogDriver driver({Answer(QMessageBox::Ok)});
    QTest::mouseClick(Find<QPushButton>(w, "cmdParse"), Qt::LeftButton);
    ASSERT_EQ(driver.Seen().size(), 1u);
    EXPECT_EQ(driver.Seen()[0].icon, QMessageBox::Information);
    EXPECT_EQ(driver.Seen()[0].text.toStdString(), "Заполнение тегов завершено. Изменено файлов: 1 из 2.\n\nПропущены:\n"
                                                      + bare + " — не подходит к шаблону");
    EXPECT_EQ(LastRecord(abc), TagBytes("C", "A - B"));
    EXPECT_TRUE(w->isVisible());
}


TEST(ParseWindow, PreviewShowsAColumnPerFieldThePatternSetsAndTheOtherSplit)
{
    TempDir dir;
    const std::string abc = Mp3(dir, "A - B - C.mp3", TagBytes("x"));
    const std::string before = ReadFile(abc);
    Chooser chooser;
    chooser.folder = QString::fromStdString(dir.Path());
    Shown<frmParse> w;
    QTest::mouseClick(Find<QPushButton>(w, "cmdBrowse"), Qt::LeftButton);
    // A refused pattern: its box, and no preview.
    Find<QLineEdit>(w, "txtPattern")->setText("%0");
    {
        DialogDriver driver({Answer(QMessageBox::Ok)});
        QTest::mouseClick(Find<QPushButton>(w, "cmdPreview"), Qt::LeftButton);
        ASSERT_EQ(driver.Seen().size(), 1u);
        EXPECT_EQ(driver.Seen()[0].icon, QMessageBox::Critical);
        EXPECT_TRUE(driver.Seen()[0].text.contains("«%0»"));
        EXPECT_EQ(w->findChild<frmPreview*>(), nullptr);
    }
    Find<QLineEdit>(w, "txtPattern")->setText("%2 - %1");
    QTest::mouseClick(Find<QPushButton>(w, "cmdPreview"), Qt::LeftButton);
    QPointer<frmPreview> preview = w->findChild<frmPreview*>();
    ASSERT_NE(preview, nullptr);
    const QAbstractItemModel* model = preview->lvwPlan->model();
    QStringList headers;
    for (int c = 0; c < model->columnCount(); ++c)
        headers << model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    EXPECT_EQ(headers, QStringList({"Файл", "Название", "Исполнитель", "Состояние"}));
    ASSERT_EQ(model->rowCount(), 1);
    EXPECT_EQ(model->index(0, 3).data().toString(), "неоднозначно: иначе исполнитель «A - B», название «C»");
    preview->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(ReadFile(abc), before);
}

} // namespace

TEST(RecodeWindow, OpensEmptyOrOnAFolderAndEnablesItsButtonsOnceOneIsChosen)
{
    TempDir dir;
    Chooser chooser;
    Shown<frmRecode> w;
    EXPECT_EQ(w->objectName(), "frmRecode");
    EXPECT_EQ(w->windowTitle(), "Перекодировать теги");
    EXPECT_EQ(w->size(), QSize(371, 121));
    auto* txtDir = Find<QLineEdit>(w, "txtDir");
    auto* cboFrom = Find<QComboBox>(w, "cboFrom");
    auto* cmdPreview = Find<QPushButton>(w, "cmdPreview");
    auto* cmdRecode = Find<QPushButton>(w, "cmdRecode");
    EXPECT_TRUE(txtDir->isReadOnly());
    ASSERT_EQ(cboFrom->count(), 3);
    EXPECT_EQ(cboFrom->currentText(), "Определить для каждого файла");
    EXPECT_EQ(cboFrom->itemText(1), "KOI8-R");
    EXPECT_EQ(cboFrom->itemText(2), "CP866");
    EXPECT_EQ(cmdPreview->text(), "Просмотр...");
    EXPECT_EQ(cmdRecode->text(), "Перекодировать");
    EXPECT_TRUE(cmdRecode->isDefault());
    EXPECT_FALSE(cmdRecode->isEnabled());
    EXPECT_FALSE(cmdPreview->isEnabled());

    chooser.folder.clear();
    QTest::mouseClick(Find<QPushButton>(w, "cmdBrowse"), Qt::LeftButton);
    EXPECT_FALSE(cmdRecode->isEnabled()) << "a cancelled choice chooses nothing";
    chooser.folder = QString::fromStdString(dir.Path());
    QTest::mouseClick(Find<QPushButton>(w, "cmdBrowse"), Qt::LeftButton);
    EXPECT_EQ(chooser.prompt, "Выберите папку");
    EXPECT_EQ(txtDir->text().toStdString(), dir.Path());
    EXPECT_EQ(w->Folder(), dir.Path());
    EXPECT_TRUE(cmdRecode->isEnabled());
    EXPECT_TRUE(cmdPreview->isEnabled());

    // Opened for a document's folder: ready to run there.
    QPointer<frmRecode> on = new frmRecode(nullptr, dir.Path());
    EXPECT_EQ(on->Folder(), dir.Path());
    EXPECT_EQ(Find<QLineEdit>(on, "txtDir")->text().toStdString(), dir.Path());
    EXPECT_TRUE(Find<QPushButton>(on, "cmdRecode")->isEnabled());
    on->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(RecodeWindow, ARunRecodesFromTheGuessedOrChosenPageJournalledAndSaysHowManyFilesChanged)
{
    StateHome state;
    TempDir dir;
    const std::string koi = Mp3(dir, "koi.mp3", TagBytes(StoreIn(StoredAs::Koi8R, "Группа крови"),
                                                          StoreIn(StoredAs::Koi8R, "Кино")));
    const std::string win = Mp3(dir, "win.mp3", TagBytes(StoreIn(StoredAs::Windows1251, "Группа крови"),
                                                          StoreIn(StoredAs::Windows1251, "Кино")));
    const std::string winBefore = ReadFile(win);
    Chooser chooser;
    chooser.folder = QString::fromStdString(dir.Path());
    Shown<frmRecode> w;
    QTest::mouseClick(Find<QPushButton>(w, "cmdBrowse"), Qt::LeftButton);

    DialogDriver driver({Answer(QMessageBox::Ok), Answer(QMessageBox::Ok)});
    driver.PassOver("frmProgress");
    QTest::mouseClick(Find<QPushButton>(w, "cmdRecode"), Qt::LeftButton);
    ASSERT_EQ(driver.Seen().size(), 1u);
    EXPECT_EQ(driver.Seen()[0].text, "Перекодирование завершено. Изменено файлов: 1 из 2.");
    EXPECT_EQ(driver.Seen()[0].icon, QMessageBox::Information);
    EXPECT_EQ(ReadFile(koi), ReadFile(win)) << "the same text, now in Windows-1251";
    EXPECT_EQ(ReadFile(win), winBefore);
    ASSERT_EQ(Core::ReadJournal().entries.size(), 1u);

    // KOI8-R chosen: every file is read in it, the Windows-1251 ones too.
    Find<QComboBox>(w, "cboFrom")->setCurrentIndex(1);
    QTest::mouseClick(Find<QPushButton>(w, "cmdRecode"), Qt::LeftButton);
    ASSERT_EQ(driver.Seen().size(), 2u);
    EXPECT_EQ(driver.Seen()[1].text, "Перекодирование завершено. Изменено файлов: 2 из 2.");
    EXPECT_NE(ReadFile(win), winBefore);
}
