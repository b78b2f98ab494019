#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

#include "engine/enginehost.h"
#include "engine/glyphengine.h"
#include "page/enginestate.h"
#include "page/geometry.h"
#include "page/glyphatlas.h"
#include "page/layoutsettings.h"
#include "page/scorepage.h"

namespace tarvesh::engine::testing {

// A window stand-in: settings the test changes at will, and a log of the sounds started.
class RecordingHost : public EngineHost {
 public:
  page::LayoutSettings settings;
  QStringList sounds;

  page::LayoutSettings Settings() const override { return settings; }
  void PlaySoundFile(const QString& name) override { sounds << name; }
};

// The atlases as the data generator draws them, built once in memory.
const page::GlyphAtlas& TestAtlas();

// Half-open pixel runs [first, second) of one colour along a page row.
using Runs = std::vector<std::pair<int, int>>;

// A 988-pixel page (the default layout), fresh engine state and a recording host.
class EngineTest : public ::testing::Test {
 protected:
  static constexpr int kTop = page::kFirstLineTop;
  static constexpr int kLineSpacing = 60;

  EngineTest();

  const page::GlyphAtlas& Atlas() const { return TestAtlas(); }
  int Width() const { return page.Width(); }
  QPointF Cursor() const { return {page.CursorLeft(), page.CursorTop()}; }
  void Place(int code, int row = 0) { engine.PlaceGlyph(code, row); }

  // Stamps a bar-line cell (wide sign 101) with its left edge at `left`: the line is at left + 7.
  void StampBarLine(int left, int top = kTop);
  // The 12 x 40 area at (left, top) of the page as a picture.
  QImage CellAt(int left, int top, int width = page::kWideCell) const;
  QImage NoteCell(int code, int row) const;
  // x positions on the line at `top` that read as bar lines (black in rows 5 and 32).
  std::vector<int> BarLines(int top = kTop) const;
  // Black runs along page row y between x0 (inclusive) and x1 (exclusive).
  Runs BlackRuns(int y, int x0, int x1) const;

  page::ScorePage page{988, page::PageHeightFor(988)};
  page::EngineState state;
  RecordingHost host;
  GlyphEngine engine{page, TestAtlas(), state, host};
};

}  // namespace tarvesh::engine::testing
