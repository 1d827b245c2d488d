// SPDX-License-Identifier: GPL-3.0-or-later
// The document window's code-page label: shown only for a tag whose text
// looks written in KOI8-R or CP866, with the room it takes, and its link
// asking the frame for the recode tool on the file's folder.
#include "CodepageTesting.h"
#include "DocumentTesting.h"
#include "frmDocument.h"
#include "frmMDI.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextDocument>

using namespace documents_testing;
using testing_support::StoredAs;
using testing_support::StoreIn;

namespace {

std::string Stored(StoredAs page)
{
    return Audio(400) + TagBytes(StoreIn(page, "Группа крови"), StoreIn(page, "Кино"), "Live");
}

class CodepageLabel : public AreaTest {
protected:
    static bool Shown(frmDocument* doc) { return doc->lblCodepage->isVisibleTo(doc); }
    static int OuterHeight(frmDocument* doc) { return doc->parentWidget()->height(); }
    static QString PlainText(const QLabel* label)
    {
        QTextDocument text;
        text.setHtml(label->text());
        return text.toPlainText();
    }
};

TEST_F(CodepageLabel, ShownForKoi8RAndCp866WithTheRoomItTakes)
{
    for (const auto& [page, name] : {std::pair{StoredAs::Koi8R, "KOI8-R"}, std::pair{StoredAs::Cp866, "CP866"}}) {
        frmDocument* doc = OpenFile(std::string(name) + ".mp3", Stored(page));
        ASSERT_TRUE(Shown(doc)) << name;
        EXPECT_EQ(PlainText(doc->lblCodepage),
                  QString("Похоже, текст тега записан в %1. Перекодировать...").arg(name));
        // The fields still show the bytes as Windows-1251: what would be written.
        EXPECT_EQ(doc->txtTitle->text().toStdString(),
                  Quenlar::Codepage::Decode(StoreIn(page, "Группа крови")));
        // Under the comment, and all below it moved down by its row.
        EXPECT_GE(doc->lblCodepage->y(), doc->txtComment->geometry().bottom());
        EXPECT_EQ(doc->chkAdv->y(), 240);
        EXPECT_EQ(doc->cmdChange->y(), 235);
        EXPECT_EQ(OuterHeight(doc), frmDocument::CollapsedHeight + 20);
        doc->chkAdv->setChecked(true);
        EXPECT_EQ(OuterHeight(doc), frmDocument::ExpandedHeight + 20);
        EXPECT_EQ(doc->cmdRename->y(), 400);
        EXPECT_TRUE(TabOrder(doc, doc->txtFilename).join(",").contains("txtComment,lblCodepage,chkAdv"));
    }
}

TEST_F(CodepageLabel, HiddenForWindows1251AsciiAndUntaggedFilesAndWhenASaveMendsTheTag)
{
    for (const auto& [name, bytes] : {std::pair{"win.mp3", Stored(StoredAs::Windows1251)},
                                      std::pair{"ascii.mp3", Audio(400) + TagBytes("Yesterday", "The Beatles")},
                                      std::pair{"bare.mp3", Audio(400)}}) {
        frmDocument* doc = OpenFile(name, bytes);
        EXPECT_FALSE(Shown(doc)) << name;
        EXPECT_EQ(doc->chkAdv->y(), 220) << name;
        EXPECT_EQ(OuterHeight(doc), frmDocument::CollapsedHeight) << name;
    }

    // The KOI8-R text typed again as it was meant and saved: no label, and
    // the window as it is without one.
    frmDocument* doc = OpenFile("mended.mp3", Audio(400) + TagBytes(StoreIn(StoredAs::Koi8R, "Группа крови")));
    ASSERT_TRUE(Shown(doc));
    doc->txtTitle->setText(QString::fromUtf8("Группа крови"));
    doc->cmdChange->click();
    EXPECT_FALSE(Shown(doc));
    EXPECT_EQ(doc->chkAdv->y(), 220);
    EXPECT_EQ(OuterHeight(doc), frmDocument::CollapsedHeight);
}

TEST_F(CodepageLabel, ItsLinkAsksTheFrameForTheRecodeToolOnTheFilesFolder)
{
    std::vector<std::string> asked;
    frmMDI frame(frmMDI::Commands{{}, {}, {}, {}, {}, [&](frmMDI& f, const std::string& folder) -> QWidget* {
                                      asked.push_back(folder);
                                      return new QWidget(&f, Qt::Window);
                                  }});
    frame.show();
    const std::string path = dir.Write("koi.mp3", Stored(StoredAs::Koi8R));
    frmDocument* doc = frmDocument::Open(frame.MdiArea(), path, "koi.mp3");
    ASSERT_NE(doc, nullptr);
    ASSERT_TRUE(Shown(doc));
    // A click on the link, which follows the sentence.
    const QString sentence = QString("Похоже, текст тега записан в KOI8-R. ");
    const int x = doc->lblCodepage->fontMetrics().horizontalAdvance(sentence) + 10;
    QTest::mouseClick(doc->lblCodepage, Qt::LeftButton, {}, QPoint(x, doc->lblCodepage->height() / 2));
    EXPECT_EQ(asked, std::vector<std::string>{dir.Path()});
    // The sentence itself is no link.
    QTest::mouseClick(doc->lblCodepage, Qt::LeftButton, {}, QPoint(5, doc->lblCodepage->height() / 2));
    EXPECT_EQ(asked.size(), 1u);
    // From the keyboard: Tab from the comment to the link, then Return.
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    doc->txtComment->setFocus();
    QTest::keyClick(doc->txtComment, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), doc->lblCodepage);
    EXPECT_EQ(doc->lblCodepage->frameShape(), QFrame::Box) << "the focus shows";
    QTest::keyClick(doc->lblCodepage, Qt::Key_Return);
    EXPECT_EQ(asked.size(), 2u);
    frame.close();
}

} // namespace
