// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The recode tool: makes the tags of a folder's MP3 files that were written
// in KOI8-R or CP866 Windows-1251, from the page guessed for each file or
// the one chosen. Modeless over the frame; deletes itself on close.
#include "RussianCodepages.h"
#include "ToolWindow.h"

#include <optional>
#include <string>

class QComboBox;
class QLineEdit;
class QPushButton;

class frmRecode : public ToolWindow {
public:
    // folder: bytes, ending in "/", to start on (a document's folder); ""
    // leaves the choice to the user.
    explicit frmRecode(QWidget* owner, const std::string& folder = {});
    ~frmRecode() override;

    // The folder the tool works on, as the system names it.
    const std::string& Folder() const { return strDir; }

private:
    void SetFolder(std::string bytes, const QString& shown);
    std::optional<Quenlar::Codepage::Page> From() const;
    void cmdBrowse_Click();
    void cmdPreview_Click();
    void cmdRecode_Click();

    std::string strDir; // the chosen folder as the system names it, ending in "/"

    QLineEdit* txtDir;
    QPushButton* cmdBrowse;
    QComboBox* cboFrom;
    QPushButton* cmdPreview;
    QPushButton* cmdRecode;
};
