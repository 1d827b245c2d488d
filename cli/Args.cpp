// SPDX-License-Identifier: GPL-3.0-or-later
#include "Args.h"

#include <algorithm>
#include <iostream>

namespace Cli {

bool Arguments::Has(const std::string& name) const
{
    return values.count(name) || std::find(flags.begin(), flags.end(), name) != flags.end();
}

std::optional<std::string> Arguments::Value(const std::string& name) const
{
    const auto it = values.find(name);
    if (it == values.end())
        return std::nullopt;
    return it->second;
}

std::optional<Arguments> Parse(const std::vector<std::string>& args, const std::vector<OptionSpec>& specs,
                               std::string& error)
{
    Arguments parsed;
    const auto byName = [&](const std::string& name) -> const OptionSpec* {
        for (const OptionSpec& rule : specs)
            if (rule.name == name)
                return &rule;
        return nullptr;
    };
    const auto byLetter = [&](char letter) -> const OptionSpec* {
        for (const OptionSpec& rule : specs)
            if (rule.letter != 0 && rule.letter == letter)
                return &rule;
        return nullptr;
    };
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg == "-" || arg.empty() || arg[0] != '-') {
            parsed.positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        const OptionSpec* rule = nullptr;
        std::optional<std::string> inlineValue;
        std::string shown = arg;
        if (arg.rfind("--", 0) == 0) {
            std::string name = arg.substr(2);
            if (const auto eq = name.find('='); eq != std::string::npos) {
                inlineValue = name.substr(eq + 1);
                name.resize(eq);
                shown = "--" + name;
            }
            if (name == "help") {
                parsed.help = true;
                continue;
            }
            rule = byName(name);
        } else {
            if (arg == "-h") {
                parsed.help = true;
                continue;
            }
            rule = byLetter(arg[1]);
            shown = arg.substr(0, 2);
            if (arg.size() > 2)
                inlineValue = arg.substr(2);
        }
        if (!rule) {
            error = "неизвестный параметр " + shown;
            return std::nullopt;
        }
        if (!rule->takesValue) {
            if (inlineValue) {
                error = "параметр " + shown + " не принимает значения";
                return std::nullopt;
            }
            parsed.flags.push_back(rule->name);
            continue;
        }
        if (!inlineValue) {
            if (i + 1 >= args.size()) {
                error = "у параметра " + shown + " нет значения";
                return std::nullopt;
            }
            inlineValue = args[++i];
        }
        parsed.values[rule->name] = *inlineValue;
    }
    return parsed;
}

int UsageError(const std::string& command, const std::string& error)
{
    std::cerr << "morvik-cli " << command << ": " << error << "\n"
              << "Подробнее: morvik-cli " << command << " --help\n";
    return kUsage;
}

} // namespace Cli
