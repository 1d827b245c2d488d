// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace Program {

namespace {

// Qt's options that take the next argument as their value. "-display",
// "-geometry", "-title", "-icon" and "-name" are the X11 platform's.
constexpr std::array<std::string_view, 15> kQtWithValue = {
    "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "qwindowicon", "qwindowtitle",
    "session", "style", "stylesheet", "display", "geometry", "title", "icon", "name"};
constexpr std::array<std::string_view, 6> kQtFlags = {"reverse", "widgetcount", "nograb", "dograb", "sync",
                                                      "testability"};
// Those Qt also takes as "-option=value".
constexpr std::array<std::string_view, 5> kQtWithEquals = {"style", "stylesheet", "qmljsdebugger", "dialogs",
                                                           "fontengine"};

template <std::size_t N>
bool Among(const std::array<std::string_view, N>& names, std::string_view name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

} // namespace

Arguments SortArguments(const std::vector<std::string>& arguments,
                        const std::function<bool(const std::string&)>& isFile)
{
    Arguments sorted;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            sorted.files.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        // Qt reads "--option" as "-option".
        std::string_view name(argument);
        name.remove_prefix(name.starts_with("--") ? 2 : 1);
        const std::size_t equals = name.find('=');
        if (name == "help" || name == "h" || name == "version" || name == "v")
            continue;
        if (Among(kQtWithValue, name)) {
            ++i; // its value, whatever it looks like
            continue;
        }
        if (Among(kQtFlags, name) || (equals != std::string_view::npos && Among(kQtWithEquals, name.substr(0, equals))))
            continue;
        if (isFile(argument))
            sorted.files.push_back(argument);
        else if (sorted.unknown.empty())
            sorted.unknown = argument;
    }
    return sorted;
}

} // namespace Program
