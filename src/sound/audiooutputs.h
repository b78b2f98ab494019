#pragma once

#include <QString>
#include <QtPlugin>
#include <memory>

#include "playback/synth.h"

namespace tarvesh::sound {

// Where the program is heard: the short sounds of typing and the synthesizer of playback. They
// live in a module of their own (see AudioModule), as their libraries are many and only needed
// once something sounds.
class AudioOutputs {
 public:
  virtual ~AudioOutputs() = default;
  // Plays the sound file at `path` at once, cutting off the one still playing; a file that
  // cannot be played is passed over silently.
  virtual void PlayEffect(const QString& path) = 0;
  // A synthesizer that sounds, or null with `error` telling why (no sound font, no device).
  virtual std::unique_ptr<playback::Synth> OpenSynth(QString* error) = 0;
};

}  // namespace tarvesh::sound

#define TARVESH_AUDIO_OUTPUTS_IID "org.tarvesh.AudioOutputs/1"
Q_DECLARE_INTERFACE(tarvesh::sound::AudioOutputs, TARVESH_AUDIO_OUTPUTS_IID)
