#pragma once

#include <initializer_list>

#include "reading/readline.h"

// Small readings written by hand: the items a page would read back as.
namespace tarvesh::playback::testing_readings {

using reading::Accidental;
using reading::BarKind;
using reading::ItemKind;
inline constexpr Accidental kSharp = Accidental::kSharp;
inline constexpr Accidental kFlat = Accidental::kFlat;
inline constexpr Accidental kNatural = Accidental::kNatural;
inline constexpr BarKind kRepeatStart = BarKind::kRepeatStart;
inline constexpr BarKind kRepeatEnd = BarKind::kRepeatEnd;

inline reading::ReadItem N(int degree, int octave = 0, int duration = 4,
                           Accidental accidental = Accidental::kNone) {
  reading::ReadItem item;
  item.kind = ItemKind::kNote;
  item.degree = degree;
  item.octave = octave;
  item.duration = duration;
  item.accidental = accidental;
  return item;
}

inline reading::ReadItem Slur(reading::ReadItem item, bool start, bool end) {
  item.slurStart = start;
  item.slurEnd = end;
  return item;
}

inline reading::ReadItem R(int duration) {
  reading::ReadItem item;
  item.kind = ItemKind::kRest;
  item.duration = duration;
  return item;
}

inline reading::ReadItem P(int syllable, int duration = 4) {
  reading::ReadItem item = N(syllable, 0, duration);
  item.kind = ItemKind::kPercussion;
  return item;
}

inline reading::ReadItem Dash() {
  reading::ReadItem item;
  item.kind = ItemKind::kDash;
  return item;
}

inline reading::ReadItem Dot() {
  reading::ReadItem item;
  item.kind = ItemKind::kDot;
  return item;
}

inline reading::ReadItem Bar(BarKind kind = BarKind::kSingle) {
  reading::ReadItem item;
  item.kind = ItemKind::kBar;
  item.bar = kind;
  return item;
}

inline reading::ReadLine Line(std::initializer_list<reading::ReadItem> items) {
  return {0, items};
}

}  // namespace tarvesh::playback::testing_readings
