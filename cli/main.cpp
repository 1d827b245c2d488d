// SPDX-License-Identifier: GPL-3.0-or-later
// morvik-cli: the batch jobs of Morvik from a shell, on the same engine and
// journal as the windows, without Qt.
#include "Args.h"
#include "Commands.h"

#include <cstring>
#include <exception>
#include <iostream>

namespace {

const char kHelp[] = "morvik-cli КОМАНДА [ПАРАМЕТРЫ] ...\n"
                     "Теги ID3v1 файлов MP3 из командной строки. Команды, что меняют файлы, без --apply\n"
                     "только показывают план.\n"
                     "  show     показать теги\n"
                     "  set      записать поля в теги файлов\n"
                     "  fill     заполнить теги файлов папки по шаблонам\n"
                     "  parse    заполнить теги файлов папки из их имён\n"
                     "  recode   перекодировать теги из KOI8-R или CP866 в Windows-1251\n"
                     "  rename   переименовать файлы папки по тегам\n"
                     "  undo     отменить последнюю операцию\n"
                     "  journal  что изменили последние операции\n"
                     "morvik-cli КОМАНДА --help — параметры команды; --version — версия.\n"
                     "Код выхода: 0 — всё сделано (или может быть сделано), 1 — часть файлов оставлена\n"
                     "или не удалась, 2 — ошибка в параметрах, 3 — в папке нет файлов MP3.\n";

struct Command {
    const char* name;
    int (*run)(const Cli::Args&);
};

constexpr Command kCommands[] = {
    {"show", Cli::Show}, {"set", Cli::Set},   {"fill", Cli::Fill},
    {"parse", Cli::ParseNames}, {"recode", Cli::Recode}, {"rename", Cli::Rename},
    {"undo", Cli::Undo}, {"journal", Cli::Journal},
};

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::cerr << kHelp;
        return Cli::kUsage;
    }
    const std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        std::cout << kHelp;
        return Cli::kDone;
    }
    if (name == "--version") {
        std::cout << "morvik-cli " MORVIK_VERSION "\n";
        return Cli::kDone;
    }
    const Cli::Args args(argv + 2, argv + argc);
    for (const Command& command : kCommands)
        if (name == command.name) {
            try {
                return command.run(args);
            } catch (const std::exception& e) {
                // Whatever went wrong, a script must not read it as success.
                std::cerr << "morvik-cli " << name << ": " << e.what() << '\n';
                return Cli::kLeft;
            }
        }
    std::cerr << "morvik-cli: неизвестная команда " << name << "\n" << kHelp;
    return Cli::kUsage;
}
