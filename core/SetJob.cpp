// SPDX-License-Identifier: GPL-3.0-or-later
#include "SetJob.h"

#include "Codepage.h"
#include "FileSystem.h"
#include "TagObjects.h"

namespace Core {

namespace {

constexpr std::size_t kFieldLength = 30;

class SetPlan final : public PlanJob {
public:
    explicit SetPlan(SetFields fields) : fields_(std::move(fields)) {}
    Kind Writes() const override { return Records; }

    void Decide(PlanRow& row, const std::string&, Quenlar::_TMP3Tag& tag) override
    {
        const std::int32_t attributes = Platform::GetFileAttributesA(row.path);
        if (attributes == Platform::faInvalid || (attributes & Platform::faDirectory))
            return Refuse(row, RowState::Unchangeable, "файл исчез");
        row.readOnly = attributes & Platform::faReadOnly;
        try {
            tag.TagRead(row.path);
            Quenlar::FileSeen seen;
            Quenlar::FileEnd end;
            if (Quenlar::LastRead(tag, seen) && Quenlar::LastReadEnd(tag, end)) {
                row.seen = {seen.device, seen.inode, seen.length, end.changed, end.last};
            }
            row.appends = !tag.ValidTag();
            Set(tag);
        } catch (const Quenlar::LibraryError& error) {
            if (error.Number() == Quenlar::errInvalidYear)
                return Refuse(row, RowState::BadYear, *fields_.year);
            return Refuse(row, RowState::Unchangeable, TagErrorReason(row.path, error));
        }
        Quenlar::RecordOf(tag, row.record);
        if (!row.appends && row.record == row.seen.last)
            return Refuse(row, RowState::Unchanged, {});
        std::string texts;
        for (const auto* text : {&fields_.title, &fields_.artist, &fields_.album, &fields_.comment})
            if (*text)
                texts += **text;
        if (const std::u32string lost = Quenlar::Codepage::CharactersNotHeld(texts); !lost.empty()) {
            std::string list;
            for (const char32_t c : lost)
                list += (list.empty() ? "«" : ", «") + Quenlar::Codepage::Utf8(c) + "»";
            return Refuse(row, RowState::NotHeld, list + " станет «?»");
        }
        if (row.readOnly)
            return Refuse(row, RowState::ReadOnly, {});
        std::string cut;
        const auto note = [&](const std::optional<std::string>& text, const char* caption) {
            if (text && Quenlar::Codepage::CountCharacters(*text) > kFieldLength)
                cut += (cut.empty() ? "" : ", ") + std::string(caption);
        };
        note(fields_.title, "Название");
        note(fields_.artist, "Исполнитель");
        note(fields_.album, "Альбом");
        note(fields_.comment, "Комментарий");
        if (!cut.empty())
            return Refuse(row, RowState::Cut, cut);
        Refuse(row, RowState::Change, {});
    }

    void Remake(const std::string& path, const std::string&, Quenlar::_TMP3Tag& tag) override
    {
        tag.TagRead(path);
        Set(tag);
    }

    std::string DoneText() const override { return "Запись тегов завершена."; }
    std::string Counted() const override { return "Изменено файлов"; }
    std::string What() const override { return "Запись тегов"; }

private:
    static void Refuse(PlanRow& row, RowState state, std::string reason)
    {
        row.state = state;
        row.reason = std::move(reason);
    }

    // The given fields into the record the object has just read.
    void Set(Quenlar::_TMP3Tag& tag) const
    {
        if (fields_.title)
            tag.SetTitle(*fields_.title);
        if (fields_.artist)
            tag.SetArtist(*fields_.artist);
        if (fields_.album)
            tag.SetAlbum(*fields_.album);
        if (fields_.year)
            tag.SetYear(*fields_.year);
        if (fields_.genre)
            tag.SetGenre(*fields_.genre);
        if (fields_.comment) {
            const std::uint8_t track = Quenlar::Track(tag);
            tag.SetComment(*fields_.comment);
            if (track != 0 && Quenlar::Codepage::CountCharacters(*fields_.comment) <= 28)
                Quenlar::SetTrack(tag, track);
        }
    }

    const SetFields fields_;
};

} // namespace

std::unique_ptr<PlanJob> NewSetPlanJob(SetFields fields)
{
    return std::make_unique<SetPlan>(std::move(fields));
}

} // namespace Core
