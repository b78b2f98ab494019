#pragma once

namespace tarvesh::playback {

// Ticks of a quarter note in every timed note and in the MIDI files written.
inline constexpr int kTicksPerQuarter = 480;
inline constexpr int kTicksPerWhole = 4 * kTicksPerQuarter;
// General MIDI's percussion channel, counted from 1 as players name it.
inline constexpr int kPercussionChannel = 10;
// The instrument "program" that plays the melody on the percussion kit; others are General MIDI
// programs, from 0.
inline constexpr int kPercussionKit = -1;

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

// The channel, from 0, a note sounds on when the melody plays `program`: the percussion and a
// melody on the kit on the percussion channel, the melody on the first.
inline int ChannelOf(const TimedNote& note, int program) {
  return note.percussion || program == kPercussionKit ? kPercussionChannel - 1 : 0;
}

}  // namespace tarvesh::playback
