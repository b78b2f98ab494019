#pragma once

#include <QImage>
#include <QString>
#include <optional>

namespace tarvesh::page {

// The two glyph atlases. `Picmode` holds the notes: 42 columns of 12 x 40 cells in four rows,
// one row per number of duration lines. `Picmode2` holds the signs: wide 12 x 40 cells in its
// first row, narrow 6 x 40 cells in its second.
struct GlyphAtlas {
  static constexpr int kPicmodeWidth = 508;
  static constexpr int kPicmodeHeight = 160;
  static constexpr int kPicmode2Width = 821;
  static constexpr int kPicmode2Height = 115;
  static inline const QString kPicmodeFile = QStringLiteral("picmode.bmp");
  static inline const QString kPicmode2File = QStringLiteral("picmode2.bmp");
  static constexpr int kSlurArcWidth = 475;
  static constexpr int kSlurArcHeight = 15;
  static inline const QString kSlurArcFile = QStringLiteral("s/arc.bmp");

  QImage Picmode;
  QImage Picmode2;
  // The arc a slur or tie is stretched from.
  QImage SlurArc;

  // Reads the atlases and the arc from `dataDir`. On failure returns nothing and names the file
  // that is missing or unreadable in `failedFile`.
  static std::optional<GlyphAtlas> Load(const QString& dataDir, QString* failedFile);
};

}  // namespace tarvesh::page
