#include "FormToolkit.h"

#include <QFrame>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>

namespace Shell::Form {

namespace {

class EscapeBlocker : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
            return true;
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

QPushButton* Button(QWidget* parent, const char* name, const QString& text, int x, int y)
{
    return Place(new QPushButton(text, parent), name, x, y, 91, 26);
}

QLabel* Caption(QWidget* parent, const QString& text, int x, int y, QWidget* buddy)
{
    auto* label = new QLabel(text, parent);
    if (buddy)
        Names(label, buddy);
    label->adjustSize();
    label->move(x, y);
    return label;
}

QLabel* CaptionBefore(QWidget* parent, const QString& text, QWidget* buddy, int right)
{
    auto* label = new QLabel(text, parent);
    Names(label, buddy);
    label->setGeometry(0, buddy->y(), right, buddy->height());
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

void Names(QLabel* caption, QWidget* field)
{
    caption->setBuddy(field);
    field->setAccessibleName(caption->text());
}

QFrame* Separator(QWidget* parent, int x, int y, int width)
{
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(x, y, width, 2);
    return line;
}

void TabOrder(std::initializer_list<QWidget*> order)
{
    QWidget* previous = nullptr;
    for (QWidget* w : order) {
        if (previous)
            QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

void FixWindow(QWidget* window, int clientWidth, int clientHeight)
{
    window->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    window->setFixedSize(clientWidth, clientHeight);
    IgnoreEscape(window);
}

void IgnoreEscape(QWidget* window)
{
    window->installEventFilter(new EscapeBlocker(window));
}

void SetFieldColour(QWidget* field, const QColor& colour)
{
    QPalette pal = field->palette();
    pal.setColor(QPalette::Base, colour);
    pal.setColor(QPalette::Button, colour);
    field->setPalette(pal);
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
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        onClick_();
    QLabel::mouseReleaseEvent(event);
}

} // namespace Shell::Form
