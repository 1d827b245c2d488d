// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// File names are the bytes the system gives. Most are UTF-8; collections
// copied from old Windows archives carry Windows-1251 bytes instead. The
// program keeps the bytes for every file operation and only shows them
// readably.
#include <string>

namespace Core {

// Bytes as UTF-8 text for the screen: ASCII as it is; every run of other
// bytes as UTF-8 when it is well-formed UTF-8, else as Windows-1251. Works
// on a whole message that holds a path too. A Windows-1251 run can only pass
// for UTF-8 in rare pairs (a capital letter before "ё", "«" or "»").
std::string Readable(const std::string& bytes);

// The bytes a user means by editing the readable form of original (a path
// offered in a prompt): the part of original up to a "/" that the edit kept
// as shown is taken back as its own bytes, the rest as typed.
std::string BytesOfEdit(const std::string& edited, const std::string& original);

// A file name (no folder part) as the user sees it, less its last four
// characters (".mp3"): what a fill template's "%0" stands for, and what a
// name pattern's last part is matched against.
std::string NameStem(const std::string& fileName);

} // namespace Core
