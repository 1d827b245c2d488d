// SPDX-License-Identifier: GPL-3.0-or-later
// show: the tags of files as they are, for a reader or a script.
#include "Commands.h"

#include "Args.h"
#include "CodepageGuess.h"
#include "Console.h"
#include "FileArgs.h"
#include "TMP3Tag.h"
#include "TagObjects.h"
#include "TextHelpers.h"

#include <iostream>

namespace Cli {

namespace {

const char kShowHelp[] = "morvik-cli show [ПАРАМЕТРЫ] ФАЙЛ|ПАПКА|- ...\n"
                         "Показывает теги файлов: шесть полей, номер дорожки (v1.1) и догадку о кодировке.\n"
                         "  --format text|tsv|json  вид вывода (text)\n"
                         "  --null                  имена из стандартного ввода («-») разделены символом NUL\n";

struct TagView {
    std::string path;
    bool tagged = false;
    std::string title, artist, album, year, comment, genreName, codepage;
    int genre = 255, track = 0;
    bool unsure = false;
};

void Print(const TagView& s, Format format, bool first)
{
    switch (format) {
    case Format::Text:
        std::cout << (first ? "" : "\n") << OneLine(s.path) << '\n';
        if (!s.tagged) {
            std::cout << "  тега нет\n";
            return;
        }
        std::cout << "  Название: " << OneLine(s.title) << "\n  Исполнитель: " << OneLine(s.artist)
                  << "\n  Альбом: " << OneLine(s.album) << "\n  Год: " << OneLine(s.year)
                  << "\n  Комментарий: " << OneLine(s.comment) << "\n  Жанр: " << s.genre
                  << (s.genreName.empty() ? "" : " (" + s.genreName + ")") << '\n';
        if (s.track)
            std::cout << "  Дорожка: " << s.track << '\n';
        if (!s.codepage.empty())
            std::cout << "  Кодировка: " << s.codepage << (s.unsure ? " (неуверенно)" : "") << '\n';
        return;
    case Format::Tsv:
        std::cout << OneLine(s.path, true) << '\t' << (s.tagged ? "1" : "0") << '\t' << OneLine(s.title, true) << '\t'
                  << OneLine(s.artist, true) << '\t' << OneLine(s.album, true) << '\t' << OneLine(s.year, true)
                  << '\t' << OneLine(s.comment, true) << '\t' << s.genre << '\t' << OneLine(s.genreName, true)
                  << '\t' << s.track << '\t' << s.codepage << (s.unsure ? "?" : "") << '\n';
        return;
    case Format::Json:
        std::cout << (first ? "\n" : ",\n") << "  {\"path\": " << Json(s.path)
                  << ", \"tag\": " << (s.tagged ? "true" : "false");
        if (s.tagged) {
            std::cout << ", \"title\": " << Json(s.title) << ", \"artist\": " << Json(s.artist)
                      << ", \"album\": " << Json(s.album) << ", \"year\": " << Json(s.year)
                      << ", \"comment\": " << Json(s.comment) << ", \"genre\": " << s.genre
                      << ", \"genreName\": " << Json(s.genreName) << ", \"track\": " << s.track
                      << ", \"codepage\": " << Json(s.codepage) << ", \"codepageUnsure\": "
                      << (s.unsure ? "true" : "false");
        }
        std::cout << "}";
        return;
    }
}

} // namespace

int Show(const Args& args)
{
    std::string error;
    const auto parsed = Parse(args, {{"format", 0, true}, {"null", 0, false}}, error);
    if (!parsed)
        return UsageError("show", error);
    if (parsed->help) {
        std::cout << kShowHelp;
        return kDone;
    }
    Format format = Format::Text;
    if (const auto word = parsed->Value("format"); word && !ParseFormat(*word, format))
        return UsageError("show", "неизвестный формат " + *word + " (text, tsv или json)");
    if (parsed->positional.empty())
        return UsageError("show", "не заданы файлы");
    const FileArguments found = ExpandFiles(parsed->positional, parsed->Has("null"));
    bool failed = found.problems;
    const auto tag = Quenlar::CreateTMP3Tag();
    if (format == Format::Json)
        std::cout << "[";
    bool first = true;
    for (const std::string& path : found.files) {
        TagView s;
        s.path = path;
        try {
            tag->TagRead(path);
        } catch (const Quenlar::LibraryError& e) {
            std::cerr << Cli::Shown(Core::TagErrorText(path, e)) << '\n';
            failed = true;
            continue;
        }
        s.tagged = tag->ValidTag();
        if (s.tagged) {
            s.title = Core::CutAtNull(tag->Title());
            s.artist = Core::CutAtNull(tag->Artist());
            s.album = Core::CutAtNull(tag->Album());
            s.year = Core::CutAtNull(tag->Year());
            s.comment = Core::CutAtNull(tag->Comment());
            s.genre = tag->Genre();
            s.genreName = tag->GenreIDToName(tag->Genre());
            s.track = Quenlar::Track(*tag);
            if (Quenlar::FileEnd end; Quenlar::LastReadEnd(*tag, end)) {
                const Core::CodepageGuess guess = Core::GuessRecordCodepage(end.last);
                s.codepage = std::string(Core::CodepageName(guess.codepage));
                s.unsure = guess.unsure && guess.codepage != Core::TextCodepage::None;
            }
        }
        Print(s, format, first);
        first = false;
    }
    if (format == Format::Json)
        std::cout << (first ? "]\n" : "\n]\n");
    if (found.files.empty() && !found.problems)
        return NoFilesStatus(found);
    return failed ? kLeft : kDone;
}

} // namespace Cli
