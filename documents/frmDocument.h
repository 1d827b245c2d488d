// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The document window: the tag of one MP3 file, edited, saved, re-read and
// renamed after a name template. It lives in a QMdiSubWindow of the frame,
// which finds it by its property "Tag" == "CHILD".
#include "TagDocument.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMdiArea;
class QPushButton;

class frmDocument : public QWidget {
    Q_OBJECT
public:
    explicit frmDocument(QWidget* parent = nullptr);
    ~frmDocument() override;

    // Fills the window from the tag of strFilepath, with strFiletitle as its
    // caption; both are bytes as the system names the file, shown readably.
    // A read error is reported; the window is then not Loaded() and the
    // caller throws it away instead of showing it.
    void SetDefaults(const std::string& strFilepath, const std::string& strFiletitle);
    bool Loaded() const { return loaded_; }
    // The file the window works on, as the system names it.
    const std::string& FilePath() const { return strFilepath_; }

    // Opens a file in a new window in a new sub-window of area and shows it;
    // nullptr when its tag could not be read (reported, nothing left open).
    static frmDocument* Open(QMdiArea* area, const std::string& strFilepath, const std::string& strFiletitle);
    // Opens each file in its own window, in order; a file that is not there
    // is reported over owner and skipped. The one road of the open dialog,
    // the command line and files dropped on the frame.
    static void OpenFiles(QMdiArea* area, const std::vector<std::string>& paths, QWidget* owner);

    QLineEdit* txtFilename;
    QLineEdit* txtTitle;
    QLineEdit* txtArtist;
    QLineEdit* txtAlbum;
    QLineEdit* txtYear;
    QComboBox* txtGenre;
    QLineEdit* txtComment;
    QCheckBox* chkAdv;
    QPushButton* cmdRefresh;
    QPushButton* cmdChange;
    QLineEdit* txtFilenameNew;
    QLabel* lblPress[6]; // indices 1 to 5, as the placeholders they insert
    QPushButton* cmdRename;
    // Under the fields, only for a tag whose text looks written in KOI8-R or
    // CP866: says so, and its link opens the recode tool on the file's folder.
    QLabel* lblCodepage;

    // Outer heights of the sub-window, frame and title bar included.
    static constexpr int CollapsedHeight = 272;
    static constexpr int ExpandedHeight = 437;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    // Return, Enter or Space on lblCodepage follows its link; a box shows its focus.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildFields();
    void BuildRenameArea();
    void BuildCodepageLabel();
    // Shows lblCodepage, with the room it takes, as the guess for the tag
    // read or written last asks, or hides it and gives the room back.
    void ShowCodepage();
    void lblCodepage_Click();
    void Edited();
    void MarkChanged();
    void MarkSaved();
    void SetCaption(const QString& caption);
    void chkAdv_Click();
    void ApplyOuterHeight();
    void txtFilenameNew_Change();
    void lblPress_Click(int index);
    Core::TagDocument::Outcome cmdChange_Click();
    void cmdRefresh_Click();
    void cmdRename_Click();

    Core::TagFields Fields() const;
    void ShowFields(const Core::TagFields& fields);
    void MissingFile();

    Core::TagDocument doc_;
    std::string strFilepath_; // the file's bytes; txtFilename only shows them
    bool blSaved = false;
    bool loaded_ = false;
    bool closing_ = false; // inside closeEvent: a missing file must not close again
    bool codepageRow_ = false; // lblCodepage is shown, the controls below it moved down
};
