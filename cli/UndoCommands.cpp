// SPDX-License-Identifier: GPL-3.0-or-later
// undo and journal: the one journal the windows write too.
#include "Commands.h"

#include "Args.h"
#include "Console.h"
#include "FileSystem.h"
#include "JournalReader.h"
#include "TakeBack.h"

#include <iostream>

namespace Cli {

namespace {

const char kUndoHelp[] = "morvik-cli undo [--force]\n"
                         "Отменяет последнюю операцию — программы или morvik-cli: возвращает прежние теги и имена.\n"
                         "Файл, изменённый после операции, не трогается.\n"
                         "  --force  возвращать и файлы только для чтения (без него они остаются в журнале)\n";

const char kJournalHelp[] = "morvik-cli journal [--format text|tsv]\n"
                            "Показывает, что изменили последние операции, от новой к старой, по строке на файл.\n";

} // namespace

int Undo(const Args& args)
{
    std::string error;
    const auto parsed = Parse(args, {{"force", 0, false}}, error);
    if (!parsed)
        return UsageError("undo", error);
    if (parsed->help) {
        std::cout << kUndoHelp;
        return kDone;
    }
    if (!parsed->positional.empty())
        return UsageError("undo", "лишний аргумент " + parsed->positional[0]);
    ConsoleDialogs dialogs;
    dialogs.yesToQuestions = parsed->Has("force");
    dialogs.holdInformation = true;
    Core::TakeBackReport report;
    const Core::TakeBackEnd end = Core::TakeBackLastRun(dialogs, "", &report);
    if (end != Core::TakeBackEnd::Done) {
        for (const std::string& text : dialogs.held)
            std::cerr << text << '\n';
        return kLeft;
    }
    for (const auto& [path, why] : report.left)
        std::cerr << "Не возвращён: " << OneLine(path) << " — " << OneLine(why) << '\n';
    std::cout << "Возвращено файлов: " << report.back << (report.left.empty() ? "" : ", оставлено: ")
              << (report.left.empty() ? std::string() : std::to_string(report.left.size())) << ".\n";
    return report.left.empty() && !dialogs.failed ? kDone : kLeft;
}

int Journal(const Args& args)
{
    std::string error;
    const auto parsed = Parse(args, {{"format", 0, true}}, error);
    if (!parsed)
        return UsageError("journal", error);
    if (parsed->help) {
        std::cout << kJournalHelp;
        return kDone;
    }
    Format format = Format::Text;
    if (const auto word = parsed->Value("format"); word && (!ParseFormat(*word, format) || format == Format::Json))
        return UsageError("journal", "неизвестный формат " + *word + " (text или tsv)");
    if (!parsed->positional.empty())
        return UsageError("journal", "лишний аргумент " + parsed->positional[0]);
    const std::vector<std::string> journals = Core::Journals(Core::JournalFolder());
    if (journals.empty()) {
        std::cerr << "Нет операции, которую можно отменить.\n";
        return kDone;
    }
    bool failed = false;
    for (std::size_t run = 0; run < journals.size(); ++run) {
        Core::JournalIndex index(journals[run]);
        if (index.State() != Core::JournalIndex::Read) {
            std::cerr << Shown("Не удалось прочитать журнал " + journals[run]) << ": "
                      << (index.State() == Core::JournalIndex::Unreadable ? Core::Platform::ErrorText(index.Error())
                          : index.State() == Core::JournalIndex::OtherFormat ? "другой формат"
                                                                              : "журнал повреждён")
                      << '\n';
            failed = true;
            continue;
        }
        if (format == Format::Text)
            std::cout << (run ? "\n" : "") << "Операция " << run + 1 << (run ? "" : " (последняя, отменяется первой)")
                      << ":\n";
        Core::JournalEntry entry;
        for (std::size_t i = 0; i < index.Count(); ++i) {
            if (!index.Entry(i, entry)) {
                std::cerr << Shown("Не удалось прочитать журнал " + journals[run]) << ": "
                          << Core::Platform::ErrorText(index.Error()) << '\n';
                failed = true;
                break;
            }
            const bool rename = entry.kind == Core::JournalEntry::Rename;
            if (format == Format::Tsv)
                std::cout << run + 1 << '\t' << (rename ? "rename" : "tag") << '\t' << OneLine(entry.path, true)
                          << '\t' << (rename ? OneLine(entry.target, true) : std::string()) << '\n';
            else if (rename)
                std::cout << "  имя: " << OneLine(entry.path) << " → " << OneLine(entry.target) << '\n';
            else
                std::cout << "  тег: " << OneLine(entry.path) << '\n';
        }
    }
    return failed ? kLeft : kDone;
}

} // namespace Cli
