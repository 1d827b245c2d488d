// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmDocument.h"

#include "Application.h"
#include "FileNames.h"
#include "FileSystem.h"
#include "FormToolkit.h"
#include "MessageBoxes.h"
#include "WindowTagObjects.h"
#include "Paths.h"
#include "Reports.h"
#include "QtText.h"
#include "TagObjects.h"
#include "TextHelpers.h"
#include "frmMDI.h"
#include "mdlMain.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>

namespace Form = Shell::Form;
using Form::Place;
using Shell::Q;
using Shell::U8;

namespace {

constexpr int ClientWidth = 332;
// The frame and title bar the layout was designed for; used until the window
// sits in a sub-window whose own can be measured.
constexpr int DesignDecoration = frmDocument::ExpandedHeight - 412;

const char* const Marker = " *";

// lblCodepage's row under the comment; what lies below moves down by its height.
constexpr int CodepageTop = 201;
constexpr int CodepageRow = 20;

// Message boxes over the window once it is shown; before that (SetDefaults)
// over whatever window is active, the open dialog.
Shell::WindowDialogs DialogsOver(QWidget* window)
{
    return Shell::WindowDialogs(window->isVisible() ? window : nullptr);
}

// A text box with its caption ending at x = 76, level with it.
QLineEdit* TextBox(QWidget* parent, const char* name, const char* caption, int y, int width, int maxLength)
{
    auto* box = Place(new QLineEdit(parent), name, 85, y, width, 21);
    box->setMaxLength(maxLength);
    Form::CaptionBefore(parent, QString::fromUtf8(caption), box, 76);
    return box;
}

QPushButton* Button(QWidget* parent, const char* name, const char* text, int x, int y)
{
    QPushButton* button = Form::Button(parent, name, QString::fromUtf8(text), x, y);
    // Enter presses a focused button; elsewhere it reaches the window, which
    // presses the default button.
    button->setAutoDefault(true);
    return button;
}

} // namespace

frmDocument::frmDocument(QWidget* parent) : QWidget(parent), doc_(Shell::CreateTagObject)
{
    setObjectName(QStringLiteral("frmDocument"));
    setProperty("Tag", QStringLiteral("CHILD"));
    setWindowIcon(Shell::DocumentIcon());
    BuildFields();
    BuildRenameArea();
    BuildCodepageLabel();
    Form::TabOrder({txtFilename, txtTitle, txtArtist, txtAlbum, txtYear, txtGenre, txtComment, lblCodepage, chkAdv,
                    cmdRefresh, cmdChange, txtFilenameNew, cmdRename});
    lblCodepage->setFocusPolicy(Qt::NoFocus); // until it shows; once in the order, which skips such controls

    for (QLineEdit* field : {txtTitle, txtArtist, txtAlbum, txtYear, txtComment})
        connect(field, &QLineEdit::textChanged, this, &frmDocument::Edited);
    connect(txtGenre, &QComboBox::currentIndexChanged, this, &frmDocument::Edited);
    connect(chkAdv, &QCheckBox::toggled, this, &frmDocument::chkAdv_Click);
    connect(txtFilenameNew, &QLineEdit::textChanged, this, &frmDocument::txtFilenameNew_Change);
    connect(cmdChange, &QPushButton::clicked, this, &frmDocument::cmdChange_Click);
    connect(cmdRefresh, &QPushButton::clicked, this, &frmDocument::cmdRefresh_Click);
    connect(cmdRename, &QPushButton::clicked, this, &frmDocument::cmdRename_Click);

    ApplyOuterHeight();
}

void frmDocument::BuildFields()
{
    txtFilename = TextBox(this, "txtFilename", "Файл", 10, 241, 32767);
    txtFilename->setReadOnly(true);
    QPalette grey = txtFilename->palette();
    grey.setColor(QPalette::Base, grey.color(QPalette::Window));
    txtFilename->setPalette(grey);
    txtTitle = TextBox(this, "txtTitle", "Название", 50, 241, 30);
    txtArtist = TextBox(this, "txtArtist", "Исполнитель", 75, 241, 30);
    txtAlbum = TextBox(this, "txtAlbum", "Альбом", 100, 241, 30);
    txtYear = TextBox(this, "txtYear", "Год", 125, 56, 4);
    txtGenre = Place(new QComboBox(this), "txtGenre", 85, 150, 241, 21);
    txtGenre->setMaxVisibleItems(16);
    Form::CaptionBefore(this, QStringLiteral("Жанр"), txtGenre, 76);
    txtComment = TextBox(this, "txtComment", "Комментарий", 175, 241, 30);

    Form::Separator(this, 10, 204, 316);
    chkAdv = Place(new QCheckBox(QStringLiteral("Дополнительно"), this), "chkAdv", 10, 220, 101, 16);
    cmdRefresh = Button(this, "cmdRefresh", "Обновить", 135, 215);
    cmdChange = Button(this, "cmdChange", "Записать", 235, 215);
    cmdChange->setDefault(true);
}

void frmDocument::BuildRenameArea()
{
    Form::Separator(this, 10, 249, 316);
    txtFilenameNew = Place(new QLineEdit(this), "txtFilenameNew", 90, 260, 236, 21);
    Form::Caption(this, QStringLiteral("Шаблон имени"), 10, 264, txtFilenameNew);
    txtFilenameNew->setEnabled(false);

    static const char* const pressTexts[] = {"", "%1 - Название", "%2 - Исполнитель", "%3 - Альбом",
                                             "%4 - Год", "%5 - Жанр"};
    static const int pressWidths[] = {0, 75, 93, 64, 46, 55};
    lblPress[0] = nullptr;
    for (int i = 1; i <= 5; ++i)
        lblPress[i] = Place(new Form::PlaceholderLabel(QString::fromUtf8(pressTexts[i]), this,
                                                       [this, i] { lblPress_Click(i); }),
                            "lblPress" + QByteArray::number(i), 85, 290 + 15 * (i - 1), pressWidths[i], 13);
    Form::Separator(this, 10, 369, 316);
    cmdRename = Button(this, "cmdRename", "Переименовать", 235, 380);
    cmdRename->setEnabled(false);
}

void frmDocument::BuildCodepageLabel()
{
    lblCodepage = Place(new QLabel(this), "lblCodepage", 10, CodepageTop, 316, 15);
    lblCodepage->setTextFormat(Qt::RichText);
    lblCodepage->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    lblCodepage->setFocusPolicy(Qt::TabFocus);
    lblCodepage->setVisible(false);
    // Tab reaches it while it shows (ShowCodepage), and a key follows its link (eventFilter).
    lblCodepage->installEventFilter(this);
    connect(lblCodepage, &QLabel::linkActivated, this, &frmDocument::lblCodepage_Click);
}

frmDocument::~frmDocument() = default;

void frmDocument::SetDefaults(const std::string& strFilepath, const std::string& strFiletitle)
{
    auto dialogs = DialogsOver(this);
    try {
        for (const auto& [name, genre] : doc_.GenreEntries())
            txtGenre->addItem(Q(name), genre);
        Form::NameBlankEntries(txtGenre, QStringLiteral("нет жанра"));
    } catch (const Quenlar::LibraryError& e) {
        dialogs.MsgBox(Core::TagErrorText(strFilepath, e), Core::vbCritical);
        return;
    }
    txtGenre->setCurrentIndex(0);
    strFilepath_ = strFilepath;
    SetCaption(Q(Core::Readable(strFiletitle)));
    txtFilename->setText(Q(Core::Readable(strFilepath)));

    Core::TagFields fields;
    if (!doc_.Load(dialogs, strFilepath, fields))
        return;
    ShowFields(fields);
    ShowCodepage();
    blSaved = true;
    loaded_ = true;

    chkAdv->setChecked(mdlMain::btAdvDefault != 0);
    chkAdv_Click();
}

frmDocument* frmDocument::Open(QMdiArea* area, const std::string& strFilepath, const std::string& strFiletitle)
{
    auto doc = std::make_unique<frmDocument>();
    doc->SetDefaults(strFilepath, strFiletitle);
    if (!doc->Loaded())
        return nullptr;
    // The sub-window takes the window over.
    frmDocument* window = doc.release();
    QMdiSubWindow* sub = area->addSubWindow(window, Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                                                     | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                                                     | Qt::WindowCloseButtonHint);
    sub->setAttribute(Qt::WA_DeleteOnClose); // the window and its tag object end with the sub-window
    sub->setWindowIcon(window->windowIcon());
    if (QMenu* menu = sub->systemMenu())
        Form::KeepWindowFont(menu);
    window->SetCaption(window->windowTitle()); // the sub-window took the caption unescaped
    sub->show();
    return window;
}

void frmDocument::OpenFiles(QMdiArea* area, const std::vector<std::string>& paths, QWidget* owner)
{
    for (const std::string& path : paths) {
        if (Core::Platform::FileExists(path))
            Open(area, path, Core::FileName(path));
        else
            Shell::WindowDialogs(owner).MsgBox(Core::MissingFileText(path, " и не будет открыт."), Core::vbCritical);
    }
}

Core::TagFields frmDocument::Fields() const
{
    Core::TagFields f;
    f.title = U8(txtTitle->text());
    f.artist = U8(txtArtist->text());
    f.album = U8(txtAlbum->text());
    f.year = U8(txtYear->text());
    f.genre = static_cast<std::uint8_t>(txtGenre->currentData().toUInt());
    f.comment = U8(txtComment->text());
    return f;
}

void frmDocument::ShowFields(const Core::TagFields& fields)
{
    txtTitle->setText(Q(fields.title));
    txtArtist->setText(Q(fields.artist));
    txtAlbum->setText(Q(fields.album));
    txtYear->setText(Q(fields.year));
    txtGenre->setCurrentIndex(std::max(0, txtGenre->findData(fields.genre)));
    txtComment->setText(Q(fields.comment));
}

void frmDocument::ShowCodepage()
{
    const Core::TextCodepage codepage = doc_.Guess().codepage;
    // What the fields show stays the bytes read as Windows-1251, which is what would be written.
    const bool show = Core::PageToRecode(codepage).has_value();
    if (show) {
        const std::string_view name = Core::CodepageName(codepage);
        lblCodepage->setText(QStringLiteral("Похоже, текст тега записан в %1. <a href=\"recode\">Перекодировать...</a>")
                                 .arg(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()))));
    }
    if (show != codepageRow_) {
        codepageRow_ = show;
        for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (child != lblCodepage && child->y() >= CodepageTop)
                child->move(child->x(), child->y() + (show ? CodepageRow : -CodepageRow));
        ApplyOuterHeight();
    }
    lblCodepage->setVisible(show);
    // Tab reaches the link, a click leaves the focus where it was.
    lblCodepage->setFocusPolicy(show ? Qt::TabFocus : Qt::NoFocus);
}

void frmDocument::lblCodepage_Click()
{
    // The frame opens the tool windows.
    if (auto* frame = qobject_cast<frmMDI*>(window()))
        frame->OpenRecodeTool(Core::GetFolder(strFilepath_));
}

void frmDocument::Edited()
{
    if (blSaved)
        MarkChanged();
}

void frmDocument::MarkChanged()
{
    blSaved = false;
    SetCaption(windowTitle() + QString::fromLatin1(Marker));
}

void frmDocument::MarkSaved()
{
    blSaved = true;
    QString caption = windowTitle();
    caption.chop(2);
    SetCaption(caption);
}

void frmDocument::SetCaption(const QString& caption)
{
    setWindowTitle(caption);
    // Qt takes "[*]" in a shown title for its modified mark and drops it;
    // doubled, it shows as written. The window keeps the plain caption,
    // which is what the frame's window list shows.
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->setWindowTitle(QString(caption).replace(QLatin1String("[*]"), QLatin1String("[*][*]")));
}

void frmDocument::chkAdv_Click()
{
    if (chkAdv->isChecked()) {
        txtFilenameNew->setEnabled(true);
        if (!txtFilenameNew->text().isEmpty())
            cmdRename->setEnabled(true);
    } else {
        txtFilenameNew->setEnabled(false);
        cmdRename->setEnabled(false);
    }
    ApplyOuterHeight();
}

void frmDocument::ApplyOuterHeight()
{
    const int outer = (chkAdv->isChecked() ? ExpandedHeight : CollapsedHeight) + (codepageRow_ ? CodepageRow : 0);
    auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (!sub) {
        setFixedSize(ClientWidth, outer - DesignDecoration);
        return;
    }
    // The sub-window's frame and title bar depend on style and font.
    const QMargins frame = sub->contentsMargins();
    setFixedSize(ClientWidth, outer - frame.top() - frame.bottom());
    sub->setFixedSize(ClientWidth + frame.left() + frame.right(), outer);
}

bool frmDocument::event(QEvent* event)
{
    const bool result = QWidget::event(event);
    if (event->type() == QEvent::ParentChange)
        ApplyOuterHeight();
    return result;
}

bool frmDocument::eventFilter(QObject* watched, QEvent* event)
{
    // A label draws no focus of its own: a thin box shows where Tab is.
    if (watched == lblCodepage && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut))
        lblCodepage->setFrameShape(event->type() == QEvent::FocusIn ? QFrame::Box : QFrame::NoFrame);
    if (watched == lblCodepage && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
            lblCodepage_Click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmDocument::txtFilenameNew_Change()
{
    cmdRename->setEnabled(!txtFilenameNew->text().isEmpty());
}

void frmDocument::lblPress_Click(int index)
{
    // Replaces the selection, or inserts at the caret, which ends behind it.
    txtFilenameNew->insert(QStringLiteral("%%1").arg(index));
}

void frmDocument::keyPressEvent(QKeyEvent* event)
{
    // Enter that no control took for itself presses the default button.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && cmdChange->isEnabled()) {
        cmdChange->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

Core::TagDocument::Outcome frmDocument::cmdChange_Click()
{
    if (blSaved)
        return Core::TagDocument::Done;
    auto dialogs = DialogsOver(this);
    Core::TagFields fields = Fields();
    const Core::TagDocument::Outcome outcome = doc_.Save(dialogs, strFilepath_, fields);
    if (outcome == Core::TagDocument::Done) {
        // What the file now holds; still unsaved while the fields change, so that is no edit.
        ShowFields(fields);
        ShowCodepage();
        MarkSaved();
    }
    else if (outcome == Core::TagDocument::Missing)
        MissingFile();
    return outcome;
}

void frmDocument::cmdRefresh_Click()
{
    if (blSaved)
        return;
    auto dialogs = DialogsOver(this);
    Core::TagFields fields;
    switch (doc_.Reread(dialogs, strFilepath_, fields)) {
    case Core::TagDocument::Done:
        // Still unsaved while the fields change, so that is no edit.
        ShowFields(fields);
        ShowCodepage();
        MarkSaved();
        break;
    case Core::TagDocument::Missing:
        MissingFile();
        break;
    default:
        break;
    }
}

void frmDocument::cmdRename_Click()
{
    auto dialogs = DialogsOver(this);
    const Core::TagDocument::RenameResult result = doc_.Rename(dialogs, strFilepath_, U8(txtFilenameNew->text()), Fields());
    if (result.kind == Core::TagDocument::RenameResult::Missing) {
        MissingFile();
    } else if (result.kind == Core::TagDocument::RenameResult::Renamed) {
        strFilepath_ = result.target;
        txtFilename->setText(Q(Core::Readable(result.target)));
        QString caption = Q(Core::Readable(Core::FileName(result.target)));
        if (!blSaved)
            caption += QString::fromLatin1(Marker);
        SetCaption(caption);
    }
}

void frmDocument::MissingFile()
{
    blSaved = true; // the closing that follows asks nothing
    if (closing_)
        return;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->close();
    else
        close();
}

void frmDocument::closeEvent(QCloseEvent* event)
{
    closing_ = true;
    bool close = true;
    if (!blSaved) {
        const int answer = DialogsOver(this).MsgBox("Теги файла " + strFilepath_ + " были изменены." + Core::CR
                                                        + Core::CR + "Сохранить сделанные изменения?",
                                                    Core::vbYesNoCancelQuestion);
        if (answer == Core::vbCancel)
            close = false;
        else if (answer == Core::vbYes) {
            // A save that failed has told why, and one the user held back
            // over lost characters leaves the fields to mend: closing now
            // would lose the edits.
            const Core::TagDocument::Outcome saved = cmdChange_Click();
            close = saved != Core::TagDocument::Failed && saved != Core::TagDocument::Withheld;
        }
    }
    closing_ = false;
    event->setAccepted(close);
}
