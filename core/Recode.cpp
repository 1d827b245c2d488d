// SPDX-License-Identifier: GPL-3.0-or-later
#include "Recode.h"

#include "Codepage.h"

namespace Core {
namespace {

bool Tagged(const std::array<char, 128>& record)
{
    return std::string_view(record.data(), 3) == "TAG";
}

// A record left as it is; its fields read the same before and after.
Recoding Unchanged(const std::array<char, 128>& record)
{
    Recoding result;
    result.record = record;
    if (Tagged(record)) {
        const auto texts = RecordTexts(record);
        for (std::size_t f = 0; f < texts.size(); ++f)
            result.fields[f].oldText = result.fields[f].newText = Quenlar::Codepage::Decode(texts[f]);
    }
    return result;
}

} // namespace

Recoding Recode(const std::array<char, 128>& record, Quenlar::Codepage::Page from)
{
    Recoding result;
    result.record = record;
    if (!Tagged(record))
        return result;
    const auto texts = RecordTexts(record);
    std::string newTexts;
    for (std::size_t f = 0; f < texts.size(); ++f) {
        RecodedField& field = result.fields[f];
        field.oldText = Quenlar::Codepage::Decode(texts[f]);
        field.newText = Quenlar::Codepage::Decode(from, texts[f]);
        newTexts += field.newText;
        // One byte for each character, and no NUL before the text's end:
        // the field keeps its length and whatever lies behind it.
        const std::string bytes = Quenlar::Codepage::Encode(field.newText);
        field.changed = bytes != texts[f];
        if (field.changed) {
            const auto offset = static_cast<std::size_t>(texts[f].data() - record.data());
            bytes.copy(result.record.data() + offset, texts[f].size());
            result.changed = true;
        }
    }
    result.lost = Quenlar::Codepage::CharactersNotHeld(newTexts);
    return result;
}

RecodePlan PlanRecode(const std::array<char, 128>& record, std::optional<Quenlar::Codepage::Page> chosen)
{
    RecodePlan plan;
    plan.guess = GuessRecordCodepage(record);
    if (Tagged(record))
        plan.from = chosen ? chosen : PageToRecode(plan.guess.codepage);
    plan.recoding = plan.from ? Recode(record, *plan.from) : Unchanged(record);
    return plan;
}

} // namespace Core
