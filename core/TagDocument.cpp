// SPDX-License-Identifier: GPL-3.0-or-later
#include "TagDocument.h"

#include "Codepage.h"
#include "FileSystem.h"
#include "GenreList.h"
#include "Renaming.h"
#include "Reports.h"
#include "TagObjects.h"
#include "TextHelpers.h"

namespace Core {

TagDocument::TagDocument(TagFactory factory) : factory_(std::move(factory))
{
}

Quenlar::_TMP3Tag& TagDocument::Tag()
{
    if (!tag_)
        tag_ = factory_();
    return *tag_;
}

std::vector<GenreEntry> TagDocument::GenreEntries()
{
    return SortedGenreList(Tag(), 1);
}

TagFields TagDocument::ReadFields(const std::string& path)
{
    Quenlar::_TMP3Tag& tag = Tag();
    tag.TagRead(path);
    // The bytes as read: the fields show them as Windows-1251 whatever they are.
    Quenlar::FileEnd end;
    guess_ = Quenlar::LastReadEnd(tag, end) ? GuessRecordCodepage(end.last) : CodepageGuess();
    return tag.ValidTag() ? FieldsOf(tag) : TagFields();
}

TagFields TagDocument::FieldsOf(const Quenlar::_TMP3Tag& tag) const
{
    TagFields f;
    f.title = CutAtNull(tag.Title());
    f.artist = CutAtNull(tag.Artist());
    f.album = CutAtNull(tag.Album());
    f.year = CutAtNull(tag.Year());
    // 0 and the numbers without a name (126..254) show as the empty entry.
    const std::uint8_t g = tag.Genre();
    f.genre = (g == 0 || tag.GenreIDToName(g).empty()) ? 255 : g;
    f.comment = CutAtNull(tag.Comment());
    return f;
}

void TagDocument::WriteFields(const std::string& path, const TagFields& fields)
{
    Quenlar::_TMP3Tag& tag = Tag();
    // What the file holds now, not what it held when the window was filled:
    // another program or a fill run may have changed it meanwhile.
    tag.TagRead(path);
    const bool all = !tag.ValidTag();
    if (all || fields.title != shown_.title)
        tag.SetTitle(fields.title);
    if (all || fields.artist != shown_.artist)
        tag.SetArtist(fields.artist);
    if (all || fields.album != shown_.album)
        tag.SetAlbum(fields.album);
    if (all || fields.year != shown_.year)
        tag.SetYear(fields.year);
    if (all || fields.genre != shown_.genre)
        tag.SetGenre(fields.genre);
    if (all || fields.comment != shown_.comment) {
        const std::uint8_t track = Quenlar::Track(tag);
        tag.SetComment(fields.comment);
        if (track != 0 && Quenlar::Codepage::CountCharacters(fields.comment) <= 28)
            Quenlar::SetTrack(tag, track);
    }
    tag.TagWrite(path, false);
}

bool TagDocument::Load(UserDialogs& dialogs, const std::string& path, TagFields& fields)
{
    try {
        fields = ReadFields(path);
        shown_ = fields;
        return true;
    } catch (const Quenlar::LibraryError& e) {
        dialogs.MsgBox(TagErrorText(path, e), vbCritical);
        return false;
    }
}

TagDocument::Outcome TagDocument::ReportMissing(UserDialogs& dialogs, const std::string& path)
{
    dialogs.MsgBox(MissingFileText(path, std::string(".") + CR + "Окно, соответствующее этому файлу будет закрыто."),
                   vbCritical);
    return Missing;
}

TagDocument::Outcome TagDocument::Save(UserDialogs& dialogs, const std::string& path,
                                       TagFields& fields)
{
    if (!Platform::FileExists(path))
        return ReportMissing(dialogs, path);

    const std::u32string lost = Quenlar::Codepage::CharactersNotHeld(fields.title + fields.artist + fields.album
                                                                     + fields.year + fields.comment);
    if (!MayStoreAsQuestionMarks(dialogs, lost, "В полях", "Всё равно записать теги в файл " + path + "?"))
        return Withheld;
    const auto question = [&] {
        return "Файл " + path + " доступен только для чтения." + CR + CR + "Вы все равно хотите изменить теги в нем?";
    };
    try {
        if (!WriteAskingAboutReadOnly(dialogs, path, Platform::GetFileAttributesA(path), question, [&] {
                WriteFields(path, fields);
                shown_ = FieldsOf(Tag()); // exactly what was written
                std::array<char, 128> written{};
                guess_ = Quenlar::RecordOf(Tag(), written) ? GuessRecordCodepage(written) : CodepageGuess();
            }))
            return Declined;
    } catch (const Quenlar::LibraryError& e) {
        dialogs.MsgBox(TagErrorText(path, e), vbCritical);
        return Failed;
    }
    fields = shown_;
    return Done;
}

TagDocument::Outcome TagDocument::Reread(UserDialogs& dialogs, const std::string& path,
                                         TagFields& fields)
{
    if (!Platform::FileExists(path))
        return ReportMissing(dialogs, path);
    return Load(dialogs, path, fields) ? Done : Failed;
}

TagDocument::RenameResult TagDocument::Rename(UserDialogs& dialogs, const std::string& path,
                                              const std::string& templ, const TagFields& fields)
{
    if (!Platform::FileExists(path)) {
        ReportMissing(dialogs, path);
        return {RenameResult::Missing, path};
    }
    const std::unique_ptr<ValuePrompt> prompt = dialogs.NewPrompt();
    const RenameOutcome outcome = RenameAfterTemplate(
        dialogs, *prompt, path, templ,
        {fields.title, fields.artist, fields.album, fields.year, Tag().GenreIDToName(fields.genre)});
    switch (outcome.kind) {
    case RenameOutcome::Renamed:
        return {RenameResult::Renamed, outcome.target};
    case RenameOutcome::Unchanged:
        return {RenameResult::Unchanged, path};
    case RenameOutcome::Cancelled:
        return {RenameResult::Cancelled, path};
    case RenameOutcome::Refused:
    case RenameOutcome::Outside:
    case RenameOutcome::Failed:
        break;
    }
    return {RenameResult::Failed, path};
}

} // namespace Core
