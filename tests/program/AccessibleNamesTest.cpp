// What a screen reader hears for each field of the document window, the open
// dialog and the two tools: a name, never the field's value.
#include "Startup.h"
#include "TempDir.h"
#include "frmDocument.h"
#include "frmMDI.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
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

TEST(AccessibleNamesTest, EveryFieldListAndTickBoxHasAName)
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
    frame->mnuToolsRecode->trigger();

    QList<QWidget*> windows{document};
    for (QWidget* w : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w->isWindow() && w->isVisible())
            windows << w;
    QStringList seen, names;
    for (QWidget* window : windows) {
        seen << window->objectName();
        for (QWidget* field : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!qobject_cast<QLineEdit*>(field) && !qobject_cast<QComboBox*>(field) &&
                !qobject_cast<QAbstractItemView*>(field) && !qobject_cast<QCheckBox*>(field))
                continue;
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(field);
            ASSERT_NE(accessible, nullptr);
            const QString id = window->objectName() + "." + field->objectName();
            const QString name = HeardName(accessible);
            EXPECT_TRUE(!name.isEmpty() && name != Shown(field)) << id.toStdString() << ": " << name.toStdString();
            names << id + "=" + name;
        }
    }
    seen.sort();
    EXPECT_EQ(seen, QStringList({"frmDocument", "frmMain", "frmOpen", "frmRecode", "frmRename"}));
    // The drop-downs by their caption, not their value; the tick boxes that have none by the field they tick.
    for (const char* expected : {"frmDocument.txtGenre=Жанр", "frmMain.tGenre=Жанр", "frmOpen.DriveList=Диск",
                                 "frmOpen.DirList=Папка", "frmMain.chYear=Заполнять поле «Год»",
                                 "frmRecode.cboFrom=Кодировка"})
        EXPECT_TRUE(names.contains(QString::fromUtf8(expected))) << expected << "\n"
                                                                  << names.join('\n').toStdString();
    frame->close();
}
