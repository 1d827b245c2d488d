// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The folder picker of the batch tools.
#include <QString>
#include <functional>
#include <string>

class QWidget;

namespace mdlBrowseForFolder {

inline constexpr unsigned BIF_RETURNONLYFSDIRS = 1;

// Shows a modal folder chooser over hwndOwner with the prompt sPrompt and
// returns the chosen folder ending in "/" (the root "/" unchanged), or ""
// when the user cancelled.
QString BrowseForFolder(QWidget* hwndOwner, const QString& sPrompt, unsigned ulFlags);

// The bytes of a folder the chooser returned, for the runs to work on. Qt
// shows a name that is not valid UTF-8 with U+FFFD, which names another
// folder or none: such a folder, or one that is gone, is reported over
// owner and gives "".
std::string FolderBytes(QWidget* owner, const QString& folder);

// Tests replace the chooser: while set (a null chooser restores the real
// one), BrowseForFolder shows nothing and takes the chooser's answer, ""
// for cancel, normalised by the same trailing "/" rule.
using Chooser = std::function<QString(QWidget* owner, const QString& prompt, unsigned flags)>;
void SetChooserForTests(Chooser chooser);

} // namespace mdlBrowseForFolder
