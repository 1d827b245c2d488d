#include "Application.h"
#include "Startup.h"

#include <QApplication>
#include <cstdio>
#include <cstring>
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

} // namespace

int main(int argc, char** argv)
{
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
    // QApplication has taken its own options out of argv; the rest name
    // files to open, as bytes.
    return Program::Main(app, std::vector<std::string>(argv + 1, argv + argc));
}
