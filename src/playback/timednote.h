#pragma once

namespace tarvesh::playback {

// Ticks of a quarter note in every timed note and in the MIDI files written.
inline constexpr int kTicksPerQuarter = 480;
inline constexpr int kTicksPerWhole = 4 * kTicksPerQuarter;
// General MIDI's percussion channel, counted from 1 as players name it.
inline constexpr int kPercussionChannel = 10;

// One note the score sounds: its MIDI pitch, how hard it is struck (the accents of the time
// signature), when it starts and how long it lasts in ticks, and the item of the reading it was
// read from (line and item index), so the item sounding can be shown.
struct TimedNote {
  int pitch = 60;
  int velocity = 80;
  bool percussion = false;
  int start = 0;
  int length = 0;
  int line = 0;
  int item = 0;

  bool operator==(const TimedNote&) const = default;
};

}  // namespace tarvesh::playback
