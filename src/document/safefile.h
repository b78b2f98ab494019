#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QString>
#include <optional>

#include "document/fileerror.h"

namespace tarvesh::document {

// A file that replaces its target only once every byte of it is on the disk. Bytes go to a
// temporary file beside the target; every write is checked, and after the first failure (a
// full disk, say) later writes are refused. Commit syncs the temporary, renames it over the
// target and syncs the folder; a failure anywhere removes the temporary and leaves the target
// as it was. A target that is a link, not a regular file, or marked read-only is refused before
// anything is written.
class SafeFile : public QIODevice {
 public:
  // `temporary` names the temporary file; by default a hidden name beside the target that no
  // other file has.
  explicit SafeFile(QString path, QString temporary = {});
  ~SafeFile() override;

  // Creates the temporary file; only QIODevice::WriteOnly is supported. False with Error() set
  // when the target cannot be replaced or the temporary cannot be created.
  bool open(OpenMode mode) override;
  bool isSequential() const override { return true; }

  // Syncs the temporary, renames it over the target and syncs the folder.
  std::optional<FileError> Commit();
  // Syncs and closes the temporary and hands it over under its own name to a caller that
  // renames it itself; on failure it is removed.
  std::optional<FileError> Finish();

  const QString& TemporaryPath() const { return temporary_; }
  // The first failure, naming the target.
  const std::optional<FileError>& Error() const { return error_; }

  // Nothing when a file may be written over `path`: none is there, or a regular file that is
  // not marked read-only.
  static std::optional<FileError> CheckTarget(const QString& path);
  // Syncs the folder holding `path`, so renames and removals in it are on the disk.
  static std::optional<FileError> SyncFolderOf(const QString& path);

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char* data, qint64 size) override;

 private:
  void Fail(int error);
  // Writes what the buffer holds; false after a failure.
  bool Flush();
  void Discard();

  QString path_;
  QString temporary_;
  int fd_ = -1;
  QByteArray pending_;
  // The temporary is removed with this object until Commit or Finish hands it over.
  bool ownsTemporary_ = false;
  std::optional<FileError> error_;
};

// Writes `bytes` as the whole file at `path` through a SafeFile.
std::optional<FileError> WriteFileSafely(const QString& path, QByteArrayView bytes);

}  // namespace tarvesh::document
