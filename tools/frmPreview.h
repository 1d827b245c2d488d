// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The preview of a batch tool: the plan of its run, one row per MP3 file of
// the folder, problems first; the user ticks the rows to carry out, types a
// new name where one is taken, and "Применить" carries out exactly the
// ticked rows as a run. Modal over the tool window.
#include "Plan.h"

#include <QDialog>
#include <functional>
#include <memory>
#include <vector>

class QLabel;
class QPushButton;
class QTableView;

namespace Quenlar {
class _TMP3Tag;
}

// One column of the plan beside "Файл" and "Состояние".
struct PreviewColumn {
    QString caption;
    // The cell's text for a row ("было → станет" for a changed field).
    std::function<QString(const Core::PlanRow&)> text;
    // A rename's new name: typed in the cell of a row whose name is taken.
    bool newName = false;
};

class frmPreview : public QDialog {
    Q_OBJECT
public:
    // caption: the tool's (the window is "<caption> — просмотр", Apply's
    // progress window the tool's own); makeTag makes the tag object the run
    // of Apply owns. The window deletes itself on close, and closes after
    // Apply, whatever its end.
    frmPreview(QWidget* owner, const QString& caption, std::shared_ptr<Core::Plan> plan,
               std::shared_ptr<Core::PlanJob> job, std::vector<PreviewColumn> columns,
               std::function<std::unique_ptr<Quenlar::_TMP3Tag>()> makeTag);
    ~frmPreview() override;

    // The columns of the fields a record job writes, by their captions
    // ("Название", "Исполнитель", ...): old and new value, "было → станет".
    enum class Field { Title, Artist, Album, Year, Genre, Comment };
    static std::vector<PreviewColumn> FieldColumns(const std::vector<std::pair<Field, QString>>& fields);
    // The column of a rename's new name.
    static PreviewColumn NewNameColumn();

    QTableView* lvwPlan;
    QLabel* lblSummary;
    QPushButton* cmdApply;
    QPushButton* cmdClose;

protected:
    // A close while Apply works waits for the run, as a tool window's does.
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    class Model;
    void UpdateSummary();
    void cmdApply_Click();

    std::shared_ptr<Core::Plan> plan_;
    std::shared_ptr<Core::PlanJob> job_;
    std::function<std::unique_ptr<Quenlar::_TMP3Tag>()> makeTag_;
    QString caption_; // the tool's, for Apply's progress window
    Model* model_;
};

// Makes the plan of job over folder on the run's thread, with progress and
// "Стоп" as a run, and shows it in a frmPreview, window-modal over owner,
// and returns. Nothing is shown when no plan was made (the user has been told
// why) or the planning was stopped.
void ShowPreview(QWidget* owner, const QString& caption, const std::string& folder,
                 std::shared_ptr<Core::PlanJob> job, std::vector<PreviewColumn> columns);
