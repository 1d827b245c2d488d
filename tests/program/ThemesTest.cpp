// SPDX-License-Identifier: GPL-3.0-or-later
// The windows under a desktop theme: a dark palette leaves every field and
// legend readable, and a font the theme sets for applications leaves every
// window in Tahoma 8.25 pt, the font its layout is measured for.
#include "DialogDriver.h"
#include "FormToolkit.h"
#include "MessageBoxes.h"
#include "Startup.h"
#include "TempDir.h"
#include "frmAbout.h"
#include "frmDocument.h"
#include "frmMDI.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTest>
#include <gtest/gtest.h>

using namespace testing_support;
using Shell::Form::Contrast;

namespace {

QPalette DarkPalette()
{
    QPalette dark;
    const QColor window(53, 53, 53), base(35, 35, 35), text(235, 235, 235), greyed(127, 127, 127);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const bool off = group == QPalette::Disabled;
        dark.setColor(group, QPalette::Window, window);
        dark.setColor(group, QPalette::Base, off ? window : base);
        dark.setColor(group, QPalette::AlternateBase, window);
        dark.setColor(group, QPalette::Button, window);
        for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            dark.setColor(group, role, off ? greyed : text);
        dark.setColor(group, QPalette::Link, QColor(42, 130, 218));
        dark.setColor(group, QPalette::Highlight, QColor(42, 130, 218));
        dark.setColor(group, QPalette::HighlightedText, Qt::black);
    }
    return dark;
}

// The frame as the program opens it, with a document, the open dialog, the
// tools and the about box.
struct AllWindows {
    TempDir dir;
    std::unique_ptr<frmMDI> frame = Program::LoadFrame();
    QList<QWidget*> windows;
    AllWindows()
    {
        frame->show();
        const std::string path = dir.Write("a.mp3", Audio(500) + TagBytes("Song", "Band", "", "2003", "", 17));
        windows << frmDocument::Open(frame->MdiArea(), path, "a.mp3");
        frame->mnuFileOpen->trigger();
        frame->mnuToolsFill->trigger();
        frame->mnuToolsRename->trigger();
        frame->mnuToolsParse->trigger();
        (new frmAbout(frame.get()))->show();
        for (QWidget* w : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (w->isWindow() && w->isVisible())
                windows << w;
    }
    ~AllWindows()
    {
        for (QWidget* w : windows)
            if (w->objectName() == "frmAbout")
                delete w;
        frame->close();
    }
};

// What a field paints its text on, and with.
std::pair<QColor, QColor> TextAndBackground(QWidget* field)
{
    const QPalette::ColorGroup group = field->isEnabled() ? QPalette::Active : QPalette::Disabled;
    const QPalette& p = field->palette();
    if (const auto* list = qobject_cast<QComboBox*>(field); list && !list->isEditable())
        return {p.color(group, QPalette::ButtonText), p.color(group, QPalette::Button)};
    return {p.color(group, QPalette::Text), p.color(group, QPalette::Base)};
}

bool IsField(QWidget* w)
{
    return qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractItemView*>(w) ||
           qobject_cast<QPlainTextEdit*>(w);
}

} // namespace

TEST(ThemesTest, UnderADarkPaletteEveryFieldAndLegendReads)
{
    const QPalette before = QApplication::palette();
    QApplication::setPalette(DarkPalette());
    {
        AllWindows all;
        QWidget* fill = all.frame->findChild<QWidget*>("frmMain");
        ASSERT_NE(fill, nullptr);
        // A row greyed out, and one greyed out and back.
        fill->findChild<QCheckBox*>("chAlbum")->click();
        fill->findChild<QCheckBox*>("chYear")->click();
        fill->findChild<QCheckBox*>("chYear")->click();
        int fields = 0, legends = 0;
        for (QWidget* window : all.windows)
            for (QWidget* w : window->findChildren<QWidget*>()) {
                const std::string id = (window->objectName() + "." + w->objectName()).toStdString();
                if (IsField(w)) {
                    ++fields;
                    const auto [text, background] = TextAndBackground(w);
                    // Greyed-out text is meant to read less, but never vanish.
                    EXPECT_GE(Contrast(text, background), w->isEnabled() ? 4.5 : 2.0)
                        << id << " " << text.name().toStdString() << " on " << background.name().toStdString();
                } else if (w->objectName().startsWith("lblPaste") || w->objectName().startsWith("lblPress")) {
                    ++legends;
                    EXPECT_GE(Contrast(w->palette().color(QPalette::WindowText), w->palette().color(QPalette::Window)),
                              4.5)
                        << id;
                }
            }
        EXPECT_GE(fields, 20);
        EXPECT_EQ(legends, 7 + 5 + 5 + 7);
    }
    QApplication::setPalette(before);

    // On the light palette, the layout's own colours.
    AllWindows light;
    QWidget* fill = light.frame->findChild<QWidget*>("frmMain");
    EXPECT_EQ(fill->findChild<QLabel*>("lblPaste0")->palette().color(QPalette::WindowText), QColor(0, 0, 192));
    EXPECT_EQ(fill->findChild<QLineEdit*>("tPath")->palette().color(QPalette::Base), QColor(224, 224, 224));
}

TEST(ThemesTest, AnApplicationFontSetByTheDesktopLeavesEveryWindowInTahoma)
{
    const QFont before = QApplication::font();
    QFont desktop(QStringLiteral("DejaVu Sans"));
    desktop.setPointSizeF(10);
    std::vector<std::string> wrong;
    const auto check = [&wrong](QWidget* window) {
        QList<QWidget*> widgets = window->findChildren<QWidget*>();
        widgets.prepend(window);
        for (QWidget* w : widgets) {
            // Qt's own parts of a view (its viewport, scroll bar corners, a
            // hidden header) draw no text of theirs.
            if (w->objectName().startsWith("qt_") || !w->isVisibleTo(window))
                continue;
            const QFontInfo font(w->font());
            const bool smallButton = (w->window()->objectName() == "frmRename" || w->window()->objectName() == "frmParse")
                && w->objectName() == "cmdBrowse";
            if (font.family() != "Tahoma" || w->font().pointSizeF() != (smallButton ? 6.75 : 8.25))
                wrong.push_back((window->objectName() + "." + w->objectName() + " (" + w->metaObject()->className() +
                                 "): " + font.family() + " " + QString::number(w->font().pointSizeF()))
                                    .toStdString());
        }
    };
    {
        // A theme sets its font once the windows are up (qt6ct does, from the
        // event loop) ...
        AllWindows all;
        QApplication::setFont(desktop);
        for (const char* kind : {"QLabel", "QPushButton", "QLineEdit", "QComboBox", "QCheckBox", "QAbstractItemView",
                                 "QMenu", "QMenuBar", "QMessageBox", "QPlainTextEdit"})
            QApplication::setFont(desktop, kind);
        QApplication::processEvents();
        check(all.frame.get());
        for (QWidget* w : all.windows)
            check(w);
        // The menus and a document's system menu; not the menu bar's
        // overflow menu, which a frame of this width never shows.
        for (QMenu* menu : all.frame->findChildren<QMenu*>())
            if (!menu->objectName().isEmpty() || !qobject_cast<QMenuBar*>(menu->parent()))
                check(menu);
        // ... and the windows opened afterwards.
        DialogDriver driver({[&](QWidget* box) {
                                 check(box);
                                 QTest::keyClick(box, Qt::Key_Return);
                             },
                             [&](QWidget* prompt) {
                                 check(prompt);
                                 Click("cmdCancel")(prompt);
                             }});
        Shell::WindowDialogs dialogs(all.frame.get());
        dialogs.MsgBox("?", Core::vbYesNoCancelQuestion);
        dialogs.NewPrompt()->Ask("/m/a.mp3", "/m/b.mp3");
        all.frame->mnuFileOpen->trigger();
        for (QWidget* w : all.frame->findChildren<QWidget*>("frmOpen"))
            check(w);
    }
    QApplication::setFont(before);
    EXPECT_TRUE(wrong.empty()) << ::testing::PrintToString(wrong);
}
