#pragma once

#include <vector>

#include "lyrics/noteitem.h"

namespace tarvesh::lyrics {

// The items of a line that start a syllable, left to right: its notes, except those an arc
// (a slur or a tie) carries on from the note before. Rests, dashes, augmentation dots, bar
// lines and everything else never take a syllable.
std::vector<int> SyllableStarts(const std::vector<NoteItem>& items);

// A Hanzi (and kana, Hangul and Bopomofo) is a syllable of its own; letters of other scripts
// make words.
bool IsOwnSyllable(char32_t c);

}  // namespace tarvesh::lyrics
