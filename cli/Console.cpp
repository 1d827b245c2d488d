// SPDX-License-Identifier: GPL-3.0-or-later
#include "Console.h"

#include "FileNames.h"

#include <cstdio>
#include <iostream>

namespace Cli {

namespace {

class NoPrompt final : public Core::ValuePrompt {
public:
    std::string Ask(const std::string& path, const std::string& proposal) override
    {
        std::cerr << Shown("Вопрос о новом имени для " + path + " (" + proposal + ") — отменён") << "\n";
        return {};
    }
    bool CancelPressed() const override { return true; }
};

} // namespace

int ConsoleDialogs::MsgBox(const std::string& text, int style, const std::string&)
{
    const int buttons = style & 7;
    const int icon = style & 0x70;
    if (buttons == 0) {
        if (icon == Core::vbInformation && holdInformation) {
            held.push_back(Shown(text));
            return Core::vbOK;
        }
        if (icon == Core::vbCritical || icon == Core::vbExclamation)
            failed = true;
        std::cerr << Shown(text) << "\n";
        return Core::vbOK;
    }
    const bool yes = yesToQuestions && buttons == 4;
    std::cerr << Shown(text) << "\n" << (yes ? "— ответ: да (--force)" : "— ответ: нет") << "\n";
    if (yes)
        return Core::vbYes;
    return buttons == 3 ? Core::vbCancel : Core::vbNo;
}

std::unique_ptr<Core::ValuePrompt> ConsoleDialogs::NewPrompt()
{
    return std::make_unique<NoPrompt>();
}

namespace {

// Readable text with control characters written out; breaks: the engine's
// line breaks (CR) become newlines and newlines stay, for a message.
std::string Escaped(const std::string& bytes, bool breaks, bool tsv)
{
    const std::string readable = Core::Readable(bytes);
    std::string out;
    out.reserve(readable.size());
    char hex[8];
    for (std::size_t i = 0; i < readable.size(); ++i) {
        const char c = readable[i];
        const auto u = static_cast<unsigned char>(c);
        // U+0080 to U+009F: C1 controls, which some terminals obey.
        if (u == 0xC2 && i + 1 < readable.size() && static_cast<unsigned char>(readable[i + 1]) < 0xA0) {
            std::snprintf(hex, sizeof hex, "\\u%04X", static_cast<unsigned char>(readable[++i]));
            out += hex;
        } else if (breaks && (c == '\r' || c == '\n'))
            out += '\n';
        else if (c == '\t')
            out += breaks ? "\t" : "\\t";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\\' && tsv)
            out += "\\\\";
        else if (u < 0x20 || u == 0x7f) {
            std::snprintf(hex, sizeof hex, "\\x%02X", u);
            out += hex;
        } else
            out += c;
    }
    return out;
}

} // namespace

std::string Shown(const std::string& text)
{
    return Escaped(text, true, false);
}

std::string OneLine(const std::string& bytes, bool tsv)
{
    return Escaped(bytes, false, tsv);
}

std::string Json(const std::string& bytes)
{
    const std::string readable = Core::Readable(bytes);
    std::string out = "\"";
    for (const char c : readable) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n')
            out += "\\n";
        else if (c == '\t')
            out += "\\t";
        else if (u < 0x20 || u == 0x7f) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\u%04x", u);
            out += hex;
        } else
            out += c;
    }
    return out + "\"";
}

bool ParseFormat(const std::string& word, Format& format)
{
    if (word == "text")
        format = Format::Text;
    else if (word == "tsv")
        format = Format::Tsv;
    else if (word == "json")
        format = Format::Json;
    else
        return false;
    return true;
}

} // namespace Cli
