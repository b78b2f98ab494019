#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "document/fileerror.h"

namespace tarvesh::document {

// Nothing when the folder at `path` can be listed; otherwise why not (missing, not a folder, no
// permission), so a folder that cannot be read is never taken for an empty one.
std::optional<FileError> CheckFolderReadable(const QString& path);

// The files of `folder` whose names match `pattern`, by name ignoring case; none when the folder
// does not exist.
QStringList FilesIn(const QString& folder, const QString& pattern);

// Creates the folder at `path` unless a folder is there already; otherwise why not.
std::optional<FileError> MakeFolder(const QString& path);

}  // namespace tarvesh::document
