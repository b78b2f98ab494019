#pragma once

#include "engine/enginehost.h"

namespace tarvesh::settings {
class LayoutPanel;
}
namespace tarvesh::input {
class StaffInput;
}
namespace tarvesh::overlays {
class EntryModes;
}
namespace tarvesh::sound {
class SoundPlayer;
}

namespace tarvesh::app {

// The engine's view of the window: settings read from the controls that hold them at the
// moment the engine asks, and the sound player.
class WindowEngineHost : public engine::EngineHost {
 public:
  WindowEngineHost(const settings::LayoutPanel& layout, const input::StaffInput& staff,
                   const overlays::EntryModes& modes, sound::SoundPlayer& sound)
      : layout_(layout), staff_(staff), modes_(modes), sound_(sound) {}

  page::LayoutSettings Settings() const override;
  void PlaySoundFile(const QString& name) override;

 private:
  const settings::LayoutPanel& layout_;
  const input::StaffInput& staff_;
  const overlays::EntryModes& modes_;
  sound::SoundPlayer& sound_;
};

}  // namespace tarvesh::app
