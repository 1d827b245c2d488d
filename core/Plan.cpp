// SPDX-License-Identifier: GPL-3.0-or-later
#include "Plan.h"

#include "File.h"
#include "FileSystem.h"
#include "Paths.h"
#include "Renaming.h"
#include "RunLoop.h"

#include <algorithm>
#include <unordered_map>

namespace Core {

const char* StateWord(RowState state)
{
    switch (state) {
    case RowState::Change: return "изменится";
    case RowState::Unchanged: return "без изменений";
    case RowState::SameTarget: return "два файла — одно имя";
    case RowState::Taken: return "имя занято";
    case RowState::Chain: return "обмен";
    case RowState::ReadOnly: return "только для чтения";
    case RowState::Unchangeable: return "нельзя изменить";
    case RowState::BadName: return "недопустимое имя";
    case RowState::Cut: return "будет обрезано";
    case RowState::NotHeld: return "символ не в Windows-1251";
    case RowState::NoMatch: return "не подходит к шаблону";
    case RowState::EmptyField: return "пустое поле";
    case RowState::NoGenre: return "нет такого жанра";
    case RowState::BadYear: return "неверный год";
    case RowState::Ambiguous: return "неоднозначно";
    }
    return "";
}

bool TickedAtFirst(RowState state)
{
    return state == RowState::Change || state == RowState::Chain || state == RowState::Cut
        || state == RowState::Ambiguous;
}

bool Tickable(RowState state)
{
    return TickedAtFirst(state) || state == RowState::ReadOnly || state == RowState::NotHeld;
}

std::string PlanRow::StateText() const
{
    return reason.empty() ? std::string(StateWord(state)) : std::string(StateWord(state)) + ": " + reason;
}

namespace {

// The row of one file, as every plan decides it.
ItemEnd DecideRow(Plan& plan, PlanJob& job, Quenlar::_TMP3Tag& tag, const std::string& path, const std::string& name)
{
    PlanRow& row = plan.rows.emplace_back();
    row.path = path;
    job.Decide(row, name, tag);
    row.ticked = TickedAtFirst(row.state) && !row.unsure;
    row.wanted = row.moves;
    return ItemEnd::Next;
}

std::unique_ptr<Plan> Finish(std::unique_ptr<Plan> plan, const PlanJob& job, const LoopEnd& loop)
{
    plan->stopped = loop.kind == LoopEnd::Stopped;
    if (job.Writes() == PlanJob::Names)
        SettleNames(*plan);
    return plan;
}

} // namespace

std::unique_ptr<Plan> MakePlan(UserDialogs& dialogs, const std::string& folder, PlanJob& job,
                               Quenlar::_TMP3Tag& tag)
{
    if (!job.Begin(dialogs))
        return nullptr;
    auto plan = std::make_unique<Plan>();
    plan->folder = folder;
    const auto loop = ForEachMp3File(dialogs, folder, [&](const std::string& path, const std::string& name) {
        return DecideRow(*plan, job, tag, path, name);
    });
    if (!loop)
        return nullptr;
    return Finish(std::move(plan), job, *loop);
}

std::unique_ptr<Plan> MakePlanOf(UserDialogs& dialogs, const std::vector<std::string>& paths, PlanJob& job,
                                 Quenlar::_TMP3Tag& tag)
{
    if (!job.Begin(dialogs))
        return nullptr;
    auto plan = std::make_unique<Plan>();
    const LoopEnd loop = ForEachItem(
        dialogs, paths.size(), [&](std::size_t i) -> const std::string& { return paths[i]; },
        [&](std::size_t i) { return DecideRow(*plan, job, tag, paths[i], FileName(paths[i])); });
    return Finish(std::move(plan), job, loop);
}

namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// Whether the rename of each moving row can be carried out (1) or not (0),
// given what the user wants: a name that is free, or that the plan frees by
// a wanted rename that itself can be carried out; a circle always can.
std::vector<char> Possible(const Plan& plan, const std::vector<std::size_t>& next,
                           const std::vector<char>& sameTarget)
{
    const std::size_t n = plan.rows.size();
    enum : char { Unknown, Visiting, No, Yes };
    std::vector<char> result(n, Unknown);
    std::vector<std::size_t> path;
    for (std::size_t start = 0; start < n; ++start) {
        if (result[start] != Unknown)
            continue;
        // Follow the names each row heads for until an answer is known.
        path.clear();
        std::size_t at = start;
        char answer = No;
        for (;;) {
            const PlanRow& row = plan.rows[at];
            if (!row.moves || sameTarget[at]) {
                answer = No; // it does not move: its name stays taken
                break;
            }
            if (result[at] == Yes || result[at] == No) {
                answer = result[at];
                break;
            }
            if (result[at] == Visiting) {
                // A circle: nothing outside it heads into it, and its renames
                // are ticked together, so it can always go round.
                const auto from = std::find(path.begin(), path.end(), at);
                for (auto it = from; it != path.end(); ++it)
                    result[*it] = Yes;
                path.erase(from, path.end());
                answer = Yes;
                break;
            }
            result[at] = Visiting;
            path.push_back(at);
            if (next[at] == kNone) {
                answer = row.takenOutside ? No : Yes;
                break;
            }
            at = next[at];
        }
        // Back along the way: a row moves when the one it waits for does
        // and the user wants the one it waits for.
        for (auto it = path.rbegin(); it != path.rend(); ++it) {
            if (result[*it] != Visiting)
                continue;
            const std::size_t waits = next[*it];
            const bool ok = waits == kNone ? answer == Yes : answer == Yes && plan.rows[waits].wanted;
            result[*it] = ok ? Yes : No;
            answer = result[*it];
        }
    }
    std::vector<char> yes(n);
    for (std::size_t i = 0; i < n; ++i)
        yes[i] = result[i] == Yes;
    return yes;
}

} // namespace

const std::unordered_map<std::string_view, std::size_t>& Plan::ByPath()
{
    // The paths never change once the plan is made; the rows never move.
    if (byPath_.size() != rows.size()) {
        byPath_.clear();
        byPath_.reserve(rows.size());
        for (std::size_t i = 0; i < rows.size(); ++i)
            byPath_.emplace(rows[i].path, i);
    }
    return byPath_;
}

void SettleNames(Plan& plan)
{
    const std::size_t n = plan.rows.size();
    const auto& byPath = plan.ByPath();
    std::unordered_map<std::string_view, std::size_t> heading;
    heading.reserve(n);
    for (std::size_t i = 0; i < n; ++i)
        if (plan.rows[i].moves)
            ++heading[plan.rows[i].target];
    std::vector<char> sameTarget(n, 0);
    std::vector<std::size_t> next(n, kNone);
    for (std::size_t i = 0; i < n; ++i) {
        PlanRow& row = plan.rows[i];
        if (!row.moves)
            continue;
        sameTarget[i] = heading[row.target] > 1;
        if (const auto it = byPath.find(row.target); it != byPath.end() && it->second != i)
            next[i] = it->second;
    }
    const std::vector<char> possible = Possible(plan, next, sameTarget);
    for (std::size_t i = 0; i < n; ++i) {
        PlanRow& row = plan.rows[i];
        if (!row.moves)
            continue;
        if (sameTarget[i]) {
            row.state = RowState::SameTarget;
            row.reason.clear();
        } else if (possible[i]) {
            row.state = next[i] == kNone ? RowState::Change : RowState::Chain;
            row.reason.clear();
        } else {
            row.state = RowState::Taken;
            row.reason = next[i] != kNone ? "файл " + FileName(row.target) + " остаётся на месте" : std::string();
        }
        row.ticked = row.wanted && Tickable(row.state);
    }
}

void SetTicked(Plan& plan, std::size_t index, bool ticked)
{
    PlanRow& row = plan.rows[index];
    if (!row.moves) {
        row.ticked = ticked && Tickable(row.state);
        return;
    }
    row.wanted = ticked;
    // The renames of a circle go together.
    const auto& byPath = plan.ByPath();
    std::size_t at = index;
    for (std::size_t steps = 0; steps < plan.rows.size(); ++steps) {
        const auto it = byPath.find(plan.rows[at].target);
        if (it == byPath.end() || !plan.rows[it->second].moves)
            break;
        at = it->second;
        if (at == index) {
            for (std::size_t k = 0, j = index; k <= steps; ++k) {
                plan.rows[j].wanted = ticked;
                j = byPath.at(plan.rows[j].target);
            }
            break;
        }
    }
    SettleNames(plan);
}

void Retarget(Plan& plan, std::size_t index, const std::string& typed)
{
    PlanRow& row = plan.rows[index];
    const Destination to = ResolveTarget(row.path, AnswerAsTarget(typed));
    row.target = to.path;
    row.moves = false;
    row.takenOutside = false;
    if (to.kind == Destination::Outside) {
        row.state = RowState::Unchangeable;
        row.reason = "новое имя вне папки";
    } else if (to.kind == Destination::Hidden) {
        row.state = RowState::Unchangeable;
        row.reason = "скрытое имя";
    } else if (to.path == row.path) {
        row.state = RowState::Unchanged;
        row.reason.clear();
    } else {
        row.moves = true;
        row.wanted = true;
        row.takenOutside = Platform::KindOf(to.path) != Platform::Kind::None;
    }
    SettleNames(plan);
    if (!row.moves)
        row.ticked = false;
}

PlanCounts CountRows(const Plan& plan)
{
    PlanCounts counts;
    for (const PlanRow& row : plan.rows) {
        if (row.ticked)
            ++counts.ticked;
        else if (row.state == RowState::Unchanged)
            ++counts.unchanged;
        else
            ++counts.left;
    }
    return counts;
}

std::vector<std::size_t> ShowingOrder(const Plan& plan)
{
    const auto rank = [](const PlanRow& row) {
        if (row.state == RowState::Unchanged)
            return 2;
        return TickedAtFirst(row.state) && row.state != RowState::Ambiguous && !row.unsure ? 1 : 0;
    };
    std::vector<std::size_t> order(plan.rows.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return rank(plan.rows[a]) < rank(plan.rows[b]); });
    return order;
}

} // namespace Core
