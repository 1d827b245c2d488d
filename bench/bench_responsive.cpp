// SPDX-License-Identifier: GPL-3.0-or-later
// How the program answers during long batch runs: the real tool windows run
// over a folder where every read and write takes 2 ms (as on a slow USB
// stick), and a 10 ms timer on the GUI thread measures the longest gap
// between two looks at the event queue. Prints when the progress window
// showed, how long "Стоп" took to end the run, and the closing message; and
// the cost of the threaded runner per file on a fast disk. Never fails on
// time.
#include "BackgroundRun.h"
#include "BenchSupport.h"
#include "FillRun.h"
#include "HookedTag.h"
#include "ScriptedDialogs.h"
#include "TagObjects.h"
#include "WindowTagObjects.h"
#include "frmMain.h"
#include "frmRename.h"
#include "mdlBrowseForFolder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <thread>

namespace {

struct Watch {
    qint64 longestGap = 0, shownAt = -1, stopAt = -1, endedAt = -1;
    int maximum = -1;
    QString closing;
};

// Runs one tool window's run (clicking its button) and watches it: stops
// the run stopAfterMs after it started.
Watch Drive(QWidget* window, QPushButton* start, qint64 stopAfterMs)
{
    Watch watch;
    QElapsedTimer clock;
    qint64 last = 0;
    QTimer ticks;
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        watch.longestGap = std::max(watch.longestGap, now - last);
        last = now;
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            watch.closing = box->text();
            watch.endedAt = now;
            box->buttons().first()->click();
            return;
        }
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->objectName() != "frmProgress" || !w->isVisible())
                continue;
            if (watch.shownAt < 0) {
                watch.shownAt = now;
                watch.maximum = w->findChild<QProgressBar*>("prgFiles")->maximum();
            }
            if (watch.stopAt < 0 && now >= stopAfterMs) {
                watch.stopAt = now;
                w->findChild<QPushButton*>("cmdStop")->click();
            }
        }
    });
    QTimer::singleShot(0, window, [&] {
        clock.start();
        ticks.start(10);
        start->click();
    });
    QEventLoop loop;
    QObject::connect(&ticks, &QTimer::timeout, &loop, [&] {
        if (!watch.closing.isEmpty() && !QApplication::activeModalWidget())
            loop.quit();
    });
    loop.exec();
    return watch;
}

void Print(const char* job, std::size_t files, const Watch& w)
{
    std::printf("%s over %zu files (2 ms per read and write)\n", job, files);
    std::printf("  longest gap between two looks at the event queue  %lld ms (target <= 250)\n",
                static_cast<long long>(w.longestGap));
    std::printf("  progress window shown after %lld ms (target <= 1500), maximum %d\n",
                static_cast<long long>(w.shownAt), w.maximum);
    std::printf("  Стоп pressed at %lld ms, run ended %lld ms later (target <= 1000)\n",
                static_cast<long long>(w.stopAt), static_cast<long long>(w.endedAt - w.stopAt));
    std::printf("  closing message: %s\n", w.closing.toUtf8().constData());
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    constexpr std::size_t kSlowFiles = 2000;
    const auto slow = std::chrono::milliseconds(2);

    bench::BenchFolder folder(kSlowFiles);
    // The windows keep their run journal there, not in the home of whoever
    // runs this: hidden, the runs leave it out, and it goes with the folder.
    qputenv("XDG_STATE_HOME", QByteArray::fromStdString(folder.Path() + ".state"));
    mdlBrowseForFolder::SetChooserForTests(
        [&](QWidget*, const QString&, unsigned) { return QString::fromStdString(folder.Path()); });
    Shell::SetTagObjectFactoryForTests([slow]() -> std::unique_ptr<Quenlar::_TMP3Tag> {
        auto tag = std::make_unique<testing_support::HookedTag>();
        tag->beforeRead = [slow](const std::string&) { std::this_thread::sleep_for(slow); };
        tag->beforeWrite = [slow](const std::string&) { std::this_thread::sleep_for(slow); };
        return tag;
    });
    {
        frmMain fill(nullptr);
        fill.show();
        fill.findChild<QPushButton*>("cmdBrowse")->click();
        fill.findChild<QLineEdit*>("tTitle")->setText("%0");
        Print("fill run", kSlowFiles, Drive(&fill, fill.findChild<QPushButton*>("cmdFill"), 3000));
    }
    {
        frmRename rename(nullptr);
        rename.show();
        rename.findChild<QPushButton*>("cmdBrowse")->click();
        rename.findChild<QLineEdit*>("txtFilenameNew")->setText("%2 - %1");
        Print("rename run", kSlowFiles, Drive(&rename, rename.findChild<QPushButton*>("cmdRename"), 2000));
    }
    Shell::SetTagObjectFactoryForTests(nullptr);

    // The runner's own cost: the same fill run straight and through it, on a
    // fast disk, with the closing box answered by a script either way.
    const std::size_t count = bench::FileCount(argc, argv);
    bench::BenchFolder fast(count);
    auto tag = Core::NewTagObject();
    Core::FillSettings settings;
    settings.Title = {true, "%0"};
    testing_support::ScriptedDialogs script;
    QWidget owner;
    const auto figures = bench::MicrosPerItem(
        count, 5,
        [&] {
            // Questions are the script's; progress goes through the runner.
            struct Job : Core::BatchRun {
                const std::string& folder;
                const Core::FillSettings& settings;
                Quenlar::_TMP3Tag& tag;
                Job(const std::string& f, const Core::FillSettings& s, Quenlar::_TMP3Tag& t)
                    : folder(f), settings(s), tag(t)
                {
                }
                void Run(Core::UserDialogs& asked) override
                {
                    struct Mixed : testing_support::ScriptedDialogs {
                        Core::UserDialogs& runner;
                        explicit Mixed(Core::UserDialogs& r) : runner(r) {}
                        bool Progress(std::size_t d, std::size_t t, const std::string& n) override
                        {
                            return runner.Progress(d, t, n);
                        }
                    } dialogs(asked);
                    Core::RunFill(folder, settings, tag, dialogs);
                }
            };
            Shell::RunInBackground(&owner, "bench", std::make_unique<Job>(fast.Path(), settings, *tag));
        },
        [&] { Core::RunFill(fast.Path(), settings, *tag, script); });
    std::printf("%zu files on a fast disk, best of 5 rounds\n", count);
    std::printf("the floor here is the same fill run straight, with no runner\n");
    bench::Report("fill, runner", figures, 1.05);
    return 0;
}
