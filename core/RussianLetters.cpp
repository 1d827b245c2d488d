// SPDX-License-Identifier: GPL-3.0-or-later
#include "RussianLetters.h"

#include <array>
#include <cmath>
#include <string>

namespace Core::RussianLetters {
namespace {

constexpr int kLetters = 33;
constexpr std::u32string_view kAlphabet = U"абвгдеёжзийклмнопрстуфхцчшщъыьэюя";

// Letters per thousand in ordinary Russian text, rounded; ф, э and ё a
// little above prose, as names and titles use them more.
constexpr std::array<double, kLetters> kPerThousand = {
    80, 16, 45, 17, 30, 84, 3, 9, 16, 73, 12, 35, 44, 32, 67, 109, 28,
    47, 55, 63, 26, 4, 10, 5, 14, 7, 4, 0.6, 19, 17, 4, 6, 20,
};

// Pairs that ordinary text is full of: endings, prefixes, common roots.
constexpr std::u32string_view kCommonPairs =
    U"ст но то на ен ов ни ра во ко ал по го пр ре ро ос ли ер ка ет ва ат ол ан "
    U"ел ло не ом ль ак ор ит ес ла та ин ть ск од тв ви да ед ог ме ки ие ия ся "
    U"ые ый ий ой ая ое ей ем ам ым их ых ми ма мо де ди до ду че чт чи ча ше жи "
    U"же за зы зе зн ба бо бе бы бл бр вы вс ве вл гл гр дв др кр кл ку лю мн му "
    U"ны ну ня от ож пе пи пу ру ри се си со сл см сп сн сь те ти ту тр ты ул ум "
    U"ус ут хо ха це ци чн щи эт ют ях яв аз ар ас ав ай ам ах бу ву вн ге гу дн "
    U"ев ег ез ек еп ех ею жд жа зв зд зо иб ив иг ид из ик ил им ир ис иц ич ищ "
    U"ию йн йс ке кт ле лу лы мы мя нн нт нк нс нь нц нч об ок он оп ох оч ош ою "
    U"оя па пл пп пы рв рг рд рк рм рн рт рь ры ря са сс сю тн тс уб ув уг уд уж "
    U"уз ук ун ур уч уш фи фо хи хр чк ша шк шн ыв ын ыс ьк ьн ью ья юб юд юч яз "
    U"як ям ян яс ят ящ ёт ёр ёл ён дь вь зь мь";

// The letters the rules name, by their position in the alphabet.
constexpr int A = 0, G = 3, YE = 5, YO = 6, ZH = 7, I = 9, J = 10, K = 11, O = 15, U = 20, KH = 22, TS = 23,
              CH = 24, SH = 25, SHCH = 26, HARD = 27, Y = 28, SOFT = 29, EH = 30, YU = 31, YA = 32;

bool Vowel(int i)
{
    return i == A || i == YE || i == YO || i == I || i == O || i == U || i == Y || i == EH || i == YU || i == YA;
}
bool Sign(int i) { return i == HARD || i == SOFT; }
bool Hushing(int i) { return i == ZH || i == CH || i == SH || i == SHCH; }

// The spelling rules a pair can break; 0 for a pair they allow.
double PairPenalty(int a, int b)
{
    if (Sign(b))
        return Vowel(a) || a == J || Sign(a) ? -5 : 0;
    if (b == Y) {
        if (Vowel(a) || a == J || Sign(a))
            return -5;
        if (Hushing(a))
            return -4;
        return a == K || a == G || a == KH ? -2 : 0;
    }
    if (b == J)
        return Vowel(a) ? 0 : -5;
    if (a == HARD)
        return b == YE || b == YO || b == YU || b == YA ? 0 : -5;
    if (a == SOFT && (b == A || b == O || b == U || b == EH))
        return -3;
    if ((Hushing(a) || a == TS) && (b == YA || b == YU || b == EH))
        return -3;
    if (b == EH && !Vowel(a))
        return -1; // loanwords and names: мэр, рэп
    if (a == b) {
        // The letters Russian doubles: е, и, о and most consonants.
        static constexpr std::u32string_view doubled = U"еиобвджзклмнпрстф";
        return doubled.find(kAlphabet[a]) == std::u32string_view::npos ? -3 : 0;
    }
    return 0;
}

struct Model {
    std::array<double, kLetters> letter{};
    std::array<std::array<double, kLetters>, kLetters> pair{};
    std::array<double, kLetters> start{};

    Model()
    {
        for (int i = 0; i < kLetters; ++i)
            letter[i] = std::log(kPerThousand[i] / 1000.0 * kLetters);
        std::array<std::array<bool, kLetters>, kLetters> common{};
        for (std::size_t k = 0; k + 1 < kCommonPairs.size(); k += 3) {
            const auto a = kAlphabet.find(kCommonPairs[k]), b = kAlphabet.find(kCommonPairs[k + 1]);
            if (a != std::u32string_view::npos && b != std::u32string_view::npos)
                common[a][b] = true;
        }
        for (int a = 0; a < kLetters; ++a)
            for (int b = 0; b < kLetters; ++b) {
                double s = PairPenalty(a, b);
                if (s == 0)
                    s = common[a][b] ? 1.2 : Vowel(a) == Vowel(b) ? -0.7 : 0;
                pair[a][b] = s;
            }
        start[HARD] = start[SOFT] = start[Y] = -5;
        start[J] = -2;
    }
};

const Model& TheModel()
{
    static const Model model;
    return model;
}

// Penalty for a run of n consonants (signs left out) or vowels.
double RunPenalty(int n, bool vowels)
{
    if (vowels)
        return n > 2 ? -2.0 * (n - 2) : 0;
    if (n == 4)
        return -0.8;
    return n > 4 ? -0.8 - 2.5 * (n - 4) : 0;
}

} // namespace

int Index(char32_t c)
{
    if (c >= U'А' && c <= U'Я')
        c += 0x20;
    if (c == U'Ё')
        c = U'ё';
    if (c < U'а' || c > U'я')
        return c == U'ё' ? YO : -1;
    const int i = static_cast<int>(c - U'а');
    return i < YO ? i : i + 1;
}

bool IsCapital(char32_t c)
{
    return (c >= U'А' && c <= U'Я') || c == U'Ё';
}

double WordScore(std::u32string_view word)
{
    const Model& m = TheModel();
    double score = 0;
    int previous = -1, run = 0;
    bool runOfVowels = false;
    // Capitals: all, none, or the first letter only.
    std::size_t letters = 0, capitals = 0;
    bool firstCapital = false;
    for (std::size_t k = 0; k < word.size(); ++k) {
        const int i = Index(word[k]);
        if (i < 0)
            continue;
        ++letters;
        if (IsCapital(word[k])) {
            ++capitals;
            firstCapital = firstCapital || letters == 1;
        }
        score += m.letter[i];
        score += previous < 0 ? m.start[i] : m.pair[previous][i];
        if (!Sign(i)) {
            if (run > 0 && Vowel(i) == runOfVowels) {
                ++run;
            } else {
                score += RunPenalty(run, runOfVowels);
                run = 1;
                runOfVowels = Vowel(i);
            }
        }
        previous = i;
    }
    score += RunPenalty(run, runOfVowels);
    const bool caseFits = capitals == 0 || capitals == letters || (capitals == 1 && firstCapital);
    // A small letter and then capitals only is a capitalised word whose case
    // the wrong page turned over: far rarer than a name spelt "ЧайФ".
    if (!caseFits)
        score -= !firstCapital && capitals + 1 == letters ? 8 : 4;
    return score;
}

} // namespace Core::RussianLetters
