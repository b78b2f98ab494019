#include "reading/glyphtemplates.h"

#include <algorithm>
#include <bit>
#include <initializer_list>
#include <utility>

#include "page/geometry.h"

namespace tarvesh::reading {

namespace {

using page::kCellHeight;
using page::kNarrowCell;
using page::kWideCell;

// Octave dots above a digit: columns 5-6, rows 3-7; a note's body says nothing about them.
constexpr int kOctaveDotLeft = 5;
constexpr int kOctaveDotRight = 6;
constexpr int kOctaveDotBottom = 7;
// The note atlas: seven digits in five octave groups, then the rest, the syllables, the dash.
constexpr int kDigitsPerGroup = 7;
constexpr int kOctaveGroups = 5;
constexpr int kMiddleGroup = 2;
constexpr int kRestColumn = 35;
constexpr int kFirstSyllableColumn = 36;
constexpr int kSyllableCount = 5;
constexpr int kDashColumn = 41;
constexpr int kDurationRows = 4;
constexpr int kQuarter = 4;
// The sign atlas keeps its narrow cells in its second row.
constexpr int kNarrowRowTop = 40;
// Pieces smaller than this say nothing about where their line lies (dots are in many places).
constexpr int kSmallestTellingPiece = 8;

bool IsBlack(const QImage& image, int x, int y) {
  return image.valid(x, y) && (image.pixel(x, y) & 0x00ffffffu) == 0;
}

std::vector<ColumnMask> CellInk(const QImage& atlas, int left, int top, int width) {
  std::vector<ColumnMask> columns(width, 0);
  for (int x = 0; x < width; ++x)
    for (int row = 0; row < kCellHeight; ++row)
      if (IsBlack(atlas, left + x, top + row)) columns[x] |= RowBit(row);
  return columns;
}

// A sign's ink with the atlas cells it comes from.
struct SignInk {
  std::vector<ColumnMask> ink;
  std::vector<AtlasCell> cells;
};

SignInk WideSign(const page::GlyphAtlas& atlas, int code) {
  const QRect cell(kWideCell * (code - 100), 0, kWideCell, kCellHeight);
  return {CellInk(atlas.Picmode2, cell.x(), cell.y(), kWideCell),
          {{page::PictureSource::SignAtlas, cell, 0}}};
}

// Narrow signs side by side, as the narrow pieces of a sign are stamped.
SignInk NarrowSigns(const page::GlyphAtlas& atlas, std::initializer_list<int> codes) {
  SignInk sign;
  for (int code : codes) {
    const QRect cell(kNarrowCell * (code - 200), kNarrowRowTop, kNarrowCell, kCellHeight);
    sign.cells.push_back({page::PictureSource::SignAtlas, cell, int(sign.ink.size())});
    const auto ink = CellInk(atlas.Picmode2, cell.x(), cell.y(), kNarrowCell);
    sign.ink.insert(sign.ink.end(), ink.begin(), ink.end());
  }
  return sign;
}

int CountInk(const std::vector<ColumnMask>& columns) {
  int count = 0;
  for (ColumnMask c : columns) count += std::popcount(c);
  return count;
}

ColumnMask BodyRows() {
  ColumnMask rows = 0;
  for (int row = kBodyTop; row <= kBodyBottom; ++row) rows |= RowBit(row);
  return rows;
}

// The connected pieces of a glyph's ink (corners touching), each as its columns shifted to its
// top row, with that row.
std::vector<std::pair<std::vector<ColumnMask>, int>> Pieces(const std::vector<ColumnMask>& ink) {
  std::vector<ColumnMask> left = ink;
  std::vector<std::pair<std::vector<ColumnMask>, int>> pieces;
  const int width = int(ink.size());
  for (int x0 = 0; x0 < width; ++x0) {
    while (left[x0] != 0) {
      std::vector<ColumnMask> piece(width, 0);
      std::vector<std::pair<int, int>> todo{{x0, std::countr_zero(left[x0])}};
      left[x0] &= ~(ColumnMask{1} << todo[0].second);
      while (!todo.empty()) {
        const auto [x, bit] = todo.back();
        todo.pop_back();
        piece[x] |= ColumnMask{1} << bit;
        for (int dx = -1; dx <= 1; ++dx) {
          for (int db = -1; db <= 1; ++db) {
            const int nx = x + dx, nb = bit + db;
            if (nx < 0 || nx >= width || nb < 0 || nb >= 64) continue;
            const ColumnMask b = ColumnMask{1} << nb;
            if (left[nx] & b) {
              left[nx] &= ~b;
              todo.push_back({nx, nb});
            }
          }
        }
      }
      int first = width, last = -1, topBit = 64;
      for (int x = 0; x < width; ++x) {
        if (piece[x] == 0) continue;
        first = std::min(first, x);
        last = x;
        topBit = std::min(topBit, std::countr_zero(piece[x]));
      }
      std::vector<ColumnMask> shape;
      for (int x = first; x <= last; ++x) shape.push_back(piece[x] >> topBit);
      pieces.emplace_back(std::move(shape), topBit - kRowsAbove);
    }
  }
  return pieces;
}

}  // namespace

GlyphTemplates::GlyphTemplates(const page::GlyphAtlas& atlas) {
  const auto noteCell = [](int column, int row) {
    return AtlasCell{page::PictureSource::NoteAtlas,
                     QRect(kWideCell * column, kCellHeight * row, kWideCell, kCellHeight), 0};
  };
  const auto noteInk = [&](int column, int row) {
    return CellInk(atlas.Picmode, kWideCell * column, kCellHeight * row, kWideCell);
  };
  const auto noteGlyph = [&](ItemKind kind, int degree, int column, int rows,
                             std::vector<std::pair<int, int>> groups) {
    GlyphTemplate glyph;
    glyph.kind = kind;
    glyph.degree = degree;
    glyph.ink = noteInk(column + groups.front().first * kDigitsPerGroup, 0);
    for (const auto& [group, octave] : groups) {
      for (int row = 0; row < rows; ++row) {
        GlyphVariant variant;
        variant.ink = noteInk(column + group * kDigitsPerGroup, row);
        variant.cell = noteCell(column + group * kDigitsPerGroup, row);
        variant.inkCount = CountInk(variant.ink);
        variant.octave = octave;
        variant.duration = kind == ItemKind::kDash ? 0 : kQuarter << row;
        glyph.variants.push_back(std::move(variant));
      }
    }
    std::stable_sort(
        glyph.variants.begin(), glyph.variants.end(),
        [](const GlyphVariant& a, const GlyphVariant& b) { return a.inkCount > b.inkCount; });
    Add(std::move(glyph));
  };

  // The middle octave group comes first: its plain cell is the body of the digit.
  std::vector<std::pair<int, int>> octaves{{kMiddleGroup, 0}};
  for (int group = 0; group < kOctaveGroups; ++group)
    if (group != kMiddleGroup) octaves.push_back({group, group - kMiddleGroup});
  for (int degree = 1; degree <= kDigitsPerGroup; ++degree)
    noteGlyph(ItemKind::kNote, degree, degree - 1, kDurationRows, octaves);
  noteGlyph(ItemKind::kRest, 0, kRestColumn, kDurationRows, {{0, 0}});
  for (int syllable = 0; syllable < kSyllableCount; ++syllable)
    noteGlyph(ItemKind::kPercussion, syllable, kFirstSyllableColumn + syllable, kDurationRows,
              {{0, 0}});
  noteGlyph(ItemKind::kDash, 0, kDashColumn, 1, {{0, 0}});

  const auto sign = [&](SignInk ink, ItemKind kind, int preference) {
    GlyphTemplate glyph;
    glyph.kind = kind;
    glyph.ink = std::move(ink.ink);
    glyph.cells = std::move(ink.cells);
    glyph.preference = preference;
    return glyph;
  };
  const auto bar = [&](SignInk ink, BarKind kind, int preference) {
    GlyphTemplate glyph = sign(std::move(ink), ItemKind::kBar, preference);
    glyph.bar = kind;
    Add(std::move(glyph));
  };
  bar(WideSign(atlas, 101), BarKind::kSingle, 0);
  bar(WideSign(atlas, 102), BarKind::kRepeatStart, 0);
  bar(WideSign(atlas, 103), BarKind::kRepeatEnd, 0);
  bar(WideSign(atlas, 104), BarKind::kFinal, 0);
  bar(WideSign(atlas, 105), BarKind::kDouble, 0);
  bar(NarrowSigns(atlas, {207}), BarKind::kSingle, 1);
  bar(NarrowSigns(atlas, {208}), BarKind::kDouble, 1);
  bar(NarrowSigns(atlas, {207, 212}), BarKind::kFinal, 1);
  bar(NarrowSigns(atlas, {212, 213}), BarKind::kRepeatStart, 1);
  bar(NarrowSigns(atlas, {214, 212}), BarKind::kRepeatEnd, 1);

  // Accidentals: the keys stamp the narrow ones; the wide ones have the same natural and flat.
  const auto accidental = [&](SignInk ink, Accidental which, int preference) {
    GlyphTemplate glyph = sign(std::move(ink), ItemKind::kUnknown, preference);
    glyph.accidental = which;
    Add(std::move(glyph));
  };
  accidental(NarrowSigns(atlas, {201}), Accidental::kNatural, 0);
  accidental(NarrowSigns(atlas, {202}), Accidental::kSharp, 0);
  accidental(NarrowSigns(atlas, {203}), Accidental::kFlat, 0);
  accidental(WideSign(atlas, 106), Accidental::kNatural, 1);
  accidental(WideSign(atlas, 107), Accidental::kSharp, 1);
  accidental(WideSign(atlas, 108), Accidental::kFlat, 1);

  const auto paren = [&](SignInk ink, const QString& text) {
    GlyphTemplate glyph = sign(std::move(ink), ItemKind::kParen, 0);
    glyph.text = text;
    Add(std::move(glyph));
  };
  paren(WideSign(atlas, 113), QStringLiteral("("));
  paren(WideSign(atlas, 114), QStringLiteral(")"));
  paren(NarrowSigns(atlas, {209}), QStringLiteral("("));
  paren(NarrowSigns(atlas, {210}), QStringLiteral(")"));

  Add(sign(WideSign(atlas, 115), ItemKind::kDot, 0));
  Add(sign(NarrowSigns(atlas, {211}), ItemKind::kDot, 1));
  Add(sign(WideSign(atlas, 112), ItemKind::kDash, 1));
}

void GlyphTemplates::Add(GlyphTemplate glyph) {
  const ColumnMask body = BodyRows();
  glyph.mustBeWhite.assign(glyph.ink.size(), 0);
  for (int x = 0; x < glyph.Width(); ++x) {
    ColumnMask free = 0;
    if (!glyph.variants.empty() && x >= kOctaveDotLeft && x <= kOctaveDotRight) {
      for (int row = kBodyTop; row <= kOctaveDotBottom; ++row) free |= RowBit(row);
    }
    glyph.mustBeWhite[x] = body & ~glyph.ink[x] & ~free;
    if (std::popcount(glyph.ink[x]) > std::popcount(glyph.ink[glyph.anchorColumn]))
      glyph.anchorColumn = x;
  }
  glyph.inkCount = CountInk(glyph.ink);
  for (auto& [shape, row] : Pieces(glyph.ink)) {
    if (CountInk(shape) < kSmallestTellingPiece) continue;
    std::vector<int>& rows = pieces_[shape];
    if (std::find(rows.begin(), rows.end(), row) == rows.end()) rows.push_back(row);
  }
  templates_.push_back(std::move(glyph));
}

const std::vector<int>* GlyphTemplates::PieceRows(const std::vector<ColumnMask>& shape) const {
  const auto it = pieces_.find(shape);
  return it == pieces_.end() ? nullptr : &it->second;
}

}  // namespace tarvesh::reading
