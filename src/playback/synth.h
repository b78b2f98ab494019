#pragma once

namespace tarvesh::playback {

// Where playback sends its notes: a software synthesizer, or nothing at all in scripts and
// tests. Channels count from 0; the percussion is on channel 9.
class Synth {
 public:
  virtual ~Synth() = default;
  virtual void Program(int channel, int program) = 0;
  virtual void NoteOn(int channel, int pitch, int velocity) = 0;
  virtual void NoteOff(int channel, int pitch) = 0;
  // Every sound ends at once.
  virtual void Silence() = 0;
};

}  // namespace tarvesh::playback
