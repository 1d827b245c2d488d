#pragma once
// The program creates its tag objects through the library's class factory
// and calls them only through _TMP3Tag.
#include "TMP3Tag.h"

#include <memory>

namespace mdlMain {

// A new tag object; throws Quenlar::LibraryError if the factory is not there.
std::unique_ptr<Quenlar::_TMP3Tag> NewTagObject(Quenlar::ConfirmHook hook = {});

// "Path" + CR + description, the body of a report on a tag object's error.
std::string TagErrorText(const std::string& path, const Quenlar::LibraryError& error);

} // namespace mdlMain
