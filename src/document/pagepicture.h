#pragma once

#include <QImage>
#include <QString>
#include <optional>

namespace tarvesh::document {

// The page picture of a score: a BMP file of the whole page bitmap.

// Pictures wider or higher than this are refused before any pixel memory is taken.
inline constexpr int kMaxPictureSide = 16384;

// The picture at `path` when it is a readable BMP of a sane size; nothing otherwise. The header
// is checked before the pixels are read, so a file claiming an absurd size costs no memory.
std::optional<QImage> LoadPagePicture(const QString& path);

// Writes `image` as a 24-bit BMP through a temporary file renamed over `path`, so the old
// picture stays whole when writing fails. False on failure.
bool SavePagePicture(const QImage& image, const QString& path);

}  // namespace tarvesh::document
