#include "enginefixture.h"

#include "artwork.h"
#include "engine/linescan.h"
#include "page/guiapplication.h"

namespace tarvesh::engine::testing {

const page::GlyphAtlas& TestAtlas() {
  static const page::GlyphAtlas atlas = [] {
    page::GlyphAtlas a;
    a.Picmode = artwork::DrawPicmode().convertToFormat(QImage::Format_RGB32);
    a.Picmode2 = artwork::DrawPicmode2().convertToFormat(QImage::Format_RGB32);
    a.SlurArc = artwork::DrawSlurArc().convertToFormat(QImage::Format_RGB32);
    return a;
  }();
  return atlas;
}

EngineTest::EngineTest() {
  page::testing::EnsureGuiApplication();
}

void EngineTest::StampBarLine(int left, int top) {
  page.CopyCell(Atlas().Picmode2, page::kWideCell * (kBarLineCode - 100), 0, page::kWideCell,
                page::kCellHeight, left, top);
}

QImage EngineTest::CellAt(int left, int top, int width) const {
  return page.Image().copy(left, top, width, page::kCellHeight);
}

QImage EngineTest::NoteCell(int code, int row) const {
  return Atlas().Picmode.copy(page::kWideCell * code, page::kCellHeight * row, page::kWideCell,
                              page::kCellHeight);
}

std::vector<int> EngineTest::BarLines(int top) const {
  std::vector<int> xs;
  for (int x = 0; x < page.Width(); ++x)
    if (IsBarLineAt(page, x, top)) xs.push_back(x);
  return xs;
}

Runs EngineTest::BlackRuns(int y, int x0, int x1) const {
  Runs runs;
  for (int x = x0; x < x1; ++x) {
    if (!page.IsBlack(x, y)) continue;
    if (!runs.empty() && runs.back().second == x) {
      runs.back().second = x + 1;
    } else {
      runs.push_back({x, x + 1});
    }
  }
  return runs;
}

}  // namespace tarvesh::engine::testing
