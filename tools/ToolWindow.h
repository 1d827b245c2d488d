#pragma once
// What the two batch tool windows have in common: a fixed-size modeless
// dialog over the frame that deletes itself on close and ignores Esc, and
// their fields.
#include <QDialog>

class QColor;
class QLineEdit;

class ToolWindow : public QDialog {
public:
    ToolWindow(QWidget* owner, const char* name, const QString& caption, int width, int height);

protected:
    // A one-line field that holds any length of text.
    QLineEdit* NewTemplateField();
    // The read-only folder field, on a background of colour (of the
    // palette's window colour where the desktop's text would not read on it).
    QLineEdit* NewFolderField(const char* name, const QColor& colour, int x, int y, int w, int h);
};
