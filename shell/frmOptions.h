// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings dialog. The program has no settings to offer yet: its buttons
// do nothing and it closes only through its window frame.
#include <QDialog>

class QPushButton;

class frmOptions : public QDialog {
    Q_OBJECT
public:
    explicit frmOptions(QWidget* owner = nullptr);

    QPushButton* cmdOK;
    QPushButton* cmdCancel;
};
