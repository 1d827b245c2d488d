// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Batch runs that keep the program answering: the run works on a thread of
// its own while this one goes on taking the desktop's events; its questions
// come to this thread as message boxes and prompts and the run waits for the
// answers. A run that lasts shows its progress and can be stopped.
#include "BatchRun.h"

#include <QString>
#include <memory>

class QWidget;

namespace Shell {

// Runs run, which owns all it uses, giving it questions answered over owner.
// Other windows take no input meanwhile and show the busy pointer. After
// about half a second a progress window titled caption shows over the frame,
// with "Стоп" (which the run sees through UserDialogs::Progress); a shorter
// run shows nothing of it. Returns when run has ended; what it throws is
// thrown here.
void RunInBackground(QWidget* owner, const QString& caption, std::unique_ptr<Core::BatchRun> run);

// For a window about to close: whether a run started over it, or over a
// window it owns (for the frame, any run), works now. Such a run is asked to
// stop between two files, as "Стоп" asks, and the window is closed again
// once the run has ended; the caller refuses this close meanwhile, so that
// nothing the run shows its questions over goes away under it.
bool PutOffCloseForRun(QWidget* window);

} // namespace Shell
