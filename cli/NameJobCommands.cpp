// parse: the tags-from-names tool, planned and applied as the others.
#include "Commands.h"

#include "FileArgs.h"
#include "NamePattern.h"
#include "ParseJob.h"
#include "PlanCommand.h"

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

} // namespace Cli
