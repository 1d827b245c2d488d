// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The about box, shown modal by the frame.
#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* owner = nullptr);

    // The text of Text1: rows ended by carriage return and line feed.
    static QString AboutText();

    QLabel* Image1;
    QPlainTextEdit* Text1;
    QPushButton* cmdClose;
};
