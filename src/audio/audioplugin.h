#pragma once

#include <QHash>
#include <QObject>

#include "sound/audiooutputs.h"

class QSoundEffect;

namespace tarvesh::audio {

// The sound outputs as the module the program loads: typing sounds through Qt Multimedia, the
// synthesizer through FluidSynth.
class AudioPlugin : public QObject, public sound::AudioOutputs {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID TARVESH_AUDIO_OUTPUTS_IID)
  Q_INTERFACES(tarvesh::sound::AudioOutputs)

 public:
  void PlayEffect(const QString& path) override;
  std::unique_ptr<playback::Synth> OpenSynth(QString* error) override;

 private:
  // Each file's effect, made when first played.
  QHash<QString, QSoundEffect*> effects_;
  QSoundEffect* playing_ = nullptr;
};

}  // namespace tarvesh::audio
