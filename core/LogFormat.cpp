// SPDX-License-Identifier: GPL-3.0-or-later
#include "LogFormat.h"

#include <array>
#include <cstring>

namespace Core::Log {

namespace {

constexpr char kMagic[8] = {'M', 'O', 'R', 'V', 'I', 'K', 'J', '\n'};
constexpr std::size_t kTrailer = 4;

// CRC-32C tables for eight bytes a step: a byte at a time would cost a run
// several per cent.
constexpr auto kTables = [] {
    std::array<std::array<std::uint32_t, 256>, 8> t{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t c = i;
        for (int k = 0; k < 8; ++k)
            c = (c >> 1) ^ (0x82F63B78u & (0u - (c & 1u)));
        t[0][i] = c;
    }
    for (std::size_t i = 0; i < 256; ++i)
        for (std::size_t k = 1; k < 8; ++k)
            t[k][i] = (t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFF];
    return t;
}();

#if defined(__x86_64__)
// The processor's own CRC-32C, eight bytes an instruction, where it has one:
// the journal costs a run then less than its other checks did.
__attribute__((target("sse4.2"))) std::uint32_t Crc32cByHardware(std::uint32_t crc, std::string_view bytes)
{
    std::uint64_t c = ~crc;
    const char* p = bytes.data();
    std::size_t n = bytes.size();
    for (; n >= 8; p += 8, n -= 8) {
        std::uint64_t word;
        std::memcpy(&word, p, 8);
        c = __builtin_ia32_crc32di(c, word);
    }
    auto c32 = static_cast<std::uint32_t>(c);
    for (; n > 0; ++p, --n)
        c32 = __builtin_ia32_crc32qi(c32, static_cast<unsigned char>(*p));
    return ~c32;
}

const bool kHardwareCrc = __builtin_cpu_supports("sse4.2");
#endif

// CRC-32C of bytes, going on from crc (0 to start).
std::uint32_t Crc32c(std::uint32_t crc, std::string_view bytes)
{
#if defined(__x86_64__)
    if (kHardwareCrc)
        return Crc32cByHardware(crc, bytes);
#endif
    crc = ~crc;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    std::size_t n = bytes.size();
    for (; n >= 8; p += 8, n -= 8) {
        const std::uint32_t lo = crc ^ (std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16
                                        | std::uint32_t(p[3]) << 24);
        crc = kTables[7][lo & 0xFF] ^ kTables[6][(lo >> 8) & 0xFF] ^ kTables[5][(lo >> 16) & 0xFF]
            ^ kTables[4][lo >> 24] ^ kTables[3][p[4]] ^ kTables[2][p[5]] ^ kTables[1][p[6]] ^ kTables[0][p[7]];
    }
    for (; n > 0; ++p, --n)
        crc = (crc >> 8) ^ kTables[0][(crc ^ *p) & 0xFF];
    return ~crc;
}

// A check stored beside data that holds checks of its own stays telling.
std::uint32_t Mask(std::uint32_t crc)
{
    return ((crc >> 15) | (crc << 17)) + 0xA282EAD8u;
}

// The check a record ends with: its length's four bytes, then its payload.
std::uint32_t RecordCheck(std::string_view length, std::string_view payload)
{
    return Mask(Crc32c(Crc32c(0, length), payload));
}

void PutU32(std::string& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>(v >> (8 * i)));
}

std::uint32_t U32(const char* p)
{
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= std::uint32_t(static_cast<unsigned char>(p[i])) << (8 * i);
    return v;
}

} // namespace

std::uint32_t Check(std::string_view bytes)
{
    return Mask(Crc32c(0, bytes));
}

std::string Header(std::uint32_t version)
{
    std::string header(kMagic, sizeof kMagic);
    PutU32(header, version);
    return header;
}

void Seal(std::string& record)
{
    const std::string_view payload = std::string_view(record).substr(kFrameSize);
    std::string frame;
    PutU32(frame, static_cast<std::uint32_t>(payload.size()));
    PutU32(frame, Check(frame));
    const std::uint32_t check = RecordCheck(frame.substr(0, 4), payload);
    record.replace(0, kFrameSize, frame);
    PutU32(record, check);
}

void AppendRecord(std::string& out, std::string_view payload)
{
    std::string record(kFrameSize, '\0');
    record.append(payload);
    Seal(record);
    out += record;
}

bool Reader::Read(std::int64_t offset, char* data, std::size_t n)
{
    error_ = source_(offset, data, n);
    return error_ == 0;
}

// Whether everything from offset to the end is zero: what a power cut leaves
// of writes that had not reached the disk.
bool Reader::ZerosFrom(std::int64_t offset)
{
    std::array<char, 4096> block;
    while (offset < size_) {
        const std::size_t n = static_cast<std::size_t>(std::min<std::int64_t>(block.size(), size_ - offset));
        if (!Read(offset, block.data(), n))
            return false;
        for (std::size_t i = 0; i < n; ++i)
            if (block[i] != '\0')
                return false;
        offset += static_cast<std::int64_t>(n);
    }
    return true;
}

Reader::Status Reader::ReadHeader(std::uint32_t& version)
{
    char header[kHeaderSize];
    if (size_ < static_cast<std::int64_t>(kHeaderSize))
        return Damaged;
    if (!Read(0, header, sizeof header))
        return Unreadable;
    if (std::memcmp(header, kMagic, sizeof kMagic) != 0)
        return Damaged;
    version = U32(header + sizeof kMagic);
    at_ = kHeaderSize;
    return Header;
}

Reader::Status Reader::Next(std::string& payload, std::int64_t& offset)
{
    if (at_ >= size_)
        return End;
    const std::int64_t rest = size_ - at_;
    // The end comes inside the frame: a record cut off as it was written.
    if (rest < static_cast<std::int64_t>(kFrameSize))
        return Torn;
    char frame[kFrameSize];
    if (!Read(at_, frame, kFrameSize))
        return Unreadable;
    if (Check(std::string_view(frame, 4)) != U32(frame + 4))
        return ZerosFrom(at_) ? Torn : error_ ? Unreadable : Damaged;
    const std::uint32_t length = U32(frame);
    // The length is sound, so a file that ends before the record does was cut.
    if (static_cast<std::int64_t>(kFrameSize + length + kTrailer) > rest)
        return Torn;
    payload.resize(kFrameSize + length + kTrailer);
    if (!Read(at_, payload.data(), payload.size()))
        return Unreadable;
    const std::string_view bytes(payload);
    const std::uint32_t check = U32(payload.data() + kFrameSize + length);
    if (RecordCheck(bytes.substr(0, 4), bytes.substr(kFrameSize, length)) != check) {
        const std::int64_t trailer = at_ + static_cast<std::int64_t>(kFrameSize + length);
        return ZerosFrom(trailer) ? Torn : error_ ? Unreadable : Damaged;
    }
    offset = at_;
    at_ += static_cast<std::int64_t>(kFrameSize + length + kTrailer);
    payload.erase(payload.size() - kTrailer);
    payload.erase(0, kFrameSize);
    return Record;
}

bool Reader::RecordAt(std::int64_t offset, std::string& payload)
{
    const std::int64_t at = at_;
    at_ = offset;
    std::int64_t found = 0;
    const bool whole = Next(payload, found) == Record;
    at_ = at;
    return whole;
}

} // namespace Core::Log
