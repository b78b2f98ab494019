#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>
#include <cerrno>
#include <functional>

#include "app/windowharness.h"
#include "document/datsidefile.h"
#include "document/faultycalls.h"
#include "document/pagepicture.h"
#include "document/scorefiles.h"
#include "document/usefilecalls.h"

namespace tarvesh::testing {
namespace {

using document::FaultyCalls;
using document::UseFileCalls;

QByteArray Contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

void MakeFifo(const QString& path) {
  ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
}

QString Quoted(const QString& path) {
  return QStringLiteral("\"%1\"").arg(path);
}

// Every entry below `folder` with its size, hidden ones included: what a fault must not change.
QStringList Listing(const QString& folder) {
  QStringList listing;
  for (const QFileInfo& entry : QDir(folder).entryInfoList(
           QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name)) {
    // Only regular files are read: reading a FIFO would wait for ever.
    const bool regular = entry.isFile() && !entry.isSymLink();
    listing << QStringLiteral("%1 %2 %3")
                   .arg(entry.fileName())
                   .arg(regular ? entry.size() : -1)
                   .arg(regular ? QString::number(qHash(Contents(entry.filePath())), 16)
                                : entry.symLinkTarget());
    if (entry.isDir() && !entry.isSymLink()) {
      for (const QString& inner : Listing(entry.filePath()))
        listing << entry.fileName() + '/' + inner;
    }
  }
  return listing;
}

// Message boxes with only an OK button shown so far, as "title: text".
QStringList Messages(WindowHarness& window) {
  QStringList messages;
  for (const QJsonValue& event : window.Dump()[QStringLiteral("events")].toArray()) {
    const QJsonObject e = event.toObject();
    if (e.contains(QStringLiteral("message")) && !e.contains(QStringLiteral("buttons")))
      messages << e[QStringLiteral("title")].toString() + QStringLiteral(": ") +
                      e[QStringLiteral("message")].toString();
  }
  return messages;
}

// A fault met by a save or an open through the window: the script stops there with the file
// and the reason on its error line, the window shows one message box titled 提示 naming the
// same, nothing in the folder changes, and typing goes on.
struct Fault {
  const char* name;
  bool needsNonRoot;  // root reads and writes where permissions forbid it all the same
  // Makes the fault in `folder` (where a score "tune" was saved, and where "mine" is open);
  // returns the script that meets it.
  std::function<QString(WindowHarness&, const QDir& folder)> prepare;
  // What the error line says, after the file's name.
  const char* says;
  // While the script runs, files whose path holds this cannot be opened for reading.
  const char* unreadable = nullptr;
};

QString SaveAs(const QString& path) {
  return "file " + Quoted(path) + "\nreply yes\nclick Command1(2)\n";
}
QString Open(const QString& path) {
  return "file " + Quoted(path) + "\nclick Command1(0)\n";
}

const Fault kSaveFaults[] = {
    {"a file stands where the folder should be", false,
     [](WindowHarness&, const QDir& folder) {
       Write(folder.filePath("scores"), "not a folder");
       return SaveAs(folder.filePath("scores/new.bmp"));
     },
     "路径中有一项不是文件夹"},
    {"the folder vanished after the first save", false,
     [](WindowHarness& window, const QDir& folder) {
       folder.mkdir("gone");
       EXPECT_EQ(window.Run(SaveAs(folder.filePath("gone/new.bmp"))), 0);
       EXPECT_TRUE(QDir(folder.filePath("gone")).removeRecursively());
       return QStringLiteral("click Command1(1)\n");
     },
     "文件或文件夹不存在"},
    {"a folder stands where the picture should be", false,
     [](WindowHarness&, const QDir& folder) {
       folder.mkdir("new.bmp");
       Write(folder.filePath("new.dat"), QByteArray(800, '\x07'));
       return SaveAs(folder.filePath("new.bmp"));
     },
     "这不是普通文件"},
    {"a folder stands where the side file should be", false,
     [](WindowHarness&, const QDir& folder) {
       folder.mkdir("new.dat");
       return SaveAs(folder.filePath("new.bmp"));
     },
     "这不是普通文件"},
    {"the side file is a FIFO", false,
     [](WindowHarness&, const QDir& folder) {
       MakeFifo(folder.filePath("new.dat"));
       return SaveAs(folder.filePath("new.bmp"));
     },
     "这不是普通文件"},
    {"the side file is a link to another score's side file", false,
     [](WindowHarness&, const QDir& folder) {
       QFile::link(folder.filePath("tune.dat"), folder.filePath("new.dat"));
       return SaveAs(folder.filePath("new.bmp"));
     },
     "这是一个符号链接"},
    {"the picture is marked read-only", false,
     [](WindowHarness&, const QDir& folder) {
       QFile::setPermissions(folder.filePath("tune.bmp"), QFile::ReadOwner | QFile::ReadUser);
       return SaveAs(folder.filePath("tune.bmp"));
     },
     "文件是只读的"},
    // The picture was once replaced all the same, beside the old side file.
    {"the side file is marked read-only", false,
     [](WindowHarness&, const QDir& folder) {
       QFile::setPermissions(folder.filePath("tune.dat"), QFile::ReadOwner | QFile::ReadUser);
       return SaveAs(folder.filePath("tune.bmp"));
     },
     "文件是只读的"},
    {"the side file belongs to tune.BMP", false,
     [](WindowHarness&, const QDir& folder) {
       QFile::rename(folder.filePath("tune.bmp"), folder.filePath("tune.BMP"));
       return SaveAs(folder.filePath("tune.bmp"));
     },
     "它属于另一个乐谱"},
    {"the folder is read-only", true,
     [](WindowHarness&, const QDir& folder) {
       QFile::setPermissions(folder.path(),
                             QFile::ReadOwner | QFile::ExeOwner | QFile::ReadUser | QFile::ExeUser);
       return SaveAs(folder.filePath("tune.bmp"));
     },
     "没有权限"},
};

const Fault kOpenFaults[] = {
    {"the side file is a FIFO", false,
     [](WindowHarness&, const QDir& folder) {
       QFile::remove(folder.filePath("tune.dat"));
       MakeFifo(folder.filePath("tune.dat"));
       return Open(folder.filePath("tune.bmp"));
     },
     "这不是普通文件"},
    {"the side file is a link to another score's side file", false,
     [](WindowHarness&, const QDir& folder) {
       QFile::remove(folder.filePath("tune.dat"));
       QFile::link(folder.filePath("mine.dat"), folder.filePath("tune.dat"));
       return Open(folder.filePath("tune.bmp"));
     },
     "这是一个符号链接"},
    {"the side file is a folder", false,
     [](WindowHarness&, const QDir& folder) {
       QFile::remove(folder.filePath("tune.dat"));
       folder.mkdir("tune.dat");
       return Open(folder.filePath("tune.bmp"));
     },
     "这不是普通文件"},
    {"the picture is a FIFO", false,
     [](WindowHarness&, const QDir& folder) {
       MakeFifo(folder.filePath("pipe.bmp"));
       return Open(folder.filePath("pipe.bmp"));
     },
     "这不是普通文件"},
    {"the side file cannot be read", false,
     [](WindowHarness&, const QDir& folder) { return Open(folder.filePath("tune.bmp")); },
     "tune.dat\n没有权限", "tune.dat"},
    {"the picture cannot be read", false,
     [](WindowHarness&, const QDir& folder) { return Open(folder.filePath("tune.bmp")); },
     "tune.bmp\n没有权限", "tune.bmp"},
    {"the picture is cut short", false,
     [](WindowHarness&, const QDir& folder) {
       const QByteArray whole = Contents(folder.filePath("tune.bmp"));
       Write(folder.filePath("cut.bmp"), whole.left(whole.size() / 2));
       return Open(folder.filePath("cut.bmp"));
     },
     "文件不完整"},
    {"the picture is not named .bmp", false,
     [](WindowHarness&, const QDir& folder) {
       QFile::copy(folder.filePath("tune.bmp"), folder.filePath("tune.dib"));
       return Open(folder.filePath("tune.dib"));
     },
     "必须以 .bmp 结尾"},
    {"the picture is larger than the largest page", false,
     [](WindowHarness&, const QDir& folder) {
       QImage huge(4000, 100, QImage::Format_RGB32);
       huge.fill(Qt::white);
       EXPECT_FALSE(document::WritePagePicture(huge, folder.filePath("huge.bmp")));
       return Open(folder.filePath("huge.bmp"));
     },
     "4000 × 100 > 3868 × 5470"},
};

void MeetFault(const Fault& fault, bool opening) {
  SCOPED_TRACE(fault.name);
  if (fault.needsNonRoot && ::geteuid() == 0) return;
  QTemporaryDir temp;
  const QDir folder(temp.path());
  WindowHarness window;
  // A score "tune" on disk, and "mine" open in the window with a note typed since.
  ASSERT_EQ(window.Run("key 53\n" + SaveAs(folder.filePath("tune.bmp")) + "key 54\n" +
                       SaveAs(folder.filePath("mine.bmp")) + "key 55\n"),
            0)
      << window.LastError().toStdString();
  const QString script = fault.prepare(window, folder);
  const QStringList before = Listing(folder.path());
  const QImage page = window.Form().Page().Image();
  const QString document = window.State()["DocumentPath"].toString();
  const qsizetype messages = Messages(window).size();

  FaultyCalls locked(QString::fromUtf8(fault.unreadable));
  if (fault.unreadable) locked.FailAt(FaultyCalls::kOpenForReading, 0, EACCES);
  std::optional<UseFileCalls> use;
  if (fault.unreadable) use.emplace(&locked);
  EXPECT_EQ(window.Run(script), 1);
  const QString error = window.LastError();
  const QString what = opening ? QStringLiteral("无法打开文件") : QStringLiteral("无法保存文件");
  // The error line is the message box's text on one line.
  EXPECT_TRUE(error.contains(what) &&
              error.contains(QString::fromUtf8(fault.says).replace(u'\n', QStringLiteral(": "))))
      << error.toStdString();
  const QStringList shown = Messages(window);
  ASSERT_EQ(shown.size(), messages + 1);
  EXPECT_TRUE(shown.last().startsWith(QStringLiteral("提示: ")));
  EXPECT_TRUE(shown.last().contains(QString::fromUtf8(fault.says))) << shown.last().toStdString();

  EXPECT_EQ(Listing(folder.path()), before);
  EXPECT_EQ(window.Form().Page().Image(), page);
  EXPECT_EQ(window.State()["DocumentPath"].toString(), document);
  EXPECT_EQ(window.Run("key 56\n"), 0);
  QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// A save that cannot write leaves every older file as it was.
TEST(SaveFaults, OldFilesStayAndTheUserIsTold) {
  for (const Fault& fault : kSaveFaults) MeetFault(fault, false);
}

// An open that cannot read changes nothing, neither the window nor the folder.
TEST(OpenFaults, NothingChangesAndTheUserIsTold) {
  for (const Fault& fault : kOpenFaults) MeetFault(fault, true);
}

// A save over a score while the disk filled up once left a 0-byte side file or a picture cut
// short, with the success beep and no message.
TEST(SaveFaults, ADiskFullAtEveryWriteOfASaveKeepsTheOldScore) {
  QTemporaryDir temp;
  const QDir folder(temp.path());
  WindowHarness window;
  const QString path = folder.filePath("tune.bmp");
  ASSERT_EQ(window.Run("key 53\nfile " + Quoted(path) + "\nclick Command1(1)\nkey 54\n"), 0);
  const QStringList saved = Listing(folder.path());
  int writes = 0;
  {
    FaultyCalls counting;
    const UseFileCalls use(&counting);
    ASSERT_EQ(window.Run("click Command1(1)\n"), 0);
    writes = counting.Count(FaultyCalls::kWrite);
  }
  ASSERT_GT(writes, 2);
  // Back to the first save's pair, then the second note again.
  ASSERT_EQ(window.Run("key 8\nclick Command1(1)\nkey 54\n"), 0);
  ASSERT_EQ(Listing(folder.path()), saved);
  for (int nth = 0; nth < writes; ++nth) {
    SCOPED_TRACE(nth);
    FaultyCalls full;
    full.DiskFullAt(nth);
    const UseFileCalls use(&full);
    EXPECT_EQ(window.Run("click Command1(1)\n"), 1);
    EXPECT_TRUE(window.LastError().contains(QStringLiteral("磁盘空间不足")))
        << window.LastError().toStdString();
    EXPECT_EQ(Listing(folder.path()), saved);
  }
  // With room again, the same save goes through.
  ASSERT_EQ(window.Run("click Command1(1)\n"), 0);
  EXPECT_EQ(*document::LoadPagePicture(path), window.Form().Page().Image());
}

// The window's own names never let a picture and a side file meet: "song.dat" once became the
// picture whose first 800 bytes the side file overwrote, and "other.dat" a 4 MB hybrid.
TEST(SaveFaults, NamesNeverMakeAPictureAndASideFileOneFile) {
  QTemporaryDir temp;
  const QDir folder(temp.path());
  WindowHarness window;
  ASSERT_EQ(window.Run("key 53\n" + SaveAs(folder.filePath("other.bmp"))), 0);
  const QByteArray otherPicture = Contents(folder.filePath("other.bmp"));
  const QByteArray otherSide = Contents(folder.filePath("other.dat"));
  ASSERT_EQ(window.Run("click Command1(6)\nkey 54\n" + SaveAs(folder.filePath("other.dat")) +
                       "key 55\n" + SaveAs(folder.filePath("song.dat"))),
            0)
      << window.LastError().toStdString();
  EXPECT_EQ(Contents(folder.filePath("other.bmp")), otherPicture);
  EXPECT_EQ(Contents(folder.filePath("other.dat")), otherSide);
  for (const char* name : {"other.dat.bmp", "song.dat.bmp"}) {
    SCOPED_TRACE(name);
    document::FileError error;
    const auto score = document::ScoreFiles(folder.filePath(name)).Read(&error);
    ASSERT_TRUE(score) << error.TerminalText().toStdString();
    EXPECT_EQ(document::DatSideFile::Decode(score->side).barWidth, 120);
  }
  EXPECT_EQ(window.State()["DocumentPath"].toString(), folder.filePath("song.dat.bmp"));
}

// Saved as another score's name, a document takes nothing of that score's side file.
TEST(SaveFaults, ReplacingAnotherScoreKeepsNoneOfItsSideFile) {
  QTemporaryDir temp;
  const QDir folder(temp.path());
  WindowHarness window;
  ASSERT_EQ(window.Run("key 53\n" + SaveAs(folder.filePath("a.bmp"))), 0);
  // Score b's side file holds bytes beyond the records, as a longer side file may.
  Write(folder.filePath("b.bmp"), Contents(folder.filePath("a.bmp")));
  Write(folder.filePath("b.dat"), QByteArray(2000, 'b'));
  ASSERT_EQ(window.Run(SaveAs(folder.filePath("b.bmp"))), 0);
  EXPECT_EQ(Contents(folder.filePath("b.dat")), Contents(folder.filePath("a.dat")));
}

// A save killed after its journal: the window opens the new pair whole, writing nothing, and
// its next save finishes the one that died.
TEST(OpenFaults, ASaveThatDiedIsOpenedWholeAndFinishedByTheNextSave) {
  QTemporaryDir temp;
  const QDir folder(temp.path());
  const QString path = folder.filePath("tune.bmp");
  WindowHarness window;
  ASSERT_EQ(window.Run("key 53\n" + SaveAs(path) + "set HScroll2(1) 12\nkey 54\n"), 0);
  const QImage page = window.Form().Page().Image();
  {
    // The side file's rename fails: the new picture stands beside the old side file, the new
    // side file is still a temporary, the journal says which pair is the score.
    FaultyCalls calls;
    calls.FailAt(FaultyCalls::kRename, 1, EIO);
    const UseFileCalls use(&calls);
    EXPECT_EQ(window.Run("click Command1(1)\n"), 1);
  }
  EXPECT_EQ(document::DatSideFile::Decode(Contents(folder.filePath("tune.dat"))).barsPerLine, 8);
  const QStringList torn = Listing(folder.path());
  ASSERT_EQ(window.Run("click Command1(6)\n" + Open(path)), 0) << window.LastError().toStdString();
  EXPECT_EQ(window.Control("HScroll2(1)")["value"].toInt(), 12);
  EXPECT_EQ(window.Form().Page().Image(), page);
  EXPECT_EQ(Listing(folder.path()), torn);

  ASSERT_EQ(window.Run("click Command1(1)\n"), 0);
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
            QStringList({"tune.bmp", "tune.dat"}));
  EXPECT_EQ(document::DatSideFile::Decode(Contents(folder.filePath("tune.dat"))).barsPerLine, 12);
}

}  // namespace
}  // namespace tarvesh::testing
