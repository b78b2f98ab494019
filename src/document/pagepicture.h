#pragma once

#include <QImage>
#include <QString>
#include <optional>

#include "document/bmpdecoder.h"
#include "document/fileerror.h"

class QIODevice;

namespace tarvesh::document {

// The page picture of a score: a BMP file of the whole page bitmap.

// The picture at `path` when it is a regular file holding a whole BMP of a sane size (see
// DecodeBmp); nothing otherwise, with `error` saying why. The header is checked before the
// pixels are read, so a file claiming an absurd size costs no memory.
std::optional<QImage> LoadPagePicture(const QString& path, FileError* error = nullptr);
// The same picture as read, to be loaded into a page: a picture of the page's own kind is
// decoded straight into it (see BmpPicture).
std::optional<BmpPicture> ReadPagePicture(const QString& path, FileError* error = nullptr);
// The size of that picture, refused as ReadPagePicture refuses it; a picture of the page's own
// kind is told by its header and the file's length, without its pixels.
std::optional<QSize> ReadPagePictureSize(const QString& path, FileError* error = nullptr);

// Writes `image` to `device` as a 24-bit BMP (EncodePageBmp) in pieces of whole rows; false when
// the device refused one or the picture is null.
bool EncodePagePicture(const QImage& image, QIODevice& device);
// Writes `image` as a 24-bit BMP at `path` through a SafeFile: the old picture stays whole when
// anything fails.
std::optional<FileError> WritePagePicture(const QImage& image, const QString& path);
// Writes `image` in `format` ("BMP", "PNG") at `path` through a SafeFile, with Qt's codec.
std::optional<FileError> WriteImageFile(const QImage& image, const QString& path,
                                        const char* format);

}  // namespace tarvesh::document
