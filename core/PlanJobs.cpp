// SPDX-License-Identifier: GPL-3.0-or-later
#include "PlanJobs.h"

#include "Codepage.h"
#include "FileSystem.h"
#include "File.h"
#include "Paths.h"
#include "Renaming.h"
#include "TagObjects.h"
#include "TextHelpers.h"

#include <climits>

namespace Core {

namespace {

void Refuse(PlanRow& row, RowState state, std::string reason)
{
    row.state = state;
    row.reason = std::move(reason);
}

class FillPlan final : public PlanJob {
public:
    explicit FillPlan(FillSettings settings) : settings_(std::move(settings)) {}
    Kind Writes() const override { return Records; }

    void Decide(PlanRow& row, const std::string& name, Quenlar::_TMP3Tag& tag) override
    {
        const std::int32_t attributes = Platform::GetFileAttributesA(row.path);
        if (attributes == Platform::faInvalid || (attributes & Platform::faDirectory))
            return Refuse(row, RowState::Unchangeable, "файл исчез");
        row.readOnly = attributes & Platform::faReadOnly;
        FilledFields filled;
        try {
            tag.TagRead(row.path);
            filled = FillTagFieldsTelling(tag, name, settings_);
        } catch (const Quenlar::LibraryError& error) {
            return Refuse(row, RowState::Unchangeable, TagErrorReason(row.path, error));
        }
        NoteSeen(row, tag);
        Quenlar::RecordOf(tag, row.record);
        row.appends = !tag.ValidTag();
        if (!row.appends && row.record == row.seen.last)
            return Refuse(row, RowState::Unchanged, {});
        if (const std::u32string lost = Quenlar::Codepage::CharactersNotHeld(filled.texts); !lost.empty())
            return Refuse(row, RowState::NotHeld, NotHeldReason(lost));
        if (row.readOnly)
            return Refuse(row, RowState::ReadOnly, {});
        if (!filled.cut.empty()) {
            std::string fields;
            for (const std::string& field : filled.cut)
                fields += (fields.empty() ? "" : ", ") + field;
            return Refuse(row, RowState::Cut, fields);
        }
        Refuse(row, RowState::Change, {});
    }

    void Remake(const std::string& path, const std::string& name, Quenlar::_TMP3Tag& tag) override
    {
        tag.TagRead(path);
        FillTagFields(tag, name, settings_);
    }

    std::string DoneText() const override { return "Заполнение тегов завершено."; }
    std::string Counted() const override { return "Изменено файлов"; }
    std::string What() const override { return "Заполнение тегов"; }

private:
    const FillSettings settings_;
};

class RenamePlan final : public PlanJob {
public:
    explicit RenamePlan(std::string templ) : templ_(std::move(templ)) {}
    Kind Writes() const override { return Names; }

    bool Begin(UserDialogs& dialogs) override
    {
        if (templ_.find_first_not_of(' ') != std::string::npos)
            return true;
        dialogs.MsgBox("Шаблон имени не задан", vbCritical);
        return false;
    }

    void Decide(PlanRow& row, const std::string&, Quenlar::_TMP3Tag& tag) override
    {
        if (!Platform::FileExists(row.path))
            return Refuse(row, RowState::Unchangeable, "файл исчез");
        try {
            tag.TagRead(row.path);
        } catch (const Quenlar::LibraryError& error) {
            return Refuse(row, RowState::Unchangeable, TagErrorReason(row.path, error));
        }
        if (!tag.ValidTag())
            return Refuse(row, RowState::Unchangeable, "в файле нет тега");
        NoteSeen(row, tag);
        const std::string name
            = NameFromTemplate(templ_, CutAtNull(tag.Title()), CutAtNull(tag.Artist()), CutAtNull(tag.Album()),
                               CutAtNull(tag.Year()), tag.GenreIDToName(tag.Genre()));
        const Destination to = ResolveTarget(row.path, name);
        row.target = to.path;
        if (to.kind == Destination::Outside)
            return Refuse(row, RowState::Unchangeable, "новое имя вне папки");
        if (to.kind == Destination::Hidden)
            return Refuse(row, RowState::Unchangeable, "скрытое имя");
        if (to.path.size() >= PATH_MAX || FileName(to.path).size() > NAME_MAX)
            return Refuse(row, RowState::BadName, "слишком длинное имя");
        const std::int32_t folder = Platform::GetFileAttributesA(GetFolder(to.path));
        if (folder == Platform::faInvalid || !(folder & Platform::faDirectory))
            return Refuse(row, RowState::BadName, "нет папки " + GetFolder(to.path));
        if (to.path == row.path)
            return Refuse(row, RowState::Unchanged, {});
        // The file itself under another spelling (a volume that ignores
        // letter case) is renamed through a free name; anything else holding
        // the name is in the way, unless the plan moves it.
        row.moves = true;
        row.takenOutside
            = Platform::KindOf(to.path) != Platform::Kind::None && !Platform::SameFile(row.path, to.path);
        Refuse(row, RowState::Change, {});
    }

    std::string DoneText() const override { return "Процесс переименования завершен."; }
    std::string Counted() const override { return "Переименовано файлов"; }
    std::string What() const override { return "Переименование"; }

private:
    const std::string templ_;
};

} // namespace

void NoteSeen(PlanRow& row, const Quenlar::_TMP3Tag& tag)
{
    Quenlar::FileSeen seen;
    Quenlar::FileEnd end;
    if (Quenlar::LastRead(tag, seen) && Quenlar::LastReadEnd(tag, end)) {
        row.seen.device = seen.device;
        row.seen.inode = seen.inode;
        row.seen.length = seen.length;
        row.seen.changed = end.changed;
        row.seen.last = end.last;
    }
}

std::string NotHeldReason(const std::u32string& lost)
{
    return ListedCharacters(lost) + " станет «?»";
}

std::string ListedCharacters(const std::u32string& lost)
{
    std::string list;
    for (const char32_t c : lost)
        list += (list.empty() ? "«" : ", «") + Quenlar::Codepage::Utf8(c) + "»";
    return list;
}

std::unique_ptr<PlanJob> NewFillPlanJob(FillSettings settings)
{
    return std::make_unique<FillPlan>(std::move(settings));
}

std::unique_ptr<PlanJob> NewRenamePlanJob(std::string templ)
{
    return std::make_unique<RenamePlan>(std::move(templ));
}

} // namespace Core
