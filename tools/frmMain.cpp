// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmMain.h"

#include "BackgroundRun.h"
#include "BatchRun.h"
#include "FormToolkit.h"
#include "GenreList.h"
#include "PlanJobs.h"
#include "WindowTagObjects.h"
#include "QtText.h"
#include "frmPreview.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <vector>

namespace Form = Shell::Form;
using Form::Place;
using Shell::Q;
using Shell::U8;

namespace {
const QColor clrEnabled(255, 255, 255);
const QColor clrDisabled(197, 197, 197);
} // namespace

frmMain::frmMain(QWidget* owner)
    : ToolWindow(owner, "frmMain", QStringLiteral("Заполнить теги"), 347, 361), objTag(Shell::CreateTagObject())
{
    auto* lPath = Place(new QLabel(QStringLiteral("Папка"), this), "lPath", 34, 10);
    tPath = NewFolderField("tPath", QColor(224, 224, 224), 34, 26, 280, 19);
    Form::Names(lPath, tPath);
    // The ellipsis in the window's own font: the Symbol font here has no glyph for it.
    cmdBrowse = Place(new QPushButton(QStringLiteral("…"), this), "cmdBrowse", 315, 27, 19, 19);
    cmdBrowse->setToolTip(QStringLiteral("Обзор"));
    cmdBrowse->setAccessibleName(QStringLiteral("Выбрать папку"));

    tTitle = NewTemplateField();
    tArtist = NewTemplateField();
    tAlbum = NewTemplateField();
    tYear = NewTemplateField();
    tYear->setMaxLength(4);
    tGenre = new QComboBox(this);
    tComment = NewTemplateField();
    chTitle = AddRow("Title", QStringLiteral("Название"), tTitle, 58, 225);
    chArtist = AddRow("Artist", QStringLiteral("Исполнитель"), tArtist, 82, 225);
    chAlbum = AddRow("Album", QStringLiteral("Альбом"), tAlbum, 106, 225);
    chYear = AddRow("Year", QStringLiteral("Год"), tYear, 130, 41);
    chGenre = AddRow("Genre", QStringLiteral("Жанр"), tGenre, 154, 225);
    chComment = AddRow("Comment", QStringLiteral("Комментарий"), tComment, 178, 225);
    FillGenres();
    Form::NameBlankEntries(tGenre, QStringLiteral("нет жанра"));

    static const char* const legend[] = {"имя файла", "текущее поле \"Название\"",
                                         "текущее поле \"Исполнитель\"", "текущее поле \"Альбом\"",
                                         "текущее поле \"Год\"", "текущее поле \"Жанр\"",
                                         "текущее поле \"Комментарий\""};
    for (int i = 0; i < 7; ++i) {
        auto* label = new Form::PlaceholderLabel('%' + QString::number(i) + " - " + QString::fromUtf8(legend[i]),
                                                 this, [this, i] { lblPaste_Click(i); });
        Place(label, "lblPaste" + QByteArray::number(i), 110, 210 + 15 * i);
    }
    Form::Separator(this, 10, 320, 325);

    cmdFill = Form::Button(this, "cmdFill", QStringLiteral("&Заполнить"), 245, 330);
    cmdFill->setDefault(true);
    cmdFill->setEnabled(false);
    // Left of the main button, so that nothing of the form moves.
    cmdPreview = Form::Button(this, "cmdPreview", QStringLiteral("Просмотр..."), 148, 330);
    cmdPreview->setEnabled(false);

    // Keyboard order: folder, browse, the six fields top to bottom, fill,
    // preview; the check boxes come after.
    Form::TabOrder({tPath, cmdBrowse, tTitle, tArtist, tAlbum, tYear, tGenre, tComment, cmdFill, cmdPreview, chTitle,
                    chArtist, chAlbum, chYear, chGenre, chComment});

    connect(cmdBrowse, &QPushButton::clicked, this, &frmMain::cmdBrowse_Click);
    connect(cmdFill, &QPushButton::clicked, this, &frmMain::cmdFill_Click);
    connect(cmdPreview, &QPushButton::clicked, this, &frmMain::cmdPreview_Click);
}

frmMain::~frmMain() = default;

QCheckBox* frmMain::AddRow(const char* suffix, const QString& caption, QWidget* field, int y, int width)
{
    const auto name = [suffix](const char* prefix) { return QByteArray(prefix) + suffix; };
    auto* check = Place(new QCheckBox(this), name("ch"), 10, y + 2, 17, 17);
    check->setChecked(true);
    // The tick box has no text of its own to be read out.
    check->setAccessibleName(QStringLiteral("Заполнять поле «%1»").arg(caption));
    // The label ends 9 pixels left of the field.
    auto* label = Place(new QLabel(caption, this), name("l"), 27, y, 74, 21);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Form::Names(label, Place(field, name("t"), 110, y, width, 21));
    SetStatus(field, true);
    connect(check, &QCheckBox::toggled, this, [this, field, label](bool checked) {
        SetStatus(field, checked);
        label->setEnabled(checked);
    });
    return check;
}

void frmMain::SetStatus(QWidget* objObject, bool blStatus)
{
    objObject->setEnabled(blStatus);
    Form::SetFieldColour(objObject, blStatus ? clrEnabled : clrDisabled,
                         blStatus ? QPalette::Base : QPalette::Window);
}

void frmMain::FillGenres()
{
    for (const auto& [name, id] : Core::SortedGenreList(*objTag, 0))
        tGenre->addItem(Q(name), id);
    tGenre->setCurrentIndex(0);
}

void frmMain::lblPaste_Click(int Index)
{
    QWidget* focused = focusWidget();
    if (!focused)
        return;
    const QString name = focused->objectName();
    if (name == "tTitle" || name == "tArtist" || name == "tAlbum" || name == "tComment")
        static_cast<QLineEdit*>(focused)->insert('%' + QString::number(Index));
}

void frmMain::cmdBrowse_Click()
{
    if (!ChooseFolder(cmdBrowse, tPath, strFolder))
        return;
    cmdFill->setEnabled(!tPath->text().isEmpty());
    cmdPreview->setEnabled(cmdFill->isEnabled());
}

Core::FillSettings frmMain::Settings() const
{
    const auto text = [](const QCheckBox* check, const QLineEdit* field) {
        return Core::TextSetting{check->isChecked(), U8(field->text())};
    };
    Core::FillSettings settings;
    settings.Title = text(chTitle, tTitle);
    settings.Artist = text(chArtist, tArtist);
    settings.Album = text(chAlbum, tAlbum);
    settings.Comment = text(chComment, tComment);
    settings.Year = text(chYear, tYear);
    settings.GenreEnabled = chGenre->isChecked();
    settings.Genre = static_cast<std::uint8_t>(tGenre->currentData().toInt());
    return settings;
}

void frmMain::cmdFill_Click()
{
    Shell::RunInBackground(this, windowTitle(), Core::NewFillRun(strFolder, Settings(), Shell::CreateTagObject()));
}

void frmMain::cmdPreview_Click()
{
    using Field = frmPreview::Field;
    // The columns of the ticked fields, by the captions of their rows.
    const struct {
        const QCheckBox* check;
        Field field;
        const char* caption;
    } rows[] = {{chTitle, Field::Title, "Название"}, {chArtist, Field::Artist, "Исполнитель"},
                {chAlbum, Field::Album, "Альбом"},   {chYear, Field::Year, "Год"},
                {chGenre, Field::Genre, "Жанр"},     {chComment, Field::Comment, "Комментарий"}};
    std::vector<std::pair<Field, QString>> fields;
    for (const auto& row : rows)
        if (row.check->isChecked())
            fields.emplace_back(row.field, QString::fromUtf8(row.caption));
    ShowPreview(this, windowTitle(), strFolder, Core::NewFillPlanJob(Settings()), frmPreview::FieldColumns(fields));
}
