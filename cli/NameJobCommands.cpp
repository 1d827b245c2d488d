// SPDX-License-Identifier: GPL-3.0-or-later
// parse and recode: the tags-from-names and recode tools, planned and
// applied as the others.
#include "Commands.h"

#include "FileArgs.h"
#include "NamePattern.h"
#include "ParseJob.h"
#include "PlanCommand.h"
#include "RecodeJob.h"

#include <iostream>

namespace Cli {

namespace {

const char kParseHelp[]
    = "morvik-cli parse [ПАРАМЕТРЫ] ШАБЛОН ПАПКА\n"
      "Заполняет теги файлов MP3 папки из их имён: %1 название, %2 исполнитель, %3 альбом,\n"
      "%4 год, %5 жанр, %6 комментарий, %9 пропустить текст, %% — знак «%», «/» — папка выше.\n"
      "  --last-separator        поле берёт самый длинный текст, а не самый короткий\n"
      "  --only-empty            заполнять только пустые поля\n"
      "  --underscores           «_» — пробел\n";

const char kRecodeHelp[] = "morvik-cli recode [ПАРАМЕТРЫ] ПАПКА\n"
                           "Перекодирует теги файлов MP3 папки из KOI8-R или CP866 в Windows-1251.\n"
                           "  --from auto|koi8-r|cp866  исходная кодировка (auto: догадка для каждого файла;\n"
                           "                            файлы с неуверенной догадкой остаются)\n";

} // namespace

int ParseNames(const Args& args)
{
    int status = kDone;
    const auto prepared = PreparePlanCommand("parse", args,
                                  {{"last-separator", 0, false}, {"only-empty", 0, false}, {"underscores", 0, false}},
                                  kParseHelp, status);
    if (!prepared)
        return status;
    const auto& [parsed, options] = *prepared;
    if (parsed.positional.size() != 2)
        return UsageError("parse", "нужны шаблон и папка");
    std::string error;
    if (!Core::ParseNamePattern(parsed.positional[0], error))
        return UsageError("parse", "шаблон " + parsed.positional[0] + ": " + error);
    const auto folder = FolderArgument(parsed.positional[1]);
    if (!folder)
        return kLeft;
    Core::ParseOptions parse;
    parse.lastSeparator = parsed.Has("last-separator");
    parse.onlyEmpty = parsed.Has("only-empty");
    parse.underscores = parsed.Has("underscores");
    const auto job = Core::NewParsePlanJob(parsed.positional[0], parse);
    return RunPlan(*job, folder, {}, options);
}

int Recode(const Args& args)
{
    int status = kDone;
    const auto prepared = PreparePlanCommand("recode", args, {{"from", 0, true}}, kRecodeHelp, status);
    if (!prepared)
        return status;
    const auto& [parsed, options] = *prepared;
    std::optional<Quenlar::Codepage::Page> from;
    const std::string page = parsed.Value("from").value_or("auto");
    if (page == "koi8-r")
        from = Quenlar::Codepage::Page::Koi8R;
    else if (page == "cp866")
        from = Quenlar::Codepage::Page::Cp866;
    else if (page != "auto")
        return UsageError("recode", "неизвестная кодировка " + page + " (auto, koi8-r или cp866)");
    if (parsed.positional.size() != 1)
        return UsageError("recode", "нужна одна папка");
    const auto folder = FolderArgument(parsed.positional[0]);
    if (!folder)
        return kLeft;
    const auto job = Core::NewRecodePlanJob(from);
    return RunPlan(*job, folder, {}, options);
}

} // namespace Cli
