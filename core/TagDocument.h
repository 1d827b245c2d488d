// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a document window does with its file, without the window: read the
// tag into field values, save them, re-read, and rename after a template.
// Questions and reports go through UserDialogs, so the window stays thin.
#include "CodepageGuess.h"
#include "GenreList.h"
#include "UserDialogs.h"
#include "TMP3Tag.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace Core {

// The six tag fields as the window shows them.
struct TagFields {
    std::string title, artist, album, year, comment;
    std::uint8_t genre = 255; // 1..125, or 255 for the empty entry

    bool operator==(const TagFields&) const = default;
};

class TagDocument {
public:
    enum Outcome {
        Done,     // written or read
        Declined, // the user said No to writing a read-only file
        Withheld, // the user would not have characters stored as "?": nothing written
        Missing,  // the file has vanished; the user has been told
        Failed,   // an error has been reported; nothing else changed
    };
    struct RenameResult {
        enum Kind { Renamed, Unchanged, Cancelled, Missing, Failed } kind;
        std::string target; // the new full path after Renamed
    };

    using TagFactory = std::function<std::unique_ptr<Quenlar::_TMP3Tag>()>;
    explicit TagDocument(TagFactory factory);

    // The genre list: the empty entry (255), then genres 1 to 125 sorted by
    // name. Genre 0 is not offered. Throws Quenlar::LibraryError when the tag
    // object cannot be made.
    std::vector<GenreEntry> GenreEntries();

    // Reads the tag of path into fields (all empty for an untagged file);
    // they are then the fields as shown. Reports a failure and returns false.
    bool Load(UserDialogs& dialogs, const std::string& path, TagFields& fields);
    // Writes the fields that differ from the fields as shown into the record
    // the file holds at this moment: every other byte of it stays, a track
    // number too while the comment leaves room for it. A file without a
    // record gets all six. Asks first about characters that the tag cannot
    // hold, then about a read-only file, and restores its attribute
    // afterwards, also when the write fails. On Done, fields hold what the
    // file now holds, and are the fields as shown.
    Outcome Save(UserDialogs& dialogs, const std::string& path, TagFields& fields);
    // Reads the tag of path again; fields are only changed on Done.
    Outcome Reread(UserDialogs& dialogs, const std::string& path, TagFields& fields);
    // The code page the text of the record last read or written looks
    // written in (None without a record): told to the user, never applied.
    CodepageGuess Guess() const { return guess_; }
    // Renames path to the name templ gives for fields, in the same folder or
    // below, asking for another path while the target is taken. Never
    // replaces; Unchanged when the target is the file itself.
    RenameResult Rename(UserDialogs& dialogs, const std::string& path, const std::string& templ,
                        const TagFields& fields);

private:
    Quenlar::_TMP3Tag& Tag();
    // TagRead of path, then the fields from the object (empty without a tag).
    TagFields ReadFields(const std::string& path);
    // The fields as the object holds them.
    TagFields FieldsOf(const Quenlar::_TMP3Tag& tag) const;
    // TagRead of path, the changed fields into the object, then TagWrite.
    void WriteFields(const std::string& path, const TagFields& fields);
    Outcome ReportMissing(UserDialogs& dialogs, const std::string& path);

    TagFactory factory_;
    std::unique_ptr<Quenlar::_TMP3Tag> tag_; // made on first use, kept for every file operation
    TagFields shown_;                        // as filled, re-read or saved: what an edit is measured against
    CodepageGuess guess_;                    // of the record shown_ came from
};

} // namespace Core
