#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "document/fileerror.h"

namespace tarvesh::document {

// The whole regular file at `path`, or nothing with `error` saying why (a missing file is the
// system error ENOENT). A link is not followed, and a folder, FIFO or device is refused without
// being read, so reading never waits. A file of more than `limit` bytes is refused as too large
// before anything of it is read.
std::optional<QByteArray> ReadRegularFile(const QString& path, qint64 limit, FileError* error);
// The same file's first `head` bytes (fewer when it is shorter), refused as ReadRegularFile refuses
// it; `length` is told the whole file's length.
std::optional<QByteArray> ReadRegularFileHead(const QString& path, qint64 limit, qint64 head,
                                              qint64* length, FileError* error);

}  // namespace tarvesh::document
