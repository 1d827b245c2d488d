// SPDX-License-Identifier: GPL-3.0-or-later
#include "Application.h"
#include "CommandLine.h"
#include "Startup.h"

#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

// Qt aborts when it finds no screen to show windows on; say so plainly instead.
bool HasScreen(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "-platform") == 0)
            return true;
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

bool IsFile(const std::string& path)
{
    std::error_code error;
    return std::filesystem::exists(path, error);
}

// The arguments after the program's name.
std::vector<std::string> ArgumentsOf(int argc, char** argv)
{
    return std::vector<std::string>(argv + 1, argv + argc);
}

// Answers --help and --version on the terminal, and refuses an option that
// neither Morvik nor Qt knows (status 2), before anything needs a display;
// gives the exit status, or nothing when the program is to start. Qt takes
// its own options later, the rest name files.
std::optional<int> AnswerCommandLine(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    // "-v" is the version, but a file named "-v.mp3" is not.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(QStringLiteral(
        "Morvik edits the ID3v1 tag of MP3 files: each FILE opens in a document window."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and exit."));
    parser.addOptions({help, version});
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("An MP3 file to open."),
                                 QStringLiteral("[FILE...]"));
    parser.parse(arguments); // an unknown option may be Qt's own
    if (parser.isSet(help)) {
        const QCoreApplication named(argc, argv); // the usage line names the program as it was called
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("Morvik %s\n", MORVIK_VERSION);
        return 0;
    }
    const Program::Arguments sorted = Program::SortArguments(ArgumentsOf(argc, argv), IsFile);
    if (!sorted.unknown.empty()) {
        std::fprintf(stderr, "%s: unknown option '%s'\nTry '%s --help' for more information.\n", argv[0],
                     sorted.unknown.c_str(), argv[0]);
        return 2;
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv)
{
    if (const std::optional<int> status = AnswerCommandLine(argc, argv))
        return *status;
    if (!HasScreen(argc, argv)) {
        std::fprintf(stderr, "Morvik is a desktop program and there is no display here.\n"
                             "Start it on a desktop, or under a virtual one: xvfb-run -a %s\n",
                     argv[0]);
        return 1;
    }
    Shell::Application app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Morvik"));
    QApplication::setDesktopFileName(QStringLiteral("morvik"));
    Shell::InstallResources(app);
    // QApplication has taken its own options out of argv, but for those of
    // another platform than the one in use; the files are the rest, as bytes.
    return Program::Main(app, Program::SortArguments(ArgumentsOf(argc, argv), IsFile).files);
}
