// SPDX-License-Identifier: GPL-3.0-or-later
#include "ParseJob.h"

#include "Codepage.h"
#include "FileSystem.h"
#include "Journal.h"
#include "PlanJobs.h"
#include "Reports.h"
#include "RunLoop.h"
#include "TagObjects.h"

#include <optional>

namespace Core {

namespace {

const char kWhat[] = "Заполнение тегов";
const char kCounted[] = "Изменено файлов";

// The fields as the fill job's rows name them when they are cut.
const char* Caption(TagField field)
{
    static const char* const captions[kTagFieldCount] = {"Название", "Исполнитель", "Альбом",
                                                         "Год",      "Жанр",        "Комментарий"};
    return captions[static_cast<std::size_t>(field)];
}

// The values of a split in the order the pattern takes them:
// исполнитель «A - B», название «C».
std::string SplitText(const NamePattern& pattern, const FieldValues& values)
{
    std::string text;
    for (const PatternPart& part : pattern.parts)
        for (const int slot : part.placeholders) {
            if (slot == kSkipSlot)
                continue;
            const auto field = static_cast<TagField>(slot - 1);
            if (const auto& value = ValueOf(values, field))
                text += (text.empty() ? "" : ", ") + std::string(TagFieldName(field)) + " «" + *value + "»";
        }
    return text;
}

void Refuse(PlanRow& row, RowState state, std::string reason)
{
    row.state = state;
    row.reason = std::move(reason);
}

// A name the pattern does not take: the row's state and what it is about.
void RefuseMatch(PlanRow& row, const NameMatch& match)
{
    const auto value = [&] { return "«" + ValueOf(match.values, *match.field).value_or("") + "»"; };
    switch (match.state) {
    case NameMatch::EmptyField: return Refuse(row, RowState::EmptyField, TagFieldName(*match.field));
    case NameMatch::UnknownGenre: return Refuse(row, RowState::NoGenre, value());
    case NameMatch::BadYear: return Refuse(row, RowState::BadYear, value());
    case NameMatch::NoMatch:
    case NameMatch::Matched: break;
    }
    Refuse(row, RowState::NoMatch, {});
}

// What a decision found beside the row, for the run's questions.
struct Found {
    std::int32_t attributes = Platform::faInvalid;
    std::u32string lost; // the characters of the fields set that the tag stores as "?"
};

class ParsePlan final : public PlanJob {
public:
    ParsePlan(const std::string& pattern, ParseOptions options)
        : pattern_(ParseNamePattern(pattern, error_)), options_(options)
    {
    }
    Kind Writes() const override { return Records; }

    bool Begin(UserDialogs& dialogs) override
    {
        if (pattern_)
            return true;
        dialogs.MsgBox(error_, vbCritical);
        return false;
    }

    void Decide(PlanRow& row, const std::string&, Quenlar::_TMP3Tag& tag) override { DecideFinding(row, tag); }

    // Decide, telling also what the run asks about; tag is left holding the
    // record the row would write.
    Found DecideFinding(PlanRow& row, Quenlar::_TMP3Tag& tag)
    {
        Found found;
        if (!pattern_) {
            Refuse(row, RowState::Unchangeable, error_);
            return found;
        }
        found.attributes = Platform::GetFileAttributesA(row.path);
        if (found.attributes == Platform::faInvalid || (found.attributes & Platform::faDirectory)) {
            Refuse(row, RowState::Unchangeable, "файл исчез");
            return found;
        }
        row.readOnly = found.attributes & Platform::faReadOnly;
        NameMatch match;
        std::optional<FieldValues> set;
        try {
            // The name alone decides whether the file is filled at all: one
            // that does not fit is not even read.
            match = MatchName(*pattern_, row.path, options_, tag);
            if (match.state != NameMatch::Matched) {
                RefuseMatch(row, match);
                return found;
            }
            tag.TagRead(row.path);
            set = ApplyNameMatch(tag, match, options_);
        } catch (const Quenlar::LibraryError& error) {
            Refuse(row, RowState::Unchangeable, TagErrorReason(row.path, error));
            return found;
        }
        NoteSeen(row, tag);
        Quenlar::RecordOf(tag, row.record);
        row.appends = !tag.ValidTag();
        if (!row.appends && row.record == row.seen.last) {
            Refuse(row, RowState::Unchanged, {});
            return found;
        }
        std::string texts, cut;
        bool ambiguous = false; // only a field this file gets can make it so
        for (std::size_t f = 0; f < kTagFieldCount; ++f) {
            if (!(*set)[f])
                continue;
            const auto field = static_cast<TagField>(f);
            texts += *(*set)[f];
            ambiguous = ambiguous || match.values[f] != match.other[f];
            if (field != TagField::Year && field != TagField::Genre
                && Quenlar::Codepage::CountCharacters(*(*set)[f]) > 30)
                cut += (cut.empty() ? "" : ", ") + std::string(Caption(field));
        }
        found.lost = Quenlar::Codepage::CharactersNotHeld(texts);
        if (!found.lost.empty())
            Refuse(row, RowState::NotHeld, NotHeldReason(found.lost));
        else if (row.readOnly)
            Refuse(row, RowState::ReadOnly, {});
        else if (ambiguous)
            Refuse(row, RowState::Ambiguous, "иначе " + SplitText(*pattern_, match.other));
        else if (!cut.empty())
            Refuse(row, RowState::Cut, cut);
        else
            Refuse(row, RowState::Change, {});
        return found;
    }

    void Remake(const std::string& path, const std::string&, Quenlar::_TMP3Tag& tag) override
    {
        tag.TagRead(path);
        if (pattern_)
            ApplyNameMatch(tag, MatchName(*pattern_, path, options_, tag), options_);
    }

    std::string DoneText() const override { return std::string(kWhat) + " завершено."; }
    std::string Counted() const override { return kCounted; }
    std::string What() const override { return kWhat; }

private:
    std::string error_; // why the pattern was refused
    const std::optional<NamePattern> pattern_;
    const ParseOptions options_;
};

// The fill tool's warning about characters the tag cannot hold, at the
// first file whose fields bring any; Yes covers the rest of the run.
class QuestionMarks {
public:
    explicit QuestionMarks(UserDialogs& dialogs) : dialogs_(dialogs) {}

    bool MayStore(const std::string& path, const std::u32string& lost)
    {
        if (asked_ || lost.empty())
            return true;
        asked_ = true;
        refused_ = !MayStoreAsQuestionMarks(dialogs_, lost, "В полях, которые имя файла " + path + " даёт его тегу,",
                                            "Продолжить заполнение? Об остальных файлах вопроса не будет.");
        return !refused_;
    }
    bool Refused() const { return refused_; }

private:
    UserDialogs& dialogs_;
    bool asked_ = false;
    bool refused_ = false;
};

class ParseRun final : public BatchRun {
public:
    ParseRun(std::string folder, const std::string& pattern, ParseOptions options,
             std::unique_ptr<Quenlar::_TMP3Tag> tag)
        : folder_(std::move(folder)), job_(pattern, options), tag_(std::move(tag))
    {
    }

    void Run(UserDialogs& dialogs) override
    {
        if (!job_.Begin(dialogs))
            return;
        const auto journal = RunJournal::Begin(dialogs);
        if (!journal)
            return;
        std::size_t changed = 0;
        SkippedFiles skipped;
        QuestionMarks warning(dialogs);
        const auto loop = ForEachMp3File(dialogs, folder_, [&](const std::string& path, const std::string& name) {
            PlanRow row;
            row.path = path;
            const Found found = job_.DecideFinding(row, *tag_);
            switch (row.state) {
            case RowState::Change:
            case RowState::Ambiguous:
            case RowState::Cut:
            case RowState::NotHeld:
            case RowState::ReadOnly: break;
            case RowState::Unchanged: return ItemEnd::Next;
            default: skipped.Add(path, row.StateText()); return ItemEnd::Next;
            }
            const auto question = [&] {
                return "Файл " + path + " доступен только для чтения" + CR + CR + "Заполнить теги в этом файле?";
            };
            bool written = false;
            try {
                const bool allowed = WriteAskingAboutReadOnly(dialogs, path, found.attributes, question, [&] {
                    // The question took its time: the file as it is now.
                    if (row.readOnly)
                        job_.Remake(path, name, *tag_);
                    if (!warning.MayStore(path, found.lost))
                        return;
                    journal->WriteTag(*tag_, path);
                    written = true;
                });
                if (!allowed)
                    skipped.Add(path, StateWord(RowState::ReadOnly));
            } catch (const Quenlar::LibraryError& error) {
                skipped.Add(path, TagErrorReason(path, error));
            } catch (const JournalError& error) {
                dialogs.MsgBox(std::string("Ошибка при записи в файл") + CR + path + CR + CR + error.what() + CR + CR
                                   + kWhat + " прервано.",
                               vbCritical);
                return ItemEnd::Break;
            }
            if (warning.Refused())
                return ItemEnd::Stop;
            changed += written;
            return ItemEnd::Next;
        });
        if (!loop || loop->kind == LoopEnd::Broken)
            return;
        const std::string counts = loop->kind == LoopEnd::Stopped
            ? StoppedText(kWhat, kCounted, changed, loop->total)
            : std::string(kWhat) + " завершено. " + kCounted + ": " + std::to_string(changed) + " из "
                + std::to_string(loop->total) + ".";
        dialogs.MsgBox(counts + skipped.Text(), vbInformation);
    }

private:
    const std::string folder_;
    ParsePlan job_;
    const std::unique_ptr<Quenlar::_TMP3Tag> tag_;
};

} // namespace

std::unique_ptr<PlanJob> NewParsePlanJob(std::string pattern, ParseOptions options)
{
    return std::make_unique<ParsePlan>(pattern, options);
}

std::unique_ptr<BatchRun> NewParseRun(std::string folder, std::string pattern, ParseOptions options,
                                      std::unique_ptr<Quenlar::_TMP3Tag> tag)
{
    return std::make_unique<ParseRun>(std::move(folder), pattern, options, std::move(tag));
}

} // namespace Core
