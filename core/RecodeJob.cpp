// SPDX-License-Identifier: GPL-3.0-or-later
#include "RecodeJob.h"

#include "Codepage.h"
#include "FileSystem.h"
#include "PlanJobs.h"
#include "Recode.h"
#include "Reports.h"
#include "RunLoop.h"
#include "TagObjects.h"

namespace Core {

namespace {

using Quenlar::Codepage::Page;

const char kFileGone[] = "файл исчез";
const char kNotSure[] = ", определено не наверняка";

constexpr std::size_t kFieldWidth = 30;

// Puts the recoded text fields into tag through its setters, which encode
// as Windows-1251 and NUL-fill behind the text they are given. So each
// field that changes is given whole, all its bytes read as Windows-1251,
// which gives every byte back: what lies behind its first NUL (a v1.1
// track number too) stays. A field that does not change is not set. False
// when the object then holds another record than the recoding.
bool SetRecoded(Quenlar::_TMP3Tag& tag, const Recoding& recoding)
{
    using Setter = void (Quenlar::_TMP3Tag::*)(const std::string&);
    static constexpr Setter setters[] = {&Quenlar::_TMP3Tag::SetTitle, &Quenlar::_TMP3Tag::SetArtist,
                                         &Quenlar::_TMP3Tag::SetAlbum, &Quenlar::_TMP3Tag::SetComment};
    const auto texts = RecordTexts(recoding.record);
    for (std::size_t f = 0; f < texts.size(); ++f) {
        if (!recoding.fields[f].changed)
            continue;
        const auto offset = static_cast<std::size_t>(texts[f].data() - recoding.record.data());
        (tag.*setters[f])(Quenlar::Codepage::Decode(std::string_view(recoding.record.data() + offset, kFieldWidth)));
    }
    std::array<char, 128> now{};
    return Quenlar::RecordOf(tag, now) && now == recoding.record;
}

void Refuse(PlanRow& row, RowState state, std::string reason)
{
    row.state = state;
    row.reason = std::move(reason);
}

// What the recode step found for one file, beside its row.
struct Found {
    std::int32_t attributes = Platform::faInvalid;
    std::u32string lost; // the characters Windows-1251 lacks, when the row is NotHeld
};

class RecodePlanJob final : public PlanJob {
public:
    explicit RecodePlanJob(std::optional<Page> from) : from_(from) {}
    Kind Writes() const override { return Records; }

    void Decide(PlanRow& row, const std::string&, Quenlar::_TMP3Tag& tag) override { DecideFile(row, tag); }

    // The step of both the plan and the run: tag holds the recoded record
    // afterwards when the row changes the file.
    Found DecideFile(PlanRow& row, Quenlar::_TMP3Tag& tag)
    {
        Found found;
        found.attributes = Platform::GetFileAttributesA(row.path);
        if (found.attributes == Platform::faInvalid || (found.attributes & Platform::faDirectory)) {
            Refuse(row, RowState::Unchangeable, kFileGone);
            return found;
        }
        row.readOnly = found.attributes & Platform::faReadOnly;
        try {
            tag.TagRead(row.path);
        } catch (const Quenlar::LibraryError& error) {
            Refuse(row, RowState::Unchangeable, TagErrorReason(row.path, error));
            return found;
        }
        Quenlar::FileEnd end;
        if (!Quenlar::LastReadEnd(tag, end)) {
            Refuse(row, RowState::Unchangeable, "тег не прочитан");
            return found;
        }
        NoteSeen(row, tag);
        if (!tag.ValidTag()) {
            Refuse(row, RowState::Unchanged, "в файле нет тега");
            return found;
        }
        const RecodePlan plan = PlanRecode(end.last, from_);
        // A page the user chose is no guess.
        row.unsure = !from_ && plan.guess.unsure;
        if (!plan.from || !plan.recoding.changed) {
            std::string reason(CodepageName(plan.guess.codepage));
            if (plan.guess.codepage == TextCodepage::Windows1251 && !row.unsure)
                reason.clear(); // as it should be: nothing to say
            else if (row.unsure)
                reason += kNotSure;
            Refuse(row, RowState::Unchanged, reason);
            return found;
        }
        row.record = plan.recoding.record;
        if (!SetRecoded(tag, plan.recoding)) {
            Refuse(row, RowState::Unchangeable, "тег не удаётся перекодировать");
            return found;
        }
        std::string page(Quenlar::Codepage::Name(*plan.from));
        if (row.unsure)
            page += kNotSure;
        else if (from_ && !plan.guess.unsure && plan.guess.codepage != TextCodepage::None
                 && PageToRecode(plan.guess.codepage) != from_)
            page += ", хотя похоже на " + std::string(CodepageName(plan.guess.codepage));
        if (!plan.recoding.lost.empty()) {
            found.lost = plan.recoding.lost;
            Refuse(row, RowState::NotHeld, ListedCharacters(found.lost) + " станет «?» (" + page + ")");
        } else if (row.readOnly) {
            Refuse(row, RowState::ReadOnly, page);
        } else {
            Refuse(row, RowState::Change, page);
        }
        return found;
    }

    void Remake(const std::string& path, const std::string&, Quenlar::_TMP3Tag& tag) override
    {
        // The file as it is now, recoded as Decide would: a file changed
        // since gives another record, and its row is not carried out.
        tag.TagRead(path);
        Quenlar::FileEnd end;
        if (!tag.ValidTag() || !Quenlar::LastReadEnd(tag, end))
            return;
        const RecodePlan plan = PlanRecode(end.last, from_);
        if (plan.from)
            SetRecoded(tag, plan.recoding);
    }

    std::string DoneText() const override { return "Перекодирование завершено."; }
    std::string Counted() const override { return "Изменено файлов"; }
    std::string What() const override { return "Перекодирование"; }

private:
    const std::optional<Page> from_;
};

} // namespace

std::unique_ptr<PlanJob> NewRecodePlanJob(std::optional<Page> from)
{
    return std::make_unique<RecodePlanJob>(from);
}

RecodeEnd RunRecode(const std::string& folder, std::optional<Page> from, Quenlar::_TMP3Tag& tag,
                    UserDialogs& dialogs, RunJournal* journal)
{
    RecodePlanJob job(from);
    std::size_t changed = 0;
    SkippedFiles skipped;
    bool lostAsked = false;
    const auto loop = ForEachMp3File(dialogs, folder, [&](const std::string& path, const std::string& name) {
        PlanRow row;
        row.path = path;
        const Found found = job.DecideFile(row, tag);
        if (row.state == RowState::Unchanged)
            return ItemEnd::Next;
        if (row.state == RowState::Unchangeable) {
            if (row.reason == kFileGone) {
                dialogs.MsgBox(MissingFileText(path), vbCritical);
                return ItemEnd::Next;
            }
            dialogs.MsgBox(std::string("Ошибка при перекодировании тега в файле") + CR + path + CR + CR + row.reason
                               + CR + CR + "Перекодирование прервано.",
                           vbCritical);
            return ItemEnd::Break;
        }
        // Left for the preview, where the user sees the text and ticks it.
        if (row.unsure) {
            skipped.Add(path, "кодировка определена не наверняка, отметьте файл в окне «Просмотр»");
            return ItemEnd::Next;
        }
        bool asked = false;
        if (!found.lost.empty() && !lostAsked) {
            lostAsked = asked = true;
            if (!MayStoreAsQuestionMarks(dialogs, found.lost, "В перекодированном теге файла " + path,
                                         "Продолжить перекодирование? Об остальных файлах вопроса не будет."))
                return ItemEnd::Stop;
        }
        const auto question = [&] {
            return "Файл " + path + " доступен только для чтения" + CR + CR + "Перекодировать тег в этом файле?";
        };
        std::optional<Quenlar::LibraryError> failure;
        std::optional<std::string> journalFailure;
        bool changedMeanwhile = false;
        const bool written = WriteAskingAboutReadOnly(dialogs, path, found.attributes, question, [&] {
            try {
                // While the user answered, the file may have changed.
                if (asked || row.readOnly) {
                    job.Remake(path, name, tag);
                    std::array<char, 128> now{};
                    if (!Quenlar::RecordOf(tag, now) || now != row.record) {
                        changedMeanwhile = true;
                        return;
                    }
                }
                if (journal)
                    journal->WriteTag(tag, path);
                else
                    tag.TagWrite(path, false);
            } catch (const Quenlar::LibraryError& error) {
                failure = error;
            } catch (const JournalError& error) {
                journalFailure = error.what();
            }
        });
        if (!written)
            return ItemEnd::Next;
        if (changedMeanwhile) {
            skipped.Add(path, "файл изменился, пока шёл вопрос");
            return ItemEnd::Next;
        }
        if (!failure && !journalFailure) {
            ++changed;
            return ItemEnd::Next;
        }
        if (failure && failure->Number() == Quenlar::errFileNotFound) {
            dialogs.MsgBox(MissingFileText(path), vbCritical);
            return ItemEnd::Next;
        }
        const bool refused = failure && failure->Number() == Quenlar::errPathFileAccess;
        const std::string reason = failure ? TagErrorReason(path, *failure) : *journalFailure;
        dialogs.MsgBox(std::string(refused ? "Ошибка при попытке записи в файл" : "Ошибка при перекодировании тега в файле")
                           + CR + path + CR + CR + reason + CR + CR + "Перекодирование прервано.",
                       vbCritical);
        return ItemEnd::Break;
    });
    if (!loop)
        return RecodeEnd::NotListed;
    switch (loop->kind) {
    case LoopEnd::Stopped:
        dialogs.MsgBox(StoppedText(job.What(), job.Counted(), changed, loop->total) + skipped.Text(), vbInformation);
        return RecodeEnd::Stopped;
    case LoopEnd::Broken:
        return RecodeEnd::Broken;
    case LoopEnd::Finished:
        break;
    }
    dialogs.MsgBox(job.DoneText() + " " + job.Counted() + ": " + std::to_string(changed) + " из "
                       + std::to_string(loop->total) + "." + skipped.Text(),
                   vbInformation);
    return RecodeEnd::Completed;
}

} // namespace Core
