// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The questions and reports that runs and decisions put to the user. The
// windows answer them with real message boxes and frmQuery; tests and
// benchmarks answer them with scripts.
#include <cstddef>
#include <memory>
#include <string>

namespace Core {

// Message-box styles in use, and the answers.
enum MsgStyle : int {
    vbCritical = 16,            // critical-error icon, OK
    vbExclamation = 48,         // exclamation icon, OK
    vbInformation = 64,         // information icon, OK
    vbYesNoQuestion = 36,       // question icon, Yes and No
    vbYesNoCancelQuestion = 35, // question icon, Yes, No and Cancel
    vbYesNoWarning = 52,        // exclamation icon, Yes and No
    vbDefaultButton2 = 256,     // added to a style: the second button is the default, not the first
};
enum MsgResult : int { vbOK = 1, vbCancel = 2, vbYes = 6, vbNo = 7 };

inline constexpr char AppTitle[] = "Morvik";
inline constexpr char CR[] = "\r"; // line break inside message texts

// One value prompt (frmQuery), loaded for one file and unloaded with it.
class ValuePrompt {
public:
    virtual ~ValuePrompt() = default;
    // Shows path and the proposed target (all of it selected), waits for the
    // answer and returns QueryResult: the confirmed text, or "" after Cancel.
    virtual std::string Ask(const std::string& path, const std::string& proposal) = 0;
    virtual bool CancelPressed() const = 0;
};

class UserDialogs {
public:
    virtual ~UserDialogs() = default;
    // Shows a message box; returns one of MsgResult.
    virtual int MsgBox(const std::string& text, int style, const std::string& title = AppTitle) = 0;
    // Creates and loads a new, hidden value prompt.
    virtual std::unique_ptr<ValuePrompt> NewPrompt() = 0;
    // A batch run tells before each file how many of its total files it has
    // handled and which one comes next. False asks it to stop there, between
    // two files; that is the only place a run stops at the user's word.
    virtual bool Progress(std::size_t /*done*/, std::size_t /*total*/, const std::string& /*next*/) { return true; }
};

} // namespace Core
