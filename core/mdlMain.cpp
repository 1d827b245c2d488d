// SPDX-License-Identifier: GPL-3.0-or-later
#include "mdlMain.h"

namespace mdlMain {

unsigned char btAdvDefault = 0;
unsigned char btMDIWindowState = 2;

} // namespace mdlMain
