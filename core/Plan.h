// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A batch job's plan: what it would do to each MP3 file of a folder, decided
// by the same per-file step as the job's run, made by reading only. A
// preview or the command line shows it and then carries out exactly the
// rows the user keeps, checking before each change that the file is still
// the one the plan saw.
#include "TMP3Tag.h"
#include "UserDialogs.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace Core {

class RunJournal;

// What a file was when the plan looked at it.
struct Snapshot {
    std::uint64_t device = 0, inode = 0;
    std::int64_t length = 0;
    std::int64_t changed = 0; // change time, ns
    std::array<char, 128> last{};
};

// Each row's state; the words the user reads are StateWord's.
enum class RowState {
    Change,       // изменится
    Unchanged,    // без изменений
    SameTarget,   // два файла — одно имя
    Taken,        // имя занято
    Chain,        // обмен: a rename onto the name of another file of the plan, which moves away
    ReadOnly,     // только для чтения
    Unchangeable, // нельзя изменить
    BadName,      // недопустимое имя
    Cut,          // будет обрезано
    NotHeld,      // символ не в Windows-1251
    NoMatch,      // не подходит к шаблону
    EmptyField,   // пустое поле
    NoGenre,      // нет такого жанра
    BadYear,      // неверный год
    Ambiguous,    // неоднозначно
};

// The words a row's state text begins with.
const char* StateWord(RowState state);
// Whether a row in this state is ticked when the plan is made, and whether
// the user may tick it.
bool TickedAtFirst(RowState state);
bool Tickable(RowState state);

struct PlanRow {
    std::string path; // the file as listed
    RowState state = RowState::Unchangeable;
    std::string reason; // a short reason, shown after the state's words
    bool ticked = false;
    // The job is not sure of its decision (a guessed code page that another
    // reading came close to): the row waits for the user's tick.
    bool unsure = false;
    Snapshot seen;
    // A job that writes records: the last 128 bytes before (seen.last) and
    // the record it would write; appends when the file holds none.
    std::array<char, 128> record{};
    bool appends = false;
    bool readOnly = false;
    // A job that renames: the new full path; whether the file moves there
    // (a name that differs, and could be given), whether another file
    // outside the plan holds it, and whether the user wants the move (the
    // tick, for a row whose state allows one).
    std::string target;
    bool moves = false;
    bool takenOutside = false;
    bool wanted = false;

    // The state and its reason, as one text.
    std::string StateText() const;
};

// One batch job as a plan sees it.
class PlanJob {
public:
    virtual ~PlanJob() = default;
    enum Kind { Records, Names };
    virtual Kind Writes() const = 0;
    // Before any file: a question or refusal the job makes of its settings
    // (the fill tool's characters question); false ends it there.
    virtual bool Begin(UserDialogs& /*dialogs*/) { return true; }
    // Decides row (its path set) for the file named name, reading only,
    // through tag.
    virtual void Decide(PlanRow& row, const std::string& name, Quenlar::_TMP3Tag& tag) = 0;
    // A Records job: makes the record again just before it is written, from
    // the file as it is now (tag has just read it); the row is carried out
    // only when it gives the planned record.
    virtual void Remake(const std::string& /*path*/, const std::string& /*name*/, Quenlar::_TMP3Tag& /*tag*/) {}
    // The job's closing message when everything was done, and the words of
    // its count ("Изменено файлов").
    virtual std::string DoneText() const = 0;
    virtual std::string Counted() const = 0;
    // What the stopped-box says was stopped ("Заполнение тегов").
    virtual std::string What() const = 0;
};

class Plan {
public:
    std::string folder;
    std::vector<PlanRow> rows; // in the listing's order
    bool stopped = false;      // the user stopped the planning: rows hold the files looked at

    Plan() = default;
    // A copy makes its own index: the original's points into the original.
    Plan(const Plan& other) : folder(other.folder), rows(other.rows), stopped(other.stopped) {}
    Plan& operator=(const Plan&) = delete;

    // The row of each file by its path, made once: a tick in a plan of a
    // million renames must not build it again.
    const std::unordered_map<std::string_view, std::size_t>& ByPath();

private:
    std::unordered_map<std::string_view, std::size_t> byPath_;
};

// Makes the plan of job over the MP3 files of folder (ending in "/"),
// reading only, with progress and a stop before each file. Nothing when the
// folder cannot be listed or job.Begin refused (the user has been told).
std::unique_ptr<Plan> MakePlan(UserDialogs& dialogs, const std::string& folder, PlanJob& job,
                               Quenlar::_TMP3Tag& tag);

// The same over the files paths names, in that order, wherever they lie
// (folder stays ""): the caller has made sure each is a file to look at.
std::unique_ptr<Plan> MakePlanOf(UserDialogs& dialogs, const std::vector<std::string>& paths, PlanJob& job,
                                 Quenlar::_TMP3Tag& tag);

// A Names plan: the states that depend on other rows, worked out again after
// a tick or a new name (two files to one name, a name taken by a file outside
// the plan, renames onto names the plan frees).
void SettleNames(Plan& plan);

// Ticks or unticks a row that may be ticked; in a Names plan the states
// are worked out again, and the renames of a swap or a circle go together.
void SetTicked(Plan& plan, std::size_t row, bool ticked);

// A new name typed for a row of a Names plan, taken as the taken-name prompt
// takes an answer (the file's own folder, ".mp3" added, nothing outside it);
// the plan's states are worked out again.
void Retarget(Plan& plan, std::size_t row, const std::string& typed);

// The counts of a plan's rows: ticked, unchanged, and the others.
struct PlanCounts {
    std::size_t ticked = 0, unchanged = 0, left = 0;
};
PlanCounts CountRows(const Plan& plan);

// The rows in the order a preview shows them: problems and the rows the job
// is unsure of first, then the rows that change, then those without
// changes, each kind in listing order.
std::vector<std::size_t> ShowingOrder(const Plan& plan);

} // namespace Core
