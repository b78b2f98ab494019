#pragma once

#include <vector>

#include "playback/scorehead.h"
#include "playback/timednote.h"
#include "reading/readline.h"

namespace tarvesh::playback {

// The score as timed notes, read from the page's reading and its head. Pitch comes from the
// degree, the key, octave dots and accidentals (held to the end of the bar for the same degree
// and octave, cancelled by a natural); length from the underlines, augmentation dots and dashes
// (a dash holds the sound one quarter longer), an arc between two notes of one pitch ties them
// into one sound; rests and dashes after them are silence;
// percussion syllables are hits on the percussion channel; the section between a start and an
// end repeat sign (or the start of the score) is played twice. The first beat of a bar is struck
// hardest, the other beats less, what lies between them least.
class Performance {
 public:
  Performance(const std::vector<reading::ReadLine>& lines, const ScoreHead& head);

  const ScoreHead& Head() const { return head_; }
  // In time order.
  const std::vector<TimedNote>& Notes() const { return notes_; }
  // The tick the last sound or silence ends.
  int End() const { return end_; }

  // Milliseconds from the start at the tempo of the head.
  double Milliseconds(int ticks) const;
  // The notes from the first item at or after item `item` of line `line` of the reading on,
  // moved to start at tick 0; every note when nothing sounds from there on.
  std::vector<TimedNote> From(int line, int item) const;

  // The General MIDI percussion key a syllable (冬 X 仓 次 板) sounds.
  static int PercussionKey(int syllable);

 private:
  ScoreHead head_;
  std::vector<TimedNote> notes_;
  int end_ = 0;
};

}  // namespace tarvesh::playback
