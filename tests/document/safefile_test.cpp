#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>

#include "document/faultycalls.h"
#include "document/safefile.h"
#include "document/usefilecalls.h"

namespace tarvesh::document {
namespace {

QByteArray Contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

void Put(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(bytes);
}

// Bytes written in many pieces, as the picture and PDF writers write.
std::optional<FileError> WriteInPieces(const QString& path, const QByteArray& bytes) {
  SafeFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return file.Error();
  for (qsizetype at = 0; at < bytes.size(); at += 1000) file.write(bytes.mid(at, 1000));
  return file.Commit();
}

class SafeFiles : public ::testing::Test {
 protected:
  QString Path(const QString& name) const { return dir.filePath(name); }
  QStringList Names() const {
    return QDir(dir.path())
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  }
  QTemporaryDir dir;
  const QByteArray older = QByteArray("older file");
  // Large enough for several writes to the disk.
  const QByteArray newer = QByteArray(300000, 'n');
};

// Qt's QSaveFile once committed a file cut short by a full disk.
TEST_F(SafeFiles, AFullDiskAtAnyWriteLeavesTheOldFileAndSaysSo) {
  int writes = 0;
  {
    FaultyCalls counting;
    const UseFileCalls use(&counting);
    ASSERT_FALSE(WriteInPieces(Path("counted.pdf"), newer));
    writes = counting.Count(FaultyCalls::kWrite);
  }
  ASSERT_GT(writes, 2);
  QFile::remove(Path("counted.pdf"));
  for (int nth = 0; nth < writes; ++nth) {
    SCOPED_TRACE(nth);
    Put(Path("song.pdf"), older);
    FaultyCalls calls;
    calls.DiskFullAt(nth);
    const UseFileCalls use(&calls);
    const std::optional<FileError> error = WriteInPieces(Path("song.pdf"), newer);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->path, Path("song.pdf"));
    EXPECT_EQ(error->systemError, ENOSPC);
    EXPECT_EQ(error->Reason(), QStringLiteral("磁盘空间不足"));
    EXPECT_EQ(Contents(Path("song.pdf")), older);
    EXPECT_EQ(Names(), QStringList{"song.pdf"});
  }
}

TEST_F(SafeFiles, AFailedSyncOrRenameLeavesTheOldFile) {
  const struct {
    const char* name;
    FaultyCalls::Kind kind;
    int nth;
    int error;
  } faults[] = {
      {"the temporary cannot be created", FaultyCalls::kOpenForWriting, 0, EACCES},
      {"the file cannot be synced", FaultyCalls::kSync, 0, EIO},
      {"the rename fails", FaultyCalls::kRename, 0, EXDEV},
  };
  for (const auto& fault : faults) {
    SCOPED_TRACE(fault.name);
    Put(Path("song.png"), older);
    FaultyCalls calls;
    calls.FailAt(fault.kind, fault.nth, fault.error);
    const UseFileCalls use(&calls);
    const std::optional<FileError> error = WriteFileSafely(Path("song.png"), newer);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->systemError, fault.error);
    EXPECT_EQ(Contents(Path("song.png")), older);
    EXPECT_EQ(Names(), QStringList{"song.png"});
  }
}

// The write loop meets the real ENOSPC of the system, not only the injected one.
TEST_F(SafeFiles, TheSystemsOwnFullDiskIsNoticed) {
  const int fd = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
  if (fd < 0) GTEST_SKIP() << "no /dev/full here";
  EXPECT_EQ(FileCalls::Current().WriteAll(fd, newer.constData(), size_t(newer.size())), ENOSPC);
  ::close(fd);
}

TEST_F(SafeFiles, ReplacesOnlyRegularFilesThatAreNotReadOnly) {
  Put(Path("elsewhere.dat"), older);
  ASSERT_TRUE(QFile::link(Path("elsewhere.dat"), Path("link.dat")));
  ASSERT_TRUE(QDir(dir.path()).mkdir("folder.dat"));
  ASSERT_EQ(::mkfifo(QFile::encodeName(Path("fifo.dat")).constData(), 0600), 0);
  Put(Path("locked.dat"), older);
  ASSERT_TRUE(QFile::setPermissions(Path("locked.dat"), QFile::ReadOwner | QFile::ReadUser));
  const struct {
    const char* name;
    FileError::Problem problem;
  } targets[] = {
      {"link.dat", FileError::Problem::kLink},
      {"folder.dat", FileError::Problem::kNotRegular},
      {"fifo.dat", FileError::Problem::kNotRegular},
      {"locked.dat", FileError::Problem::kReadOnly},
  };
  const QStringList before = Names();
  for (const auto& target : targets) {
    SCOPED_TRACE(target.name);
    const std::optional<FileError> error = WriteFileSafely(Path(target.name), newer);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->problem, target.problem);
  }
  EXPECT_EQ(Names(), before);
  EXPECT_EQ(Contents(Path("elsewhere.dat")), older);
  EXPECT_EQ(Contents(Path("locked.dat")), older);
}

TEST_F(SafeFiles, AReplacedFileKeepsItsPermissions) {
  Put(Path("song.bmp"), older);
  ASSERT_TRUE(QFile::setPermissions(Path("song.bmp"), QFile::ReadOwner | QFile::WriteOwner));
  ASSERT_FALSE(WriteFileSafely(Path("song.bmp"), newer));
  EXPECT_EQ(Contents(Path("song.bmp")), newer);
  struct stat status;
  ASSERT_EQ(::stat(QFile::encodeName(Path("song.bmp")).constData(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0600u);
  EXPECT_EQ(Names(), QStringList{"song.bmp"});
}

}  // namespace
}  // namespace tarvesh::document
