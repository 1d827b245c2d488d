// SPDX-License-Identifier: GPL-3.0-or-later
#include "Startup.h"

#include "FileSystem.h"
#include "Paths.h"
#include "frmDocument.h"
#include "frmMDI.h"
#include "frmMain.h"
#include "frmOpen.h"
#include "frmParse.h"
#include "frmRecode.h"
#include "frmRename.h"
#include "mdlMain.h"

#include <memory>

namespace Program {

std::unique_ptr<frmMDI> LoadFrame()
{
    return std::make_unique<frmMDI>(frmMDI::Commands{
        [](frmMDI& frame) -> QWidget* { return new frmOpen(&frame, frame.MdiArea()); },
        [](frmMDI& frame) -> QWidget* { return new frmMain(&frame); },
        [](frmMDI& frame) -> QWidget* { return new frmRename(&frame); },
        [](frmMDI& frame) -> QWidget* { return new frmParse(&frame); },
        [](frmMDI& frame, const std::vector<std::string>& paths) {
            frmDocument::OpenFiles(frame.MdiArea(), paths, &frame);
        },
        [](frmMDI& frame, const std::string& folder) -> QWidget* { return new frmRecode(&frame, folder); },
    });
}

std::vector<std::string> FilesFromArguments(const std::vector<std::string>& arguments, const std::string& folder)
{
    std::vector<std::string> files;
    for (std::string path : arguments) {
        if (!path.starts_with('/') && !folder.empty()) {
            while (path.starts_with("./"))
                path.erase(0, path.find_first_not_of('/', 1));
            path = Core::JoinPath(folder, path);
        }
        files.push_back(std::move(path));
    }
    return files;
}

std::unique_ptr<frmMDI> Start(const std::vector<std::string>& arguments)
{
    mdlMain::btAdvDefault = 0;
    mdlMain::btMDIWindowState = 2;
    std::unique_ptr<frmMDI> frame = LoadFrame();
    frame->show();
    frame->OpenFiles(FilesFromArguments(arguments, Core::Platform::CurrentFolder()));
    return frame;
}

int Main(QApplication& app, const std::vector<std::string>& arguments)
{
    const std::unique_ptr<frmMDI> frame = Start(arguments);
    return app.exec();
}

} // namespace Program
