#pragma once

#include <QImage>
#include <optional>
#include <vector>

#include "page/glyphatlas.h"
#include "reading/chordreader.h"
#include "reading/glyphtemplates.h"
#include "reading/inkmap.h"
#include "reading/pagemake.h"
#include "reading/readline.h"

namespace tarvesh::reading {

// Reads a page back as music from its pixels alone, so a page opened from a file reads as well
// as the page just typed. Glyphs are found by their ink as the atlases draw it: every pixel of a
// glyph's body black, every other pixel of its cell's body rows not black. What no glyph, arc
// or chord symbol explains is reported as unknown ink, never guessed at.
class PageReader {
 public:
  explicit PageReader(const page::GlyphAtlas& atlas);

  // Every line of `page` that has items, top to bottom.
  std::vector<ReadLine> Read(const QImage& page) const;
  // What `page` is made of, read as Read reads it.
  PageMake Make(const QImage& page) const;
  // The line whose top is `top`, read alone: its items, empty when it has none.
  ReadLine ReadLineAt(const QImage& page, int top) const;
  // What the line whose top is `top` is made of, read alone.
  PageMake MakeLineAt(const QImage& page, int top) const;
  // The left edge of the item stamped on the line at `top` whose cell holds column x past its
  // left edge; nothing when x falls on white, on an item's left edge or on a chord symbol.
  std::optional<int> ItemLeftAt(const QImage& page, int x, int top) const;

 private:
  // Reads the lines at `tops` (top to bottom) and gives every piece of ink left to the nearest;
  // tells `make`, when given, what the lines are made of.
  std::vector<ReadLine> ReadLines(const InkMap& ink, const std::vector<int>& tops,
                                  PageMake* make = nullptr) const;

  GlyphTemplates templates_;
  ChordReader chords_;
  // The picture a slur's arc is stretched from: arcs drawn from it are told to a PageMake.
  QImage slurArc_;
};

}  // namespace tarvesh::reading
