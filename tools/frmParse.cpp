// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmParse.h"

#include "BackgroundRun.h"
#include "FormToolkit.h"
#include "ParseJob.h"
#include "QtText.h"
#include "WindowTagObjects.h"
#include "frmPreview.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

namespace Form = Shell::Form;
using Form::Place;
using Shell::U8;

namespace {

// The legend, two columns of placeholders beside each other.
struct LegendLine {
    int digit;
    const char* caption;
    int x, y;
};
const LegendLine kLegend[] = {
    {1, "Название", 90, 70},  {2, "Исполнитель", 90, 85}, {3, "Альбом", 90, 100},     {4, "Год", 90, 115},
    {5, "Жанр", 220, 70},     {6, "Комментарий", 220, 85}, {9, "пропустить", 220, 100},
};

// The preview's column for each field, by the field's caption.
const std::pair<frmPreview::Field, const char*> kColumns[Core::kTagFieldCount] = {
    {frmPreview::Field::Title, "Название"}, {frmPreview::Field::Artist, "Исполнитель"},
    {frmPreview::Field::Album, "Альбом"},   {frmPreview::Field::Year, "Год"},
    {frmPreview::Field::Genre, "Жанр"},     {frmPreview::Field::Comment, "Комментарий"},
};

} // namespace

frmParse::frmParse(QWidget* owner)
    : ToolWindow(owner, "frmParse", QStringLiteral("Теги из имён файлов"), 371, 251)
{
    auto* lblDir = Place(new QLabel(QStringLiteral("Папка"), this), "lblDir", 50, 15);
    txtDir = NewFolderField("txtDir", palette().color(QPalette::Window), 90, 10, 251, 21);
    Form::Names(lblDir, txtDir);
    cmdBrowse = NewBrowseButton(342, 10);

    auto* lblPattern = Place(new QLabel(QStringLiteral("Шаблон имени"), this), "lblPattern", 10, 45);
    txtPattern = Place(NewTemplateField(), "txtPattern", 90, 40, 273, 21);
    Form::Names(lblPattern, txtPattern);
    for (const LegendLine& line : kLegend) {
        const int digit = line.digit;
        auto* label = new Form::PlaceholderLabel('%' + QString::number(digit) + " - " + QString::fromUtf8(line.caption),
                                                 this, [this, digit] { lblPress_Click(digit); });
        Place(label, "lblPress" + QByteArray::number(digit), line.x, line.y);
    }

    // All off when the window opens: a name is read exactly as it stands.
    const auto check = [this](const char* name, const QString& text, int y) {
        return Place(new QCheckBox(text, this), name, 90, y, 273, 17);
    };
    chkOnlyEmpty = check("chkOnlyEmpty", QStringLiteral("Только пустые поля"), 140);
    chkUnderscores = check("chkUnderscores", QStringLiteral("Заменять «_» пробелами"), 160);
    chkLastSeparator = check("chkLastSeparator", QStringLiteral("Делить по последнему разделителю"), 180);
    Form::Separator(this, 10, 205, 353);

    cmdPreview = Form::Button(this, "cmdPreview", QStringLiteral("Просмотр..."), 175, 215);
    cmdParse = Form::Button(this, "cmdParse", QStringLiteral("Заполнить"), 272, 215);
    cmdParse->setDefault(true);
    cmdPreview->setEnabled(false);
    cmdParse->setEnabled(false);

    Form::TabOrder({txtDir, cmdBrowse, txtPattern, chkOnlyEmpty, chkUnderscores, chkLastSeparator, cmdPreview,
                    cmdParse});

    connect(txtDir, &QLineEdit::textChanged, this, &frmParse::UpdateEnabled);
    connect(txtPattern, &QLineEdit::textChanged, this, &frmParse::UpdateEnabled);
    connect(cmdBrowse, &QPushButton::clicked, this, &frmParse::cmdBrowse_Click);
    connect(cmdPreview, &QPushButton::clicked, this, &frmParse::cmdPreview_Click);
    connect(cmdParse, &QPushButton::clicked, this, &frmParse::cmdParse_Click);
}

frmParse::~frmParse() = default;

void frmParse::UpdateEnabled()
{
    // A pattern of blanks enables both: the run then says what is wrong with it.
    const bool ready = !txtDir->text().isEmpty() && !txtPattern->text().isEmpty();
    cmdPreview->setEnabled(ready);
    cmdParse->setEnabled(ready);
}

void frmParse::lblPress_Click(int Index)
{
    txtPattern->insert('%' + QString::number(Index));
}

void frmParse::cmdBrowse_Click()
{
    ChooseFolder(cmdBrowse, txtDir, strDir);
}

Core::ParseOptions frmParse::Options() const
{
    return {.onlyEmpty = chkOnlyEmpty->isChecked(),
            .underscores = chkUnderscores->isChecked(),
            .lastSeparator = chkLastSeparator->isChecked()};
}

void frmParse::cmdPreview_Click()
{
    const std::string pattern = U8(txtPattern->text());
    // A column for each field the pattern sets; a refused pattern is
    // reported by the plan before any file is looked at.
    std::vector<std::pair<frmPreview::Field, QString>> fields;
    std::string error;
    if (const auto parsed = Core::ParseNamePattern(pattern, error))
        for (const Core::TagField field : parsed->fields) {
            const auto& [column, caption] = kColumns[static_cast<std::size_t>(field)];
            fields.emplace_back(column, QString::fromUtf8(caption));
        }
    ShowPreview(this, windowTitle(), strDir, Core::NewParsePlanJob(pattern, Options()),
                frmPreview::FieldColumns(fields));
}

void frmParse::cmdParse_Click()
{
    Shell::RunInBackground(this, windowTitle(),
                           Core::NewParseRun(strDir, U8(txtPattern->text()), Options(), Shell::CreateTagObject()));
}
