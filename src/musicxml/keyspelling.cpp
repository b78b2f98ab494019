#include "musicxml/keyspelling.h"

#include <array>

namespace tarvesh::musicxml {

namespace {
constexpr std::array<char, 7> kLetters{'C', 'D', 'E', 'F', 'G', 'A', 'B'};
constexpr std::array<int, 7> kNaturalSemitones{0, 2, 4, 5, 7, 9, 11};
// The order in which a key signature adds sharps; flats come in the reverse order.
constexpr std::array<char, 7> kSharpOrder{'F', 'C', 'G', 'D', 'A', 'E', 'B'};

struct Key {
  const char* name;
  int tonicLetter;
  int fifths;
};
constexpr std::array<Key, 12> kKeys{{{"C", 0, 0},
                                     {"bD", 1, -5},
                                     {"D", 1, 2},
                                     {"bE", 2, -3},
                                     {"E", 2, 4},
                                     {"F", 3, -1},
                                     {"bG", 4, -6},
                                     {"G", 4, 1},
                                     {"bA", 5, -4},
                                     {"A", 5, 3},
                                     {"bB", 6, -2},
                                     {"B", 6, 5}}};

int LetterIndex(char step) {
  for (int i = 0; i < 7; ++i)
    if (kLetters[size_t(i)] == step) return i;
  return 0;
}
}  // namespace

int StaffPitch::Midi() const {
  return 12 * (octave + 1) + kNaturalSemitones[size_t(LetterIndex(step))] + alter;
}

std::optional<KeySpelling> KeySpelling::ForKey(const QString& key) {
  for (const Key& k : kKeys)
    if (key == QLatin1String(k.name)) return KeySpelling(k.tonicLetter, k.fifths);
  return std::nullopt;
}

int KeySpelling::KeyAlter(char step) const {
  for (int i = 0; i < 7; ++i) {
    if (fifths_ > i && kSharpOrder[size_t(i)] == step) return 1;
    if (-fifths_ > i && kSharpOrder[size_t(6 - i)] == step) return -1;
  }
  return 0;
}

StaffPitch KeySpelling::PitchOf(int degree, int octave, reading::Accidental accidental) const {
  const int letters = tonicLetter_ + (degree - 1);
  StaffPitch pitch;
  pitch.step = kLetters[size_t(letters % 7)];
  pitch.octave = 4 + octave + letters / 7;
  pitch.alter = KeyAlter(pitch.step);
  switch (accidental) {
    case reading::Accidental::kSharp:
      pitch.alter += 1;
      break;
    case reading::Accidental::kFlat:
      pitch.alter -= 1;
      break;
    case reading::Accidental::kNatural:
      pitch.alter = 0;
      break;
    case reading::Accidental::kNone:
      break;
  }
  return pitch;
}

}  // namespace tarvesh::musicxml
