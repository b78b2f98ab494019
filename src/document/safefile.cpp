#include "document/safefile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>

#include "document/filecalls.h"

namespace tarvesh::document {

namespace {

// Tries of a fresh temporary name before giving up.
constexpr int kNameTries = 64;
// Bytes gathered before they are written.
constexpr qint64 kBufferBytes = qint64(64) << 10;

QByteArray Native(const QString& path) {
  return QFile::encodeName(path);
}

QString HiddenNameBeside(const QString& path) {
  const QFileInfo target(path);
  const quint32 tag = QRandomGenerator::global()->generate();
  return target.dir().filePath(
      QStringLiteral(".%1.tarvesh-%2").arg(target.fileName()).arg(tag, 8, 16, QLatin1Char('0')));
}

}  // namespace

SafeFile::SafeFile(QString path, QString temporary)
    : path_(std::move(path)), temporary_(std::move(temporary)) {}

SafeFile::~SafeFile() {
  Discard();
}

std::optional<FileError> SafeFile::CheckTarget(const QString& path) {
  struct stat status;
  if (::lstat(Native(path).constData(), &status) != 0) {
    if (errno == ENOENT) return std::nullopt;
    return FileError::System(path, errno);
  }
  if (S_ISLNK(status.st_mode)) return FileError::Of(path, FileError::Problem::kLink);
  if (!S_ISREG(status.st_mode)) return FileError::Of(path, FileError::Problem::kNotRegular);
  // Checked on the bits as well, so a file marked read-only is kept even for the superuser.
  if ((status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ||
      ::access(Native(path).constData(), W_OK) != 0)
    return FileError::Of(path, FileError::Problem::kReadOnly);
  return std::nullopt;
}

bool SafeFile::open(OpenMode mode) {
  if (isOpen() || (mode & ~(WriteOnly | Truncate | Unbuffered)) != 0 || !(mode & WriteOnly))
    return false;
  if ((error_ = CheckTarget(path_))) return false;
  FileCalls& calls = FileCalls::Current();
  const bool named = !temporary_.isEmpty();
  for (int attempt = 0; fd_ < 0; ++attempt) {
    if (!named) temporary_ = HiddenNameBeside(path_);
    fd_ = calls.Open(Native(temporary_).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ >= 0) {
      ownsTemporary_ = true;
      break;
    }
    if (errno != EEXIST || named || attempt + 1 >= kNameTries) {
      if (named && errno == EEXIST) {
        error_ = FileError::Of(path_, FileError::Problem::kBusy);
      } else {
        error_ = FileError::System(path_, errno);
      }
      temporary_.clear();
      return false;
    }
  }
  // A replaced file keeps its permissions.
  struct stat old;
  if (::stat(Native(path_).constData(), &old) == 0) ::fchmod(fd_, old.st_mode & 07777);
  return QIODevice::open(WriteOnly | Unbuffered);
}

qint64 SafeFile::writeData(const char* data, qint64 size) {
  if (error_ || fd_ < 0) return -1;
  // Small writes (a picture's rows) gather in the buffer and go to the file in large ones.
  if (pending_.size() + size > kBufferBytes && !Flush()) return -1;
  if (size >= kBufferBytes) {
    if (const int error = FileCalls::Current().WriteAll(fd_, data, size_t(size))) {
      Fail(error);
      return -1;
    }
  } else {
    pending_.append(data, size);
  }
  return size;
}

bool SafeFile::Flush() {
  if (pending_.isEmpty()) return true;
  const int error =
      FileCalls::Current().WriteAll(fd_, pending_.constData(), size_t(pending_.size()));
  pending_.clear();
  if (error) Fail(error);
  return error == 0;
}

void SafeFile::Fail(int error) {
  if (!error_) error_ = FileError::System(path_, error);
}

std::optional<FileError> SafeFile::Finish() {
  if (fd_ < 0 && !error_) error_ = FileError::System(path_, EBADF);
  if (error_) {
    Discard();
    return error_;
  }
  FileCalls& calls = FileCalls::Current();
  if (Flush() && calls.Sync(fd_) != 0) Fail(errno);
  // Some file systems tell of a failed write only when the file is closed.
  if (calls.Close(fd_) != 0 && !error_) Fail(errno);
  fd_ = -1;
  QIODevice::close();
  if (error_) {
    Discard();
    return error_;
  }
  ownsTemporary_ = false;
  return std::nullopt;
}

std::optional<FileError> SafeFile::Commit() {
  if (Finish()) return error_;
  FileCalls& calls = FileCalls::Current();
  if (calls.Rename(Native(temporary_).constData(), Native(path_).constData()) != 0) {
    Fail(errno);
    calls.Unlink(Native(temporary_).constData());
    return error_;
  }
  error_ = SyncFolderOf(path_);
  return error_;
}

std::optional<FileError> SafeFile::SyncFolderOf(const QString& path) {
  FileCalls& calls = FileCalls::Current();
  const QString folder = QFileInfo(path).absolutePath();
  const int fd = calls.Open(Native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
  if (fd < 0) return FileError::System(path, errno);
  // Some file systems cannot sync a folder (EINVAL); there is nothing more to do there.
  const bool synced = calls.Sync(fd) == 0 || errno == EINVAL;
  const int error = errno;
  calls.Close(fd);
  if (!synced) return FileError::System(path, error);
  return std::nullopt;
}

void SafeFile::Discard() {
  FileCalls& calls = FileCalls::Current();
  pending_.clear();
  if (fd_ >= 0) {
    calls.Close(fd_);
    fd_ = -1;
  }
  if (isOpen()) QIODevice::close();
  if (ownsTemporary_) {
    calls.Unlink(Native(temporary_).constData());
    ownsTemporary_ = false;
  }
}

std::optional<FileError> WriteFileSafely(const QString& path, QByteArrayView bytes) {
  SafeFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return file.Error();
  file.write(bytes.data(), bytes.size());
  return file.Commit();
}

}  // namespace tarvesh::document
