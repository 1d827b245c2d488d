// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmRename.h"

#include "BackgroundRun.h"
#include "BatchRun.h"
#include "FormToolkit.h"
#include "WindowTagObjects.h"
#include "QtText.h"
#include "PlanJobs.h"
#include "frmPreview.h"

#include <QLineEdit>
#include <QPushButton>

namespace Form = Shell::Form;
using Form::Place;
using Shell::U8;

frmRename::frmRename(QWidget* owner)
    : ToolWindow(owner, "frmRename", QStringLiteral("Переименовать файлы"), 371, 191)
{
    auto* lblDir = Place(new QLabel(QStringLiteral("Папка"), this), "lblDir", 50, 15);
    txtDir = NewFolderField("txtDir", palette().color(QPalette::Window), 90, 10, 251, 21);
    Form::Names(lblDir, txtDir);
    auto* lblTemplate = Place(new QLabel(QStringLiteral("Шаблон имени"), this), "lblTemplate", 10, 45);
    txtFilenameNew = Place(NewTemplateField(), "txtFilenameNew", 90, 40, 251, 21);
    Form::Names(lblTemplate, txtFilenameNew);

    static const char* const legend[] = {"Название", "Исполнитель", "Альбом", "Год", "Жанр"};
    for (int k = 1; k <= 5; ++k) {
        auto* label = new Form::PlaceholderLabel('%' + QString::number(k) + " - " + QString::fromUtf8(legend[k - 1]),
                                                 this, [this, k] { lblPress_Click(k); });
        Place(label, "lblPress" + QByteArray::number(k), 90, 70 + 15 * (k - 1));
    }
    Form::Separator(this, 10, 150, 353);

    cmdRename = Form::Button(this, "cmdRename", QStringLiteral("Переименовать"), 273, 160);
    cmdRename->setDefault(true);
    cmdRename->setEnabled(false);
    // Left of the main button, so that nothing of the form moves.
    cmdPreview = Form::Button(this, "cmdPreview", QStringLiteral("Просмотр..."), 176, 160);
    cmdPreview->setEnabled(false);

    cmdBrowse = NewBrowseButton(342, 10);

    Form::TabOrder({txtDir, txtFilenameNew, cmdRename, cmdPreview, cmdBrowse});

    connect(txtDir, &QLineEdit::textChanged, this, &frmRename::UpdateEnabled);
    connect(txtFilenameNew, &QLineEdit::textChanged, this, &frmRename::UpdateEnabled);
    connect(cmdBrowse, &QPushButton::clicked, this, &frmRename::cmdBrowse_Click);
    connect(cmdRename, &QPushButton::clicked, this, &frmRename::cmdRename_Click);
    connect(cmdPreview, &QPushButton::clicked, this, &frmRename::cmdPreview_Click);
}

frmRename::~frmRename() = default;

void frmRename::UpdateEnabled()
{
    // Exactly empty: a template of blanks enables the button, and the run then says it is not set.
    cmdRename->setEnabled(!txtDir->text().isEmpty() && !txtFilenameNew->text().isEmpty());
    cmdPreview->setEnabled(cmdRename->isEnabled());
}

void frmRename::lblPress_Click(int Index)
{
    txtFilenameNew->insert('%' + QString::number(Index));
}

void frmRename::cmdBrowse_Click()
{
    ChooseFolder(cmdBrowse, txtDir, strDir);
}

void frmRename::cmdRename_Click()
{
    Shell::RunInBackground(this, windowTitle(),
                           Core::NewRenameRun(strDir, U8(txtFilenameNew->text()), Shell::CreateTagObject()));
}

void frmRename::cmdPreview_Click()
{
    ShowPreview(this, windowTitle(), strDir, Core::NewRenamePlanJob(U8(txtFilenameNew->text())),
                {frmPreview::NewNameColumn()});
}
