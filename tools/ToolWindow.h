// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the batch tool windows have in common: a fixed-size modeless dialog
// over the frame that deletes itself on close and ignores Esc, their fields,
// and how they ask for a folder.
#include <QDialog>
#include <string>

class QCloseEvent;
class QColor;
class QLineEdit;
class QPushButton;

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
    // The small "..." button at x, y that opens the folder picker, named
    // for screen readers by what it does.
    QPushButton* NewBrowseButton(int x, int y);
    // Asks for a folder through the picker. One that the runs can reach by
    // its name is shown in field and its bytes go to folder: true. A cancel
    // or a folder that is reported keeps the one chosen before. The focus
    // goes back to button either way.
    bool ChooseFolder(QPushButton* button, QLineEdit* field, std::string& folder);
};
