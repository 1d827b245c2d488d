// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The framing of the run journal, which knows nothing of what it frames. A
// header (the 8 bytes "MORVIKJ\n" and a 32-bit version), then one record per
// change, each appended with one write:
//   length  u32   the payload's size
//   guard   u32   a check of the length alone
//   payload       length bytes
//   check   u32   a check of the length and the payload
// Numbers are little-endian; checks are masked CRC-32C. The guard tells a
// garbled length from a file that ends part way through a record, so that
// only a journal cut off inside its last record (a killed program), or
// ending in zeros (a power cut), counts as torn; any other flipped or missing
// byte is damage.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace Core::Log {

inline constexpr std::size_t kHeaderSize = 12;

// The journal's first bytes for a format version.
std::string Header(std::uint32_t version);

// Room for the length and its guard at the start of a record being built:
// the payload goes after it, and Seal completes the record in place, so that
// a run builds each record without copying it.
inline constexpr std::size_t kFrameSize = 8;
void Seal(std::string& record);
// Appends payload to out as one record.
void AppendRecord(std::string& out, std::string_view payload);

// Masked CRC-32C of bytes, as the records carry it.
std::uint32_t Check(std::string_view bytes);

// Reads a journal's records from its start, from any source of bytes (a
// file, or a string in tests); nothing is held but the record at hand.
class Reader {
public:
    // Reads n bytes at offset into data: 0, or the errno.
    using Source = std::function<int(std::int64_t offset, char* data, std::size_t n)>;
    Reader(Source source, std::int64_t size) : source_(std::move(source)), size_(size) {}

    enum Status {
        Header,     // (from ReadHeader) the header is whole; version holds it
        Record,     // payload and offset hold the next record
        End,        // every record read
        Torn,       // the journal ends part way through its last record, or in zeros
        Damaged,    // not a journal, or garbled
        Unreadable, // error holds the errno
    };
    Status ReadHeader(std::uint32_t& version);
    Status Next(std::string& payload, std::int64_t& offset);
    int Error() const { return error_; }
    // The offset of the next record.
    std::int64_t Position() const { return at_; }

    // The record at offset, read again; false when it no longer reads whole.
    bool RecordAt(std::int64_t offset, std::string& payload);

private:
    bool Read(std::int64_t offset, char* data, std::size_t n);
    bool ZerosFrom(std::int64_t offset);

    Source source_;
    std::int64_t size_;
    std::int64_t at_ = 0;
    int error_ = 0;
};

} // namespace Core::Log
