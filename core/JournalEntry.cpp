// SPDX-License-Identifier: GPL-3.0-or-later
#include "JournalEntry.h"

#include <cstring>
#include <limits>

// Payloads, numbers little-endian:
//   write:  1, flags (1 = appended, 2 = record known), length (64), path
//           (32-bit size, bytes), the last 128 bytes before, and when known
//           the 128-byte record written
//   after:  3, length (64), the last 128 bytes after the write before it
//   rename: 2, device (64), inode (64), old name, new name (each as a path)

namespace Core {

namespace {

constexpr std::uint8_t kWrite = 1, kRename = 2, kAfter = 3;
constexpr std::uint8_t kAppended = 1, kRecordKnown = 2;

void PutNumber(std::string& out, std::uint64_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>(v >> (8 * i)));
}

bool PutPath(std::string& out, const std::string& path, const std::string& folder)
{
    const bool relative = !path.starts_with('/');
    if (relative && !folder.starts_with('/'))
        return false;
    const std::string_view base = relative ? std::string_view(folder) : std::string_view();
    const bool slash = relative && !base.ends_with('/');
    PutNumber(out, base.size() + (slash ? 1 : 0) + path.size(), 4);
    out.append(base);
    if (slash)
        out.push_back('/');
    out.append(path);
    return true;
}

// Reads a payload field by field; any field past its end, or any rule
// broken, makes the whole payload not ours.
class Cursor {
public:
    explicit Cursor(std::string_view bytes) : rest_(bytes) {}
    bool ok() const { return ok_ && rest_.empty(); }
    std::uint64_t Number(int bytes)
    {
        if (!Have(static_cast<std::size_t>(bytes)))
            return 0;
        std::uint64_t v = 0;
        for (int i = 0; i < bytes; ++i)
            v |= std::uint64_t(static_cast<unsigned char>(rest_[static_cast<std::size_t>(i)])) << (8 * i);
        rest_.remove_prefix(static_cast<std::size_t>(bytes));
        return v;
    }
    void Bytes(std::array<char, 128>& to)
    {
        if (!Have(to.size()))
            return;
        std::memcpy(to.data(), rest_.data(), to.size());
        rest_.remove_prefix(to.size());
    }
    // A full path: not empty, from the root, no NUL inside.
    std::string Path()
    {
        const std::size_t n = Number(4);
        if (n == 0 || !Have(n)) {
            ok_ = false;
            return std::string();
        }
        std::string path(rest_.substr(0, n));
        rest_.remove_prefix(n);
        Require(path[0] == '/' && path.find('\0') == std::string::npos);
        return path;
    }
    void Require(bool rule) { ok_ = ok_ && rule; }

private:
    bool Have(std::size_t n)
    {
        ok_ = ok_ && rest_.size() >= n;
        return ok_;
    }
    std::string_view rest_;
    bool ok_ = true;
};

} // namespace

bool EncodeEntry(const JournalEntry& e, const std::string& folder, std::string& out)
{
    switch (e.kind) {
    case JournalEntry::Write:
        out.push_back(static_cast<char>(kWrite));
        out.push_back(static_cast<char>((e.recordKnown ? kRecordKnown : 0) | (e.appending ? kAppended : 0)));
        PutNumber(out, static_cast<std::uint64_t>(e.length), 8);
        if (!PutPath(out, e.path, folder))
            return false;
        out.append(e.last.data(), e.last.size());
        if (e.recordKnown)
            out.append(e.record.data(), e.record.size());
        return true;
    case JournalEntry::After:
        out.push_back(static_cast<char>(kAfter));
        PutNumber(out, static_cast<std::uint64_t>(e.length), 8);
        out.append(e.last.data(), e.last.size());
        return true;
    case JournalEntry::Rename:
        out.push_back(static_cast<char>(kRename));
        PutNumber(out, e.device, 8);
        PutNumber(out, e.inode, 8);
        return PutPath(out, e.path, folder) && PutPath(out, e.target, folder);
    }
    return false;
}

bool DecodeEntry(std::string_view payload, JournalEntry& e)
{
    Cursor c(payload);
    const auto kind = static_cast<std::uint8_t>(c.Number(1));
    if (kind == kWrite) {
        e.kind = JournalEntry::Write;
        const auto flags = c.Number(1);
        e.appending = flags & kAppended;
        e.recordKnown = flags & kRecordKnown;
        e.length = static_cast<std::int64_t>(c.Number(8));
        e.path = c.Path();
        c.Bytes(e.last);
        if (e.recordKnown)
            c.Bytes(e.record);
        c.Require((flags & ~(kAppended | kRecordKnown)) == 0);
    } else if (kind == kAfter) {
        e.kind = JournalEntry::After;
        e.length = static_cast<std::int64_t>(c.Number(8));
        c.Bytes(e.last);
    } else if (kind == kRename) {
        e.kind = JournalEntry::Rename;
        e.device = c.Number(8);
        e.inode = c.Number(8);
        e.path = c.Path();
        e.target = c.Path();
    } else {
        return false;
    }
    if (kind != kRename)
        c.Require(e.length >= 128 && e.length <= std::numeric_limits<std::int64_t>::max() - 128);
    return c.ok();
}

void Settle(JournalEntry& write, const JournalEntry& after)
{
    if (after.length == write.length || after.length == write.length + 128) {
        write.appending = after.length != write.length;
        write.record = after.last;
        write.recordKnown = true;
    }
}

} // namespace Core
