#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <optional>
#include <vector>

#include "page/glyphatlas.h"
#include "print/inklayer.h"
#include "print/printart.h"
#include "reading/pagereader.h"

namespace tarvesh::print {

// The page at kPrintScale times its pixels, set afresh from the page's pixels alone: every glyph
// the reading finds is drawn from the print art of its atlas cell, every slur's arc from the arc's
// print art stretched over its rectangle, duration lines that run on between glyphs as lines of
// the art's weight, chord symbols as text at the larger size, and whatever ink none of them
// covers is enlarged with its edges smoothed. So a page typed, saved and opened, or a picture
// made before this version or by another program, gives the same print page as its pixels do,
// with nothing stored beside it that could go stale.
class PrintPage {
 public:
  // Reads glyphs and arcs by the page atlases; without print art they are enlarged like other
  // ink.
  PrintPage(const page::GlyphAtlas& atlas, std::optional<PrintArt> art);

  static constexpr int Scale() { return kPrintScale; }
  // The page's size in page pixels; the print page is Scale() times as large.
  QSize PageSize() const { return pageSize_; }
  // Ink by colour, black first.
  const std::vector<InkLayer>& Layers() const { return layers_; }

  // Sets the print page from `page`'s pixels.
  void SetFrom(const QImage& page);
  // The print page over `pageRect` (page pixels, clipped to the page), Scale() times as large,
  // Format_RGB32: what a view zoomed above 100 % shows of it.
  QImage Region(const QRect& pageRect) const;

 private:
  InkLayer& LayerFor(QRgb colour);
  // Lays `from` of the page picture `small` (page pixels) onto the black ink from its print art
  // `art` (one bit, Scale() times as large), with its top-left corner at page pixel `at`; marks
  // the page pixels it inks where the page has ink.
  void LayArt(const QImage& art, const QImage& small, const QRect& from, QPoint at,
              const QImage& page, std::vector<uchar>& covered);
  // Draws `text` into the layer of its colour at the larger size; marks the page pixels it
  // covers.
  void SetText(const reading::PageMake::Text& text, const QImage& page,
               std::vector<uchar>& covered);
  // Enlarges the ink of `mask` (one byte a page pixel) into `layer`, smoothing its edges.
  void Enlarge(const std::vector<uchar>& mask, const QRect& bounds, InkLayer& layer) const;

  page::GlyphAtlas atlas_;
  reading::PageReader reader_;
  // The print art as one-bit ink, by atlas.
  QImage noteArt_;
  QImage signArt_;
  QImage arcArt_;
  bool hasArt_ = false;
  QSize pageSize_;
  std::vector<InkLayer> layers_;
};

}  // namespace tarvesh::print
