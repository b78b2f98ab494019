#pragma once

#include <QString>
#include <vector>

#include "lyrics/lyricsheet.h"
#include "musicxml/importedscore.h"
#include "reading/readline.h"

namespace tarvesh::musicxml {

// How a person would type an imported melody on a new page: the head's key and time signature
// set first, then the keys, in order. Degrees are typed relative to the key with the octave's
// key row, note values with the keypad's duration keys, dots and dashes; an arc is marked before
// the first note of a slur or tie and drawn after its last. Bar lines and line ends are the
// engine's, as they are when typing; only the bar line after a pickup is typed.
struct ImportTyping {
  QString key;        // the head's key entry ("C", "bD", ...)
  int numerator = 4;  // the time signature, one the head's pickers offer
  int denominator = 4;
  std::vector<int> keys;  // virtual-key codes, each pressed and released
  // Where the keys of each note of the score begin in `keys`: what marks or chooses for the note,
  // the note, and what follows it up to the next note's keys.
  std::vector<size_t> noteStarts;

  // The typing of `score`; what cannot be typed is added to its left-out note.
  static ImportTyping Of(ImportedScore& score);
  // `sheet` with the words of `score` put under the notes its typing left on a page read as
  // `lines`: every note of the score that is no rest is typed as one note, in order, so the
  // page's notes are the score's up to where the page ended.
  static lyrics::LyricSheet WordsOn(const ImportedScore& score,
                                    const std::vector<reading::ReadLine>& lines,
                                    lyrics::LyricSheet sheet);
  // The key whose signature has `fifths` (-7..7): keys of six or seven sharps or flats are
  // taken by the key of the same sound the head offers.
  static QString KeyNamed(int fifths);
};

}  // namespace tarvesh::musicxml
