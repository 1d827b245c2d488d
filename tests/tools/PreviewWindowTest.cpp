// SPDX-License-Identifier: GPL-3.0-or-later
// The preview of the tools driven as the user drives it: the button,
// the rows as shown, ticks and typed names through the list, and Apply. The
// rules of a plan are the core's tests; these check the wiring.
#include "CodepageTesting.h"
#include "DialogDriver.h"
#include "HookedTag.h"
#include "ScriptedDialogs.h"
#include "TakeBack.h"
#include "TempDir.h"
#include "WindowTagObjects.h"
#include "frmMDI.h"
#include "frmMain.h"
#include "frmPreview.h"
#include "frmRecode.h"
#include "frmRename.h"
#include "mdlBrowseForFolder.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <thread>

// Failures name the texts, not their QChars.
void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

using namespace testing_support;

namespace {

// The folder picker answers with one folder.
struct Chooser {
    explicit Chooser(const std::string& folder)
    {
        mdlBrowseForFolder::SetChooserForTests(
            [folder](QWidget*, const QString&, unsigned) { return QString::fromStdString(folder); });
    }
    ~Chooser() { mdlBrowseForFolder::SetChooserForTests(nullptr); }
};

std::string Mp3(const TempDir& dir, const std::string& name, const std::string& record, mode_t mode = 0644)
{
    const std::string path = dir.Write(name, Audio(100) + record);
    SetMode(path, mode);
    return path;
}

std::map<std::string, std::string> Files(const TempDir& dir)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        files[entry.path().filename().string()] = ReadFile(entry.path().string());
    return files;
}

// A row of the list as the user sees it.
struct Shown {
    QString cell[4]; // the texts of the columns, "Файл" first, "Состояние" last
    bool ticked = false, tickable = false, nameTypable = false;
};

// The rows of the preview by the name in their "Файл" column, and their order.
struct Rows {
    std::map<QString, Shown> byName;
    QStringList order;
};

Rows RowsOf(frmPreview* preview)
{
    Rows rows;
    QAbstractItemModel* model = preview->lvwPlan->model();
    const int last = model->columnCount() - 1;
    for (int r = 0; r < model->rowCount(); ++r) {
        Shown shown;
        for (int c = 0; c <= last && c < 4; ++c)
            shown.cell[c == last ? 3 : c] = model->index(r, c).data().toString();
        const QModelIndex first = model->index(r, 0);
        shown.ticked = first.data(Qt::CheckStateRole).toInt() == Qt::Checked;
        shown.tickable = model->flags(first) & Qt::ItemIsUserCheckable;
        shown.nameTypable = model->flags(model->index(r, 1)) & Qt::ItemIsEditable;
        rows.byName[shown.cell[0]] = shown;
        rows.order << shown.cell[0];
    }
    return rows;
}

int RowNamed(frmPreview* preview, const QString& name)
{
    QAbstractItemModel* model = preview->lvwPlan->model();
    for (int r = 0; r < model->rowCount(); ++r)
        if (model->index(r, 0).data().toString() == name)
            return r;
    ADD_FAILURE() << "no row " << name.toStdString();
    return 0;
}

// Ticks or unticks a row as the keyboard does: the row made current, then Space.
void PressSpaceOn(frmPreview* preview, const QString& name)
{
    preview->lvwPlan->setCurrentIndex(preview->lvwPlan->model()->index(RowNamed(preview, name), 0));
    QTest::keyClick(preview->lvwPlan, Qt::Key_Space);
}

// Types a new name into a row's "Новое имя" cell as the user does: F2, the
// text, Return.
void TypeName(frmPreview* preview, const QString& name, const QString& typed)
{
    const QModelIndex cell = preview->lvwPlan->model()->index(RowNamed(preview, name), 1);
    preview->lvwPlan->setCurrentIndex(cell);
    QTest::keyClick(preview->lvwPlan, Qt::Key_F2);
    auto* editor = qobject_cast<QLineEdit*>(preview->lvwPlan->indexWidget(cell));
    ASSERT_NE(editor, nullptr) << "no editor in " << name.toStdString();
    editor->setText(typed);
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents(); // the list takes the typed name a moment later
}

// A rename tool over dir with template "%1", and its preview opened.
struct RenamePreview {
    Chooser chooser;
    QPointer<frmRename> tool;
    QPointer<frmPreview> preview;
    explicit RenamePreview(const TempDir& dir, QWidget* frame = nullptr) : chooser(dir.Path()), tool(new frmRename(frame))
    {
        tool->show();
        QTest::mouseClick(Find<QPushButton>(tool, "cmdBrowse"), Qt::LeftButton);
        Find<QLineEdit>(tool, "txtFilenameNew")->setText("%1");
        QTest::mouseClick(Find<QPushButton>(tool, "cmdPreview"), Qt::LeftButton);
        preview = tool->findChild<frmPreview*>();
    }
    ~RenamePreview()
    {
        if (tool)
            tool->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

// Lets the deletes that closes posted go through.
void Settle()
{
    QTest::qWait(20);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(PreviewButton, SitsLeftOfTheMainButtonWithoutCoveringAnythingAndIsEnabledWithIt)
{
    TempDir dir;
    Chooser chooser(dir.Path());
    const auto check = [](QWidget* tool, const char* main, QRect place) {
        auto* preview = Find<QPushButton>(tool, "cmdPreview");
        auto* button = Find<QPushButton>(tool, main);
        EXPECT_EQ(preview->text(), "Просмотр...");
        EXPECT_EQ(preview->geometry(), place);
        EXPECT_EQ(preview->y(), button->y());
        EXPECT_LT(preview->geometry().right(), button->x());
        for (QWidget* other : tool->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (other != preview) {
                EXPECT_FALSE(other->geometry().intersects(place)) << other->objectName().toStdString();
            }
        EXPECT_FALSE(preview->isEnabled());
        EXPECT_FALSE(preview->isDefault());
    };
    frmMain fill(nullptr);
    check(&fill, "cmdFill", QRect(148, 330, 91, 26));
    QTest::mouseClick(Find<QPushButton>(&fill, "cmdBrowse"), Qt::LeftButton);
    EXPECT_TRUE(Find<QPushButton>(&fill, "cmdPreview")->isEnabled());
    EXPECT_EQ(Find<QPushButton>(&fill, "cmdFill")->nextInFocusChain(), Find<QPushButton>(&fill, "cmdPreview"));

    frmRename rename(nullptr);
    check(&rename, "cmdRename", QRect(176, 160, 91, 26));
    auto* cmdPreview = Find<QPushButton>(&rename, "cmdPreview");
    auto* txtFilenameNew = Find<QLineEdit>(&rename, "txtFilenameNew");
    txtFilenameNew->setText("%1");
    EXPECT_FALSE(cmdPreview->isEnabled()) << "no folder yet";
    QTest::mouseClick(Find<QPushButton>(&rename, "cmdBrowse"), Qt::LeftButton);
    EXPECT_TRUE(cmdPreview->isEnabled());
    EXPECT_EQ(Find<QPushButton>(&rename, "cmdRename")->nextInFocusChain(), cmdPreview);
    txtFilenameNew->clear();
    EXPECT_FALSE(cmdPreview->isEnabled());

    // A template of blanks enables it as it does "Переименовать"; the plan
    // refuses it as the run does, and no preview opens.
    txtFilenameNew->setText("  ");
    EXPECT_TRUE(cmdPreview->isEnabled());
    rename.show();
    DialogDriver driver({Answer(QMessageBox::Ok)});
    QTest::mouseClick(cmdPreview, Qt::LeftButton);
    ASSERT_EQ(driver.Seen().size(), 1u);
    EXPECT_EQ(driver.Seen()[0].text, "Шаблон имени не задан");
    EXPECT_EQ(rename.findChild<frmPreview*>(), nullptr);
}

TEST(RenamePreview, ShowsEachRowChangesNothingAndApplyIsTakenBackWhole)
{
    StateHome state;
    TempDir dir;
    Mp3(dir, "A.mp3", TagBytes("B")); // a swap
    Mp3(dir, "B.mp3", TagBytes("A"));
    dir.Write("Taken.mp3", Audio(300)); // no tag: it keeps its name
    Mp3(dir, "t.mp3", TagBytes("Taken"));
    Mp3(dir, "x.mp3", TagBytes("Same")); // two files, one name
    Mp3(dir, "y.mp3", TagBytes("Same"));
    Mp3(dir, "Named.mp3", TagBytes("Named"));
    Mp3(dir, "p.mp3", TagBytes("Plain"));
    Mp3(dir, "q.mp3", TagBytes("Other"));
    const auto before = Files(dir);

    RenamePreview open(dir);
    frmPreview* preview = open.preview;
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(Files(dir), before) << "a preview changes nothing";
    EXPECT_EQ(preview->windowTitle(), "Переименовать файлы — просмотр");
    EXPECT_EQ(preview->windowModality(), Qt::WindowModal);
    EXPECT_TRUE(preview->isVisible());
    EXPECT_EQ(QFontInfo(preview->lvwPlan->font()).family(), "Tahoma");
    EXPECT_DOUBLE_EQ(preview->font().pointSizeF(), 8.25);
    EXPECT_FALSE(preview->lvwPlan->accessibleName().isEmpty());
    QAbstractItemModel* model = preview->lvwPlan->model();
    ASSERT_EQ(model->columnCount(), 3);
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), "Файл");
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "Новое имя");
    EXPECT_EQ(model->headerData(2, Qt::Horizontal).toString(), "Состояние");

    const Rows rows = RowsOf(preview);
    ASSERT_EQ(rows.order.size(), 9);
    struct Expected {
        const char* name;
        const char* newName;
        const char* state;
        bool ticked, tickable, typable;
    };
    for (const Expected& e : std::initializer_list<Expected>{
             {"A.mp3", "B.mp3", "обмен", true, true, false},
             {"B.mp3", "A.mp3", "обмен", true, true, false},
             {"t.mp3", "Taken.mp3", "имя занято: файл Taken.mp3 остаётся на месте", false, false, true},
             {"Taken.mp3", "", "нельзя изменить: в файле нет тега", false, false, false},
             {"x.mp3", "Same.mp3", "два файла — одно имя", false, false, true},
             {"y.mp3", "Same.mp3", "два файла — одно имя", false, false, true},
             {"Named.mp3", "Named.mp3", "без изменений", false, false, false},
             {"p.mp3", "Plain.mp3", "изменится", true, true, false},
             {"q.mp3", "Other.mp3", "изменится", true, true, false}}) {
        SCOPED_TRACE(e.name);
        const Shown& row = rows.byName.at(e.name);
        EXPECT_EQ(row.cell[1], e.newName);
        EXPECT_EQ(row.cell[3], e.state);
        EXPECT_EQ(row.ticked, e.ticked);
        EXPECT_EQ(row.tickable, e.tickable);
        EXPECT_EQ(row.nameTypable, e.typable);
    }
    // Problems first, the files without changes last.
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(rows.byName.at(rows.order[i]).ticked) << rows.order[i].toStdString();
    EXPECT_EQ(rows.order.last(), "Named.mp3");
    EXPECT_EQ(preview->lblSummary->text(), "Изменится: 4, без изменений: 1, не изменится: 4");
    EXPECT_EQ(preview->cmdApply->text(), "Применить (4)");
    EXPECT_TRUE(preview->cmdClose->isDefault()) << "Return in the list must not carry the plan out";

    // A flagged row cannot be ticked; Space on it changes nothing.
    PressSpaceOn(preview, "x.mp3");
    EXPECT_FALSE(RowsOf(preview).byName.at("x.mp3").ticked);

    DialogDriver driver({Answer(QMessageBox::Ok)});
    driver.PassOver("frmPreview");
    QTest::mouseClick(preview->cmdApply, Qt::LeftButton);
    ASSERT_EQ(driver.Seen().size(), 1u);
    EXPECT_EQ(driver.Seen()[0].text, "Процесс переименования завершен.");
    Settle();
    EXPECT_TRUE(open.preview.isNull()) << "the preview closes after Apply";
    EXPECT_TRUE(open.tool->isVisible());
    EXPECT_EQ(ReadFile(dir / "A.mp3"), before.at("B.mp3"));
    EXPECT_EQ(ReadFile(dir / "B.mp3"), before.at("A.mp3"));
    EXPECT_EQ(ReadFile(dir / "Plain.mp3"), before.at("p.mp3"));
    EXPECT_EQ(ReadFile(dir / "Other.mp3"), before.at("q.mp3"));
    for (const char* name : {"Taken.mp3", "t.mp3", "x.mp3", "y.mp3", "Named.mp3"})
        EXPECT_EQ(ReadFile(dir / name), before.at(name)) << name;
    EXPECT_EQ(Files(dir).size(), before.size());

    ScriptedDialogs told;
    EXPECT_EQ(Core::TakeBackLastRun(told), Core::TakeBackEnd::Done);
    EXPECT_EQ(Files(dir), before);
}

TEST(RenamePreview, TicksAndTypedNamesGoThroughThePlanAndTheListFollows)
{
    StateHome state;
    TempDir dir;
    Mp3(dir, "A.mp3", TagBytes("B"));
    Mp3(dir, "B.mp3", TagBytes("A"));
    dir.Write("Taken.mp3", Audio(300));
    Mp3(dir, "t.mp3", TagBytes("Taken"));
    Mp3(dir, "x.mp3", TagBytes("Same"));
    Mp3(dir, "y.mp3", TagBytes("Same"));
    RenamePreview open(dir);
    frmPreview* preview = open.preview;
    ASSERT_NE(preview, nullptr);

    // Unticking one rename of a swap unticks its partner too, and the count follows.
    PressSpaceOn(preview, "A.mp3");
    EXPECT_FALSE(RowsOf(preview).byName.at("A.mp3").ticked);
    EXPECT_FALSE(RowsOf(preview).byName.at("B.mp3").ticked);
    EXPECT_EQ(preview->lblSummary->text(), "Изменится: 0, без изменений: 0, не изменится: 6");
    EXPECT_EQ(preview->cmdApply->text(), "Применить");
    EXPECT_FALSE(preview->cmdApply->isEnabled());
    PressSpaceOn(preview, "B.mp3");
    EXPECT_TRUE(RowsOf(preview).byName.at("A.mp3").ticked);
    EXPECT_TRUE(preview->cmdApply->isEnabled());

    // A typed name: the file's own folder, ".mp3" added; the other file of
    // the pair then has its name to itself.
    TypeName(preview, "y.mp3", "Mine");
    Rows rows = RowsOf(preview);
    EXPECT_EQ(rows.byName.at("y.mp3").cell[1], "Mine.mp3");
    EXPECT_EQ(rows.byName.at("y.mp3").cell[3], "изменится");
    EXPECT_TRUE(rows.byName.at("y.mp3").ticked);
    EXPECT_EQ(rows.byName.at("x.mp3").cell[3], "изменится");
    EXPECT_FALSE(rows.byName.at("A.mp3").nameTypable);
    // Nothing outside the folder; the name may be typed again.
    TypeName(preview, "t.mp3", "../away");
    EXPECT_EQ(RowsOf(preview).byName.at("t.mp3").cell[3], "нельзя изменить: новое имя вне папки");
    TypeName(preview, "t.mp3", "");
    EXPECT_EQ(RowsOf(preview).byName.at("t.mp3").cell[3], "нельзя изменить: новое имя вне папки")
        << "an empty name changes nothing";
    TypeName(preview, "t.mp3", "sub/../Kept");
    EXPECT_EQ(RowsOf(preview).byName.at("t.mp3").cell[1], "Kept.mp3");
    EXPECT_EQ(preview->lblSummary->text(), "Изменится: 5, без изменений: 0, не изменится: 1");

    DialogDriver driver({Answer(QMessageBox::Ok)});
    driver.PassOver("frmPreview");
    QTest::mouseClick(preview->cmdApply, Qt::LeftButton);
    ASSERT_EQ(driver.Seen().size(), 1u);
    EXPECT_EQ(driver.Seen()[0].text, "Процесс переименования завершен.");
    for (const char* name : {"Mine.mp3", "Same.mp3", "Kept.mp3", "Taken.mp3", "A.mp3", "B.mp3"})
        EXPECT_TRUE(Exists(dir / name)) << name;
    EXPECT_EQ(LastRecord(dir / "A.mp3"), TagBytes("A"));
}

// The fill tool over dir with the title from "%0" and the genre set to
// Rock; the other fields unticked.
struct FillPreview {
    Chooser chooser;
    QPointer<frmMain> tool = new frmMain(nullptr);
    QPointer<frmPreview> preview;
    explicit FillPreview(const TempDir& dir) : chooser(dir.Path())
    {
        tool->show();
        QTest::mouseClick(Find<QPushButton>(tool, "cmdBrowse"), Qt::LeftButton);
        Find<QLineEdit>(tool, "tTitle")->setText("%0");
        for (const char* box : {"chArtist", "chAlbum", "chYear", "chComment"})
            QTest::mouseClick(Find<QCheckBox>(tool, box), Qt::LeftButton);
        auto* genre = Find<QComboBox>(tool, "tGenre");
        genre->setCurrentIndex(genre->findData(17));
        QTest::mouseClick(Find<QPushButton>(tool, "cmdPreview"), Qt::LeftButton);
        preview = tool->findChild<frmPreview*>();
    }
    ~FillPreview()
    {
        if (tool)
            tool->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

TEST(FillPreview, ShowsTheFieldsBeforeAndAfterLeavesWhatNeedsAYesAndSkipsAFileChangedSince)
{
    StateHome state;
    TempDir dir;
    const std::string ro = Mp3(dir, "ro.mp3", TagBytes("old", "", "", "", "", 0), 0444);
    const std::string lost = Mp3(dir, "Lő.mp3", TagBytes("old", "", "", "", "", 0));
    const std::string changed = Mp3(dir, "changed.mp3", TagBytes("old", "", "", "", "", 0));
    const std::string plain = Mp3(dir, "plain.mp3", TagBytes("old", "", "", "", "", 0));
    const std::string bare = dir.Write("bare.mp3", Audio(300));
    const std::string same = Mp3(dir, "same.mp3", TagBytes("same", "", "", "", "", 17));
    FillPreview open(dir);
    frmPreview* preview = open.preview;
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->windowTitle(), "Заполнить теги — просмотр");
    QAbstractItemModel* model = preview->lvwPlan->model();
    ASSERT_EQ(model->columnCount(), 4) << "one column for each ticked field";
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "Название");
    EXPECT_EQ(model->headerData(2, Qt::Horizontal).toString(), "Жанр");

    const Rows rows = RowsOf(preview);
    const Shown& readOnly = rows.byName.at("ro.mp3");
    EXPECT_EQ(readOnly.cell[3], "только для чтения");
    EXPECT_FALSE(readOnly.ticked);
    EXPECT_TRUE(readOnly.tickable) << "ticking it is the answer Yes";
    const Shown& notHeld = rows.byName.at("Lő.mp3");
    EXPECT_EQ(notHeld.cell[3], "символ не в Windows-1251: «ő» станет «?»");
    EXPECT_EQ(notHeld.cell[1], "old → L?");
    EXPECT_FALSE(notHeld.ticked);
    EXPECT_TRUE(notHeld.tickable);
    const Shown& filled = rows.byName.at("plain.mp3");
    EXPECT_EQ(filled.cell[1], "old → plain");
    EXPECT_EQ(filled.cell[2], "Blues → Rock");
    EXPECT_TRUE(filled.ticked);
    EXPECT_EQ(rows.byName.at("bare.mp3").cell[1], "→ bare") << "an appended record had nothing before";
    EXPECT_EQ(rows.byName.at("same.mp3").cell[1], "same");
    EXPECT_EQ(rows.byName.at("same.mp3").cell[3], "без изменений");
    EXPECT_FALSE(rows.byName.at("same.mp3").tickable);
    EXPECT_EQ(preview->lblSummary->text(), "Изменится: 3, без изменений: 1, не изменится: 2");

    const std::string roBefore = ReadFile(ro), lostBefore = ReadFile(lost);
    dir.Write("changed.mp3", Audio(100) + TagBytes("theirs"));
    DialogDriver driver({Answer(QMessageBox::Ok)});
    driver.PassOver("frmPreview");
    QTest::mouseClick(preview->cmdApply, Qt::LeftButton);
    ASSERT_EQ(driver.Seen().size(), 1u);
    EXPECT_EQ(driver.Seen()[0].text.toStdString(), "Заполнение тегов завершено. Изменено файлов: 2 из 3.\n\nПропущены:\n"
                                                       + changed + " — изменён после просмотра");
    EXPECT_EQ(driver.Seen()[0].icon, QMessageBox::Information);
    Settle();
    EXPECT_TRUE(open.preview.isNull());
    EXPECT_EQ(ReadFile(ro), roBefore);
    EXPECT_EQ(ReadFile(lost), lostBefore);
    EXPECT_EQ(LastRecord(changed), TagBytes("theirs"));
    EXPECT_EQ(LastRecord(plain), TagBytes("plain", "", "", "", "", 17));
    EXPECT_EQ(LastRecord(bare), TagBytes("bare", "", "", "", "", 17));
    EXPECT_EQ(LastRecord(same), TagBytes("same", "", "", "", "", 17));
}

TEST(Preview, ClosingThePreviewOrItsToolDuringApplyWaitsForTheRun)
{
    frmMDI frame{frmMDI::Commands{}};
    frame.show();
    for (const bool wholeTool : {false, true}) {
        SCOPED_TRACE(wholeTool ? "the tool window" : "the preview");
        StateHome state;
        TempDir dir;
        Mp3(dir, "a.mp3", TagBytes("One"));
        Mp3(dir, "b.mp3", TagBytes("Two"));
        RenamePreview open(dir, &frame);
        ASSERT_NE(open.preview, nullptr);
        // The closing box is asked from the run's thread: the run works until it is answered.
        QWidget* target = wholeTool ? static_cast<QWidget*>(open.tool.data()) : open.preview.data();
        DialogDriver driver({[target](QWidget* box) {
            EXPECT_FALSE(target->close());
            Answer(QMessageBox::Ok)(box);
        }});
        driver.PassOver("frmPreview");
        QTest::mouseClick(open.preview->cmdApply, Qt::LeftButton);
        ASSERT_EQ(driver.Seen().size(), 1u);
        EXPECT_EQ(driver.Seen()[0].text, "Процесс переименования завершен.");
        Settle();
        EXPECT_TRUE(open.preview.isNull());
        EXPECT_EQ(open.tool.isNull(), wholeTool);
        EXPECT_TRUE(Exists(dir / "One.mp3") && Exists(dir / "Two.mp3"));
    }
}

TEST(Preview, AStoppedPlanIsNotShown)
{
    TempDir dir;
    for (int i = 0; i < 300; ++i)
        Mp3(dir, std::to_string(i) + ".mp3", TagBytes("T" + std::to_string(i)));
    const auto before = Files(dir);
    Shell::SetTagObjectFactoryForTests([]() -> std::unique_ptr<Quenlar::_TMP3Tag> {
        auto tag = std::make_unique<HookedTag>();
        tag->beforeRead = [](const std::string&) { std::this_thread::sleep_for(std::chrono::milliseconds(5)); };
        return tag;
    });
    const auto restore = qScopeGuard([] { Shell::SetTagObjectFactoryForTests(nullptr); });
    QString progressTitle;
    QTimer stopper;
    QObject::connect(&stopper, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "frmProgress" && w->isVisible() && progressTitle.isEmpty()) {
                progressTitle = w->windowTitle();
                QTest::mouseClick(w->findChild<QPushButton*>("cmdStop"), Qt::LeftButton);
            }
    });
    stopper.start(20);
    DialogDriver driver;
    driver.PassOver("frmProgress");
    RenamePreview open(dir);
    EXPECT_EQ(progressTitle, "Переименовать файлы — выполняется") << "the plan is made with progress and Стоп";
    EXPECT_EQ(open.preview, nullptr);
    EXPECT_TRUE(driver.Seen().empty());
    EXPECT_EQ(Files(dir), before);
}

} // namespace

TEST(RecodePreview, ShowsTheTextBeforeAndAfterWithItsCodePageAndLeavesAnUnsureFileUnticked)
{
    StateHome state;
    TempDir dir;
    const auto song = [](StoredAs page) {
        return TagBytes(StoreIn(page, "Группа крови"), StoreIn(page, "Кино"), "Live");
    };
    const std::string koi = Mp3(dir, "koi.mp3", song(StoredAs::Koi8R));
    const std::string win = Mp3(dir, "win.mp3", song(StoredAs::Windows1251));
    // Three capitals read as Russian in Windows-1251 and in KOI8-R alike.
    const std::string caps = Mp3(dir, "caps.mp3", TagBytes(StoreIn(StoredAs::Windows1251, "ДДТ")));
    const std::string capsBefore = ReadFile(caps);
    Chooser chooser(dir.Path());
    frmRecode tool(nullptr);
    tool.show();
    auto* cmdPreview = Find<QPushButton>(&tool, "cmdPreview");
    EXPECT_EQ(cmdPreview->geometry(), QRect(176, 85, 91, 26));
    EXPECT_FALSE(cmdPreview->isDefault());
    QTest::mouseClick(Find<QPushButton>(&tool, "cmdBrowse"), Qt::LeftButton);
    EXPECT_EQ(Find<QPushButton>(&tool, "cmdRecode")->nextInFocusChain(), cmdPreview);
    QTest::mouseClick(cmdPreview, Qt::LeftButton);
    QPointer<frmPreview> preview = tool.findChild<frmPreview*>();
    ASSERT_NE(preview, nullptr);
    QAbstractItemModel* model = preview->lvwPlan->model();
    ASSERT_EQ(model->columnCount(), 6) << "the file, the four text fields, the state";
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "Название");
    EXPECT_EQ(model->headerData(4, Qt::Horizontal).toString(), "Комментарий");

    // More columns than RowsOf reads: the cells by their column.
    const auto cell = [&](const char* name, int column) {
        return model->index(RowNamed(preview, name), column).data().toString();
    };
    const Rows rows = RowsOf(preview);
    EXPECT_EQ(cell("koi.mp3", 1), "зТХРРБ ЛТПЧЙ → Группа крови");
    EXPECT_EQ(cell("koi.mp3", 2), "лЙОП → Кино");
    EXPECT_EQ(cell("koi.mp3", 3), "Live") << "ASCII stays";
    EXPECT_EQ(cell("koi.mp3", 5), "изменится: KOI8-R");
    EXPECT_TRUE(rows.byName.at("koi.mp3").ticked);
    EXPECT_EQ(cell("caps.mp3", 5), "изменится: KOI8-R, определено не наверняка");
    EXPECT_FALSE(rows.byName.at("caps.mp3").ticked);
    EXPECT_TRUE(rows.byName.at("caps.mp3").tickable);
    EXPECT_EQ(cell("win.mp3", 5), "без изменений");

    DialogDriver driver({Answer(QMessageBox::Ok)});
    driver.PassOver("frmPreview");
    QTest::mouseClick(preview->cmdApply, Qt::LeftButton);
    ASSERT_EQ(driver.Seen().size(), 1u);
    EXPECT_EQ(driver.Seen()[0].text, "Перекодирование завершено.");
    Settle();
    EXPECT_EQ(ReadFile(koi), ReadFile(win));
    EXPECT_EQ(ReadFile(caps), capsBefore);
    tool.close();
}
