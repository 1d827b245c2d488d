// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tags-from-names tool: takes the name of every MP3 file of a folder
// apart by a name pattern into the fields of its tag. Modeless over the
// frame; deletes itself on close.
#include "NamePattern.h"
#include "ToolWindow.h"

#include <string>

class QCheckBox;
class QLineEdit;
class QPushButton;

class frmParse : public ToolWindow {
public:
    explicit frmParse(QWidget* owner);
    ~frmParse() override;

private:
    void UpdateEnabled();
    void lblPress_Click(int Index);
    void cmdBrowse_Click();
    void cmdPreview_Click();
    void cmdParse_Click();
    Core::ParseOptions Options() const;

    std::string strDir; // the chosen folder as the system names it, ending in "/"

    QLineEdit* txtDir;
    QPushButton* cmdBrowse;
    QLineEdit* txtPattern;
    QCheckBox* chkOnlyEmpty;
    QCheckBox* chkUnderscores;
    QCheckBox* chkLastSeparator;
    QPushButton* cmdPreview;
    QPushButton* cmdParse;
};
