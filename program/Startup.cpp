#include "Startup.h"

#include "frmMDI.h"
#include "frmMain.h"
#include "frmOpen.h"
#include "frmRename.h"
#include "mdlMain.h"

#include <memory>

namespace mdlMain {

frmMDI* LoadFrame()
{
    return new frmMDI({
        [](frmMDI& frame) -> QWidget* { return new frmOpen(&frame, frame.MdiArea()); },
        [](frmMDI& frame) -> QWidget* { return new frmMain(&frame); },
        [](frmMDI& frame) -> QWidget* { return new frmRename(&frame); },
    });
}

int Main(QApplication& app)
{
    btAdvDefault = 0;
    btMDIWindowState = 2;
    const std::unique_ptr<frmMDI> frame(LoadFrame());
    frame->show();
    return app.exec();
}

} // namespace mdlMain
