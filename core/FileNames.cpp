#include "FileNames.h"

#include <cstdint>
#include <string_view>

namespace mdlMain {

namespace {

// Windows-1251 from 0x80 on; 0x98, which the code page leaves undefined,
// stands for U+0098 as in the tag library.
constexpr char16_t kCp1251High[128] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0098, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
    // 0xC0..0xFF: А..я in order
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C,
    0x041D, 0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429,
    0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F, 0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436,
    0x0437, 0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443,
    0x0444, 0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F};

void AppendUtf8(std::string& out, char16_t c)
{
    if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    }
    out += static_cast<char>(0x80 | (c & 0x3F));
}

// Well-formed UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool WellFormedUtf8(std::string_view s)
{
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<std::uint8_t>(s[i]);
        std::size_t n;
        std::uint8_t lo = 0x80, hi = 0xBF; // the second byte's range
        if (b < 0x80) {
            ++i;
            continue;
        } else if (b >= 0xC2 && b <= 0xDF) {
            n = 1;
        } else if (b >= 0xE0 && b <= 0xEF) {
            n = 2;
            if (b == 0xE0)
                lo = 0xA0;
            else if (b == 0xED)
                hi = 0x9F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            n = 3;
            if (b == 0xF0)
                lo = 0x90;
            else if (b == 0xF4)
                hi = 0x8F;
        } else {
            return false;
        }
        if (s.size() - i <= n) // cut short
            return false;
        const auto second = static_cast<std::uint8_t>(s[i + 1]);
        if (second < lo || second > hi)
            return false;
        for (std::size_t k = 2; k <= n; ++k)
            if ((static_cast<std::uint8_t>(s[i + k]) & 0xC0) != 0x80)
                return false;
        i += n + 1;
    }
    return true;
}

} // namespace

std::string Readable(const std::string& bytes)
{
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
        if (WellFormedUtf8(run)) {
            out += run;
        } else {
            for (const char b : run)
                AppendUtf8(out, kCp1251High[static_cast<std::uint8_t>(b) - 0x80]);
        }
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

} // namespace mdlMain
