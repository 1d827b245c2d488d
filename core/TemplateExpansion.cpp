#include "TemplateExpansion.h"

#include "Codepage.h"
#include "FileNames.h"
#include "TextHelpers.h"

namespace Core {

namespace {

// The name less its last four characters.
std::string WithoutLastFour(const std::string& name)
{
    using namespace Quenlar::Codepage;
    const std::size_t count = CountCharacters(name);
    return std::string(FirstCharacters(name, count > 4 ? count - 4 : 0));
}

} // namespace

std::string ExpandTemplate(const std::string& strTemplate, const std::string& strFileName,
                           const Quenlar::_TMP3Tag& objTag)
{
    // A name in Windows-1251 bytes gives its letters, as the user sees them.
    std::string s = ReplaceAll(strTemplate, "%0", WithoutLastFour(Readable(strFileName)));
    s = ReplaceAll(s, "%1", CutAtNull(objTag.Title()));
    s = ReplaceAll(s, "%2", CutAtNull(objTag.Artist()));
    s = ReplaceAll(s, "%3", CutAtNull(objTag.Album()));
    s = ReplaceAll(s, "%4", CutAtNull(objTag.Year()));
    // The comment goes before the genre: a comment holding "%5" gets the genre name.
    s = ReplaceAll(s, "%6", CutAtNull(objTag.Comment()));
    return ReplaceAll(s, "%5", objTag.GenreIDToName(objTag.Genre()));
}

void FillTagFields(Quenlar::_TMP3Tag& objTag, const std::string& strFileName, const FillSettings& settings)
{
    if (settings.Title.Enabled)
        objTag.SetTitle(ExpandTemplate(settings.Title.Value, strFileName, objTag));
    if (settings.Artist.Enabled)
        objTag.SetArtist(ExpandTemplate(settings.Artist.Value, strFileName, objTag));
    if (settings.Album.Enabled)
        objTag.SetAlbum(ExpandTemplate(settings.Album.Value, strFileName, objTag));
    if (settings.Comment.Enabled)
        objTag.SetComment(ExpandTemplate(settings.Comment.Value, strFileName, objTag));
    if (settings.Year.Enabled)
        objTag.SetYear(settings.Year.Value);
    if (settings.GenreEnabled)
        objTag.SetGenre(settings.Genre);
}

} // namespace Core
