#include "document/folders.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <QDir>
#include <QFile>
#include <cerrno>

#include "document/filecalls.h"

namespace tarvesh::document {

std::optional<FileError> CheckFolderReadable(const QString& path) {
  FileCalls& calls = FileCalls::Current();
  const int fd =
      calls.Open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
  if (fd < 0) return FileError::System(path, errno);
  DIR* folder = ::fdopendir(fd);
  if (!folder) {
    const int error = errno;
    calls.Close(fd);
    return FileError::System(path, error);
  }
  errno = 0;
  const bool listed = ::readdir(folder) != nullptr || errno == 0;
  const int error = errno;
  ::closedir(folder);
  if (!listed) return FileError::System(path, error);
  return std::nullopt;
}

QStringList FilesIn(const QString& folder, const QString& pattern) {
  const QDir dir(folder);
  return dir.exists() ? dir.entryList({pattern}, QDir::Files, QDir::Name | QDir::IgnoreCase)
                      : QStringList();
}

std::optional<FileError> MakeFolder(const QString& path) {
  const QByteArray native = QFile::encodeName(path);
  if (::mkdir(native.constData(), 0777) == 0) return std::nullopt;
  const int error = errno;
  struct stat status;
  if (error == EEXIST && ::stat(native.constData(), &status) == 0 && S_ISDIR(status.st_mode))
    return std::nullopt;
  return FileError::System(path, error == EEXIST ? ENOTDIR : error);
}

}  // namespace tarvesh::document
