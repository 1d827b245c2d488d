// SPDX-License-Identifier: GPL-3.0-or-later
#include "PlanCommand.h"

#include "ApplyPlan.h"
#include "Journal.h"
#include "FieldValues.h"
#include "TMP3Tag.h"

#include <iostream>

namespace Cli {

std::vector<OptionSpec> PlanOptionSpecs()
{
    return {{"apply", 0, false}, {"force", 0, false}, {"allow-question-marks", 0, false}, {"format", 0, true}};
}

const char kPlanOptionsHelp[] = "  --apply                 выполнить план (без него ничего не меняется)\n"
                                "  --force                 менять и файлы только для чтения\n"
                                "  --allow-question-marks  сохранять символы не из Windows-1251 как «?»\n"
                                "  --format text|tsv|json  вид вывода (text)\n";

bool ReadPlanOptions(const Arguments& args, PlanOptions& options, std::string& error)
{
    options.apply = args.Has("apply");
    options.force = args.Has("force");
    options.questionMarks = args.Has("allow-question-marks");
    if (const auto format = args.Value("format"); format && !ParseFormat(*format, options.format)) {
        error = "неизвестный формат " + *format + " (text, tsv или json)";
        return false;
    }
    return true;
}

// Parses args with the plan options added; nothing after a usage error
// (reported: status set) or --help (shown: status kDone).
std::optional<std::pair<Arguments, PlanOptions>> PreparePlanCommand(const std::string& command, const std::vector<std::string>& args,
                                                         std::vector<OptionSpec> specs, const char* help,
                                                         int& status)
{
    for (OptionSpec& rule : PlanOptionSpecs())
        specs.push_back(std::move(rule));
    std::string error;
    const auto parsed = Parse(args, specs, error);
    if (!parsed) {
        status = UsageError(command, error);
        return std::nullopt;
    }
    if (parsed->help) {
        std::cout << help << kPlanOptionsHelp;
        status = kDone;
        return std::nullopt;
    }
    PlanOptions options;
    if (!ReadPlanOptions(*parsed, options, error)) {
        status = UsageError(command, error);
        return std::nullopt;
    }
    for (const auto& [name, value] : parsed->values)
        if (!Utf8Argument(value, "--" + name, error)) {
            status = UsageError(command, error);
            return std::nullopt;
        }
    return std::make_pair(*parsed, options);
}

namespace {

// The consent the options give: a row the preview would leave unticked
// until the user ticks it.
void TickAsAllowed(Core::Plan& plan, const PlanOptions& options)
{
    for (std::size_t i = 0; i < plan.rows.size(); ++i) {
        const Core::PlanRow& row = plan.rows[i];
        if (row.ticked)
            continue;
        if ((row.state == Core::RowState::ReadOnly && options.force)
            || (row.state == Core::RowState::NotHeld && options.questionMarks && (!row.readOnly || options.force)))
            Core::SetTicked(plan, i, true);
    }
}

std::string Target(const Core::PlanRow& row)
{
    return row.moves || !row.target.empty() ? row.target : std::string();
}

void PrintRow(const Core::PlanRow& row, Format format)
{
    if (format == Format::Tsv) {
        std::cout << (row.ticked ? "1" : "0") << '\t' << Core::StateWord(row.state) << '\t'
                  << OneLine(row.reason, true) << '\t' << OneLine(row.path, true) << '\t'
                  << OneLine(Target(row), true) << '\n';
        return;
    }
    std::cout << (row.ticked ? "[x] " : "[ ] ") << OneLine(row.path);
    if (row.moves)
        std::cout << " → " << OneLine(row.target);
    std::cout << " — " << OneLine(row.StateText()) << '\n';
}

void PrintJson(const Core::Plan& plan, const std::vector<std::size_t>& order, const Core::PlanCounts& counts,
               bool applied, const Core::ApplyReport& report)
{
    std::cout << "{\n  \"rows\": [";
    bool first = true;
    for (const std::size_t i : order) {
        const Core::PlanRow& row = plan.rows[i];
        std::cout << (first ? "\n" : ",\n") << "    {\"path\": " << Json(row.path)
                  << ", \"target\": " << Json(Target(row)) << ", \"state\": " << Json(Core::StateWord(row.state))
                  << ", \"reason\": " << Json(row.reason) << ", \"ticked\": " << (row.ticked ? "true" : "false")
                  << "}";
        first = false;
    }
    std::cout << "\n  ],\n  \"ticked\": " << counts.ticked << ",\n  \"unchanged\": " << counts.unchanged
              << ",\n  \"left\": " << counts.left << ",\n  \"applied\": " << (applied ? "true" : "false");
    if (applied) {
        std::cout << ",\n  \"done\": " << report.done << ",\n  \"skipped\": [";
        for (std::size_t k = 0; k < report.skipped.size(); ++k)
            std::cout << (k ? ", " : "") << "{\"path\": " << Json(report.skipped[k].first)
                      << ", \"reason\": " << Json(report.skipped[k].second) << "}";
        std::cout << "]";
    }
    std::cout << "\n}\n";
}

} // namespace

int RunPlan(Core::PlanJob& job, const std::optional<std::string>& folder, const std::vector<std::string>& files,
            const PlanOptions& options, bool problemsBefore)
{
    ConsoleDialogs dialogs;
    const std::unique_ptr<Quenlar::_TMP3Tag> tag = Quenlar::CreateTMP3Tag();
    const std::unique_ptr<Core::Plan> plan
        = folder ? Core::MakePlan(dialogs, *folder, job, *tag) : Core::MakePlanOf(dialogs, files, job, *tag);
    if (!plan)
        return kLeft; // told why
    if (folder && plan->rows.empty()) {
        std::cerr << Shown("В папке " + *folder + " нет файлов MP3.") << '\n';
        return kNoMp3;
    }
    TickAsAllowed(*plan, options);
    const Core::PlanCounts counts = Core::CountRows(*plan);
    const std::vector<std::size_t> order = Core::ShowingOrder(*plan);
    if (options.format != Format::Json) {
        for (const std::size_t i : order)
            PrintRow(plan->rows[i], options.format);
        std::cout.flush();
    }
    for (const std::size_t i : order) {
        const Core::PlanRow& row = plan->rows[i];
        if (!row.ticked && row.state != Core::RowState::Unchanged)
            std::cerr << "Оставлен: " << OneLine(row.path) << " — " << OneLine(row.StateText()) << '\n';
    }

    bool failed = problemsBefore || counts.left > 0;
    Core::ApplyReport report;
    const bool applying = options.apply && counts.ticked > 0;
    if (applying) {
        dialogs.holdInformation = true; // the closing box: told below, every skipped file named
        const auto journal = Core::RunJournal::Begin(dialogs);
        if (!journal || Core::ApplyPlan(dialogs, *plan, job, *tag, *journal, &report) != Core::ApplyEnd::Done)
            failed = true;
        for (const auto& [path, why] : report.skipped)
            std::cerr << "Не выполнено: " << OneLine(path) << " — " << OneLine(why) << '\n';
        if (report.done < counts.ticked || !report.skipped.empty() || dialogs.failed)
            failed = true;
    }

    if (options.format == Format::Json) {
        PrintJson(*plan, order, counts, applying, report);
    } else {
        std::ostream& out = options.format == Format::Tsv ? std::cerr : std::cout;
        if (!options.apply)
            out << "Будет изменено: " << counts.ticked << ", без изменений: " << counts.unchanged
                << ", оставлено: " << counts.left << ". Это пробный запуск: добавьте --apply, чтобы выполнить.\n";
        else
            out << job.Counted() << ": " << report.done << " из " << counts.ticked
                << "; без изменений: " << counts.unchanged << ", оставлено: " << counts.left << ".\n";
    }
    return failed ? kLeft : kDone;
}

} // namespace Cli
