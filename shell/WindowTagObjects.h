// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Tag objects of the windows: their confirmation box, should anyone ask for
// it, is a message box of the program.
#include "TMP3Tag.h"

#include <functional>
#include <memory>

namespace Shell {

// A new tag object; throws Quenlar::LibraryError if the factory is not there.
std::unique_ptr<Quenlar::_TMP3Tag> CreateTagObject();

// Tests make the windows' tag objects (a slow one, say) while this is set;
// a null factory restores the library's.
void SetTagObjectFactoryForTests(std::function<std::unique_ptr<Quenlar::_TMP3Tag>()> factory);

} // namespace Shell
