// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The progress window of a long batch run: how many of the run's files are
// done, the file at hand, and "Стоп". Escape and the close box stop too.
#include <QDialog>
#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;

class frmProgress : public QDialog {
    Q_OBJECT
public:
    // A window over owner, titled with the tool's caption and " — выполняется"; onStop is called
    // once, at the user's first word to stop.
    frmProgress(QWidget* owner, const QString& caption, std::function<void()> onStop);

    // total files, done of them, and the name of the file at hand.
    void ShowProgress(int total, int done, const QString& fileName);

    QLabel* lblFile;
    QProgressBar* prgFiles;
    QPushButton* cmdStop;

    // Escape and the close box: "Стоп"; the window stays until the run ends.
    void reject() override;

private:
    std::function<void()> onStop_;
};
