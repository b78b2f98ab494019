#pragma once

#include "engine/enginehost.h"

namespace tarvesh::score {
class ScoreDocument;
}
namespace tarvesh::sound {
class SoundPlayer;
}

namespace tarvesh::app {

// The engine's view of the window: the document's layout and switches, and the sound player.
class WindowEngineHost : public engine::EngineHost {
 public:
  WindowEngineHost(const score::ScoreDocument& document, sound::SoundPlayer& sound)
      : document_(document), sound_(sound) {}

  page::LayoutSettings Settings() const override;
  void PlaySoundFile(const QString& name) override;

 private:
  const score::ScoreDocument& document_;
  sound::SoundPlayer& sound_;
};

}  // namespace tarvesh::app
