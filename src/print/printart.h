#pragma once

#include <QImage>
#include <QString>
#include <optional>

namespace tarvesh::print {

// The print page is drawn at this many times the page's pixels: a 988-pixel page is 3952 pixels
// across, about 480 dots per inch on A4. A multiple of two, so a wide or narrow cell (12 or 6
// pixels) starts on a whole byte of a one-bit row wherever a page pixel's grid puts it.
inline constexpr int kPrintScale = 4;

// The glyph atlases and the slur arc drawn at kPrintScale times their size from the same shapes:
// cell (c, r) of the page atlas is cell (c, r) of these, each side kPrintScale times as long.
// Black ink on white, no greys.
struct PrintArt {
  static inline const QString kPicmodeFile = QStringLiteral("print/picmode.png");
  static inline const QString kPicmode2File = QStringLiteral("print/picmode2.png");
  static inline const QString kSlurArcFile = QStringLiteral("print/arc.png");
  // The symbol pictures of s/sik drawn at kPrintScale times their size, under the same names.
  static inline const QString kSymbolFolder = QStringLiteral("print/sik");

  QImage Picmode;
  QImage Picmode2;
  QImage SlurArc;

  // Reads the three from `dataDir`; nothing when one is missing or not of its size, so the
  // page's glyphs and arcs are then enlarged like any other ink.
  static std::optional<PrintArt> Load(const QString& dataDir);
};

}  // namespace tarvesh::print
