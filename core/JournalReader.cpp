// SPDX-License-Identifier: GPL-3.0-or-later
#include "JournalReader.h"

#include "File.h"
#include "LogFormat.h"

#include <cerrno>

namespace Core {

JournalIndex::JournalIndex(const std::string& path)
{
    int error = 0;
    auto file = Platform::File::Open(path, Platform::File::Reading, error);
    if (!file) {
        error_ = error;
        status_ = error == ENOENT ? Missing : error == Platform::kNotRegularFile ? Damaged : Unreadable;
        return;
    }
    file_ = std::make_unique<Platform::File>(std::move(*file));
    const Platform::File& opened = *file_;
    reader_ = std::make_unique<Log::Reader>(
        [&opened](std::int64_t offset, char* data, std::size_t n) { return opened.ReadAt(offset, data, n); },
        opened.Length());
    Index();
}

JournalIndex::~JournalIndex() = default;

void JournalIndex::Index()
{
    Log::Reader& reader = *reader_;
    switch (reader.ReadHeader(version_)) {
    case Log::Reader::Header:
        break;
    case Log::Reader::Unreadable:
        status_ = Unreadable;
        error_ = reader.Error();
        return;
    default:
        status_ = Damaged;
        return;
    }
    if (version_ != kJournalVersion) {
        status_ = OtherFormat;
        return;
    }
    std::string payload;
    JournalEntry entry;
    bool waiting = false; // the last write waits for its after-note
    for (;;) {
        std::int64_t offset = 0;
        switch (reader.Next(payload, offset)) {
        case Log::Reader::Record:
            break;
        case Log::Reader::End:
        case Log::Reader::Torn:
            status_ = Read;
            return;
        case Log::Reader::Unreadable:
            status_ = Unreadable;
            error_ = reader.Error();
            places_.clear();
            return;
        default:
            status_ = Damaged;
            places_.clear();
            return;
        }
        // A record that reads whole but is none of ours is damage too.
        if (!DecodeEntry(payload, entry) || (entry.kind == JournalEntry::After) != waiting) {
            status_ = Damaged;
            places_.clear();
            return;
        }
        if (entry.kind == JournalEntry::After) {
            places_.back().after = offset;
            waiting = false;
        } else {
            places_.push_back({offset, -1});
            waiting = entry.kind == JournalEntry::Write && !entry.recordKnown;
        }
    }
}

bool JournalIndex::Entry(std::size_t i, JournalEntry& entry)
{
    std::string payload;
    Log::Reader& reader = *reader_;
    if (!reader.RecordAt(places_[i].entry, payload) || !DecodeEntry(payload, entry)) {
        error_ = reader.Error() ? reader.Error() : EIO;
        return false;
    }
    if (places_[i].after < 0)
        return true;
    JournalEntry after;
    if (!reader.RecordAt(places_[i].after, payload) || !DecodeEntry(payload, after)) {
        error_ = reader.Error() ? reader.Error() : EIO;
        return false;
    }
    Settle(entry, after);
    return true;
}

JournalReading ReadJournal(const std::string& folder)
{
    JournalReading reading;
    JournalIndex index(JournalPath(folder));
    reading.status = index.State();
    reading.error = index.Error();
    reading.version = index.Version();
    if (reading.status != JournalIndex::Read)
        return reading;
    reading.entries.resize(index.Count());
    for (std::size_t i = 0; i < index.Count(); ++i)
        if (!index.Entry(i, reading.entries[i])) {
            reading.status = JournalIndex::Unreadable;
            reading.error = index.Error();
            reading.entries.clear();
            break;
        }
    return reading;
}

} // namespace Core
