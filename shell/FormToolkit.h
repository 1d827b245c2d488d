// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The small toolkit every window of the program is built with. The layouts
// are fixed-size forms with controls at given pixels, so a window's
// constructor reads like its table of controls: place, caption, separator,
// tab order.
#include <QLabel>
#include <QPalette>
#include <QPointer>
#include <QString>
#include <functional>
#include <initializer_list>

class QColor;
class QComboBox;
class QFont;
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

// Gives the blank entries of a drop-down list (no genre) a name a screen
// reader speaks; what the list shows stays blank.
void NameBlankEntries(QComboBox* list, const QString& name);

// An etched horizontal line of the given width with its top at y.
QFrame* Separator(QWidget* parent, int x, int y, int width);

// Tab visits the widgets in this order.
void TabOrder(std::initializer_list<QWidget*> order);

// Tahoma 8.25 pt, the font every layout of the program is measured for.
QFont WindowFont();
// Gives window WindowFont() as its own, so that neither its controls nor
// they after an application font change take the font a desktop theme sets
// (which would clip the fixed layouts).
void KeepWindowFont(QWidget* window);

// Makes window a fixed-size dialog window of clientWidth x clientHeight
// pixels without minimise and maximise boxes, on which Esc does nothing, in
// WindowFont().
void FixWindow(QWidget* window, int clientWidth, int clientHeight);
// No window of the program binds Esc; Qt's dialogs would close on it.
void IgnoreEscape(QWidget* window);

// The contrast ratio of two colours, from 1 (the same) to 21 (black on
// white), as the accessibility guidelines define it.
double Contrast(const QColor& a, const QColor& b);
// Whether text in colour reads on background: a contrast of 4.5 at least.
bool Reads(const QColor& text, const QColor& background);

// Sets the base (and, for a drop-down list, button) colour of a field: the
// layout's colour where the desktop's text reads on it, as on a light
// desktop, else the palette's own colour of role (Base for a field, Window
// for a read-only or greyed-out one), so that a dark desktop stays readable.
void SetFieldColour(QWidget* field, const QColor& colour, QPalette::ColorRole role = QPalette::Base);

// Gives the focus back to widget, and activates its window, when it goes:
// a dialog that the user closed may leave the focus anywhere.
class FocusBack {
public:
    explicit FocusBack(QWidget* widget) : widget_(widget) {}
    ~FocusBack();
    FocusBack(const FocusBack&) = delete;
    FocusBack& operator=(const FocusBack&) = delete;

private:
    QPointer<QWidget> widget_;
};
// Activates widget's window and gives widget the focus, when it is shown.
void GiveFocus(QWidget* widget);

// A legend label that inserts a placeholder: dark blue (the palette's link
// colour where dark blue would not read on the window), a pointing hand,
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
