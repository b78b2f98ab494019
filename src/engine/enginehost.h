#pragma once

#include <QString>

#include "page/layoutsettings.h"

namespace tarvesh::engine {

// What the glyph engine needs of the window around it: the settings held in its controls, and
// the sound player. Tests give the engine a plain implementation over an in-memory page.
class EngineHost {
 public:
  virtual ~EngineHost() = default;
  // The current layout values and switches, read at the moment they are needed.
  virtual page::LayoutSettings Settings() const = 0;
  // Plays one of the short sounds ("kac.wav", "ding.wav", "5.wav") if sounds are switched on.
  virtual void PlaySoundFile(const QString& name) = 0;
};

}  // namespace tarvesh::engine
