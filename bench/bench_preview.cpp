// SPDX-License-Identifier: GPL-3.0-or-later
// How long the preview of a large folder takes to open with its rows, beside
// a fill run's reading of the same files, and how the list scrolls: the real
// fill tool's "Просмотр..." over a generated folder (plan, model and view
// shown, offscreen), and a plan of a million rows made in memory. Prints
// figures; never fails on time.
#include "Application.h"
#include "BenchSupport.h"
#include "FillRun.h"
#include "PlanJobs.h"
#include "ScriptedDialogs.h"
#include "TagObjects.h"
#include "frmMain.h"
#include "frmPreview.h"
#include "mdlBrowseForFolder.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <algorithm>
#include <cstdio>

namespace {

double Ms(const QElapsedTimer& clock)
{
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

// The fastest of rounds runs of job, in milliseconds.
double BestMs(int rounds, const std::function<void()>& job)
{
    double best = 1e300;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer clock;
        clock.start();
        job();
        best = std::min(best, Ms(clock));
    }
    return best;
}

// Paints the rows the list shows now, as the screen would.
void Paint(frmPreview* preview)
{
    preview->lvwPlan->viewport()->repaint();
    QCoreApplication::processEvents();
}

// Scrolls the list from top to bottom in steps, painting each: the whole
// time and the longest single step (a pause the user would see).
void Scroll(frmPreview* preview, const char* what)
{
    QScrollBar* bar = preview->lvwPlan->verticalScrollBar();
    constexpr int kSteps = 2000;
    double longest = 0;
    QElapsedTimer whole;
    whole.start();
    for (int i = 0; i <= kSteps; ++i) {
        QElapsedTimer step;
        step.start();
        bar->setValue(static_cast<int>(static_cast<long long>(bar->maximum()) * i / kSteps));
        Paint(preview);
        longest = std::max(longest, Ms(step));
    }
    const double total = Ms(whole);
    // Page by page, as PageDown does, over the first thousand pages.
    QElapsedTimer pages;
    pages.start();
    bar->setValue(0);
    double longestPage = 0;
    for (int i = 0; i < 1000 && bar->value() < bar->maximum(); ++i) {
        QElapsedTimer step;
        step.start();
        bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
        Paint(preview);
        longestPage = std::max(longestPage, Ms(step));
    }
    std::printf("  scrolling %s: %d jumps top to bottom %.0f ms (%.2f ms each, longest %.2f ms); "
                "1000 pages down %.0f ms (longest %.2f ms)\n",
                what, kSteps, total, total / (kSteps + 1), longest, Ms(pages), longestPage);
}

// A plan of n rows made in memory, as a fill of the title makes it: every
// row changes, its record and snapshot set.
std::shared_ptr<Core::Plan> MemoryPlan(std::size_t n, bool names)
{
    auto plan = std::make_shared<Core::Plan>();
    plan->folder = "/nowhere/";
    plan->rows.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        Core::PlanRow& row = plan->rows[i];
        const std::string number = std::to_string(i);
        row.path = plan->folder + "track" + number + ".mp3";
        row.state = i % 50 == 0 ? Core::RowState::ReadOnly : Core::RowState::Change;
        row.ticked = row.state == Core::RowState::Change;
        row.seen.last = {'T', 'A', 'G'};
        bench::PutField(row.seen.last, 3, 30, "Title " + number);
        row.record = row.seen.last;
        bench::PutField(row.record, 3, 30, "track" + number);
        if (names) {
            row.target = plan->folder + "Artist " + number + " - Title " + number + ".mp3";
            row.moves = row.wanted = true;
        }
    }
    return plan;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Shell::InstallResources(app);
    const std::size_t count = bench::FileCount(argc, argv, 100000);
    constexpr int kRounds = 3;
    bench::BenchFolder folder(count);
    // The journal of any run stays in the folder, hidden from the listings.
    qputenv("XDG_STATE_HOME", QByteArray::fromStdString(folder.Path() + ".state"));
    std::printf("%zu files in %s, best of %d rounds\n", count, folder.Path().c_str(), kRounds);

    // The fill run's reading: every field unticked, no journal.
    auto tag = Core::NewTagObject();
    testing_support::ScriptedDialogs dialogs;
    const double reading = BestMs(kRounds, [&] { Core::RunFill(folder.Path(), Core::FillSettings{}, *tag, dialogs); });

    // The bare reading of every record (open, fstat, pread 128, close).
    std::size_t checksum = 0;
    const double floor = BestMs(kRounds, [&] { checksum += bench::FloorReadAll(folder.Paths()); });

    // The plan alone: the title from "%0", the other fields unticked.
    Core::FillSettings settings;
    settings.Title = {true, "%0"};
    const auto job = Core::NewFillPlanJob(settings);
    const double planning = BestMs(kRounds, [&] { Core::MakePlan(dialogs, folder.Path(), *job, *tag); });

    // The whole, as the user has it: "Просмотр..." pressed until the
    // preview shows its first rows.
    mdlBrowseForFolder::SetChooserForTests(
        [&](QWidget*, const QString&, unsigned) { return QString::fromStdString(folder.Path()); });
    frmMain fill(nullptr);
    fill.show();
    fill.findChild<QPushButton*>("cmdBrowse")->click();
    fill.findChild<QLineEdit*>("tTitle")->setText("%0");
    for (const char* box : {"chArtist", "chAlbum", "chYear", "chGenre", "chComment"})
        fill.findChild<QCheckBox*>(box)->setChecked(false);
    frmPreview* preview = nullptr;
    const double whole = BestMs(kRounds, [&] {
        if (preview)
            delete preview;
        fill.findChild<QPushButton*>("cmdPreview")->click();
        preview = fill.findChild<frmPreview*>();
        if (preview)
            Paint(preview);
    });
    if (!preview) {
        std::printf("error: no preview opened\n");
        return 1;
    }
    const double perFile = 1000.0 / static_cast<double>(count);
    std::printf("  reading every record, the floor (checksum %zu)\n", checksum % 10);
    std::printf("                                             %8.0f ms  %6.2f µs per file\n", floor, floor * perFile);
    std::printf("  fill run's reading (every field unticked;  %8.0f ms  %6.2f µs per file\n", reading,
                reading * perFile);
    std::printf("    it writes each record back unchanged, as the run always does)\n");
    std::printf("  plan alone (MakePlan, title from %%0)       %8.0f ms  %6.2f µs per file\n", planning,
                planning * perFile);
    std::printf("  preview opened with its rows (the whole)   %8.0f ms  %6.2f µs per file\n", whole, whole * perFile);
    std::printf("  whole / fill run's reading %.2f (target <= 2.00), whole / plan alone %.2f, whole / floor %.2f;\n"
                "  the window's own part %.0f ms\n",
                whole / reading, whole / planning, whole / floor, whole - planning);
    Scroll(preview, "the folder's preview");
    delete preview;

    // A million rows: the plan made in memory, the window opened over it.
    constexpr std::size_t kMillion = 1000000;
    for (const bool names : {false, true}) {
        const auto plan = MemoryPlan(kMillion, names);
        const std::shared_ptr<Core::PlanJob> planJob
            = names ? Core::NewRenamePlanJob("%1") : Core::NewFillPlanJob(settings);
        std::vector<PreviewColumn> columns
            = names ? std::vector<PreviewColumn>{frmPreview::NewNameColumn()}
                    : frmPreview::FieldColumns({{frmPreview::Field::Title, QStringLiteral("Название")}});
        QElapsedTimer clock;
        clock.start();
        auto* big = new frmPreview(&fill, "bench", plan, planJob, std::move(columns), [] { return Core::NewTagObject(); });
        big->show();
        Paint(big);
        const double opened = Ms(clock);
        std::printf("%s plan of %zu rows in memory\n", names ? "a rename" : "a fill", kMillion);
        std::printf("  window opened with its rows %.0f ms\n", opened);
        Scroll(big, "a million rows");
        // A tick: the plan settles again (a rename's names), the list and the counts follow.
        const QModelIndex first = big->lvwPlan->model()->index(kMillion / 2, 0);
        clock.restart();
        big->lvwPlan->model()->setData(first, Qt::Unchecked, Qt::CheckStateRole);
        Paint(big);
        std::printf("  a tick, with the counts and the list again %.0f ms\n", Ms(clock));
        delete big;
    }
    return 0;
}
