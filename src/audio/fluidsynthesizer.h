#pragma once

#include <QString>
#include <memory>

#include "playback/synth.h"

namespace tarvesh::audio {

// FluidSynth with a General MIDI sound font, playing on the system's audio output.
class FluidSynthesizer : public playback::Synth {
 public:
  // A synthesizer that sounds, or null with `error` telling why (no sound font, no audio device).
  static std::unique_ptr<FluidSynthesizer> Open(QString* error);
  ~FluidSynthesizer() override;

  void Program(int channel, int program) override;
  void NoteOn(int channel, int pitch, int velocity) override;
  void NoteOff(int channel, int pitch) override;
  void Silence() override;

 private:
  struct Parts;
  explicit FluidSynthesizer(std::unique_ptr<Parts> parts);
  std::unique_ptr<Parts> parts_;
};

}  // namespace tarvesh::audio
