// SPDX-License-Identifier: GPL-3.0-or-later
#include "ToolWindow.h"

#include "BackgroundRun.h"
#include "FormToolkit.h"
#include "mdlBrowseForFolder.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QPushButton>
#include <limits>

namespace Form = Shell::Form;

ToolWindow::ToolWindow(QWidget* owner, const char* name, const QString& caption, int width, int height)
    : QDialog(owner)
{
    setObjectName(QString::fromLatin1(name));
    setWindowTitle(caption);
    setAttribute(Qt::WA_DeleteOnClose);
    Form::FixWindow(this, width, height);
}

void ToolWindow::closeEvent(QCloseEvent* event)
{
    if (Shell::PutOffCloseForRun(this)) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

QLineEdit* ToolWindow::NewTemplateField()
{
    auto* field = new QLineEdit(this);
    field->setMaxLength(std::numeric_limits<int>::max());
    return field;
}

QLineEdit* ToolWindow::NewFolderField(const char* name, const QColor& colour, int x, int y, int w, int h)
{
    auto* field = Form::Place(NewTemplateField(), name, x, y, w, h);
    field->setReadOnly(true);
    Form::SetFieldColour(field, colour, QPalette::Window);
    return field;
}

QPushButton* ToolWindow::NewBrowseButton(int x, int y)
{
    auto* button = Form::Place(new QPushButton(QStringLiteral("..."), this), "cmdBrowse", x, y, 21, 21);
    QFont small = font();
    small.setPointSizeF(6.75);
    button->setFont(small);
    button->setToolTip(QStringLiteral("Выбрать"));
    button->setAccessibleName(QStringLiteral("Выбрать папку"));
    return button;
}

bool ToolWindow::ChooseFolder(QPushButton* button, QLineEdit* field, std::string& folder)
{
    const Form::FocusBack focusBack(button);
    const QString chosen = mdlBrowseForFolder::BrowseForFolder(this, QStringLiteral("Выберите папку"),
                                                               mdlBrowseForFolder::BIF_RETURNONLYFSDIRS);
    if (chosen.isEmpty())
        return false;
    // A folder the run could not reach by its name is reported; the one chosen before stays.
    std::string bytes = mdlBrowseForFolder::FolderBytes(this, chosen);
    if (bytes.empty())
        return false;
    folder = std::move(bytes);
    field->setText(chosen);
    return true;
}
