// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The fill-tags tool: fills chosen tag fields of every MP3 file of a folder
// from field templates. Modeless over the frame; deletes itself on close.
#include "TemplateExpansion.h"
#include "ToolWindow.h"

#include <memory>
#include <string>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

class frmMain : public ToolWindow {
public:
    explicit frmMain(QWidget* owner);
    ~frmMain() override;

    // Enables or disables a field, white when enabled, grey when not (on a
    // dark desktop the palette's field and window colours).
    void SetStatus(QWidget* objObject, bool blStatus);

private:
    // Places a field row (check box, label, field) named by suffix and
    // returns its check box.
    QCheckBox* AddRow(const char* suffix, const QString& caption, QWidget* field, int y, int width);
    void FillGenres();
    void lblPaste_Click(int Index);
    void cmdBrowse_Click();
    void cmdFill_Click();
    void cmdPreview_Click();
    Core::FillSettings Settings() const;

    std::string strFolder; // the chosen folder, ending in "/" once set
    std::unique_ptr<Quenlar::_TMP3Tag> objTag;

    QLineEdit* tPath;
    QPushButton* cmdBrowse;
    QCheckBox *chTitle, *chArtist, *chAlbum, *chYear, *chGenre, *chComment;
    QLineEdit *tTitle, *tArtist, *tAlbum, *tYear, *tComment;
    QComboBox* tGenre;
    QPushButton* cmdFill;
    QPushButton* cmdPreview;
};
