#pragma once
// Loads the frame with the program's real windows behind its commands.
class frmMDI;

namespace mdlMain {

// A new, hidden frame (maximised from btMDIWindowState) whose Open, Fill
// tags and Rename files commands open the open dialog and the two batch
// tools.
frmMDI* LoadFrame();

} // namespace mdlMain
