#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cerrno>
#include <functional>

#include "document/faultycalls.h"
#include "document/scorefiles.h"
#include "document/usefilecalls.h"

namespace tarvesh::document {
namespace {

using Problem = FileError::Problem;

// A page of `width` with a mark that tells it apart.
QImage Page(int width, QRgb mark) {
  QImage page(width, 60, QImage::Format_RGB32);
  page.fill(Qt::white);
  page.setPixel(width - 1, 59, mark);
  return page;
}

void Put(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(bytes);
}

class ScoreFilesTest : public ::testing::Test {
 protected:
  QString Path(const QString& name) const { return dir.filePath(name); }
  // Every entry of the folder with its size, hidden ones included.
  QStringList Listing() const {
    QStringList listing;
    for (const QFileInfo& entry :
         QDir(dir.path())
             .entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                            QDir::Name))
      listing << QStringLiteral("%1 %2").arg(entry.fileName()).arg(entry.size());
    return listing;
  }
  QStringList Names() const {
    return QDir(dir.path())
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                   QDir::Name);
  }
  std::optional<ScoreFiles::Contents> Read(FileError* error = nullptr) {
    return ScoreFiles(Path("song.bmp")).Read(error);
  }
  // True when the score reads back as exactly `picture` and `side`.
  bool Holds(const QImage& picture, const QByteArray& side) {
    const auto contents = Read();
    return contents && contents->picture.Image() == picture && contents->side == side;
  }

  QTemporaryDir dir;
  // The old and the new page differ in width, as the pages of a torn pair once did.
  const QImage oldPage = Page(988, qRgb(1, 2, 3));
  const QImage newPage = Page(1468, qRgb(4, 5, 6));
  const QByteArray oldSide = QByteArray(800, 'o');
  const QByteArray newSide = QByteArray(800, 'n');
};

// Killed between two independent renames, a save once left the new picture beside the old side
// file (10 torn pairs in 50 kills).
TEST_F(ScoreFilesTest, ASaveKilledAtAnyStepLeavesTheOldPairOrTheNew) {
  const ScoreFiles files(Path("song.bmp"));
  ASSERT_FALSE(files.Save(oldPage, oldSide));
  int calls = 0;
  {
    FaultyCalls counting;
    const UseFileCalls use(&counting);
    ASSERT_FALSE(files.Save(newPage, newSide));
    calls = counting.AllCalls();
  }
  ASSERT_GT(calls, 10);
  bool newSeen = false;
  for (int kill = 0; kill <= calls; ++kill) {
    SCOPED_TRACE(kill);
    ASSERT_FALSE(files.Save(oldPage, oldSide));
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      FaultyCalls dying;
      dying.KillAt(kill);
      FileCalls::Install(&dying);
      ::_exit(files.Save(newPage, newSide) ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    if (kill < calls) {
      ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    } else {
      ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

    // Opening reads a whole pair and writes nothing.
    const QStringList before = Listing();
    const bool old = Holds(oldPage, oldSide);
    const bool now = Holds(newPage, newSide);
    EXPECT_TRUE(old || now) << before.join(", ").toStdString();
    EXPECT_EQ(Listing(), before);
    // Once the new pair has been seen, a later kill never brings the old one back.
    EXPECT_FALSE(newSeen && old);
    newSeen = newSeen || now;

    // The next save finishes or undoes the dead one and leaves nothing else behind.
    const QImage third = Page(700, qRgb(7, 8, 9));
    ASSERT_FALSE(files.Save(third, "third"));
    EXPECT_TRUE(Holds(third, "third"));
    EXPECT_EQ(Names(), QStringList({"song.bmp", "song.dat"}));
  }
  EXPECT_TRUE(newSeen);
}

// Saving over a score while the disk filled up once left a 0-byte side file or a truncated
// picture, with the success beep.
TEST_F(ScoreFilesTest, AFullDiskAtAnyWriteLeavesTheOldPair) {
  const ScoreFiles files(Path("song.bmp"));
  ASSERT_FALSE(files.Save(oldPage, oldSide));
  int writes = 0;
  {
    FaultyCalls counting;
    const UseFileCalls use(&counting);
    ASSERT_FALSE(files.Save(newPage, newSide));
    writes = counting.Count(FaultyCalls::kWrite);
    ASSERT_FALSE(files.Save(oldPage, oldSide));
  }
  const QStringList pair = Listing();
  for (int nth = 0; nth < writes; ++nth) {
    SCOPED_TRACE(nth);
    FaultyCalls full;
    full.DiskFullAt(nth);
    const UseFileCalls use(&full);
    const std::optional<FileError> error = files.Save(newPage, newSide);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->systemError, ENOSPC);
    EXPECT_TRUE(error->path == Path("song.bmp") || error->path == Path("song.dat"));
    EXPECT_TRUE(Holds(oldPage, oldSide));
    EXPECT_EQ(Listing(), pair);
  }
}

TEST_F(ScoreFilesTest, ASyncOrRenameThatFailsNeverTearsThePair) {
  const ScoreFiles files(Path("song.bmp"));
  const struct {
    const char* name;
    FaultyCalls::Kind kind;
    int nth;
    int error;
    bool newPair;  // the new pair is the score all the same
  } faults[] = {
      {"the picture cannot be synced", FaultyCalls::kSync, 0, EIO, false},
      {"the side file cannot be synced", FaultyCalls::kSync, 1, EIO, false},
      {"the journal cannot be synced", FaultyCalls::kSync, 2, EIO, false},
      {"the picture cannot be renamed", FaultyCalls::kRename, 0, EBUSY, false},
      {"the side file cannot be renamed", FaultyCalls::kRename, 1, EBUSY, true},
  };
  for (const auto& fault : faults) {
    SCOPED_TRACE(fault.name);
    ASSERT_FALSE(files.Save(oldPage, oldSide));
    {
      FaultyCalls calls;
      calls.FailAt(fault.kind, fault.nth, fault.error);
      const UseFileCalls use(&calls);
      const std::optional<FileError> error = files.Save(newPage, newSide);
      ASSERT_TRUE(error);
      EXPECT_EQ(error->systemError, fault.error);
    }
    EXPECT_TRUE(fault.newPair ? Holds(newPage, newSide) : Holds(oldPage, oldSide));
  }
}

TEST_F(ScoreFilesTest, ReadingRefusesWhatIsNoRegularFileWithoutWaiting) {
  const ScoreFiles files(Path("song.bmp"));
  ASSERT_FALSE(files.Save(oldPage, oldSide));
  Put(Path("other.dat"), newSide);
  const struct {
    const char* name;
    // Puts something odd in the side file's or the picture's place.
    std::function<void()> make;
    QString path;
    Problem problem;
  } cases[] = {
      {"a FIFO for a side file",
       [&] { ASSERT_EQ(::mkfifo(QFile::encodeName(Path("song.dat")).constData(), 0600), 0); },
       Path("song.dat"), Problem::kNotRegular},
      {"a link to another score's side file",
       [&] { ASSERT_TRUE(QFile::link(Path("other.dat"), Path("song.dat"))); }, Path("song.dat"),
       Problem::kLink},
      {"a folder for a side file", [&] { ASSERT_TRUE(QDir(dir.path()).mkdir("song.dat")); },
       Path("song.dat"), Problem::kNotRegular},
      {"a FIFO for a picture",
       [&] { ASSERT_EQ(::mkfifo(QFile::encodeName(Path("song.bmp")).constData(), 0600), 0); },
       Path("song.bmp"), Problem::kNotRegular},
      {"a link for a picture", [&] { ASSERT_TRUE(QFile::link("/dev/zero", Path("song.bmp"))); },
       Path("song.bmp"), Problem::kLink},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    QFile::remove(c.path);
    c.make();
    FileError error;
    EXPECT_FALSE(Read(&error));
    EXPECT_EQ(error.path, c.path);
    EXPECT_EQ(error.problem, c.problem);
    QFile::remove(c.path);
    QDir(dir.path()).rmdir(QFileInfo(c.path).fileName());
    ASSERT_FALSE(files.Save(oldPage, oldSide));
  }
  EXPECT_EQ(QFile(Path("other.dat")).size(), newSide.size());
}

TEST_F(ScoreFilesTest, AMissingSideFileIsNoneAndAnUnreadableOneIsAnError) {
  const ScoreFiles files(Path("song.bmp"));
  ASSERT_FALSE(files.Save(oldPage, oldSide));
  ASSERT_TRUE(QFile::remove(Path("song.dat")));
  const auto contents = Read();
  ASSERT_TRUE(contents);
  EXPECT_EQ(contents->side, QByteArray());
  EXPECT_FALSE(QFile::exists(Path("song.dat")));

  Put(Path("song.dat"), oldSide);
  FaultyCalls locked(QStringLiteral("song.dat"));
  locked.FailAt(FaultyCalls::kOpenForReading, 0, EACCES);
  const UseFileCalls use(&locked);
  FileError error;
  EXPECT_FALSE(Read(&error));
  EXPECT_EQ(error.path, Path("song.dat"));
  EXPECT_EQ(error.Reason(), QStringLiteral("没有权限"));
}

TEST_F(ScoreFilesTest, APictureIsAlwaysNamedBmpAndNeverItsOwnSideFile) {
  const struct {
    const char* chosen;
    const char* picture;
  } names[] = {
      {"song", "song.bmp"},         {"song.bmp", "song.bmp"},           {"song.BMP", "song.BMP"},
      {"song.dat", "song.dat.bmp"}, {"my.song", "my.song.bmp"},         {".bmp", ".bmp.bmp"},
      {"x.dat.bmp", "x.dat.bmp"},   {"scores.v2/a", "scores.v2/a.bmp"},
  };
  for (const auto& name : names) {
    SCOPED_TRACE(name.chosen);
    const QString picture = ScoreFiles::PicturePathFor(QString::fromUtf8(name.chosen));
    EXPECT_EQ(picture, QString::fromUtf8(name.picture));
    EXPECT_NE(ScoreFiles(picture).SidePath(), picture);
  }
  const std::optional<FileError> refused = ScoreFiles(Path("song.dat")).Save(oldPage, oldSide);
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->problem, Problem::kNotScoreName);
  EXPECT_FALSE(QFile::exists(Path("song.dat")));
}

// song.bmp and song.BMP share the side file song.dat: neither may write it over the other's.
TEST_F(ScoreFilesTest, ASideFileOfAnotherPictureIsNeverWrittenOver) {
  ASSERT_FALSE(ScoreFiles(Path("song.BMP")).Save(oldPage, oldSide));
  const QStringList before = Listing();
  const ScoreFiles files(Path("song.bmp"));
  if (QFileInfo(files.PicturePath()).exists()) GTEST_SKIP() << "this folder ignores case";
  const std::optional<FileError> refused = files.Save(newPage, newSide);
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->problem, Problem::kOtherScore);
  EXPECT_EQ(refused->path, Path("song.dat"));
  EXPECT_EQ(refused->detail, Path("song.BMP"));
  EXPECT_EQ(Listing(), before);
  // Its own picture is no other score.
  EXPECT_FALSE(ScoreFiles(Path("song.BMP")).Save(newPage, newSide));
}

}  // namespace
}  // namespace tarvesh::document
