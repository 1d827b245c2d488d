#include "ToolWindow.h"

#include "mdlMain.h"

#include <QFrame>
#include <QLineEdit>
#include <QMouseEvent>
#include <limits>

ToolWindow::ToolWindow(QWidget* owner, const char* name, const QString& caption, int width, int height)
    : QDialog(owner)
{
    setObjectName(QString::fromLatin1(name));
    setWindowTitle(caption);
    setAttribute(Qt::WA_DeleteOnClose);
    mdlMain::FixWindow(this, width, height);
}

QLineEdit* ToolWindow::NewTemplateField()
{
    auto* field = new QLineEdit(this);
    field->setMaxLength(std::numeric_limits<int>::max());
    return field;
}

QLineEdit* ToolWindow::NewFolderField(const char* name, const QColor& colour, int x, int y, int w, int h)
{
    auto* field = Place(new QLineEdit(this), name, x, y, w, h);
    field->setReadOnly(true);
    field->setMaxLength(std::numeric_limits<int>::max());
    SetFieldColour(field, colour);
    return field;
}

void ToolWindow::AddSeparator(int x1, int x2, int y)
{
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(x1, y, x2 - x1, 2);
}

PlaceholderLabel::PlaceholderLabel(const QString& caption, QWidget* parent, std::function<void()> onClick)
    : QLabel(caption, parent), onClick_(std::move(onClick))
{
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, QColor(0, 0, 192));
    setPalette(pal);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
}

void PlaceholderLabel::mouseReleaseEvent(QMouseEvent* event)
{
    // A click is a press and a release on the label, as with a button.
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        onClick_();
    QLabel::mouseReleaseEvent(event);
}

void SetFieldColour(QWidget* field, const QColor& colour)
{
    QPalette pal = field->palette();
    pal.setColor(QPalette::Base, colour);
    pal.setColor(QPalette::Button, colour);
    field->setPalette(pal);
}
