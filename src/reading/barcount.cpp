#include "reading/barcount.h"

#include <bit>

#include "page/geometry.h"

namespace tarvesh::reading {

namespace {

// Rows of a duration: the quarter's 0 to the thirty-second's 3, beyond which no dot goes.
constexpr int kShortestRow = 3;
// The marks lie just under the line's cells.
constexpr int kMarkDrop = page::kCellHeight + 1;

}  // namespace

std::int32_t RowUnits(int row) {
  return (kUnitsPerWhole / 4) >> row;
}

std::int32_t UnitsPerBar(int beatsPerBar, int beatUnit) {
  return beatUnit > 0 ? beatsPerBar * kUnitsPerWhole / beatUnit : 0;
}

bool TakesTime(const ReadItem& item) {
  return item.kind == ItemKind::kNote || item.kind == ItemKind::kRest ||
         item.kind == ItemKind::kPercussion || item.kind == ItemKind::kDash;
}

int DurationRow(const ReadItem& item) {
  return item.duration > 0 ? std::countr_zero(unsigned(item.duration)) - 2 : 0;
}

std::int32_t UnitsSinceBarLine(const std::vector<const ReadItem*>& items) {
  std::int32_t units = 0;
  int row = 0;
  for (const ReadItem* item : items) {
    if (item->kind == ItemKind::kBar) {
      units = 0;
    } else if (TakesTime(*item)) {
      row = DurationRow(*item);
      units += RowUnits(row);
    } else if (item->kind == ItemKind::kDot && row < kShortestRow) {
      ++row;
      units += RowUnits(row);
    }
  }
  return units;
}

std::vector<QLine> UnevenBarMarks(const std::vector<ReadLine>& lines, std::int32_t unitsPerBar) {
  std::vector<QLine> marks;
  std::vector<const ReadItem*> bar;
  // The bar's parts on each line it spans: top, first and last column.
  std::vector<QLine> parts;
  bool first = true;
  for (const ReadLine& line : lines) {
    for (const ReadItem& item : line.items) {
      if (item.kind == ItemKind::kChord || item.kind == ItemKind::kUnknown) continue;
      const int y = line.top + kMarkDrop;
      if (parts.empty() || parts.back().y1() != y) {
        parts.push_back(QLine(item.box.left(), y, item.box.right(), y));
      } else {
        parts.back().setP2(QPoint(item.box.right(), y));
      }
      bar.push_back(&item);
      if (item.kind != ItemKind::kBar) continue;
      const std::int32_t units = UnitsSinceBarLine({bar.begin(), bar.end() - 1});
      if (units != unitsPerBar && units > 0 && !first)
        marks.insert(marks.end(), parts.begin(), parts.end());
      first = false;
      bar.clear();
      parts.clear();
    }
  }
  return marks;
}

}  // namespace tarvesh::reading
