#pragma once
// What the two batch tool windows have in common: a fixed-size modeless
// dialog over the frame that deletes itself on close and ignores Esc, and
// their fields.
#include <QDialog>

class QCloseEvent;
class QColor;
class QLineEdit;

class ToolWindow : public QDialog {
public:
    ToolWindow(QWidget* owner, const char* name, const QString& caption, int width, int height);

protected:
    // A close while the window's run works waits for the run, which is
    // asked to stop between two files: it shows its questions over this
    // window.
    void closeEvent(QCloseEvent* event) override;

    // A one-line field that holds any length of text.
    QLineEdit* NewTemplateField();
    // The read-only folder field, on a background of colour (of the
    // palette's window colour where the desktop's text would not read on it).
    QLineEdit* NewFolderField(const char* name, const QColor& colour, int x, int y, int w, int h);
};
