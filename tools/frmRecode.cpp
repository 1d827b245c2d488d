// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmRecode.h"

#include "BackgroundRun.h"
#include "BatchRun.h"
#include "FileNames.h"
#include "FormToolkit.h"
#include "QtText.h"
#include "RecodeJob.h"
#include "WindowTagObjects.h"
#include "frmPreview.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace Form = Shell::Form;
using Form::Place;
using Shell::Q;
using Quenlar::Codepage::Page;

namespace {
// cboFrom's entries carry these.
enum From { Guessed = 0, Koi8R = 1, Cp866 = 2 };
} // namespace

frmRecode::frmRecode(QWidget* owner, const std::string& folder)
    : ToolWindow(owner, "frmRecode", QStringLiteral("Перекодировать теги"), 371, 121)
{
    auto* lblDir = Place(new QLabel(QStringLiteral("Папка"), this), "lblDir", 10, 14);
    txtDir = NewFolderField("txtDir", palette().color(QPalette::Window), 90, 10, 251, 21);
    Form::Names(lblDir, txtDir);
    cmdBrowse = NewBrowseButton(342, 10);

    auto* lblFrom = Place(new QLabel(QStringLiteral("Кодировка"), this), "lblFrom", 10, 44);
    cboFrom = Place(new QComboBox(this), "cboFrom", 90, 40, 273, 21);
    cboFrom->addItem(QStringLiteral("Определить для каждого файла"), Guessed);
    cboFrom->addItem(QStringLiteral("KOI8-R"), Koi8R);
    cboFrom->addItem(QStringLiteral("CP866"), Cp866);
    cboFrom->setCurrentIndex(0);
    Form::Names(lblFrom, cboFrom);
    Form::Separator(this, 10, 75, 353);

    cmdPreview = Form::Button(this, "cmdPreview", QStringLiteral("Просмотр..."), 176, 85);
    cmdRecode = Form::Button(this, "cmdRecode", QStringLiteral("Перекодировать"), 273, 85);
    cmdRecode->setDefault(true);
    cmdPreview->setEnabled(false);
    cmdRecode->setEnabled(false);

    Form::TabOrder({txtDir, cboFrom, cmdRecode, cmdPreview, cmdBrowse});

    connect(cmdBrowse, &QPushButton::clicked, this, &frmRecode::cmdBrowse_Click);
    connect(cmdPreview, &QPushButton::clicked, this, &frmRecode::cmdPreview_Click);
    connect(cmdRecode, &QPushButton::clicked, this, &frmRecode::cmdRecode_Click);

    if (!folder.empty())
        SetFolder(folder, Q(Core::Readable(folder)));
}

frmRecode::~frmRecode() = default;

void frmRecode::SetFolder(std::string bytes, const QString& shown)
{
    strDir = std::move(bytes);
    txtDir->setText(shown);
    cmdPreview->setEnabled(true);
    cmdRecode->setEnabled(true);
}

std::optional<Page> frmRecode::From() const
{
    switch (cboFrom->currentData().toInt()) {
    case Koi8R: return Page::Koi8R;
    case Cp866: return Page::Cp866;
    default: return std::nullopt;
    }
}

void frmRecode::cmdBrowse_Click()
{
    if (ChooseFolder(cmdBrowse, txtDir, strDir))
        SetFolder(strDir, txtDir->text());
}

void frmRecode::cmdPreview_Click()
{
    using Field = frmPreview::Field;
    ShowPreview(this, windowTitle(), strDir, Core::NewRecodePlanJob(From()),
                frmPreview::FieldColumns({{Field::Title, QStringLiteral("Название")},
                                          {Field::Artist, QStringLiteral("Исполнитель")},
                                          {Field::Album, QStringLiteral("Альбом")},
                                          {Field::Comment, QStringLiteral("Комментарий")}}));
}

void frmRecode::cmdRecode_Click()
{
    Shell::RunInBackground(this, windowTitle(), Core::NewRecodeRun(strDir, From(), Shell::CreateTagObject()));
}
