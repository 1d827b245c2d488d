#pragma once
// Tag objects of the windows: their confirmation box, should anyone ask for
// it, is a message box of the program.
#include "TMP3Tag.h"

#include <memory>

namespace Shell {

// A new tag object; throws Quenlar::LibraryError if the factory is not there.
std::unique_ptr<Quenlar::_TMP3Tag> CreateTagObject();

} // namespace Shell
