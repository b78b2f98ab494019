#pragma once

#include <QImage>
#include <vector>

namespace tarvesh::reading {

// A horizontal run of ink on one page row: pixels x0 .. x1 - 1.
struct InkRun {
  int y = 0;
  int x0 = 0;
  int x1 = 0;
};

// The ink of a page as runs, row by row: exact black (what glyphs are stamped in) and every
// pixel that is not white (glyphs, chord symbols in any colour, whatever else was drawn).
class InkMap {
 public:
  explicit InkMap(const QImage& page);
  // Only rows firstRow .. lastRow - 1 of the page (clipped to it); the others read as white.
  InkMap(const QImage& page, int firstRow, int lastRow);

  int Width() const { return width_; }
  int Height() const { return height_; }
  const std::vector<InkRun>& BlackRuns() const { return black_; }
  const std::vector<InkRun>& InkRuns() const { return ink_; }
  // Runs of row y are [RowStart(y), RowStart(y + 1)) of their vector; y is clamped to the page.
  int BlackRowStart(int y) const { return blackRowStart_[Clamp(y)]; }
  int InkRowStart(int y) const { return inkRowStart_[Clamp(y)]; }
  const std::vector<int>& BlackRowStarts() const { return blackRowStart_; }
  const std::vector<int>& InkRowStarts() const { return inkRowStart_; }

 private:
  int Clamp(int y) const { return y < 0 ? 0 : (y > height_ ? height_ : y); }

  int width_ = 0;
  int height_ = 0;
  std::vector<InkRun> black_;
  std::vector<InkRun> ink_;
  std::vector<int> blackRowStart_;
  std::vector<int> inkRowStart_;
};

}  // namespace tarvesh::reading
