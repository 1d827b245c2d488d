#include "mdlMain.h"

#include <QApplication>

int main(int argc, char** argv)
{
    mdlMain::Application app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Morvik"));
    QApplication::setDesktopFileName(QStringLiteral("morvik"));
    mdlMain::InstallResources(app);
    return mdlMain::Main(app);
}
