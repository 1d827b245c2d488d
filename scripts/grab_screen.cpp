// SPDX-License-Identifier: GPL-3.0-or-later
// grab_screen OUT.png [X Y WIDTH HEIGHT]: saves the X screen, or that part
// of it, as a PNG. Used by screenshot.sh; needs nothing beyond Qt.
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2 && argc != 6) {
        std::fprintf(stderr, "usage: %s OUT.png [X Y WIDTH HEIGHT]\n", argv[0]);
        return 2;
    }
    const auto number = [argv](int i) { return std::atoi(argv[i]); };
    QScreen* screen = QGuiApplication::primaryScreen();
    const QPixmap shot = argc == 6 ? screen->grabWindow(0, number(2), number(3), number(4), number(5))
                                   : screen->grabWindow(0);
    if (shot.isNull() || !shot.save(QString::fromLocal8Bit(argv[1]), "PNG", 9)) {
        std::fprintf(stderr, "%s: could not grab the screen into %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
