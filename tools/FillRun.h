#pragma once
// The fill-tags run over one folder: for each MP3 file, read the tag, fill
// the enabled fields from their templates and write the tag back, asking
// before a read-only file is touched.
#include "TemplateExpansion.h"
#include "UserDialogs.h"

#include <string>

namespace Tools {

enum class FillEnd {
    Completed,    // every file handled; the completion message was shown
    WriteRefused, // error 75: the run was broken off with a message naming the file
    Broken,       // any other error: the run ended without a message
};

// strFolder ends in "/". The run stops at the first error; a read-only bit
// cleared for the file at hand is set back before it returns.
FillEnd RunFill(const std::string& strFolder, const FillSettings& settings, Quenlar::_TMP3Tag& objTag,
                mdlMain::UserDialogs& dialogs);

} // namespace Tools
