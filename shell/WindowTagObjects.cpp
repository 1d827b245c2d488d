#include "WindowTagObjects.h"

#include "MessageBoxes.h"
#include "TagObjects.h"

namespace Shell {

std::unique_ptr<Quenlar::_TMP3Tag> CreateTagObject()
{
    return Core::NewTagObject([](const std::string& caption, const std::string& message) {
        return WindowDialogs(nullptr).MsgBox(message, Core::vbYesNoQuestion, caption) == Core::vbYes;
    });
}

} // namespace Shell
