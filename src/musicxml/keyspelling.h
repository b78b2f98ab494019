#pragma once

#include <QString>
#include <optional>

#include "reading/readitem.h"

namespace tarvesh::musicxml {

// A pitch as staff notation writes it: a letter, its alteration and the octave (4 holds middle C).
struct StaffPitch {
  char step = 'C';
  int alter = 0;
  int octave = 4;

  int Midi() const;
  bool operator==(const StaffPitch&) const = default;
};

// How the degrees of a major key ("C", "bD", ... "B", as the page head names it) are spelt on a
// staff. Degree 1 without octave dots is the key's tonic in the octave of middle C, so the
// melodies of every key lie on a staff as a singer would read them.
class KeySpelling {
 public:
  // Nothing for a name that is not one of the twelve keys.
  static std::optional<KeySpelling> ForKey(const QString& key);

  // The key signature: sharps positive, flats negative.
  int Fifths() const { return fifths_; }
  // Degree 1-7 with `octave` dots (negative below) and the accidental written before it: a sharp
  // or flat raises or lowers the key's degree by a semitone, a natural takes it back to the
  // letter's natural pitch.
  StaffPitch PitchOf(int degree, int octave, reading::Accidental accidental) const;
  // What a key signature alone gives the letter.
  int KeyAlter(char step) const;

 private:
  KeySpelling(int tonicLetter, int fifths) : tonicLetter_(tonicLetter), fifths_(fifths) {}

  int tonicLetter_;  // 0 for C .. 6 for B
  int fifths_;
};

}  // namespace tarvesh::musicxml
