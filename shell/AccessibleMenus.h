// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a screen reader hears for the menu bar's entries.

namespace Shell {

// An entry of a menu bar whose menu has an accessible name is heard by that
// name rather than by its caption (the help menu's "?" says nothing read
// out). Installed once, before the first window shows.
void NameMenuBarEntries();

} // namespace Shell
