#pragma once
// Reports on file-system failures that the runs and the document window
// share: each names the folder or file and gives the system's reason.
#include "UserDialogs.h"

#include <optional>
#include <string>
#include <vector>

namespace mdlMain {

// The MP3 files of folder (Platform::ListMp3Files); when the folder cannot
// be listed, the user is told which folder and why, and there is no list.
std::optional<std::vector<std::string>> ListMp3FilesOrReport(const std::string& folder, UserDialogs& dialogs);

// The report on a read-only attribute that could not be set back after a
// write: the file stays writable.
std::string ReadOnlyNotRestoredText(const std::string& path, int errnum);

} // namespace mdlMain
