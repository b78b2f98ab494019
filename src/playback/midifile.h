#pragma once

#include <QByteArray>

#include "playback/performance.h"

namespace tarvesh::playback {

// A Standard MIDI File of type 1: a first track with the tempo, time and key signatures, a
// second with every note on the channel playback sounds it on: the melody on channel 1 with the
// instrument `program` (General MIDI, from 0), or on channel 10 for the percussion kit, and the
// percussion on channel 10.
class MidiFile {
 public:
  static QByteArray Write(const Performance& performance, int program);
};

}  // namespace tarvesh::playback
