// SPDX-License-Identifier: GPL-3.0-or-later
#include "CodepageGuess.h"

#include "Codepage.h"
#include "RussianLetters.h"

#include <algorithm>
#include <vector>

namespace Core {
namespace {

using Quenlar::Codepage::Page;

// The three readings weighed, in TextCodepage's order.
constexpr int kReadings = 3;
using Table = std::array<char32_t, 256>;

// Codepage.h is the one home of the Windows-1251 table and converts whole
// texts only: a byte's character is read back from its UTF-8.
char32_t Windows1251Character(unsigned char b)
{
    const std::string utf8 = Quenlar::Codepage::Decode(std::string_view(reinterpret_cast<const char*>(&b), 1));
    char32_t c = static_cast<unsigned char>(utf8[0]);
    if (utf8.size() > 1) {
        c &= 0xFF >> (utf8.size() + 1);
        for (std::size_t k = 1; k < utf8.size(); ++k)
            c = (c << 6) | (static_cast<unsigned char>(utf8[k]) & 0x3F);
    }
    return c;
}

const std::array<Table, kReadings>& Tables()
{
    static const std::array<Table, kReadings> tables = [] {
        std::array<Table, kReadings> t{};
        for (int b = 0; b < 256; ++b) {
            const auto byte = static_cast<unsigned char>(b);
            t[0][b] = Windows1251Character(byte);
            t[1][b] = Quenlar::Codepage::Character(Page::Koi8R, byte);
            t[2][b] = Quenlar::Codepage::Character(Page::Cp866, byte);
        }
        return t;
    }();
    return tables;
}

enum class Kind {
    Separator,   // ASCII other than a letter: ends a word
    Latin,       // ASCII letter
    Russian,     // a letter of the Russian alphabet
    Neighbour,   // a Ukrainian or Belarusian letter: Russian tags hold a few
    Foreign,     // any other Cyrillic letter
    Punctuation, // a sign titles use: quotes, dashes, №
    Graphic,     // box drawing, mathematics and the rest: never in a title
};

Kind KindOf(char32_t c)
{
    if (c < 0x80)
        return (c | 0x20) >= 'a' && (c | 0x20) <= 'z' ? Kind::Latin : Kind::Separator;
    if (RussianLetters::Index(c) >= 0)
        return Kind::Russian;
    if (std::u32string_view(U"ІіЇїЄєҐґЎў").find(c) != std::u32string_view::npos)
        return Kind::Neighbour;
    if (c >= 0x0400 && c <= 0x045F)
        return Kind::Foreign;
    if (std::u32string_view(U"«»–—…№‘’‚“”„•·°©®™\u00A0").find(c) != std::u32string_view::npos)
        return Kind::Punctuation;
    return Kind::Graphic;
}

double Penalty(Kind kind)
{
    switch (kind) {
    case Kind::Neighbour: return -3.5;
    case Kind::Foreign: return -6;
    case Kind::Punctuation: return -1.5;
    case Kind::Graphic: return -7;
    default: return 0;
    }
}

struct Tally {
    double score = 0;
    int strange = 0; // high bytes read as a foreign letter or a graphic sign
};

// Adds how Russian text reads through table.
void Score(std::string_view text, const Table& table, Tally& tally)
{
    std::u32string word;
    bool latin = false, cyrillic = false;
    auto endWord = [&] {
        if (latin && cyrillic)
            tally.score -= 3; // scripts mixed in one word
        if (cyrillic)
            tally.score += RussianLetters::WordScore(word);
        word.clear();
        latin = cyrillic = false;
    };
    for (const char b : text) {
        const char32_t c = table[static_cast<unsigned char>(b)];
        const Kind kind = KindOf(c);
        tally.score += Penalty(kind);
        if (kind == Kind::Foreign || kind == Kind::Graphic)
            ++tally.strange;
        if (kind == Kind::Separator || kind == Kind::Punctuation || kind == Kind::Graphic) {
            endWord();
            continue;
        }
        word.push_back(c);
        (kind == Kind::Latin ? latin : cyrillic) = true;
    }
    endWord();
}

// High bytes that sit in words of mostly ASCII letters, as "ö" does in
// "Björk": Latin-1 text, which no Russian reading fits.
int LatinHighBytes(std::string_view text)
{
    int found = 0, ascii = 0, high = 0;
    auto endWord = [&] {
        if (ascii > 0 && high > 0 && ascii >= high)
            found += high;
        ascii = high = 0;
    };
    for (const char b : text) {
        const auto u = static_cast<unsigned char>(b);
        if (u >= 0xC0)
            ++high; // a letter in Latin-1, save × and ÷
        else if (KindOf(u) == Kind::Latin)
            ++ascii;
        else
            endWord();
    }
    endWord();
    return found;
}

// Cyrillic stored as UTF-8 by a newer program: none of the three pages.
bool CyrillicUtf8(std::string_view text)
{
    int leads = 0;
    for (const char b : text) {
        const auto u = static_cast<unsigned char>(b);
        if (u >= 0xC0 && (u < 0xD0 || u > 0xD3))
            return false;
        leads += u >= 0xC0;
    }
    return leads >= 2 && Quenlar::Codepage::WellFormedUtf8(text);
}

// Fewer high bytes than this tell nothing.
constexpr int kLeastHighBytes = 3;
// Ties go to the page the tags are read in.
constexpr double kWindows1251Prior = 0.5;
// Scores closer than this leave the guess unsure.
constexpr double kSureMargin = 3.0;

using Tallies = std::array<Tally, kReadings>;

struct Weighed {
    int best = 0;       // the reading that scored highest
    double margin = 0;  // by how much
    bool russian = false; // whether it reads as Russian at all
};

Weighed Weigh(Tallies tallies, int high)
{
    tallies[0].score += kWindows1251Prior;
    std::array<int, kReadings> order = {0, 1, 2};
    std::sort(order.begin(), order.end(), [&](int a, int b) { return tallies[a].score > tallies[b].score; });
    const Tally& best = tallies[order[0]];
    return {order[0], best.score - tallies[order[1]].score, 3 * best.strange <= high};
}

int HighBytes(std::string_view text)
{
    return static_cast<int>(
        std::count_if(text.begin(), text.end(), [](char b) { return static_cast<unsigned char>(b) >= 0x80; }));
}

} // namespace

std::array<std::string_view, 4> RecordTexts(const std::array<char, 128>& record)
{
    std::array<std::string_view, 4> texts;
    constexpr std::array<std::size_t, 4> starts = {3, 33, 63, 97};
    for (std::size_t f = 0; f < 4; ++f) {
        const std::string_view field(record.data() + starts[f], 30);
        texts[f] = field.substr(0, field.find('\0'));
    }
    return texts;
}

CodepageGuess GuessCodepage(std::span<const std::string_view> texts)
{
    int high = 0, latinHigh = 0;
    for (const std::string_view text : texts) {
        if (CyrillicUtf8(text))
            return {};
        high += HighBytes(text);
        latinHigh += LatinHighBytes(text);
    }
    if (high == 0)
        return {};
    if (latinHigh > 0 && 2 * latinHigh >= high)
        return {TextCodepage::Latin1, latinHigh < high};
    if (high < kLeastHighBytes)
        return {};

    std::vector<Tallies> perText(texts.size());
    Tallies total{};
    for (std::size_t t = 0; t < texts.size(); ++t)
        for (int r = 0; r < kReadings; ++r) {
            Score(texts[t], Tables()[r], perText[t][r]);
            total[r].score += perText[t][r].score;
            total[r].strange += perText[t][r].strange;
        }
    const Weighed record = Weigh(total, high);
    if (!record.russian)
        return {};
    bool unsure = record.margin < kSureMargin;
    // A field sure of another page on its own: the texts mix pages, and
    // recoding them all from one would spoil the others.
    for (std::size_t t = 0; t < texts.size(); ++t) {
        const int fieldHigh = HighBytes(texts[t]);
        if (fieldHigh < kLeastHighBytes)
            continue;
        const Weighed field = Weigh(perText[t], fieldHigh);
        unsure = unsure || (field.russian && field.best != record.best && field.margin >= kSureMargin);
    }
    return {static_cast<TextCodepage>(record.best + 1), unsure};
}

CodepageGuess GuessRecordCodepage(const std::array<char, 128>& record)
{
    if (std::string_view(record.data(), 3) != "TAG")
        return {};
    const auto texts = RecordTexts(record);
    return GuessCodepage(texts);
}

std::optional<Quenlar::Codepage::Page> PageToRecode(TextCodepage codepage)
{
    if (codepage == TextCodepage::Koi8R)
        return Page::Koi8R;
    if (codepage == TextCodepage::Cp866)
        return Page::Cp866;
    return std::nullopt;
}

std::string_view CodepageName(TextCodepage codepage)
{
    switch (codepage) {
    case TextCodepage::Windows1251: return "Windows-1251";
    case TextCodepage::Koi8R: return "KOI8-R";
    case TextCodepage::Cp866: return "CP866";
    case TextCodepage::Latin1: return "Latin-1";
    default: return "";
    }
}

} // namespace Core
