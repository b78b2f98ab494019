#include "audio/audioplugin.h"

#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

#include "audio/fluidsynthesizer.h"

namespace tarvesh::audio {

void AudioPlugin::PlayEffect(const QString& path) {
  if (!QFileInfo::exists(path)) return;
  QSoundEffect*& effect = effects_[path];
  if (!effect) {
    effect = new QSoundEffect(this);
    effect->setSource(QUrl::fromLocalFile(path));
  }
  if (playing_ && playing_ != effect) playing_->stop();
  effect->stop();
  effect->play();
  playing_ = effect;
}

std::unique_ptr<playback::Synth> AudioPlugin::OpenSynth(QString* error) {
  return FluidSynthesizer::Open(error);
}

}  // namespace tarvesh::audio
