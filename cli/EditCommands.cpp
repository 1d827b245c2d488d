// SPDX-License-Identifier: GPL-3.0-or-later
// set, fill and rename: each makes its job, then the plan does the rest.
#include "Commands.h"

#include "FieldValues.h"
#include "FileArgs.h"
#include "PlanCommand.h"
#include "PlanJobs.h"
#include "SetJob.h"

#include <iostream>

namespace Cli {

namespace {

const char kSetHelp[]
    = "morvik-cli set [ПАРАМЕТРЫ] ФАЙЛ|ПАПКА|- ...\n"
      "Записывает в теги файлов заданные поля; остальные поля и номер дорожки v1.1 остаются.\n"
      "  -t, --title ТЕКСТ       название\n"
      "  -a, --artist ТЕКСТ      исполнитель\n"
      "  -l, --album ТЕКСТ       альбом\n"
      "  -y, --year ГОД          год (пустой — стереть)\n"
      "  -c, --comment ТЕКСТ     комментарий\n"
      "  -g, --genre ЖАНР        жанр: номер или название из списка (пустой — без жанра)\n"
      "  --null                  имена из стандартного ввода («-») разделены символом NUL\n";

const char kFillHelp[]
    = "morvik-cli fill [ПАРАМЕТРЫ] ПАПКА\n"
      "Заполняет теги файлов MP3 папки по шаблонам: %0 — имя файла без расширения,\n"
      "%1 название, %2 исполнитель, %3 альбом, %4 год, %5 жанр, %6 комментарий.\n"
      "  --title ШАБЛОН, --artist ШАБЛОН, --album ШАБЛОН, --comment ШАБЛОН\n"
      "  --year ГОД              год как есть\n"
      "  --genre ЖАНР            номер или название из списка\n";

const char kRenameHelp[] = "morvik-cli rename [ПАРАМЕТРЫ] ШАБЛОН ПАПКА\n"
                           "Переименовывает файлы MP3 папки по шаблону имени (%1 название, %2 исполнитель,\n"
                           "%3 альбом, %4 год, %5 жанр); «.mp3» добавляется. Занятое имя не заменяется.\n";

} // namespace

int Set(const Args& args)
{
    int status = kDone;
    const auto prepared = PreparePlanCommand("set", args,
                                  {{"title", 't', true}, {"artist", 'a', true}, {"album", 'l', true},
                                   {"year", 'y', true}, {"comment", 'c', true}, {"genre", 'g', true},
                                   {"null", 0, false}},
                                  kSetHelp, status);
    if (!prepared)
        return status;
    const auto& [parsed, options] = *prepared;
    Core::SetFields fields;
    fields.title = parsed.Value("title");
    fields.artist = parsed.Value("artist");
    fields.album = parsed.Value("album");
    fields.year = parsed.Value("year");
    fields.comment = parsed.Value("comment");
    std::string error;
    if (const auto genre = parsed.Value("genre")) {
        fields.genre = GenreArgument(*genre, error);
        if (!fields.genre)
            return UsageError("set", error);
    }
    if (fields.year && !YearArgument(*fields.year, error))
        return UsageError("set", error);
    if (!fields.title && !fields.artist && !fields.album && !fields.year && !fields.comment && !fields.genre)
        return UsageError("set", "не задано ни одно поле");
    if (parsed.positional.empty())
        return UsageError("set", "не заданы файлы");
    const FileArguments found = ExpandFiles(parsed.positional, parsed.Has("null"));
    if (found.files.empty())
        return NoFilesStatus(found);
    const auto job = Core::NewSetPlanJob(std::move(fields));
    return RunPlan(*job, std::nullopt, found.files, options, found.problems);
}

int Fill(const Args& args)
{
    int status = kDone;
    const auto prepared = PreparePlanCommand("fill", args,
                                  {{"title", 0, true}, {"artist", 0, true}, {"album", 0, true},
                                   {"comment", 0, true}, {"year", 0, true}, {"genre", 0, true}},
                                  kFillHelp, status);
    if (!prepared)
        return status;
    const auto& [parsed, options] = *prepared;
    Core::FillSettings settings;
    const auto text = [&](const char* name, Core::TextSetting& setting) {
        if (const auto value = parsed.Value(name))
            setting = {true, *value};
    };
    text("title", settings.Title);
    text("artist", settings.Artist);
    text("album", settings.Album);
    text("comment", settings.Comment);
    text("year", settings.Year);
    std::string error;
    if (settings.Year.Enabled && !YearArgument(settings.Year.Value, error))
        return UsageError("fill", error);
    if (const auto genre = parsed.Value("genre")) {
        const auto number = GenreArgument(*genre, error);
        if (!number)
            return UsageError("fill", error);
        settings.GenreEnabled = true;
        settings.Genre = *number;
    }
    if (!settings.Title.Enabled && !settings.Artist.Enabled && !settings.Album.Enabled && !settings.Comment.Enabled
        && !settings.Year.Enabled && !settings.GenreEnabled)
        return UsageError("fill", "не задано ни одно поле");
    if (parsed.positional.size() != 1)
        return UsageError("fill", "нужна одна папка");
    const auto folder = FolderArgument(parsed.positional[0]);
    if (!folder)
        return kLeft;
    const auto job = Core::NewFillPlanJob(std::move(settings));
    return RunPlan(*job, folder, {}, options);
}

int Rename(const Args& args)
{
    int status = kDone;
    const auto prepared = PreparePlanCommand("rename", args, {}, kRenameHelp, status);
    if (!prepared)
        return status;
    const auto& [parsed, options] = *prepared;
    if (parsed.positional.size() != 2)
        return UsageError("rename", "нужны шаблон и папка");
    const std::string& templ = parsed.positional[0];
    std::string error;
    if (!Utf8Argument(templ, "шаблон", error))
        return UsageError("rename", error);
    if (templ.find_first_not_of(' ') == std::string::npos)
        return UsageError("rename", "шаблон имени не задан");
    const auto folder = FolderArgument(parsed.positional[1]);
    if (!folder)
        return kLeft;
    const auto job = Core::NewRenamePlanJob(templ);
    return RunPlan(*job, folder, {}, options);
}

} // namespace Cli
