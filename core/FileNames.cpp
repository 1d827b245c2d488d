// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileNames.h"

#include "Codepage.h"

#include <cstdint>
#include <string_view>

namespace Core {

std::string Readable(const std::string& bytes)
{
    using namespace Quenlar::Codepage;
    if (WellFormedUtf8(bytes))
        return bytes;
    std::string out;
    out.reserve(bytes.size() * 2);
    for (std::size_t i = 0; i < bytes.size();) {
        if (static_cast<std::uint8_t>(bytes[i]) < 0x80) {
            out += bytes[i++];
            continue;
        }
        std::size_t end = i;
        while (end < bytes.size() && static_cast<std::uint8_t>(bytes[end]) >= 0x80)
            ++end;
        const std::string_view run(bytes.data() + i, end - i);
        out += WellFormedUtf8(run) ? std::string(run) : Decode(run);
        i = end;
    }
    return out;
}

std::string BytesOfEdit(const std::string& edited, const std::string& original)
{
    if (edited == Readable(original))
        return original;
    // Runs never cross a "/", so the readable form of a folder part is the
    // start of the readable form of the whole.
    for (std::size_t slash = original.rfind('/'); slash != std::string::npos;
         slash = slash == 0 ? std::string::npos : original.rfind('/', slash - 1)) {
        const std::string folder = original.substr(0, slash + 1);
        const std::string shown = Readable(folder);
        if (edited.compare(0, shown.size(), shown) == 0)
            return folder + edited.substr(shown.size());
    }
    return edited;
}

std::string NameStem(const std::string& fileName)
{
    using namespace Quenlar::Codepage;
    const std::string shown = Readable(fileName);
    const std::size_t count = CountCharacters(shown);
    return std::string(FirstCharacters(shown, count > 4 ? count - 4 : 0));
}

} // namespace Core
