#include "TagDocument.h"

#include "FileSystem.h"
#include "GenreList.h"
#include "Reports.h"
#include "TagObjects.h"
#include "TextHelpers.h"

#include <optional>

using mdlMain::CR;
using mdlMain::CutAtNull;

TagDocument::TagDocument(TagFactory factory) : factory_(std::move(factory))
{
}

Quenlar::_TMP3Tag& TagDocument::Tag()
{
    if (!tag_)
        tag_ = factory_();
    return *tag_;
}

std::vector<mdlMain::GenreEntry> TagDocument::GenreEntries()
{
    return mdlMain::SortedGenreList(Tag(), 1);
}

TagFields TagDocument::ReadFields(const std::string& path)
{
    Quenlar::_TMP3Tag& tag = Tag();
    tag.TagRead(path);
    if (!tag.ValidTag())
        return TagFields();
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
    tag.SetTitle(fields.title);
    tag.SetArtist(fields.artist);
    tag.SetAlbum(fields.album);
    tag.SetYear(fields.year);
    tag.SetGenre(fields.genre);
    tag.SetComment(fields.comment);
    tag.TagWrite(path, false);
}

bool TagDocument::Load(mdlMain::UserDialogs& dialogs, const std::string& path, TagFields& fields)
{
    try {
        fields = ReadFields(path);
        return true;
    } catch (const Quenlar::LibraryError& e) {
        dialogs.MsgBox(mdlMain::TagErrorText(path, e), mdlMain::vbCritical);
        return false;
    }
}

TagDocument::Outcome TagDocument::ReportMissing(mdlMain::UserDialogs& dialogs, const std::string& path)
{
    dialogs.MsgBox("Файл " + path + " отсутствует." + CR + "Окно, соответствующее этому файлу будет закрыто.",
                   mdlMain::vbCritical);
    return Missing;
}

TagDocument::Outcome TagDocument::Save(mdlMain::UserDialogs& dialogs, const std::string& path,
                                       const TagFields& fields)
{
    if (!Platform::FileExists(path))
        return ReportMissing(dialogs, path);

    const std::int32_t attributes = Platform::GetFileAttributesA(path);
    const bool readOnly = attributes & Platform::faReadOnly;
    if (readOnly
        && dialogs.MsgBox("Файл " + path + " доступен только для чтения." + CR + CR
                              + "Вы все равно хотите изменить теги в нем?",
                          mdlMain::vbYesNoQuestion)
            != mdlMain::vbYes)
        return Declined;

    std::optional<Quenlar::LibraryError> error;
    int restoreError = 0;
    {
        // The attribute comes back before anything is reported.
        std::optional<Platform::WritableScope> writable;
        if (readOnly)
            writable.emplace(path, attributes);
        try {
            WriteFields(path, fields);
        } catch (const Quenlar::LibraryError& e) {
            error = e;
        }
        if (writable)
            restoreError = writable->Restore();
    }
    if (restoreError)
        dialogs.MsgBox(mdlMain::ReadOnlyNotRestoredText(path, restoreError), mdlMain::vbCritical);
    if (error) {
        dialogs.MsgBox(mdlMain::TagErrorText(path, *error), mdlMain::vbCritical);
        return Failed;
    }
    return Done;
}

TagDocument::Outcome TagDocument::Reread(mdlMain::UserDialogs& dialogs, const std::string& path,
                                         TagFields& fields)
{
    if (!Platform::FileExists(path))
        return ReportMissing(dialogs, path);
    return Load(dialogs, path, fields) ? Done : Failed;
}

TagDocument::RenameResult TagDocument::Rename(mdlMain::UserDialogs& dialogs, const std::string& path,
                                              const std::string& templ, const TagFields& fields)
{
    if (!Platform::FileExists(path)) {
        ReportMissing(dialogs, path);
        return {RenameResult::Missing, path};
    }
    const std::unique_ptr<mdlMain::ValuePrompt> prompt = dialogs.NewPrompt();
    const std::string name = mdlMain::NameFromTemplate(templ, fields.title, fields.artist, fields.album,
                                                       fields.year, Tag().GenreIDToName(fields.genre));
    const mdlMain::RenameOutcome outcome
        = mdlMain::RenameAskingForFreeName(path, mdlMain::GetFolder(path) + name, *prompt);
    switch (outcome.kind) {
    case mdlMain::RenameOutcome::Renamed:
        return {RenameResult::Renamed, outcome.target};
    case mdlMain::RenameOutcome::Cancelled:
        return {RenameResult::Cancelled, path};
    case mdlMain::RenameOutcome::Failed:
        break;
    }
    dialogs.MsgBox(mdlMain::RenameFailedText(path, outcome), mdlMain::vbCritical);
    return {RenameResult::Failed, path};
}
