#pragma once
// The batch rename run: renames every MP3 file of a folder after its own tag
// by a name template ("%1" title to "%5" genre name), asking for another name
// while a target is taken and reporting each file it cannot handle.
#include "UserDialogs.h"
#include "TMP3Tag.h"

#include <string>

namespace Core {

// strFolder ends in "/"; strTemplate is used exactly as typed. A folder that
// cannot be listed is reported and the run ends there, with no closing box.
void RunRename(const std::string& strFolder, const std::string& strTemplate, Quenlar::_TMP3Tag& objTag,
               UserDialogs& dialogs);

} // namespace Core
