// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program creates its tag objects through the library's class factory
// and calls them only through _TMP3Tag.
#include "TMP3Tag.h"

#include <memory>

namespace Core {

// A new tag object; throws Quenlar::LibraryError if the factory is not there.
std::unique_ptr<Quenlar::_TMP3Tag> NewTagObject(Quenlar::ConfirmHook hook = {});

// The Russian reason for a tag object's error, chosen by its number; an
// unknown number shows with the library's own description.
std::string LibraryErrorText(const Quenlar::LibraryError& error);

// The reason for a tag object's error on path: for a refused write, what the
// system tells about it (a read-only volume or file, no permission), else
// the text of LibraryErrorText.
std::string TagErrorReason(const std::string& path, const Quenlar::LibraryError& error);

// Path + two line breaks + the reason: the body of every report on a tag
// object's error.
std::string TagErrorText(const std::string& path, const Quenlar::LibraryError& error);

} // namespace Core
