// SPDX-License-Identifier: GPL-3.0-or-later
#include "TemplateExpansion.h"

#include "Codepage.h"
#include "FileNames.h"
#include "TextHelpers.h"

namespace Core {

namespace {

// The tag object keeps 30 characters of a field, at most 120 bytes: text
// past this cannot reach them, so values that hold further placeholders
// never make an expansion grow without end.
constexpr std::size_t kFieldBound = 1024;

// ExpandTemplate with "%0" already worked out, once for all of a file's templates.
std::string Expand(const std::string& strTemplate, const std::string& stem, const Quenlar::_TMP3Tag& objTag)
{
    std::string s = ReplaceAll(strTemplate, "%0", stem, kFieldBound);
    s = ReplaceAll(s, "%1", CutAtNull(objTag.Title()), kFieldBound);
    s = ReplaceAll(s, "%2", CutAtNull(objTag.Artist()), kFieldBound);
    s = ReplaceAll(s, "%3", CutAtNull(objTag.Album()), kFieldBound);
    s = ReplaceAll(s, "%4", CutAtNull(objTag.Year()), kFieldBound);
    // The comment goes before the genre: a comment holding "%5" gets the genre name.
    s = ReplaceAll(s, "%6", CutAtNull(objTag.Comment()), kFieldBound);
    return ReplaceAll(s, "%5", objTag.GenreIDToName(objTag.Genre()), kFieldBound);
}

} // namespace

std::string ExpandTemplate(const std::string& strTemplate, const std::string& strFileName,
                           const Quenlar::_TMP3Tag& objTag)
{
    return Expand(strTemplate, NameStem(strFileName), objTag);
}

namespace {

// FillTagFields; with counting, which fields got more than the tag keeps.
FilledFields Fill(Quenlar::_TMP3Tag& objTag, const std::string& strFileName, const FillSettings& settings,
                  bool counting)
{
    FilledFields filled;
    const std::string stem = NameStem(strFileName);
    const auto set = [&](const TextSetting& setting, void (Quenlar::_TMP3Tag::*setter)(const std::string&),
                         const char* caption) {
        if (!setting.Enabled)
            return;
        const std::string value = Expand(setting.Value, stem, objTag);
        (objTag.*setter)(value);
        filled.texts += value;
        if (counting && Quenlar::Codepage::CountCharacters(value) > 30)
            filled.cut.emplace_back(caption);
    };
    set(settings.Title, &Quenlar::_TMP3Tag::SetTitle, "Название");
    set(settings.Artist, &Quenlar::_TMP3Tag::SetArtist, "Исполнитель");
    set(settings.Album, &Quenlar::_TMP3Tag::SetAlbum, "Альбом");
    set(settings.Comment, &Quenlar::_TMP3Tag::SetComment, "Комментарий");
    if (settings.Year.Enabled) {
        objTag.SetYear(settings.Year.Value);
        filled.texts += settings.Year.Value;
    }
    if (settings.GenreEnabled)
        objTag.SetGenre(settings.Genre);
    return filled;
}

} // namespace

FilledFields FillTagFieldsTelling(Quenlar::_TMP3Tag& objTag, const std::string& strFileName,
                                  const FillSettings& settings)
{
    return Fill(objTag, strFileName, settings, true);
}

std::string FillTagFields(Quenlar::_TMP3Tag& objTag, const std::string& strFileName, const FillSettings& settings)
{
    return Fill(objTag, strFileName, settings, false).texts;
}

} // namespace Core
