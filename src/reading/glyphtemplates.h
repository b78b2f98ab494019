#pragma once

#include <QString>
#include <cstdint>
#include <map>
#include <vector>

#include "page/glyphatlas.h"
#include "page/pageoperation.h"
#include "reading/readitem.h"

namespace tarvesh::reading {

// A column of a line as bits: bit r + kRowsAbove is row r of the line's cells (negative rows lie
// above the line, where slurs are drawn).
using ColumnMask = std::uint64_t;
inline constexpr int kRowsAbove = 16;
inline constexpr int kWindowRows = 64;

// Rows 3-24 of a cell hold nothing but the glyph stamped in it: octave dots above, bodies,
// accidentals. Duration lines, dots below and bar-line ends lie under them and may run on from
// a neighbour.
inline constexpr int kBodyTop = 3;
inline constexpr int kBodyBottom = 24;

constexpr ColumnMask RowBit(int row) {
  return ColumnMask{1} << (row + kRowsAbove);
}

// A cell of an atlas a glyph's ink is copied from, `dx` columns right of the glyph's left edge.
struct AtlasCell {
  page::PictureSource atlas = page::PictureSource::NoteAtlas;
  QRect rect;
  int dx = 0;
};

// A way a glyph can be stamped: its whole ink with octave dots and duration lines.
struct GlyphVariant {
  std::vector<ColumnMask> ink;
  // The note atlas cell of this octave and duration.
  AtlasCell cell;
  int inkCount = 0;
  int octave = 0;
  int duration = 0;
};

// A glyph the reader looks for. The body is what every stamp of it has (no octave dots, no
// duration lines); in the rows glyphs keep to themselves every other pixel of its cell is white.
struct GlyphTemplate {
  ItemKind kind = ItemKind::kUnknown;
  int degree = 0;
  BarKind bar = BarKind::kNone;
  Accidental accidental = Accidental::kNone;
  QString text;
  std::vector<ColumnMask> ink;
  // Signs: the atlas cells of the ink, side by side.
  std::vector<AtlasCell> cells;
  std::vector<ColumnMask> mustBeWhite;
  int inkCount = 0;
  // The column with the most ink: tested first, as it rules out most places.
  int anchorColumn = 0;
  // The form the keys stamp comes first where two glyphs have the same ink.
  int preference = 0;
  // For the glyphs of the note atlas, every octave and duration, most ink first.
  std::vector<GlyphVariant> variants;

  int Width() const { return int(ink.size()); }
};

// The glyphs of the page, learnt from the atlases the page was stamped from.
class GlyphTemplates {
 public:
  explicit GlyphTemplates(const page::GlyphAtlas& atlas);

  const std::vector<GlyphTemplate>& All() const { return templates_; }
  // Rows from a line's top at which a connected piece of ink of exactly this shape (columns of
  // bits from its top row) lies in some glyph; nullptr when no glyph has such a piece.
  const std::vector<int>* PieceRows(const std::vector<ColumnMask>& shape) const;

 private:
  void Add(GlyphTemplate glyph);

  std::vector<GlyphTemplate> templates_;
  std::map<std::vector<ColumnMask>, std::vector<int>> pieces_;
};

}  // namespace tarvesh::reading
