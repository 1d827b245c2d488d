#pragma once
// Batch runs that keep the program answering: the run works on a thread of
// its own while this one goes on taking the desktop's events; its questions
// come to this thread as message boxes and prompts and the run waits for the
// answers. A run that lasts shows its progress and can be stopped.
#include "UserDialogs.h"

#include <QString>
#include <functional>

class QWidget;

namespace Shell {

// Runs run, giving it questions answered over owner. Other windows take no
// input meanwhile and show the busy pointer. After about half a second a progress window titled
// caption shows over the frame, with "Стоп" (which the run sees through
// UserDialogs::Progress); a shorter run shows nothing of it. Returns when
// run has returned; what run throws is thrown here.
void RunInBackground(QWidget* owner, const QString& caption, const std::function<void(Core::UserDialogs&)>& run);

} // namespace Shell
