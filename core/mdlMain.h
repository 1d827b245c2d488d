// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's main module: its program-wide settings, set once at start-up.

namespace mdlMain {

extern unsigned char btAdvDefault;     // initial state of a document window's chkAdv
extern unsigned char btMDIWindowState; // 0 normal, 1 minimised, 2 maximised

} // namespace mdlMain
