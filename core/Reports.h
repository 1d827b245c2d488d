// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reports on file-system failures that the runs and the document window
// share: each names the folder or file and gives the system's reason. And
// the warning before text loses characters to the tag's code page.
#include "UserDialogs.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace Core {

// The MP3 files of folder (Platform::ListMp3Files); when the folder cannot
// be listed, the user is told which folder and why, and there is no list.
std::optional<std::vector<std::string>> ListMp3FilesOrReport(const std::string& folder, UserDialogs& dialogs);

// The closing box of a run the user stopped: what was done, "N из M".
std::string StoppedText(const std::string& what, const std::string& counted, std::size_t changed,
                        std::size_t total);

// The files a run left out, for its closing box: the first 20 by name, as
// "Пропущены:" and a line "path — why" each, then how many more.
class SkippedFiles {
public:
    void Add(const std::string& path, const std::string& why);
    std::size_t Count() const { return count_; }
    // Two line breaks and the list; "" when nothing was skipped.
    std::string Text() const;

private:
    std::vector<std::string> lines_;
    std::size_t count_ = 0;
};

// The report on a file that is not there: "Файл path отсутствует" and then
// what follows from it (a full stop, or the rest of the sentence).
std::string MissingFileText(const std::string& path, const std::string& consequence = ".");

// The report on a read-only attribute that could not be set back after a
// write: the file stays writable.
std::string ReadOnlyNotRestoredText(const std::string& path, int errnum);

// Asks before characters that the tag's code page (Windows-1251) cannot hold
// are written into a tag, where they would be stored as "?": "where" starts
// the sentence that names each of them, question ends the box, No is the
// default. True when there are none or the user said Yes.
bool MayStoreAsQuestionMarks(UserDialogs& dialogs, const std::u32string& lost, const std::string& where,
                             const std::string& question);

// Writes a file that may be read-only (attributes as read before): such a
// file is written only after question() is answered Yes (made only then:
// a run asks about few of its files), with its attribute
// cleared for the write and put back before anything is reported, also
// when write throws; the failure then goes on to the caller. An attribute
// that cannot be put back is reported. False when the user said No.
bool WriteAskingAboutReadOnly(UserDialogs& dialogs, const std::string& path, std::int32_t attributes,
                              const std::function<std::string()>& question, const std::function<void()>& write);

} // namespace Core
