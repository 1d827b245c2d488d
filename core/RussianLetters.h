// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A small model of how Russian words are spelt, enough to tell which code
// page turns a tag's bytes into Russian: how common each letter is, which
// letter pairs are common or impossible, how long runs of consonants and
// vowels get, and how capitals sit in a word. Written by hand from the
// general rules of Russian spelling; it learns from no data.
#include <string_view>

namespace Core::RussianLetters {

// Position in the alphabet (а = 0, ё = 6, я = 32) of a small or capital
// Russian letter; -1 for any other character.
int Index(char32_t c);
bool IsCapital(char32_t c);

// How Russian a word reads, as a log-likelihood against letters picked at
// random: positive for a likely word, strongly negative for one spelt
// against the rules. Characters other than Russian letters are passed over.
double WordScore(std::u32string_view word);

} // namespace Core::RussianLetters
