#pragma once
// The start-up routine: the only code that knows both the document windows
// and the batch tools, and hands them to the frame.
#include <QApplication>

class frmMDI;

namespace mdlMain {

// A new, hidden frame (maximised from btMDIWindowState) whose Open, Fill
// tags and Rename files commands open the open dialog and the two batch
// tools.
frmMDI* LoadFrame();

// Sets the settings, loads and shows the frame and runs the event loop until
// the frame has closed. Returns the exit code.
int Main(QApplication& app);

} // namespace mdlMain
