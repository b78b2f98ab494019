#pragma once

#include "engine/enginehost.h"

namespace tarvesh::bench {

// The window's settings as plain values and a silent sound player: what the engine reads of
// the window, without the window.
class PlainHost : public engine::EngineHost {
 public:
  page::LayoutSettings settings;

  page::LayoutSettings Settings() const override { return settings; }
  void PlaySoundFile(const QString&) override {}
};

}  // namespace tarvesh::bench
