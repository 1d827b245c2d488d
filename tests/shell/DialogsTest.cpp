// SPDX-License-Identifier: GPL-3.0-or-later
// The message-box layer, the value prompt and the folder picker, driven as
// the user drives them.
#include "Application.h"
#include "DialogDriver.h"
#include "MessageBoxes.h"
#include "WindowTagObjects.h"
#include "TempDir.h"
#include "frmProgress.h"
#include "frmQuery.h"
#include "mdlBrowseForFolder.h"

#include <QAccessible>
#include <QApplication>
#include <QFileDialog>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTranslator>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

using namespace testing_support;
using Shell::MsgBox;

namespace {

// What a message box looked like while it was up, beyond the driver's record.
struct BoxLook {
    QString defaultButton;
    QStringList autoDefault;
};

DialogDriver::Action Inspect(BoxLook& look, QMessageBox::StandardButton answer)
{
    return [&look, answer](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        look.defaultButton = box->defaultButton() ? box->defaultButton()->text() : QString();
        for (QAbstractButton* b : box->buttons())
            if (static_cast<QPushButton*>(b)->autoDefault())
                look.autoDefault << b->text();
        box->button(answer)->click();
    };
}

QWidget* NextTabStop(QWidget* w)
{
    do
        w = w->nextInFocusChain();
    while (!(w->focusPolicy() & Qt::TabFocus));
    return w;
}

} // namespace

TEST(MsgBoxTest, EachStyleHasItsIconButtonsAndDefault)
{
    struct Case {
        int style;
        QMessageBox::Icon icon;
        QStringList buttons;
        QString defaultButton;
        QMessageBox::StandardButton answer;
        int result;
    };
    const QString yes = QString::fromUtf8("&Да"), no = QString::fromUtf8("&Нет"),
                  cancel = QString::fromUtf8("Отмена");
    const Case cases[] = {
        {16, QMessageBox::Critical, {"OK"}, "OK", QMessageBox::Ok, Core::vbOK},
        {48, QMessageBox::Warning, {"OK"}, "OK", QMessageBox::Ok, Core::vbOK},
        {64, QMessageBox::Information, {"OK"}, "OK", QMessageBox::Ok, Core::vbOK},
        {36, QMessageBox::Question, {yes, no}, yes, QMessageBox::No, Core::vbNo},
        {35, QMessageBox::Question, {yes, no, cancel}, yes, QMessageBox::Cancel, Core::vbCancel},
        {35, QMessageBox::Question, {yes, no, cancel}, yes, QMessageBox::Yes, Core::vbYes},
        {52 + 256, QMessageBox::Warning, {yes, no}, no, QMessageBox::Yes, Core::vbYes},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        BoxLook look;
        DialogDriver driver({Inspect(look, c.answer)});
        EXPECT_EQ(MsgBox(QString::fromUtf8("Строка 1\rСтрока 2"), c.style, "Title"), c.result);
        ASSERT_EQ(driver.Seen().size(), 1u);
        const SeenDialog& seen = driver.Seen()[0];
        EXPECT_EQ(seen.title, "Title");
        EXPECT_EQ(seen.text, QString::fromUtf8("Строка 1\nСтрока 2"));
        EXPECT_EQ(seen.icon, c.icon);
        QStringList shown = seen.buttons, expected = c.buttons; // the style decides their order
        shown.sort();
        expected.sort();
        EXPECT_EQ(shown, expected);
        EXPECT_EQ(look.defaultButton, c.defaultButton);
        // Return presses the button that has the focus: each is auto-default.
        EXPECT_EQ(look.autoDefault.size(), c.buttons.size()) << look.autoDefault.join(',').toStdString();
    }
}

TEST(MsgBoxTest, EscapeAnswersCancelOrALoneOkAndNothingInAYesNoBox)
{
    struct Case {
        int style;
        int result; // 0: Escape leaves the box up
    };
    const Case cases[] = {{16, Core::vbOK}, {48, Core::vbOK}, {64, Core::vbOK}, {35, Core::vbCancel},
                          {35 + 256, Core::vbCancel}, {36, 0}, {52 + 256, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        bool survived = false;
        DialogDriver driver({[&survived](QWidget* w) {
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : w, Qt::Key_Escape);
            survived = w->isVisible();
            if (survived) // answered by hand, as the user must
                qobject_cast<QMessageBox*>(w)->button(QMessageBox::No)->click();
        }});
        const int answer = MsgBox("?", c.style);
        EXPECT_EQ(survived, c.result == 0);
        EXPECT_EQ(answer, c.result == 0 ? Core::vbNo : c.result);
    }
}

TEST(MsgBoxTest, StandardButtonsStayRussianWithoutQtsTranslation)
{
    // As on a system without Qt's translations installed.
    const QList<QTranslator*> translators = qApp->findChildren<QTranslator*>();
    ASSERT_FALSE(translators.isEmpty()) << "the window tests load the translation as the program does";
    for (QTranslator* t : translators)
        QCoreApplication::removeTranslator(t);
    QStringList shown;
    DialogDriver driver({[&shown](QWidget* w) {
                             for (QAbstractButton* b : qobject_cast<QMessageBox*>(w)->buttons())
                                 shown << b->text();
                             qobject_cast<QMessageBox*>(w)->button(QMessageBox::Cancel)->click();
                         },
                         [&shown](QWidget* w) {
                             shown << qobject_cast<QMessageBox*>(w)->buttons().constFirst()->text();
                             QTest::keyClick(w, Qt::Key_Return);
                         }});
    MsgBox("?", Core::vbYesNoCancelQuestion);
    MsgBox("!", Core::vbInformation);
    for (QTranslator* t : translators)
        QCoreApplication::installTranslator(t);
    shown.sort();
    EXPECT_EQ(shown, QStringList({"&Да", "&Нет", "OK", "Отмена"}));
}

TEST(MsgBoxTest, ReturnPressesTheFocusedButtonElseTheDefault)
{
    DialogDriver driver({ReturnOn(QMessageBox::No), ReturnOn(QMessageBox::Cancel), ReturnOn(QMessageBox::No),
                         [](QWidget* w) { QTest::keyClick(w, Qt::Key_Return); }});
    EXPECT_EQ(MsgBox("?", Core::vbYesNoQuestion), Core::vbNo);
    EXPECT_EQ(MsgBox("?", Core::vbYesNoCancelQuestion), Core::vbCancel);
    EXPECT_EQ(MsgBox("?", Core::vbYesNoCancelQuestion), Core::vbNo);
    EXPECT_EQ(MsgBox("?", Core::vbYesNoQuestion), Core::vbYes);
    EXPECT_EQ(driver.Seen().size(), 4u);
}

TEST(MsgBoxTest, CloseBoxGivesTheCautiousAnswerAndMarkupStaysText)
{
    DialogDriver driver({CloseBox(), CloseBox(), Answer(QMessageBox::Ok)});
    EXPECT_EQ(MsgBox("?", 35), Core::vbCancel);
    EXPECT_EQ(MsgBox("?", 36), Core::vbNo);
    EXPECT_EQ(MsgBox("<b>/music/a&b.mp3</b>", 64), Core::vbOK);
    ASSERT_EQ(driver.Seen().size(), 3u);
    EXPECT_EQ(driver.Seen()[0].title, "Morvik");
    EXPECT_EQ(driver.Seen()[2].text, "<b>/music/a&b.mp3</b>");
}

TEST(MsgBoxTest, TagObjectsConfirmThroughAQuestionBox)
{
    TempDir dir;
    const std::string path = dir.Write("a.mp3", Audio(1000));
    auto tag = Shell::CreateTagObject();
    DialogDriver driver({Answer(QMessageBox::No)});
    EXPECT_FALSE(tag->TagWrite(path, true));
    ASSERT_EQ(driver.Seen().size(), 1u);
    EXPECT_EQ(driver.Seen()[0].icon, QMessageBox::Question);
    EXPECT_EQ(driver.Seen()[0].title, "Confirmation Create New Tag");
    EXPECT_EQ(SizeOf(path), 1000u);
}

TEST(DialogDriverTest, AnActionThatFailsInsideDismissesItsDialogAndEveryLaterOne)
{
    DialogDriver driver({[](QWidget*) { ASSERT_TRUE(false) << "planted"; }, Answer(QMessageBox::Yes)});
    ::testing::TestPartResultArray failures;
    int first = 0, second = 0;
    {
        ::testing::ScopedFakeTestPartResultReporter reporter(&failures);
        first = MsgBox("first", Core::vbYesNoQuestion);
        second = MsgBox("second", Core::vbYesNoQuestion);
    }
    EXPECT_EQ(first, Core::vbNo);
    EXPECT_EQ(second, Core::vbNo) << "a dialog after a broken action is dismissed, not answered";
    ASSERT_EQ(failures.size(), 2);
    EXPECT_NE(std::string(failures.GetTestPartResult(0).message()).find("planted"), std::string::npos);
    EXPECT_NE(std::string(failures.GetTestPartResult(1).message()).find("left it open"), std::string::npos);
    ASSERT_EQ(driver.Seen().size(), 2u);
    EXPECT_TRUE(driver.Seen()[1].unexpected);
}

TEST(ResourcesTest, TahomaIsTheApplicationFont)
{
    EXPECT_EQ(QFontInfo(QApplication::font()).family(), "Tahoma");
    EXPECT_DOUBLE_EQ(QApplication::font().pointSizeF(), 8.25);
    EXPECT_FALSE(Shell::FrameIcon().isNull());
    EXPECT_FALSE(Shell::DocumentIcon().isNull());
}

TEST(frmQueryTest, LayoutAndStartState)
{
    frmQuery form;
    EXPECT_EQ(form.objectName(), "frmQuery");
    EXPECT_EQ(form.windowTitle(), "Morvik");
    EXPECT_EQ(form.size(), QSize(332, 166));
    EXPECT_EQ(form.QueryResult, "");
    EXPECT_FALSE(form.CancelPressed);
    EXPECT_EQ(form.txtValue->geometry(), QRect(5, 105, 321, 21));
    EXPECT_EQ(form.lblFName->geometry(), QRect(5, 25, 321, 41));
    EXPECT_EQ(form.cmdOK->geometry(), QRect(135, 135, 91, 26));
    EXPECT_EQ(form.cmdCancel->geometry(), QRect(235, 135, 91, 26));
    EXPECT_EQ(form.cmdCancel->text(), QString::fromUtf8("Отмена"));
    EXPECT_TRUE(form.cmdOK->isDefault());
    EXPECT_TRUE(form.cmdCancel->autoDefault());
    EXPECT_FALSE(form.cmdOK->isEnabled()) << "empty text, nothing to confirm";
    EXPECT_EQ(form.focusWidget(), form.txtValue);
    EXPECT_EQ(NextTabStop(form.txtValue), form.cmdOK);
    EXPECT_EQ(NextTabStop(form.cmdOK), form.cmdCancel);
    const std::pair<QString, QPoint> labels[] = {
        {QString::fromUtf8("Ошибка при попытке переименования файла"), {5, 10}},
        {QString::fromUtf8("Файл с заданным именем уже существует."), {5, 70}},
        {QString::fromUtf8("Задайте другое имя файла."), {5, 85}},
    };
    for (const auto& [text, place] : labels) {
        QLabel* label = nullptr;
        for (QLabel* l : form.findChildren<QLabel*>())
            if (l->text() == text)
                label = l;
        ASSERT_NE(label, nullptr) << text.toStdString();
        EXPECT_EQ(label->pos(), place) << text.toStdString();
    }
    for (QLabel* label : form.findChildren<QLabel*>())
        EXPECT_LE(label->geometry().right(), 331) << label->text().toStdString();
}

TEST(frmQueryTest, OkFollowsTheTextAndEnterPressesIt)
{
    frmQuery form;
    form.txtValue->setText("/music/b.mp3");
    EXPECT_TRUE(form.cmdOK->isEnabled());
    form.txtValue->clear();
    EXPECT_FALSE(form.cmdOK->isEnabled());
    QTest::keyClick(form.txtValue, Qt::Key_X);
    EXPECT_TRUE(form.cmdOK->isEnabled());

    // Enter with OK disabled does nothing; with OK enabled it confirms.
    form.show();
    form.txtValue->clear();
    QTest::keyClick(form.txtValue, Qt::Key_Return);
    EXPECT_TRUE(form.isVisible());
    form.txtValue->setText(QString::fromUtf8("/музыка/a:b?.mp3"));
    QTest::keyClick(form.txtValue, Qt::Key_Return);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.QueryResult, QString::fromUtf8("/музыка/a:b?.mp3"));
    EXPECT_FALSE(form.CancelPressed);
}

TEST(frmQueryTest, EscDoesNothingAndTheCloseBoxCancels)
{
    frmQuery form;
    form.show();
    form.txtValue->setText("x");
    QTest::keyClick(form.txtValue, Qt::Key_Escape);
    EXPECT_TRUE(form.isVisible());
    form.cmdOK->click(); // a first answer, then the same instance asked again
    EXPECT_EQ(form.QueryResult, "x");
    form.show();
    form.close();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.QueryResult, "");
    EXPECT_TRUE(form.CancelPressed);
}

TEST(ValuePromptTest, ReturnOnCancelCancels)
{
    DialogDriver driver({ReturnOn("cmdCancel")});
    Shell::WindowDialogs dialogs(nullptr);
    const auto prompt = dialogs.NewPrompt();
    EXPECT_EQ(prompt->Ask("/m/a.mp3", "/m/b.mp3"), "");
    EXPECT_TRUE(prompt->CancelPressed());
    EXPECT_EQ(driver.Seen().size(), 1u);
}

TEST(ValuePromptTest, AsksWithPathAndWholeProposalSelected)
{
    QString selected;
    DialogDriver driver({[&selected](QWidget* w) {
                             selected = w->findChild<QLineEdit*>("txtValue")->selectedText();
                             QueryAnswer("/m/c.mp3")(w);
                         },
                         Click("cmdCancel")});
    Shell::WindowDialogs dialogs(nullptr);
    auto prompt = dialogs.NewPrompt();
    EXPECT_EQ(prompt->Ask("/m/a.mp3", "/m/b.mp3"), "/m/c.mp3");
    EXPECT_FALSE(prompt->CancelPressed());
    EXPECT_EQ(selected, "/m/b.mp3");
    EXPECT_EQ(prompt->Ask("/m/a.mp3", "/m/c.mp3"), "");
    EXPECT_TRUE(prompt->CancelPressed());
    ASSERT_EQ(driver.Seen().size(), 2u);
    EXPECT_EQ(driver.Seen()[0].objectName, "frmQuery");
    EXPECT_EQ(driver.Seen()[0].text, "/m/a.mp3");
    EXPECT_EQ(driver.Seen()[1].value, "/m/c.mp3");
}

TEST(ValuePromptTest, AScreenReaderHearsTheFieldsNameAndWhichFileIsRenamed)
{
    QString name, description;
    DialogDriver driver({[&](QWidget* w) {
        QAccessibleInterface* field = QAccessible::queryAccessibleInterface(w->findChild<QLineEdit*>("txtValue"));
        name = field->text(QAccessible::Name);
        description = field->text(QAccessible::Description);
        Click("cmdCancel")(w);
    }});
    Shell::WindowDialogs(nullptr).NewPrompt()->Ask("/m/Группа - Песня.mp3", "/m/b.mp3");
    EXPECT_EQ(name, "Новое имя файла");
    EXPECT_EQ(description, "Ошибка при попытке переименования файла /m/Группа - Песня.mp3 "
                           "Файл с заданным именем уже существует. Задайте другое имя файла.");
}

TEST(frmProgressTest, TheTitleSaysWhatRunsAndTheBarIsHeardAsNOfM)
{
    frmProgress progress(nullptr, "Заполнить теги", [] {});
    progress.ShowProgress(12, 5, "a.mp3");
    progress.show();
    EXPECT_EQ(progress.windowTitle(), "Заполнить теги — выполняется");
    QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(progress.prgFiles);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->role(), QAccessible::ProgressBar);
    EXPECT_EQ(bar->text(QAccessible::Name), "Обработано файлов");
    EXPECT_EQ(bar->text(QAccessible::Value), "5 из 12");
    EXPECT_EQ(bar->text(QAccessible::Description), "5 из 12");
    ASSERT_NE(bar->valueInterface(), nullptr);
    EXPECT_EQ(bar->valueInterface()->currentValue().toInt(), 5);
    EXPECT_EQ(bar->valueInterface()->maximumValue().toInt(), 12);
}

TEST(BusyPointerTest, BoxesAndPromptsShowTheNormalPointerAndPutTheBusyOneBack)
{
    const auto shape = [] {
        return QApplication::overrideCursor() ? QApplication::overrideCursor()->shape() : Qt::ArrowCursor;
    };
    std::vector<Qt::CursorShape> atBox;
    const auto noting = [&](DialogDriver::Action answer) {
        return [&, answer](QWidget* w) {
            atBox.push_back(shape());
            answer(w);
        };
    };
    DialogDriver driver({noting(Answer(QMessageBox::Ok)), noting(Click("cmdCancel"))});
    Shell::WindowDialogs dialogs(nullptr);
    {
        const Shell::BusyPointer busy;
        dialogs.MsgBox("a", Core::vbInformation);
        EXPECT_EQ(shape(), Qt::WaitCursor) << "busy again after the box";
        dialogs.NewPrompt()->Ask("/m/a.mp3", "/m/b.mp3");
        EXPECT_EQ(shape(), Qt::WaitCursor) << "and after the prompt";
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(atBox, std::vector<Qt::CursorShape>(2, Qt::ArrowCursor));
}

class BrowseForFolderTest : public ::testing::Test {
protected:
    void TearDown() override { mdlBrowseForFolder::SetChooserForTests(nullptr); }
};

TEST_F(BrowseForFolderTest, ResultEndsInOneSeparator)
{
    QString answer;
    QString promptSeen;
    unsigned flagsSeen = 0;
    mdlBrowseForFolder::SetChooserForTests([&](QWidget*, const QString& prompt, unsigned flags) {
        promptSeen = prompt;
        flagsSeen = flags;
        return answer;
    });
    const std::pair<QString, QString> cases[] = {
        {"/music", "/music/"},
        {"/music/", "/music/"},
        {"/", "/"},
        {"//server/share", "//server/share/"},
        {"", ""},
    };
    for (const auto& [chosen, result] : cases) {
        answer = chosen;
        EXPECT_EQ(mdlBrowseForFolder::BrowseForFolder(nullptr, QString::fromUtf8("Выберите папку"), 1), result)
            << chosen.toStdString();
    }
    EXPECT_EQ(promptSeen, QString::fromUtf8("Выберите папку"));
    EXPECT_EQ(flagsSeen, mdlBrowseForFolder::BIF_RETURNONLYFSDIRS);
}

TEST_F(BrowseForFolderTest, TheRealChooserPicksFoldersOnly)
{
    TempDir dir;
    const QString folder = QString::fromStdString(dir.MakeFolder("Музыка"));
    QWidget owner;
    owner.show();
    QFileDialog::FileMode mode = QFileDialog::AnyFile;
    bool modal = false;
    DialogDriver driver({[&](QWidget* w) {
                             auto* dialog = qobject_cast<QFileDialog*>(w);
                             ASSERT_NE(dialog, nullptr);
                             mode = dialog->fileMode();
                             modal = dialog->isModal() && dialog->parentWidget() == &owner;
                             dialog->setDirectory(folder);
                             static_cast<QDialog*>(dialog)->accept(); // as the OK button does
                         },
                         CloseBox()});
    const QString prompt = QString::fromUtf8("Выберите папку");
    EXPECT_EQ(mdlBrowseForFolder::BrowseForFolder(&owner, prompt, 1), QDir(folder).absolutePath() + "/");
    EXPECT_EQ(mdlBrowseForFolder::BrowseForFolder(&owner, prompt, 1), "");
    ASSERT_EQ(driver.Seen().size(), 2u);
    EXPECT_EQ(driver.Seen()[0].title, prompt);
    EXPECT_EQ(mode, QFileDialog::Directory);
    EXPECT_TRUE(modal);
}
