// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the command line says and how: the answers it gives the engine's
// questions (never waiting for anyone), and texts made safe for one line of
// text, TSV or JSON.
#include "UserDialogs.h"

#include <string>
#include <vector>

namespace Cli {

// Prints every message on standard error and answers each question No (or
// Cancel): a run from a shell never waits for a keyboard. An information box
// can be held instead, for a command that tells the outcome its own way.
class ConsoleDialogs final : public Core::UserDialogs {
public:
    int MsgBox(const std::string& text, int style, const std::string& title) override;
    std::unique_ptr<Core::ValuePrompt> NewPrompt() override;

    bool yesToQuestions = false; // undo --force: the read-only question is answered Yes
    bool holdInformation = false;
    std::vector<std::string> held; // the information boxes held, as readable text
    bool failed = false;           // an error or a warning was shown
};

// A message as the terminal shows it: the engine's line breaks as newlines,
// file names as the tools show them, other control characters written out
// as OneLine writes them, so that no name can steer the terminal.
std::string Shown(const std::string& text);

// One field of a line: readable, with tabs, line breaks and other control
// characters written as \t, \n, \xHH (\u0080 to \u009F for C1 ones), so
// that one file stays one line (backslashes doubled too for TSV, where a
// script reads the escapes back).
std::string OneLine(const std::string& bytes, bool tsv = false);

// A JSON string literal of readable text.
std::string Json(const std::string& bytes);

enum class Format { Text, Tsv, Json };
// "text", "tsv", "json"; false for anything else.
bool ParseFormat(const std::string& word, Format& format);

} // namespace Cli
