#pragma once

#include <QString>
#include <vector>

#include "musicxml/importedscore.h"

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
  // The key whose signature has `fifths` (-7..7): keys of six or seven sharps or flats are
  // taken by the key of the same sound the head offers.
  static QString KeyNamed(int fifths);
};

}  // namespace tarvesh::musicxml
