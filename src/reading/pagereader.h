#pragma once

#include <QImage>
#include <vector>

#include "page/glyphatlas.h"
#include "reading/chordreader.h"
#include "reading/glyphtemplates.h"
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

 private:
  GlyphTemplates templates_;
  ChordReader chords_;
};

}  // namespace tarvesh::reading
