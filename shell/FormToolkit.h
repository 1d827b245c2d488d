#pragma once
// The small toolkit every window of the program is built with. The layouts
// are fixed-size forms with controls at given pixels, so a window's
// constructor reads like its table of controls: place, caption, separator,
// tab order.
#include <QLabel>
#include <QString>
#include <functional>
#include <initializer_list>

class QColor;
class QFrame;
class QMouseEvent;
class QPushButton;

namespace Shell::Form {

// Names widget and puts it at x, y with the given size; a size of 0 takes
// the widget's own size hint in that direction.
template <class W>
W* Place(W* widget, QAnyStringView name, int x, int y, int w = 0, int h = 0)
{
    widget->setObjectName(name);
    if (w == 0 || h == 0)
        widget->adjustSize();
    widget->setGeometry(x, y, w ? w : widget->width(), h ? h : widget->height());
    return widget;
}

// A push button of the standard 91 x 26 pixels.
QPushButton* Button(QWidget* parent, const char* name, const QString& text, int x, int y);

// A caption of its own size at x, y; given a buddy, it Names that field.
QLabel* Caption(QWidget* parent, const QString& text, int x, int y, QWidget* buddy = nullptr);
// A caption right-aligned against x = right, level with buddy, that Names it.
QLabel* CaptionBefore(QWidget* parent, const QString& text, QWidget* buddy, int right);
// Makes caption the field's name for screen readers: its buddy, which they
// read as its label, and its accessible name, as Qt gives a list no other.
void Names(QLabel* caption, QWidget* field);

// An etched horizontal line of the given width with its top at y.
QFrame* Separator(QWidget* parent, int x, int y, int width);

// Tab visits the widgets in this order.
void TabOrder(std::initializer_list<QWidget*> order);

// Makes window a fixed-size dialog window of clientWidth x clientHeight
// pixels without minimise and maximise boxes, on which Esc does nothing.
void FixWindow(QWidget* window, int clientWidth, int clientHeight);
// No window of the program binds Esc; Qt's dialogs would close on it.
void IgnoreEscape(QWidget* window);

// Sets the base (and, for a drop-down list, button) colour of a field.
void SetFieldColour(QWidget* field, const QColor& colour);

// A legend label that inserts a placeholder: dark blue, a pointing hand,
// and a click (press and release on the label, as with a button) that calls
// onClick. It never takes the focus, so the field that had it keeps it.
class PlaceholderLabel : public QLabel {
public:
    PlaceholderLabel(const QString& caption, QWidget* parent, std::function<void()> onClick);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::function<void()> onClick_;
};

} // namespace Shell::Form
