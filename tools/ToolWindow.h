#pragma once
// What the two batch tool windows have in common: a fixed-size modeless
// dialog over the frame that deletes itself on close and ignores Esc, and
// the clickable legend labels.
#include <QDialog>
#include <QLabel>
#include <functional>

class QLineEdit;

class ToolWindow : public QDialog {
public:
    ToolWindow(QWidget* owner, const char* name, const QString& caption, int width, int height);

protected:
    // A child placed at x, y with the given size (its own size hint when 0).
    template <class W>
    W* Place(W* widget, const QByteArray& name, int x, int y, int w = 0, int h = 0)
    {
        widget->setObjectName(QString::fromLatin1(name));
        if (w == 0)
            widget->adjustSize();
        widget->setGeometry(x, y, w ? w : widget->width(), h ? h : widget->height());
        return widget;
    }
    // A one-line field that holds any length of text.
    QLineEdit* NewTemplateField();
    // The read-only folder field, on a background of colour.
    QLineEdit* NewFolderField(const char* name, const QColor& colour, int x, int y, int w, int h);
    // The line that divides the fields from the main button.
    void AddSeparator(int x1, int x2, int y);
};

// A legend label: dark blue, a pointing hand, and a click that inserts its
// placeholder. It never takes the focus, so the field that had it keeps it.
class PlaceholderLabel : public QLabel {
public:
    PlaceholderLabel(const QString& caption, QWidget* parent, std::function<void()> onClick);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::function<void()> onClick_;
};

// Sets the base (and, for a drop-down list, button) colour of a field.
void SetFieldColour(QWidget* field, const QColor& colour);
