#include "document/regularfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <QFile>
#include <algorithm>
#include <cerrno>

#include "document/filecalls.h"

namespace tarvesh::document {

namespace {

std::optional<FileError> RefuseUnlessRegular(const QString& path, const struct stat& status) {
  if (S_ISLNK(status.st_mode)) return FileError::Of(path, FileError::Problem::kLink);
  if (!S_ISREG(status.st_mode)) return FileError::Of(path, FileError::Problem::kNotRegular);
  return std::nullopt;
}

}  // namespace

std::optional<QByteArray> ReadRegularFile(const QString& path, qint64 limit, FileError* error) {
  return ReadRegularFileHead(path, limit, limit, nullptr, error);
}

std::optional<QByteArray> ReadRegularFileHead(const QString& path, qint64 limit, qint64 head,
                                              qint64* length, FileError* error) {
  auto fail = [&](FileError why) -> std::optional<QByteArray> {
    if (error) *error = std::move(why);
    return std::nullopt;
  };
  const QByteArray native = QFile::encodeName(path);
  // Looked at before opening: opening a device may already do something.
  struct stat status;
  if (::lstat(native.constData(), &status) != 0) return fail(FileError::System(path, errno));
  if (auto refused = RefuseUnlessRegular(path, status)) return fail(*refused);

  FileCalls& calls = FileCalls::Current();
  // O_NONBLOCK and O_NOFOLLOW keep a file swapped for a FIFO or a link meanwhile from blocking
  // or being followed.
  const int fd =
      calls.Open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0);
  if (fd < 0) {
    return fail(errno == ELOOP ? FileError::Of(path, FileError::Problem::kLink)
                               : FileError::System(path, errno));
  }
  std::optional<FileError> problem = ::fstat(fd, &status) != 0 ? FileError::System(path, errno)
                                                               : RefuseUnlessRegular(path, status);
  if (!problem && status.st_size > limit) {
    problem = FileError::Of(path, FileError::Problem::kTooLarge,
                            QStringLiteral("%1 > %2 bytes").arg(status.st_size).arg(limit));
  }
  QByteArray bytes;
  if (!problem) {
    if (length) *length = status.st_size;
    bytes.resize(qsizetype(std::min<qint64>(status.st_size, head)));
    qsizetype done = 0;
    while (done < bytes.size()) {
      const ssize_t n = calls.Read(fd, bytes.data() + done, size_t(bytes.size() - done));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        problem = FileError::System(path, errno);
        break;
      }
      // A file that shrank while it was read holds what was there.
      if (n == 0) break;
      done += n;
    }
    bytes.truncate(done);
  }
  calls.Close(fd);
  if (problem) return fail(*problem);
  return bytes;
}

}  // namespace tarvesh::document
