#include <gtest/gtest.h>

#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>
#include <functional>

#include "app/windowharness.h"

namespace tarvesh::testing {
namespace {

QByteArray Contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

QString Quoted(const QString& path) {
  return QStringLiteral("\"%1\"").arg(path);
}

// Message boxes shown so far, as "title: text".
QStringList Messages(WindowHarness& window) {
  QStringList messages;
  for (const QJsonValue& event : window.Dump()[QStringLiteral("events")].toArray()) {
    const QJsonObject e = event.toObject();
    if (e.contains(QStringLiteral("message")))
      messages << e[QStringLiteral("title")].toString() + QStringLiteral(": ") +
                      e[QStringLiteral("message")].toString();
  }
  return messages;
}

struct SaveFault {
  const char* name;
  bool needsNonRoot;  // root writes into read-only folders all the same
  // Makes the fault in `folder`; returns the path the score is saved as and fills `kept` with
  // files (or folders, as an empty text) that must come out of the save unchanged.
  std::function<QString(WindowHarness&, const QDir&, QStringList* kept)> prepare;
};

const SaveFault kFaults[] = {
    {"a file stands where the folder should be", false,
     [](WindowHarness&, const QDir& folder, QStringList* kept) {
       Write(folder.filePath("scores"), "not a folder");
       *kept << folder.filePath("scores");
       return folder.filePath("scores/tune.bmp");
     }},
    {"the folder vanished after the first save", false,
     [](WindowHarness& window, const QDir& folder, QStringList*) {
       folder.mkdir("scores");
       const QString path = folder.filePath("scores/tune.bmp");
       EXPECT_EQ(window.Run("file " + Quoted(path) + "\nclick Command1(2)\n"), 0);
       EXPECT_TRUE(QDir(folder.filePath("scores")).removeRecursively());
       return path;
     }},
    {"a folder stands where the picture should be", false,
     [](WindowHarness&, const QDir& folder, QStringList* kept) {
       folder.mkdir("tune.bmp");
       Write(folder.filePath("tune.dat"), QByteArray(800, '\x07'));
       *kept << folder.filePath("tune.bmp") << folder.filePath("tune.dat");
       return folder.filePath("tune.bmp");
     }},
    {"a folder stands where the side file should be", false,
     [](WindowHarness&, const QDir& folder, QStringList* kept) {
       folder.mkdir("tune.dat");
       *kept << folder.filePath("tune.dat");
       return folder.filePath("tune.bmp");
     }},
    {"the folder is read-only", true,
     [](WindowHarness&, const QDir& folder, QStringList* kept) {
       folder.mkdir("locked");
       Write(folder.filePath("locked/tune.bmp"), "old picture");
       Write(folder.filePath("locked/tune.dat"), "old side file");
       QFile::setPermissions(folder.filePath("locked"),
                             QFile::ReadOwner | QFile::ExeOwner | QFile::ReadUser | QFile::ExeUser);
       *kept << folder.filePath("locked/tune.bmp") << folder.filePath("locked/tune.dat");
       return folder.filePath("locked/tune.bmp");
     }},
};

// A save that cannot write leaves every older file as it was, tells the user in a message box
// titled 提示, and the window goes on working.
TEST(SaveFaults, OldFilesStayAndTheUserIsTold) {
  for (const SaveFault& fault : kFaults) {
    SCOPED_TRACE(fault.name);
    if (fault.needsNonRoot && geteuid() == 0) continue;
    QTemporaryDir temp;
    const QDir folder(temp.path());
    WindowHarness window;
    ASSERT_EQ(window.Run("key 53\nkey 54\n"), 0);
    QStringList kept;
    const QString path = fault.prepare(window, folder, &kept);
    QList<QByteArray> before;
    QList<bool> wasFolder;
    for (const QString& file : kept) {
      before << Contents(file);
      wasFolder << QFileInfo(file).isDir();
    }
    const qsizetype messagesBefore = Messages(window).size();

    ASSERT_EQ(window.Run("file " + Quoted(path) + "\nclick Command1(2)\n"), 0)
        << window.LastError().toStdString();

    const QStringList messages = Messages(window);
    ASSERT_EQ(messages.size(), messagesBefore + 1);
    EXPECT_TRUE(messages.last().startsWith(QStringLiteral("提示: ")))
        << messages.last().toStdString();
    for (qsizetype i = 0; i < kept.size(); ++i) {
      EXPECT_EQ(QFileInfo(kept[i]).isDir(), wasFolder[i]) << kept[i].toStdString();
      EXPECT_EQ(Contents(kept[i]), before[i]) << kept[i].toStdString();
    }
    // Typing goes on after the failed save.
    EXPECT_EQ(window.Run("key 55\n"), 0);
    QFile::setPermissions(folder.filePath("locked"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }
}

}  // namespace
}  // namespace tarvesh::testing
