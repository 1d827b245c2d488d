// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader hears for each focusable control of the document
// window, the open dialog, the tools and the about box: a name, never a
// field's value or bare punctuation.
#include "Startup.h"
#include "TempDir.h"
#include "frmAbout.h"
#include "frmDocument.h"
#include "frmMDI.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <algorithm>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

// The name a screen reader gives a field: the text of its label, where it has
// one, else its own name (on Linux a drop-down's own name is its value).
QString HeardName(QAccessibleInterface* field)
{
    const auto labels = field->relations(QAccessible::Label);
    return labels.isEmpty() ? field->text(QAccessible::Name) : labels.first().first->text(QAccessible::Name);
}

// What the field shows, which is no name.
QString Shown(QWidget* field)
{
    if (const auto* edit = qobject_cast<QLineEdit*>(field))
        return edit->text();
    if (const auto* list = qobject_cast<QComboBox*>(field))
        return list->currentText();
    return {};
}

} // namespace

TEST(AccessibleNamesTest, EveryFocusableControlHasAName)
{
    TempDir dir;
    const std::string path = dir.Write("a.mp3", Audio(500) + TagBytes("Song", "Band", "", "2003", "", 17));
    std::unique_ptr<frmMDI> frame = Program::LoadFrame();
    frame->show();
    frmDocument* document = frmDocument::Open(frame->MdiArea(), path, "a.mp3");
    ASSERT_NE(document, nullptr);
    frame->mnuFileOpen->trigger();
    frame->mnuToolsFill->trigger();
    frame->mnuToolsRename->trigger();
    frame->mnuToolsParse->trigger();
    frame->mnuToolsRecode->trigger();

    frmAbout about(frame.get());
    about.show();
    QList<QWidget*> windows{document};
    for (QWidget* w : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w->isWindow() && w->isVisible())
            windows << w;
    QStringList seen, names;
    for (QWidget* window : windows) {
        seen << window->objectName();
        for (QWidget* field : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!(field->focusPolicy() & Qt::TabFocus))
                continue;
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(field);
            ASSERT_NE(accessible, nullptr);
            const QString id = window->objectName() + "." + field->objectName();
            const QString name = HeardName(accessible);
            const bool spoken = std::any_of(name.begin(), name.end(), [](QChar c) { return c.isLetter(); });
            EXPECT_TRUE(spoken && name != Shown(field)) << id.toStdString() << ": " << name.toStdString();
            names << id + "=" + name;
        }
    }
    seen.sort();
    EXPECT_EQ(seen, QStringList({"frmAbout", "frmDocument", "frmMain", "frmOpen", "frmParse", "frmRecode", "frmRename"}));
    // The drop-downs by their caption, not their value; the tick boxes that have none by the field they tick.
    for (const char* expected : {"frmDocument.txtGenre=Жанр", "frmMain.tGenre=Жанр", "frmOpen.DriveList=Диск",
                                 "frmOpen.DirList=Папка", "frmMain.chYear=Заполнять поле «Год»",
                                 "frmMain.cmdBrowse=Выбрать папку", "frmRename.cmdBrowse=Выбрать папку",
                                 "frmParse.cmdBrowse=Выбрать папку",
                                 "frmRecode.cboFrom=Кодировка", "frmRecode.cmdBrowse=Выбрать папку",
                                 "frmAbout.Text1=Сведения о программе"})
        EXPECT_TRUE(names.contains(QString::fromUtf8(expected))) << expected << "\n"
                                                                  << names.join('\n').toStdString();
    // The genre drop-down speaks its value.
    QComboBox* genre = nullptr;
    for (QWidget* w : windows)
        if (w->objectName() == "frmMain")
            genre = w->findChild<QComboBox*>("tGenre");
    ASSERT_NE(genre, nullptr);
    // Its blank entry, no genre, by a name of its own.
    const QModelIndex blank = genre->model()->index(genre->findText(""), 0);
    EXPECT_EQ(genre->model()->data(blank, Qt::AccessibleTextRole).toString(), "нет жанра");
    genre->setCurrentIndex(3);
    EXPECT_FALSE(genre->currentText().isEmpty());
    EXPECT_EQ(QAccessible::queryAccessibleInterface(genre)->text(QAccessible::Value), genre->currentText());
    // The help menu, whose caption is "?", as its entry in the menu bar and as the menu.
    QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(frame->menuBar());
    QStringList entries;
    for (int i = 0; i < bar->childCount(); ++i)
        entries << bar->child(i)->text(QAccessible::Name);
    EXPECT_EQ(entries, QStringList({"Файл", "Действия", "Окно", "Справка"}));
    QAccessibleInterface* help = bar->child(3);
    EXPECT_EQ(help->role(), QAccessible::MenuItem);
    ASSERT_EQ(help->childCount(), 1);
    EXPECT_EQ(help->child(0)->object(), frame->mnuHelp);
    EXPECT_EQ(help->child(0)->text(QAccessible::Name), "Справка");
    EXPECT_EQ(help->child(0)->parent()->text(QAccessible::Name), "Справка");
    help->actionInterface()->doAction(QAccessibleActionInterface::showMenuAction());
    EXPECT_EQ(frame->menuBar()->activeAction(), frame->mnuHelp->menuAction());
    frame->mnuHelp->hide();
    about.close();
    frame->close();
}
