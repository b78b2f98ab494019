#include "pagetypist.h"

#include <cstdio>
#include <cstdlib>

#include "page/geometry.h"
#include "tune.h"

namespace tarvesh::bench {

namespace {

constexpr int kEnter = 13;
constexpr int kPad0 = 96;
constexpr int kPad3 = 99;

}  // namespace

PageTypist::PageTypist(const page::GlyphAtlas& atlas, int barsPerLine, int barWidth)
    : page(page::PageWidthFor(barsPerLine, barWidth),
           page::PageHeightFor(page::PageWidthFor(barsPerLine, barWidth))),
      engine(page, atlas, state, host) {
  host.settings.barsPerLine = barsPerLine;
  host.settings.barWidth = barWidth;
  host.settings.soundEffects = false;
}

void PageTypist::Press(int keyCode) {
  if (keyCode >= kPad0 && keyCode <= kPad3) {
    state.CurrentDurationRow = keyCode - kPad0;
  } else if (keyCode == kEnter) {
    engine.EndLine();
  } else {
    const int code = engine.KeyToGlyphCode(keyCode);
    if (code > 0) engine.PlaceGlyph(code, state.CurrentDurationRow);
  }
}

void PageTypist::Reset() {
  page.Clear();
  page.SetCursor(page::kLeftMargin, page::kFirstLineTop);
  state = page::EngineState{};
}

QString BuiltDataDir() {
  return QStringLiteral(TARVESH_DATA_DIR);
}

const QImage& TunePage() {
  static const QImage image = [] {
    PageTypist t(BuiltAtlas());
    for (int key : SixtyFourBarTune()) t.Press(key);
    return t.page.Image();
  }();
  return image;
}

const page::GlyphAtlas& BuiltAtlas() {
  static const page::GlyphAtlas atlas = [] {
    QString failed;
    auto loaded = page::GlyphAtlas::Load(BuiltDataDir(), &failed);
    if (!loaded) {
      std::fprintf(stderr, "cannot read %s\n", qPrintable(failed));
      std::exit(1);
    }
    return *loaded;
  }();
  return atlas;
}

}  // namespace tarvesh::bench
