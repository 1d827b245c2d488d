// SPDX-License-Identifier: GPL-3.0-or-later
#include "RunLoop.h"

#include "Reports.h"

namespace Core {

LoopEnd ForEachItem(UserDialogs& dialogs, std::size_t total, const std::function<const std::string&(std::size_t)>& nameOf,
                    const std::function<ItemEnd(std::size_t)>& step)
{
    for (std::size_t i = 0; i < total; ++i) {
        if (!dialogs.Progress(i, total, nameOf(i)))
            return {LoopEnd::Stopped, total};
        switch (step(i)) {
        case ItemEnd::Next:
            break;
        case ItemEnd::Stop:
            return {LoopEnd::Stopped, total};
        case ItemEnd::Break:
            return {LoopEnd::Broken, total};
        }
    }
    return {LoopEnd::Finished, total};
}

std::optional<LoopEnd> ForEachMp3File(UserDialogs& dialogs, const std::string& folder,
                                      const std::function<ItemEnd(const std::string& path,
                                                                  const std::string& name)>& step)
{
    const auto names = ListMp3FilesOrReport(folder, dialogs);
    if (!names)
        return std::nullopt;
    std::string path;
    return ForEachItem(
        dialogs, names->size(),
        [&](std::size_t i) -> const std::string& {
            path = folder + (*names)[i];
            return path;
        },
        [&](std::size_t i) { return step(path, (*names)[i]); });
}

} // namespace Core
