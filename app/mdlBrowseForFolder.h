#pragma once
// The folder picker of the batch tools.
#include <QString>
#include <functional>

class QWidget;

namespace mdlBrowseForFolder {

inline constexpr unsigned BIF_RETURNONLYFSDIRS = 1;

// Shows a modal folder chooser over hwndOwner with the prompt sPrompt and
// returns the chosen folder ending in "/" (the root "/" unchanged), or ""
// when the user cancelled.
QString BrowseForFolder(QWidget* hwndOwner, const QString& sPrompt, unsigned ulFlags);

// Tests replace the chooser: while set (a null chooser restores the real
// one), BrowseForFolder shows nothing and takes the chooser's answer, ""
// for cancel, normalised by the same trailing "/" rule.
using Chooser = std::function<QString(QWidget* owner, const QString& prompt, unsigned flags)>;
void SetChooserForTests(Chooser chooser);

} // namespace mdlBrowseForFolder
