#include "Startup.h"

#include "frmDocument.h"
#include "frmMDI.h"
#include "frmMain.h"
#include "frmOpen.h"
#include "frmRename.h"
#include "mdlMain.h"

#include <cerrno>
#include <memory>
#include <unistd.h>

namespace mdlMain {

namespace {

// The process's current folder as bytes, or "" when it cannot be read (it
// was removed, say); relative paths then stay relative.
std::string CurrentFolder()
{
    std::vector<char> buffer(4096);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE)
            return std::string();
        buffer.resize(buffer.size() * 2);
    }
    return buffer.data();
}

} // namespace

frmMDI* LoadFrame()
{
    return new frmMDI({
        [](frmMDI& frame) -> QWidget* { return new frmOpen(&frame, frame.MdiArea()); },
        [](frmMDI& frame) -> QWidget* { return new frmMain(&frame); },
        [](frmMDI& frame) -> QWidget* { return new frmRename(&frame); },
        [](frmMDI& frame, const std::vector<std::string>& paths) {
            frmDocument::OpenFiles(frame.MdiArea(), paths, &frame);
        },
    });
}

std::vector<std::string> FilesFromArguments(const std::vector<std::string>& arguments, const std::string& folder)
{
    std::vector<std::string> files;
    for (std::string path : arguments) {
        if (!path.starts_with('/') && !folder.empty()) {
            while (path.starts_with("./"))
                path.erase(0, path.find_first_not_of('/', 1));
            path = (folder.ends_with('/') ? folder : folder + '/') + path;
        }
        files.push_back(std::move(path));
    }
    return files;
}

frmMDI* Start(const std::vector<std::string>& arguments)
{
    btAdvDefault = 0;
    btMDIWindowState = 2;
    frmMDI* frame = LoadFrame();
    frame->show();
    frame->OpenFiles(FilesFromArguments(arguments, CurrentFolder()));
    return frame;
}

int Main(QApplication& app, const std::vector<std::string>& arguments)
{
    const std::unique_ptr<frmMDI> frame(Start(arguments));
    return app.exec();
}

} // namespace mdlMain
