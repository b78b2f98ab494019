#pragma once

#include "engine/glyphengine.h"
#include "page/enginestate.h"
#include "page/glyphatlas.h"
#include "page/scorepage.h"
#include "plainhost.h"

namespace tarvesh::bench {

// An in-memory page typed on through the key handler's own path: the duration keys choose the
// row, Enter ends the line, every other key goes through KeyToGlyphCode and PlaceGlyph.
class PageTypist {
 public:
  // A page of `barsPerLine` bars of `barWidth` pixels, in the start-up state.
  PageTypist(const page::GlyphAtlas& atlas, int barsPerLine = 8, int barWidth = 120);

  void Press(int keyCode);
  // White page, cursor home, start-up engine state.
  void Reset();

  page::ScorePage page;
  page::EngineState state;
  PlainHost host;
  engine::GlyphEngine engine;
};

// The atlases beside the program in the build folder; aborts when they are missing.
const page::GlyphAtlas& BuiltAtlas();
// The build folder, where the data folder is drawn.
QString BuiltDataDir();
// The 64-bar tune typed on the default page.
const QImage& TunePage();

}  // namespace tarvesh::bench
