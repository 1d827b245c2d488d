// SPDX-License-Identifier: GPL-3.0-or-later
#include "NamePattern.h"

#include "Codepage.h"

namespace Core {

namespace {

// A placeholder as the messages show it: «%2» (исполнитель).
std::string Shown(int slot)
{
    const std::string code = "«%" + std::to_string(slot) + "»";
    if (slot == kSkipSlot)
        return code + " (пропуск)";
    return code + " (" + TagFieldName(static_cast<TagField>(slot - 1)) + ")";
}

const char* const kKnown = "В шаблоне имени бывают «%1» (название), «%2» (исполнитель), «%3» (альбом), «%4» (год), "
                           "«%5» (жанр), «%6» (комментарий), «%9» (текст, который пропускается) и «%%» (знак «%»).";

std::optional<NamePattern> Refuse(std::string& error, std::string text)
{
    error = std::move(text);
    return std::nullopt;
}

// The pattern refused for a "%" at i that is no placeholder.
std::optional<NamePattern> RefuseAfterPercent(std::string& error, const std::string& text, std::size_t i)
{
    if (i + 1 == text.size())
        return Refuse(error, std::string("Шаблон имени кончается знаком «%» без цифры. ") + kKnown);
    const char next = text[i + 1];
    if (next == '0')
        return Refuse(error, "«%0» в шаблоне имени не бывает: имя файла и есть то, что разбирается на поля. "
                                 + std::string(kKnown));
    const std::string_view rest = std::string_view(text).substr(i + 1);
    const std::string after(Quenlar::Codepage::FirstCharacters(rest, 1));
    return Refuse(error, "В шаблоне имени нет поля «%" + after + "». " + kKnown);
}

} // namespace

const char* TagFieldName(TagField field)
{
    static const char* const names[kTagFieldCount] = {"название", "исполнитель", "альбом",
                                                      "год",      "жанр",        "комментарий"};
    return names[static_cast<std::size_t>(field)];
}

std::optional<NamePattern> ParseNamePattern(const std::string& text, std::string& error)
{
    error.clear();
    // Matching compares bytes, which finds only whole characters in UTF-8.
    if (!Quenlar::Codepage::WellFormedUtf8(text))
        return Refuse(error, "Шаблон имени содержит байты, которые не складываются в знаки (не UTF-8).");
    NamePattern pattern;
    pattern.parts.emplace_back().literals.emplace_back();
    std::array<bool, kTagFieldCount> named{};
    bool anySlot = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        PatternPart& part = pattern.parts.back();
        const char c = text[i];
        if (c == '/') {
            pattern.parts.emplace_back().literals.emplace_back();
            continue;
        }
        if (c != '%') {
            part.literals.back() += c;
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == '%') {
            part.literals.back() += '%';
            ++i;
            continue;
        }
        // "%" with anything else is refused rather than taken as literal
        // text: it is almost always a mistyped placeholder, and "%%" says a
        // real "%".
        const char digit = i + 1 < text.size() ? text[i + 1] : '\0';
        if (!((digit >= '1' && digit <= '6') || digit == '0' + kSkipSlot))
            return RefuseAfterPercent(error, text, i);
        ++i;
        const int slot = digit - '0';
        // Nothing between two placeholders leaves no way to tell where one
        // ends; a "/" between them is text, so it counts.
        if (!part.placeholders.empty() && part.literals.back().empty())
            return Refuse(error, "Между " + Shown(part.placeholders.back()) + " и " + Shown(slot)
                                     + " в шаблоне имени ничего нет: не видно, где кончается одно поле и "
                                       "начинается другое. Поставьте между ними разделитель, например « - ».");
        if (slot != kSkipSlot) {
            if (named[slot - 1])
                return Refuse(error, "Поле " + Shown(slot) + " стоит в шаблоне имени дважды.");
            named[slot - 1] = true;
        }
        anySlot = true;
        part.placeholders.push_back(slot);
        part.literals.emplace_back();
    }
    if (!anySlot)
        return Refuse(error, std::string("В шаблоне имени нет ни одного поля. ") + kKnown);
    for (std::size_t f = 0; f < kTagFieldCount; ++f)
        if (named[f])
            pattern.fields.push_back(static_cast<TagField>(f));
    if (pattern.fields.empty())
        return Refuse(error, "Шаблон имени не заполняет ни одного поля: «%9» только пропускает текст.");
    // The rename tool gives "%2 - %1" and "%2 - %1.mp3" the same name, and the
    // extension is not part of what the last part is matched against.
    std::string& last = pattern.parts.back().literals.back();
    if (last.ends_with(".mp3"))
        last.resize(last.size() - 4);
    for (const PatternPart& part : pattern.parts)
        if (part.placeholders.empty() && part.literals.front().empty())
            return Refuse(error, "В шаблоне имени пустой уровень папки: «/» в начале, в конце или два «/» "
                                 "подряд. Каждая часть между «/» описывает имя одной папки или файла.");
    return pattern;
}

} // namespace Core
