// "导出MusicXML" and "导入MusicXML" as a person uses them: the page typed and written as a file,
// and a file typed onto a new page.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMouseEvent>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <array>
#include <map>

#include "app/windowharness.h"
#include "kit/controlregistry.h"
#include "kit/dialogs.h"
#include "lyrics/lyricslayout.h"

namespace tarvesh::testing {
namespace {

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString Keys(const std::vector<int>& keys) {
  QString script;
  for (int key : keys) script += QStringLiteral("key %1\n").arg(key);
  return script;
}

std::string Reading(WindowHarness& w) {
  return QJsonDocument(w.Dump()["reading"].toArray()).toJson(QJsonDocument::Compact).toStdString();
}

TEST(ExportMusicXml, WritesTheTypedNotesWithTheHead) {
  WindowHarness w;
  QTemporaryDir dir;
  const QString path = dir.filePath("song");
  // 1 2 3 - with the time filled: the engine puts in the bar line.
  ASSERT_EQ(w.Run(Keys({49, 50, 51, 189}) + "file \"" + path + "\"\nclick Command22\n"), 0)
      << w.LastError().toStdString();
  const QByteArray xml = ReadAll(path + ".musicxml");
  ASSERT_FALSE(xml.isEmpty());
  EXPECT_TRUE(xml.contains("<fifths>0</fifths>"));
  EXPECT_TRUE(xml.contains("<per-minute>72</per-minute>"));
  EXPECT_TRUE(xml.contains(QStringLiteral("<work-title>标题</work-title>").toUtf8()));
  // Three notes, the last a half note.
  EXPECT_EQ(xml.count("<note>"), 3);
  EXPECT_TRUE(xml.contains("<step>E</step>"));
  EXPECT_TRUE(xml.contains("<type>half</type>"));

  // A file already there is replaced only when the user says so.
  ASSERT_EQ(w.Run("key 53\nfile \"" + path + ".musicxml\"\nreply no\nclick Command22\n"), 0)
      << w.LastError().toStdString();
  EXPECT_EQ(ReadAll(path + ".musicxml"), xml);
  EXPECT_EQ(w.Control("Command22")["text"].toString(), QStringLiteral("导出MusicXML"));
}

// A page typed at random, exported and imported again, is the same page: the same reading and
// the same pixels, in any key and over more than one line. Each beat is a quarter (maybe held by a
// dash), two eighths or a dotted eighth and a sixteenth, in any of three octaves, sometimes with a
// sharp, flat or natural, and arcs span two beats.
TEST(MusicXmlRoundTrip, GivesBackTheTypedPage) {
  for (quint32 seed : {1u, 2u, 3u}) {
    SCOPED_TRACE(seed);
    QRandomGenerator random(seed);
    std::vector<int> keys;
    auto degree = [&] {
      const int d = random.bounded(1, 8);
      switch (random.bounded(4)) {
        case 0:
          return int("QWERTYU"[d - 1]);
        case 1:
          return 111 + d;  // F1..F7: the high octave
        default:
          return 48 + d;
      }
    };
    // Any of the twelve keys.
    const int key = random.bounded(12);
    int beat = 0;
    auto note = [&] {
      if (random.bounded(8) == 0) {
        keys.push_back('O');
        return;
      }
      // Sharp, flat and, in C where no degree is altered by the key, natural: elsewhere a natural
      // sounds as the sharp or flat that a staff shows the same way. None opens a bar: there a
      // line may end between the sign and its note, and the sign is left as ink of its own.
      const int sign = random.bounded(12);
      if (sign < (key == 0 ? 3 : 2) && beat % 4 != 0)
        keys.push_back(std::array<int, 3>{'M', 188, 'N'}[size_t(sign)]);
      keys.push_back(degree());
    };
    bool arcOpen = false;
    for (; beat < 48; ++beat) {
      const bool arcEnds = arcOpen;
      // Eight bars of four beats fill a line; an arc over a line end is not read back.
      if (!arcOpen && beat % 32 < 28 && random.bounded(6) == 0) {
        keys.push_back('L');
        arcOpen = true;
      }
      switch (random.bounded(4)) {
        case 0:
          keys.push_back(97);
          note();
          note();
          keys.push_back(96);
          break;
        case 1:
          keys.push_back(97);
          note();
          keys.push_back(190);
          keys.push_back(98);
          note();
          keys.push_back(96);
          break;
        default:
          note();
          if (keys.back() != 'O' && random.bounded(3) == 0 && beat % 4 != 3) {
            keys.push_back(189);
            ++beat;
          }
      }
      if (arcEnds) {
        keys.push_back('L');
        arcOpen = false;
      }
    }
    WindowHarness w;
    QTemporaryDir dir;
    const QString path = dir.filePath("page.musicxml");
    const QString head = QStringLiteral("select Combo1(2) %1\n").arg(key);
    ASSERT_EQ(w.Run(head + Keys(keys) + "file \"" + path + "\"\nclick Command22\n"), 0)
        << w.LastError().toStdString();
    const std::string typed = Reading(w);
    const QImage page = w.Form().Page().Image().copy();
    ASSERT_EQ(w.Run("file \"" + path + "\"\nclick Command23\n"), 0) << w.LastError().toStdString();
    EXPECT_EQ(Reading(w), typed);
    EXPECT_TRUE(w.Form().Page().Image() == page);
    const QJsonArray events = w.Dump()["events"].toArray();
    EXPECT_EQ(events.last()["message"].toString(), QStringLiteral("导入完成"));
  }
}

// The words under the notes go out with the page and come back under the same notes.
TEST(MusicXmlRoundTrip, CarriesTheWords) {
  WindowHarness w;
  QTemporaryDir dir;
  const QString path = dir.filePath("song.musicxml");
  ASSERT_EQ(w.Run(Keys({49, 50, 51, 52, 53, 54, 55, 49, 50}) +
                  "key 76 2\ntext \"Glo-ri-a in ex-cel-\"\ntext \"sis\"\nkey 40\n"
                  "text \"2.一二三\"\nfile \"" +
                  path + "\"\nclick Command22\n"),
            0)
      << w.LastError().toStdString();
  const QJsonArray words = w.Dump()["lyrics"].toArray();
  const QJsonArray numbers = w.Dump()["verseNumbers"].toArray();
  ASSERT_EQ(words.size(), 10);
  ASSERT_EQ(numbers.size(), 1);
  ASSERT_EQ(w.Run("file \"" + path + "\"\nclick Command23\n"), 0) << w.LastError().toStdString();
  EXPECT_EQ(w.Dump()["lyrics"].toArray(), words);
  EXPECT_EQ(w.Dump()["verseNumbers"].toArray(), numbers);
  // The notes read in stand apart for their words as typed ones do.
  const lyrics::LyricsLayout layout(w.Form().Document().Lyrics());
  std::map<std::pair<int, int>, QRect> last;
  for (const lyrics::LyricsLayout::Placed& p : layout.Place()) {
    if (p.kind != lyrics::LyricsLayout::Kind::kSyllable) continue;
    const auto previous = last.find({p.lineTop, p.row});
    if (previous != last.end()) {
      EXPECT_GE(p.box.left() - previous->second.right() - 1, layout.SyllableGap())
          << p.text.toStdString();
    }
    last[{p.lineTop, p.row}] = p.box;
  }
}

// A tune in F, 3/4, at 100: F, a grace note, A held for two beats, then a second bar.
const QByteArray kSong =
    "<score-partwise version=\"4.0\"><work><work-title>Song</work-title></work>"
    "<part-list><score-part id=\"P1\"/></part-list><part id=\"P1\"><measure number=\"1\">"
    "<attributes><divisions>1</divisions><key><fifths>-1</fifths></key><time><beats>3</beats>"
    "<beat-type>4</beat-type></time></attributes><sound tempo=\"100\"/>"
    "<note><pitch><step>F</step><octave>4</octave></pitch><duration>1</duration>"
    "<type>quarter</type></note>"
    "<note><grace/><pitch><step>G</step><octave>4</octave></pitch><type>eighth</type></note>"
    "<note><pitch><step>A</step><octave>4</octave></pitch><duration>2</duration>"
    "<type>half</type></note></measure><measure number=\"2\">"
    "<note><pitch><step>C</step><octave>5</octave></pitch><duration>3</duration>"
    "<type>half</type><dot/></note></measure></part></score-partwise>";

QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
  QFile file(dir.filePath(name));
  EXPECT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
  return file.fileName();
}

TEST(ImportMusicXml, SetsTheHeadAndNamesWhatWasLeftOut) {
  WindowHarness w;
  QTemporaryDir dir;
  const QString path = WriteFile(dir, "in.xml", kSong);
  QFile file(path);
  ASSERT_EQ(w.Run(QStringLiteral("key 49\nfile \"%1\"\nclick Command23\n").arg(path)), 0)
      << w.LastError().toStdString();
  EXPECT_EQ(w.Control("Label2(0)")["text"].toString(), "3");
  EXPECT_EQ(w.Control("Label2(2)")["text"].toString(), "F");
  EXPECT_EQ(w.State()["BeatsPerBar"].toInt(), 3);
  const QJsonArray lines = w.Dump()["reading"].toArray();
  ASSERT_EQ(lines.size(), 1);
  const QJsonArray items = lines[0]["items"].toArray();
  ASSERT_GE(items.size(), 4);
  EXPECT_EQ(items[0]["degree"].toInt(), 1);
  EXPECT_EQ(items[1]["degree"].toInt(), 3);
  EXPECT_EQ(items[2]["kind"].toString(), "dash");
  EXPECT_EQ(items[3]["bar"].toString(), "single");
  EXPECT_EQ(w.Dump()["events"].toArray().last()["message"].toString(),
            QStringLiteral("导入完成\n未导入：装饰音（第1小节）"));

  // A file that is no score leaves the page as it was.
  const QImage before = w.Form().Page().Image().copy();
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write("<html/>");
  file.close();
  EXPECT_EQ(w.Run(QStringLiteral("file \"%1\"\nclick Command23\n").arg(path)), 1);
  EXPECT_TRUE(w.LastError().contains(QStringLiteral("不是MusicXML乐谱")))
      << w.LastError().toStdString();
  EXPECT_TRUE(w.Form().Page().Image() == before);
}

// A tune longer than a page once lost the bars below the last line without a word.
TEST(ImportMusicXml, NamesTheBarsThePageCannotHold) {
  QByteArray measures;
  for (int m = 1; m <= 200; ++m)
    measures += "<measure number=\"" + QByteArray::number(m) + "\">" +
                QByteArray(
                    "<note><pitch><step>G</step><octave>4</octave></pitch><duration>1"
                    "</duration><type>quarter</type></note>")
                    .repeated(4) +
                "</measure>";
  QTemporaryDir dir;
  const QString path =
      WriteFile(dir, "long.xml",
                "<score-partwise><part-list><score-part id=\"P1\"/></part-list><part id=\"P1\">" +
                    measures + "</part></score-partwise>");
  WindowHarness w;
  ASSERT_EQ(w.Run(QStringLiteral("file \"%1\"\nclick Command23\n").arg(path)), 0)
      << w.LastError().toStdString();
  // Eight bars a line, 22 lines a page.
  const QJsonArray lines = w.Dump()["reading"].toArray();
  ASSERT_EQ(lines.size(), 22);
  EXPECT_EQ(lines.last()["items"].toArray().size(), 8 * 5);
  EXPECT_EQ(w.Dump()["events"].toArray().last()["message"].toString(),
            QStringLiteral("导入完成\n未导入：页面写满后的音符（第177–200小节）"));
}

// A file dialog that runs the event loop while it is open, as a person's modal dialog does.
class ModalFileDialogs : public app::ScriptedDialogs {
 public:
  std::optional<QString> OpenFile(const QString& title, const QString& filter,
                                  const QString& proposed) override {
    QCoreApplication::processEvents();
    return ScriptedDialogs::OpenFile(title, filter, proposed);
  }
};

// The release of the click on the button once ended its step inside the file dialog, so the
// import joined the next action and one undo took back both.
TEST(ImportMusicXml, IsOneStepOfUndo) {
  WindowHarness w(QSize(1024, 768), TARVESH_DATA_DIR, std::make_unique<ModalFileDialogs>());
  QTemporaryDir dir;
  const QString path = WriteFile(dir, "in.xml", kSong);
  ASSERT_EQ(w.Run("key 49\nkey 50\n"), 0) << w.LastError().toStdString();
  const QImage before = w.Form().Page().Image().copy();
  const std::string readBefore = Reading(w);
  // The click as a person makes it, outside a script, whose steps end the journal's step each.
  w.Dialogs().QueueFile(path);
  auto* button = w.Form().Controls().Get<QWidget>("Command23");
  for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    QMouseEvent event(type, QPointF(5, 5), button->mapToGlobal(QPointF(5, 5)), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(button, &event);
  }
  QCoreApplication::processEvents();
  EXPECT_EQ(w.Dump()["events"].toArray().last()["message"].toString(),
            QStringLiteral("导入完成\n未导入：装饰音（第1小节）"));
  const QImage imported = w.Form().Page().Image().copy();
  ASSERT_FALSE(imported == before);
  EXPECT_TRUE(w.State()["Modified"].toBool()) << "an imported page is not saved yet";
  EXPECT_EQ(w.State()["DocumentPath"].toString(), "");

  ASSERT_EQ(w.Run("key 51\nundo\n"), 0) << w.LastError().toStdString();
  EXPECT_TRUE(w.Form().Page().Image() == imported);
  ASSERT_EQ(w.Run("undo\n"), 0) << w.LastError().toStdString();
  EXPECT_TRUE(w.Form().Page().Image() == before);
  EXPECT_EQ(Reading(w), readBefore);
  EXPECT_EQ(w.Control("Label2(2)")["text"].toString(), "C");
  EXPECT_EQ(w.Control("Label1")["text"].toString(), QStringLiteral("标题"));
  ASSERT_EQ(w.Run("redo\n"), 0) << w.LastError().toStdString();
  EXPECT_TRUE(w.Form().Page().Image() == imported);
}

// Chord-symbol entry once typed the melody as chord symbols, and with the bar line switch off
// the page had no bar lines: the import types notes with the engine's bar lines and leaves the
// switch as the user set it.
TEST(ImportMusicXml, TypesTheSamePageWhateverTheEntryMode) {
  QTemporaryDir dir;
  const QString import =
      QStringLiteral("file \"%1\"\nclick Command23\n").arg(WriteFile(dir, "in.xml", kSong));
  WindowHarness plain;
  ASSERT_EQ(plain.Run(import), 0) << plain.LastError().toStdString();
  WindowHarness w;
  ASSERT_EQ(w.Run("key 75\nset Check10 0\n" + import), 0) << w.LastError().toStdString();
  EXPECT_EQ(Reading(w), Reading(plain));
  EXPECT_TRUE(w.Form().Page().Image() == plain.Form().Page().Image());
  EXPECT_EQ(w.State()["NoteMode"].toInt(), 1);
  EXPECT_EQ(w.Control("Check10")["value"].toInt(), 0);
}

// `tarvesh --import`: each file a score in the folder, exported as asked; the files that cannot
// be imported are named and skipped, and a score already there is kept.
TEST(ImportCommandLine, SavesEachFileAsAScoreAndExportsThem) {
  QTemporaryDir dir;
  const QString song = WriteFile(dir, "song.xml", kSong);
  const QString notMusic = WriteFile(dir, "page.xml", "<html/>");
  const QString again = WriteFile(dir, "kept.musicxml", kSong);
  const QString out = dir.filePath("out");
  QDir().mkpath(out);
  const QString kept = WriteFile(dir, "out/kept.bmp", "an older score");
  const ProcessResult result = RunTarvesh({"--import", song, notMusic, dir.filePath("gone.xml"),
                                           again, "--out", out, "--format", "png"});
  EXPECT_EQ(result.status, 1);
  for (const QString& told : {QStringLiteral("song.xml -> %1").arg(QDir(out).filePath("song.bmp")),
                              QStringLiteral("left out: 装饰音（第1小节）"),
                              QStringLiteral("page.xml: cannot be imported (不是MusicXML乐谱)"),
                              QStringLiteral("gone.xml: cannot be imported (文件不存在)"),
                              QStringLiteral("kept.bmp already exists, not replaced"),
                              QStringLiteral("imported 1 of 4 files")})
    EXPECT_TRUE(result.errors.contains(told)) << told.toStdString() << "\n"
                                              << result.errors.toStdString();
  QFile older(kept);
  ASSERT_TRUE(older.open(QIODevice::ReadOnly));
  EXPECT_EQ(older.readAll(), "an older score");
  const QStringList exports = QDir(out).entryList({"导出 *"}, QDir::Dirs);
  ASSERT_EQ(exports.size(), 1);
  EXPECT_EQ(QDir(out).entryList({"*.png"}, QDir::Files, QDir::Name).size(), 0);
  EXPECT_EQ(QDir(QDir(out).filePath(exports[0])).entryList(QDir::Files), QStringList{"song.png"});

  // The score is the page the window's import types.
  WindowHarness typed;
  ASSERT_EQ(typed.Run(QStringLiteral("file \"%1\"\nclick Command23\n").arg(song)), 0)
      << typed.LastError().toStdString();
  WindowHarness opened;
  ASSERT_EQ(
      opened.Run(
          QStringLiteral("file \"%1\"\nclick Command1(0)\n").arg(QDir(out).filePath("song.bmp"))),
      0)
      << opened.LastError().toStdString();
  EXPECT_EQ(Reading(opened), Reading(typed));
  EXPECT_TRUE(opened.Form().PageView() == typed.Form().PageView());
}

TEST(ImportCommandLine, RefusesWhatItCannotDo) {
  struct Case {
    QStringList args;
    const char* says;
  };
  const Case cases[] = {
      {{"--import"}, "--import needs a file"},
      {{"--import", "a.xml"}, "--import needs --out"},
      {{"--import", "a.xml", "--out", "o", "--export", "x"}, "cannot be used together"},
      {{"--import", "a.xml", "--out", "o", "--format", "gif"}, "--format takes"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.join(' ').toStdString());
    const ProcessResult result = RunTarvesh(c.args);
    EXPECT_EQ(result.status, 2);
    EXPECT_TRUE(result.errors.contains(c.says)) << result.errors.toStdString();
  }
}

}  // namespace
}  // namespace tarvesh::testing
