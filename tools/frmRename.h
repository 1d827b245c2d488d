// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The batch rename tool: renames every MP3 file of a folder after its own
// tag by a name template. Modeless over the frame; deletes itself on close.
#include "ToolWindow.h"

#include <string>

class QLineEdit;
class QPushButton;

class frmRename : public ToolWindow {
public:
    explicit frmRename(QWidget* owner);
    ~frmRename() override;

private:
    void UpdateEnabled();
    void lblPress_Click(int Index);
    void cmdBrowse_Click();
    void cmdRename_Click();
    void cmdPreview_Click();

    std::string strDir;                        // the chosen folder as the system names it, ending in "/"

    QLineEdit* txtDir;
    QPushButton* cmdBrowse;
    QLineEdit* txtFilenameNew;
    QPushButton* cmdRename;
    QPushButton* cmdPreview;
};
