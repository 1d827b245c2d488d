#include "ToolWindow.h"

#include "BackgroundRun.h"
#include "FormToolkit.h"

#include <QCloseEvent>
#include <QLineEdit>
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
