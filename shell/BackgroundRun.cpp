// SPDX-License-Identifier: GPL-3.0-or-later
#include "BackgroundRun.h"

#include "FileNames.h"
#include "FormToolkit.h"
#include "MessageBoxes.h"
#include "Paths.h"
#include "QtText.h"
#include "frmProgress.h"

#include <QApplication>
#include <QEventLoop>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>

namespace Shell {

namespace {

constexpr int kShowAfterMs = 500; // a run shorter than this looks as it always did
constexpr int kRefreshMs = 100;   // the bar is repainted this often, not once per file

// What the run tells the window, and the user's word to stop.
struct RunState {
    std::atomic<bool> stop{false};
    std::atomic<bool> finished{false};
    std::mutex mutex; // guards the three below
    std::size_t done = 0, total = 0;
    std::string next;
    // GUI thread only: the window the run was started over, and the windows
    // whose close waits for its end.
    QPointer<QWidget> owner, frame;
    std::vector<QPointer<QWidget>> closeAfter;
};

// The runs working now, GUI thread only.
std::vector<RunState*> working;

// Registers a run for as long as it lives.
class Working {
public:
    explicit Working(RunState& state) : state_(state) { working.push_back(&state); }
    ~Working() { std::erase(working, &state_); }
    Working(const Working&) = delete;
    Working& operator=(const Working&) = delete;

private:
    RunState& state_;
};

// Runs loop until it is told to quit. While the application quits, every
// loop returns at once: then the run is stopped and the events are let
// through by hand until it has ended, since it may wait for an answer.
void Wait(QEventLoop& loop, QEventLoop::ProcessEventsFlags flags, RunState& state)
{
    if (loop.exec(flags) >= 0)
        return;
    state.stop = true;
    while (!state.finished) {
        QCoreApplication::processEvents(flags, 20);
        QThread::msleep(2);
    }
}

// Calls f on the thread that owns gui and waits for it; what f throws is
// thrown here.
void OnGuiThread(QObject* gui, const std::function<void()>& f)
{
    std::exception_ptr failure;
    QMetaObject::invokeMethod(
        gui,
        [&] {
            try {
                f();
            } catch (...) {
                failure = std::current_exception();
            }
        },
        Qt::BlockingQueuedConnection);
    if (failure)
        std::rethrow_exception(failure);
}

// The run's questions, asked from its thread and answered on the GUI thread.
class WorkerDialogs : public Core::UserDialogs {
public:
    WorkerDialogs(QObject* gui, std::function<WindowDialogs()> dialogs, RunState& state)
        : gui_(gui), dialogs_(std::move(dialogs)), state_(state)
    {
    }

    int MsgBox(const std::string& text, int style, const std::string& title) override
    {
        int answer = Core::vbCancel;
        OnGuiThread(gui_, [&] { answer = dialogs_().MsgBox(text, style, title); });
        return answer;
    }

    std::unique_ptr<Core::ValuePrompt> NewPrompt() override
    {
        std::unique_ptr<Core::ValuePrompt> prompt;
        OnGuiThread(gui_, [&] { prompt = dialogs_().NewPrompt(); });
        return std::make_unique<Prompt>(gui_, std::move(prompt));
    }

    bool Progress(std::size_t done, std::size_t total, const std::string& next) override
    {
        {
            const std::lock_guard<std::mutex> lock(state_.mutex);
            state_.done = done;
            state_.total = total;
            state_.next = next;
        }
        return !state_.stop;
    }

private:
    // A prompt made on the GUI thread, used and unloaded there.
    class Prompt : public Core::ValuePrompt {
    public:
        Prompt(QObject* gui, std::unique_ptr<Core::ValuePrompt> prompt) : gui_(gui), prompt_(std::move(prompt)) {}
        ~Prompt() override { OnGuiThread(gui_, [this] { prompt_.reset(); }); }
        std::string Ask(const std::string& path, const std::string& proposal) override
        {
            std::string answer;
            OnGuiThread(gui_, [&] { answer = prompt_->Ask(path, proposal); });
            return answer;
        }
        bool CancelPressed() const override
        {
            bool cancelled = true;
            OnGuiThread(gui_, [&] { cancelled = prompt_->CancelPressed(); });
            return cancelled;
        }

    private:
        QObject* gui_;
        std::unique_ptr<Core::ValuePrompt> prompt_;
    };

    QObject* gui_;
    std::function<WindowDialogs()> dialogs_;
    RunState& state_;
};

// The busy pointer over every other window while the progress window shows
// the normal one, so that "Стоп" can be clicked.
class BusyElsewhere {
public:
    explicit BusyElsewhere(const QWidget* except)
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != except && w->isVisible() && !w->testAttribute(Qt::WA_SetCursor)) {
                w->setCursor(Qt::WaitCursor);
                windows_.push_back(w);
            }
    }
    ~BusyElsewhere()
    {
        for (const QPointer<QWidget>& w : windows_)
            if (w)
                w->unsetCursor();
    }
    BusyElsewhere(const BusyElsewhere&) = delete;
    BusyElsewhere& operator=(const BusyElsewhere&) = delete;

private:
    std::vector<QPointer<QWidget>> windows_;
};

} // namespace

void RunInBackground(QWidget* ownerWidget, const QString& caption, std::unique_ptr<Core::BatchRun> run)
{
    const BusyPointer busyPointer;
    RunState state;
    state.owner = ownerWidget;
    state.frame = FrameOf(ownerWidget);
    const Working registered(state);
    QObject gui; // the worker's questions are delivered through it, on this thread
    QEventLoop loop;
    std::unique_ptr<frmProgress> progress;

    // Boxes go over the progress window once it shows, so that they come up
    // above it; prompts over the frame, as always.
    const auto dialogs = [&] {
        WindowDialogs d(progress && progress->isVisible() ? progress.get() : state.owner.data());
        d.StopFromPrompts([&] {
            const bool stop
                = WindowDialogs(nullptr).MsgBox("Остановить переименование файлов?" + std::string(Core::CR)
                                                    + Core::CR + "Этот файл и следующие переименованы не будут.",
                                                Core::vbYesNoQuestion)
                == Core::vbYes;
            if (stop)
                state.stop = true;
            return stop;
        });
        return d;
    };

    // The thread owns the run and all it holds: nothing of a window.
    std::exception_ptr failure;
    std::thread worker([&, job = std::move(run)] {
        WorkerDialogs asked(&gui, dialogs, state);
        try {
            job->Run(asked);
        } catch (...) {
            failure = std::current_exception();
        }
        state.finished = true;
        QMetaObject::invokeMethod(&gui, [&] { loop.quit(); }, Qt::QueuedConnection);
    });

    // The first moment: paint and answer the desktop, take no input, as a
    // run always did.
    QTimer::singleShot(kShowAfterMs, &gui, [&] { loop.quit(); });
    Wait(loop, QEventLoop::ExcludeUserInputEvents, state);

    if (!state.finished) {
        progress = std::make_unique<frmProgress>(state.frame.data(), caption, [&] { state.stop = true; });
        progress->setWindowModality(Qt::ApplicationModal);
        const auto refresh = [&] {
            const std::lock_guard<std::mutex> lock(state.mutex);
            progress->ShowProgress(static_cast<int>(state.total), static_cast<int>(state.done),
                                   Q(Core::Readable(Core::FileName(state.next))));
        };
        refresh();
        if (state.frame)
            progress->move(state.frame->geometry().center() - progress->rect().center());
        const NormalPointer normal;
        const BusyElsewhere busy(progress.get());
        progress->show();
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, &gui, refresh);
        timer.start(kRefreshMs);
        if (!state.finished)
            Wait(loop, QEventLoop::AllEvents, state);
        progress->hide();
    }
    worker.join();
    progress.reset();

    // Back to the window that started the run, where it had the focus: the
    // progress window and the boxes over it leave it elsewhere as they close.
    if (state.owner) {
        QWidget* window = state.owner->window();
        Form::GiveFocus(window->focusWidget() ? window->focusWidget() : window);
    }
    // The closes put off for this run go through now.
    for (const QPointer<QWidget>& window : state.closeAfter)
        if (window)
            QTimer::singleShot(0, window, [window] {
                if (window)
                    window->close();
            });
    if (failure)
        std::rethrow_exception(failure);
}

bool PutOffCloseForRun(QWidget* window)
{
    bool putOff = false;
    // A window owns the windows below it: a tool window closed while its
    // preview carries out a plan waits too, or it would take the preview
    // away under the run.
    const auto ownsOwner = [window](const RunState* state) {
        for (const QWidget* w = state->owner; w; w = w->parentWidget())
            if (w == window)
                return true;
        return false;
    };
    for (RunState* state : working) {
        if (!ownsOwner(state) && state->frame != window)
            continue;
        state->stop = true;
        if (std::find(state->closeAfter.begin(), state->closeAfter.end(), window) == state->closeAfter.end())
            state->closeAfter.emplace_back(window);
        putOff = true;
    }
    return putOff;
}

} // namespace Shell
