// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one loop of every batch job, the fill and rename runs and taking a
// run back alike: before each item the run tells the user's side how far it
// is and stops there, between two items, when told to.
#include "UserDialogs.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace Core {

// What became of one item: go on, stop the run there as a stop between two
// items does, or break it off (the item has said why).
enum class ItemEnd { Next, Stop, Break };

struct LoopEnd {
    enum Kind { Finished, Stopped, Broken } kind = Finished;
    std::size_t total = 0;
};

// Goes through items 0 to total - 1: tells dialogs.Progress before each,
// with the name nameOf(i) gives, and stops there when told to.
LoopEnd ForEachItem(UserDialogs& dialogs, std::size_t total, const std::function<const std::string&(std::size_t)>& nameOf,
                    const std::function<ItemEnd(std::size_t)>& step);

// The MP3 files of folder (ending in "/"), as the listings take them, each
// with its full path and its name: the list is whole before the first file
// is touched, so a file renamed on the way is not met again. Nothing when
// the folder cannot be listed: the user has been told which and why.
std::optional<LoopEnd> ForEachMp3File(UserDialogs& dialogs, const std::string& folder,
                                      const std::function<ItemEnd(const std::string& path,
                                                                  const std::string& name)>& step);

} // namespace Core
