// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowTagObjects.h"

#include "MessageBoxes.h"
#include "TagObjects.h"

namespace Shell {

namespace {
std::function<std::unique_ptr<Quenlar::_TMP3Tag>()> factoryForTests;
} // namespace

std::unique_ptr<Quenlar::_TMP3Tag> CreateTagObject()
{
    if (factoryForTests)
        return factoryForTests();
    return Core::NewTagObject([](const std::string& caption, const std::string& message) {
        return WindowDialogs(nullptr).MsgBox(message, Core::vbYesNoQuestion, caption) == Core::vbYes;
    });
}

void SetTagObjectFactoryForTests(std::function<std::unique_ptr<Quenlar::_TMP3Tag>()> factory)
{
    factoryForTests = std::move(factory);
}

} // namespace Shell
