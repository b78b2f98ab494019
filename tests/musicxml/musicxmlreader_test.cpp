// Reading a MusicXML file's melody and typing it: hand-written fixtures, one feature each.
#include "musicxml/musicxmlreader.h"

#include <sys/stat.h>
#include <zip.h>

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "engine/virtualkey.h"
#include "musicxml/importtyping.h"

namespace tarvesh::musicxml {
namespace {

namespace vk = engine::vk;

// A partwise score of one part around `measures`.
QByteArray Score(const QString& measures, const QString& head = {}) {
  return (QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                         "<score-partwise version=\"4.0\">%1<part-list><score-part id=\"P1\">"
                         "<part-name>M</part-name></score-part><score-part id=\"P2\"/>"
                         "</part-list><part id=\"P1\">")
              .arg(head) +
          measures +
          QStringLiteral("</part><part id=\"P2\"><measure number=\"1\"><note><pitch>"
                         "<step>C</step><octave>2</octave></pitch><duration>1"
                         "</duration><type>quarter</type></note></measure></part>"
                         "</score-partwise>"))
      .toUtf8();
}

QString Attributes(int fifths, int beats = 4, int beatType = 4, const char* mode = "major") {
  return QStringLiteral(
             "<attributes><divisions>2</divisions><key><fifths>%1</fifths><mode>%2"
             "</mode></key><time><beats>%3</beats><beat-type>%4</beat-type></time>"
             "</attributes>")
      .arg(fifths)
      .arg(QLatin1String(mode))
      .arg(beats)
      .arg(beatType);
}

// A note: "C#4" style pitch or "r", the type, and whatever else goes inside <note>.
QString N(const char* pitch, const char* type, const QString& more = {}, int duration = 2) {
  const QString p = QLatin1String(pitch);
  QString inner;
  if (p == u"r") {
    inner = QStringLiteral("<rest/>");
  } else {
    const int alter = p.count('#') - p.count('b', Qt::CaseSensitive);
    inner = QStringLiteral("<pitch><step>%1</step>%2<octave>%3</octave></pitch>")
                .arg(p[0])
                .arg(alter ? QStringLiteral("<alter>%1</alter>").arg(alter) : QString())
                .arg(p.back());
  }
  return QStringLiteral("<note>%1<duration>%2</duration>%3<type>%4</type></note>")
      .arg(inner)
      .arg(duration)
      .arg(more)
      .arg(QLatin1String(type));
}

QString M(int number, const QString& content, const char* extra = "") {
  return QStringLiteral("<measure number=\"%1\"%2>%3</measure>")
      .arg(number)
      .arg(QLatin1String(extra))
      .arg(content);
}

ImportedScore Imported(const QByteArray& bytes) {
  auto read = MusicXmlReader::Read(bytes);
  if (auto* why = std::get_if<QString>(&read)) ADD_FAILURE() << why->toStdString();
  return std::get_if<ImportedScore>(&read) ? std::get<ImportedScore>(read) : ImportedScore{};
}

// The keys in short: digits and letters as they are, F keys as "F1", the keypad's duration keys
// as "p0".."p3", dash "-", dot ".".
QString Keys(const std::vector<int>& keys) {
  QStringList out;
  for (int key : keys) {
    if (key >= vk::F(1) && key <= vk::F(12))
      out << QStringLiteral("F%1").arg(key - vk::F(1) + 1);
    else if (key >= vk::Pad(0) && key <= vk::Pad(3))
      out << QStringLiteral("p%1").arg(key - vk::Pad(0));
    else if (key == vk::kMinus)
      out << "-";
    else if (key == vk::kPeriod)
      out << ".";
    else if (key == vk::kComma)
      out << "b";
    else
      out << QString(QChar(key));
  }
  return out.join(' ');
}

struct TypingCase {
  const char* what;
  QByteArray file;
  const char* key;
  int numerator;
  int denominator;
  const char* keys;
  const char* leftOut;
};

class Typing : public testing::TestWithParam<TypingCase> {};

TEST_P(Typing, TypesTheMelodyAsAPersonWould) {
  ImportedScore score = Imported(GetParam().file);
  const ImportTyping typing = ImportTyping::Of(score);
  EXPECT_EQ(typing.key, QLatin1String(GetParam().key));
  EXPECT_EQ(typing.numerator, GetParam().numerator);
  EXPECT_EQ(typing.denominator, GetParam().denominator);
  EXPECT_EQ(Keys(typing.keys), QString::fromUtf8(GetParam().keys));
  EXPECT_EQ(score.LeftOutText(), QString::fromUtf8(GetParam().leftOut));
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, Typing,
    testing::Values(
        // Degrees relative to the key, with the octave rows and a sharp and flat beyond it.
        TypingCase{"degrees in D",
                   Score(M(1, Attributes(2) + N("D4", "quarter") + N("A3", "quarter") +
                                  N("C5", "quarter") + N("E5", "quarter") + N("Bb4", "quarter"))),
                   "D", 4, 4, "p0 1 T b 7 F2 b 6", ""},
        // A minor key is typed in the major key of its signature: la is 6.
        TypingCase{"minor key", Score(M(1, Attributes(-3, 3, 4, "minor") + N("C4", "quarter"))),
                   "bE", 3, 4, "p0 Y", ""},
        TypingCase{"seven sharps take the same sound in flats",
                   Score(M(1, Attributes(7) + N("C#4", "quarter"))), "bD", 4, 4, "p0 1", ""},
        TypingCase{"compound time, dots and double dots",
                   Score(M(1, Attributes(0, 6, 8) + N("C4", "quarter", "<dot/>", 3) +
                                  N("D4", "eighth", {}, 1) + N("E4", "16th", {}, 1) +
                                  N("F4", "quarter", "<dot/><dot/>", 7))),
                   "C", 6, 8, "p0 1 . p1 2 p2 3 p0 4 . .", ""},
        TypingCase{"long notes and rests",
                   Score(M(1, Attributes(0) + N("C4", "whole", {}, 8)) +
                         M(2, N("D4", "half", "<dot/>", 6) + N("r", "quarter")) +
                         M(3, "<note><rest measure=\"yes\"/><duration>8</duration></note>")),
                   "C", 4, 4, "p0 1 - - - 2 - - O O O O O", ""},
        TypingCase{
            "pickup bar and a tie across the bar line",
            Score(M(0, Attributes(0, 3, 4) + N("G4", "quarter"), " implicit=\"yes\"") +
                  M(1, N("C5", "half", "<tie type=\"start\"/>", 4) +
                           N("C5", "quarter", "<tie type=\"start\"/>")) +
                  M(2, N("C5", "quarter", "<tie type=\"stop\"/>") +
                           N("D5", "quarter", "<notations><slur type=\"start\"/></notations>") +
                           N("E5", "quarter", "<notations><slur type=\"stop\"/></notations>"))),
            "C", 3, 4, "p0 5 H L F1 - F1 F1 L L F2 F3 L", ""},
        TypingCase{"what cannot be typed is named with its bars",
                   Score(M(1, Attributes(0) + N("C4", "quarter") +
                                  "<note><chord/><pitch><step>E</step><octave>4</octave></pitch>"
                                  "<duration>2</duration><type>quarter</type></note>" +
                                  N("D4", "eighth",
                                    "<time-modification><actual-notes>3"
                                    "</actual-notes><normal-notes>2"
                                    "</normal-notes></time-modification>") +
                                  N("D4", "eighth", "<grace/>") + N("G4", "half")) +
                         M(2, N("A4", "whole", "<voice>1</voice>") +
                                  "<backup><duration>8"
                                  "</duration></backup>" +
                                  N("C4", "whole", "<voice>2</voice>"))),
                   "C", 4, 4, "p0 3 2 5 - 6 - - -",
                   "和弦（第1小节）；第二声部（第2小节）；装饰音（第1小节）；连音（第1小节）"},
        // A left-out tuplet once took its time with it, and every bar line after it moved: its
        // first note now holds the group's time. A slur inside the group has nothing to span.
        TypingCase{
            "a tuplet keeps its time",
            Score(M(1,
                    "<attributes><divisions>6</divisions><time><beats>4</beats>"
                    "<beat-type>4</beat-type></time></attributes>" +
                        N("C4", "eighth",
                          "<time-modification><actual-notes>3</actual-notes>"
                          "<normal-notes>2</normal-notes></time-modification>"
                          "<notations><slur type=\"start\"/></notations>") +
                        N("D4", "eighth", "<time-modification/>") +
                        N("E4", "eighth",
                          "<time-modification/><notations><slur type=\"stop\"/>"
                          "</notations>") +
                        N("F4", "quarter", {}, 6) + N("G4", "quarter", "<time-modification/>", 4) +
                        N("A4", "quarter", "<time-modification/>", 4) +
                        N("B4", "quarter", "<time-modification/>", 4))),
            "C", 4, 4, "p0 1 4 5 -", "连音（第1小节）"},
        // The head has no 12/8: 6/4 has bars as long, so the bar lines fall where the file's do.
        TypingCase{"compound time typed in a time of equal bars",
                   Score(M(1, Attributes(0, 12, 8) + N("C4", "quarter", "<dot/>", 3) +
                                  N("D4", "eighth", {}, 1))),
                   "C", 6, 4, "p0 1 . p1 2", "拍号12/8（按6/4输入）（第1小节）"},
        TypingCase{"a time the head cannot show",
                   Score(M(1, Attributes(0, 7, 4) + N("C4", "quarter"))), "C", 4, 4, "p0 1",
                   "无法设定的拍号（第1小节）"}),
    [](const auto& info) {
      std::string name = info.param.what;
      for (char& c : name)
        if (!isalnum(static_cast<unsigned char>(c))) c = '_';
      return name;
    });

// Every key signature, in major and in minor: the head's key is the major key of the signature
// (one of the same sound where the head has no such key), the major tonic is typed 1 and the
// note below it 7, the minor tonic 6.
struct Signature {
  int fifths;
  const char* key;
  const char* majorTonic;
  const char* leadingNote;
  const char* minorTonic;
};

class EveryKey : public testing::TestWithParam<Signature> {};

TEST_P(EveryKey, TypesTheTonicsOfBothModes) {
  const Signature& k = GetParam();
  ImportedScore major =
      Imported(Score(M(1, Attributes(k.fifths, 4, 4, "major") + N(k.majorTonic, "quarter") +
                              N(k.leadingNote, "quarter"))));
  const ImportTyping majorTyping = ImportTyping::Of(major);
  EXPECT_EQ(majorTyping.key, QLatin1String(k.key));
  EXPECT_EQ(Keys(majorTyping.keys), "p0 1 U");
  ImportedScore minor =
      Imported(Score(M(1, Attributes(k.fifths, 4, 4, "minor") + N(k.minorTonic, "quarter"))));
  const ImportTyping minorTyping = ImportTyping::Of(minor);
  EXPECT_EQ(minorTyping.key, QLatin1String(k.key));
  EXPECT_EQ(Keys(minorTyping.keys), "p0 6");
  EXPECT_EQ(major.LeftOutText() + minor.LeftOutText(), QString());
}

INSTANTIATE_TEST_SUITE_P(
    Signatures, EveryKey,
    testing::Values(Signature{-7, "B", "Cb5", "Bb4", "Ab5"},
                    Signature{-6, "bG", "Gb4", "F4", "Eb5"},
                    Signature{-5, "bD", "Db4", "C4", "Bb4"}, Signature{-4, "bA", "Ab4", "G4", "F5"},
                    Signature{-3, "bE", "Eb4", "D4", "C5"}, Signature{-2, "bB", "Bb4", "A4", "G5"},
                    Signature{-1, "F", "F4", "E4", "D5"}, Signature{0, "C", "C4", "B3", "A4"},
                    Signature{1, "G", "G4", "F#4", "E5"}, Signature{2, "D", "D4", "C#4", "B4"},
                    Signature{3, "A", "A4", "G#4", "F#5"}, Signature{4, "E", "E4", "D#4", "C#5"},
                    Signature{5, "B", "B4", "A#4", "G#5"}, Signature{6, "bG", "F#4", "E#4", "D#5"},
                    Signature{7, "bD", "C#4", "B#3", "A#4"}),
    [](const auto& info) {
      const int fifths = info.param.fifths;
      return (fifths < 0 ? "flats" : "sharps") + std::to_string(fifths < 0 ? -fifths : fifths);
    });

TEST(Reader, TakesTheHead) {
  const ImportedScore score = Imported(
      Score(M(1, Attributes(-2) +
                     "<direction><direction-type><metronome><beat-unit>quarter</beat-unit>"
                     "<per-minute>96</per-minute></metronome></direction-type></direction>" +
                     N("C4", "quarter")),
            QStringLiteral("<work><work-title>茉莉花 &amp; 叶</work-title></work><identification>"
                           "<creator type=\"composer\">民歌</creator></identification>")));
  EXPECT_EQ(score.title, QStringLiteral("茉莉花 & 叶"));
  EXPECT_EQ(score.composer, QStringLiteral("民歌"));
  EXPECT_EQ(score.fifths, -2);
  EXPECT_EQ(score.tempo, 96);
  ASSERT_EQ(score.notes.size(), 1u) << "only the first part";
}

// Lyrics go to the verse their number names; one without a number takes the next row, parts
// joined by an elision are one syllable, and verses past the fourth are not kept.
TEST(Reader, TakesTheWordsByVerse) {
  auto lyric = [](const char* attributes, const char* inner) {
    return QStringLiteral("<lyric%1>%2</lyric>")
        .arg(QLatin1String(attributes), QString::fromUtf8(inner));
  };
  const ImportedScore score = Imported(
      Score(M(1, Attributes(0) +
                     N("C4", "quarter",
                       lyric(" number=\"2\"", "<syllabic>begin</syllabic><text>Hal</text>") +
                           lyric(" number=\"1\"", "<syllabic>single</syllabic><text>茉</text>") +
                           lyric(" number=\"5\"", "<text>five</text>")) +
                     N("r", "quarter", lyric("", "<text>lost</text>")) +
                     N("D4", "quarter",
                       lyric("", "<text>a</text><elision/><text>mi</text>") +
                           lyric("", "<syllabic>end</syllabic><text>lu</text><extend/>")))));
  ASSERT_EQ(score.notes.size(), 3u);
  using Words = std::array<QString, lyrics::kVerseRows>;
  EXPECT_EQ(score.notes[0].words, (Words{"茉", "Hal-", "", ""}));
  EXPECT_EQ(score.notes[2].words, (Words{"a mi", "lu", "", ""}));
}

// Writes a zip of `entries` (name, content) at `path`.
void WriteZip(const QString& path, const std::vector<std::pair<const char*, QByteArray>>& entries) {
  int error = 0;
  zip_t* zip = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  ASSERT_NE(zip, nullptr);
  for (const auto& [name, bytes] : entries) {
    zip_source_t* source = zip_source_buffer(zip, bytes.constData(), zip_uint64_t(bytes.size()), 0);
    ASSERT_GE(zip_file_add(zip, name, source, ZIP_FL_OVERWRITE), 0);
  }
  ASSERT_EQ(zip_close(zip), 0);
}

TEST(Reader, OpensACompressedScoreThroughItsContainer) {
  QTemporaryDir dir;
  const QByteArray score = Score(M(1, Attributes(1) + N("G4", "quarter")));
  const QByteArray container =
      "<?xml version=\"1.0\"?><container><rootfiles><rootfile full-path=\"music/song.xml\" "
      "media-type=\"application/vnd.recordare.musicxml+xml\"/></rootfiles></container>";
  // A decoy beside the score: only the container says which file is the score.
  WriteZip(dir.filePath("a.mxl"), {{"mimetype", "application/vnd.recordare.musicxml"},
                                   {"META-INF/container.xml", container},
                                   {"aaa.xml", "<other/>"},
                                   {"music/song.xml", score}});
  auto read = MusicXmlReader::ReadFile(dir.filePath("a.mxl"));
  ASSERT_TRUE(std::holds_alternative<ImportedScore>(read)) << std::get<QString>(read).toStdString();
  EXPECT_EQ(std::get<ImportedScore>(read).fifths, 1);
}

// Ten entities, each ten of the one before: 10^10 characters if they were all expanded.
QByteArray BillionLaughs() {
  QByteArray entities = "<!ENTITY a0 \"xxxxxxxxxx\">";
  for (int i = 1; i < 10; ++i)
    entities += "<!ENTITY a" + QByteArray::number(i) + " \"" +
                ("&a" + QByteArray::number(i - 1) + ";").repeated(10) + "\">";
  return "<?xml version=\"1.0\"?><!DOCTYPE score-partwise [" + entities +
         "]><score-partwise><work><work-title>&a9;</work-title></work></score-partwise>";
}

struct Damaged {
  const char* what;
  QByteArray bytes;
  const char* message;  // the start of the message
  bool zipped = false;
};

class DamagedInput : public testing::TestWithParam<Damaged> {};

TEST_P(DamagedInput, IsRefusedWithAClearMessage) {
  QTemporaryDir dir;
  const QString path = dir.filePath("in.musicxml");
  if (GetParam().zipped) {
    WriteZip(path, {{"META-INF/container.xml", "<container/>"}, {"readme.txt", "x"}});
  } else {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(GetParam().bytes);
  }
  auto read = MusicXmlReader::ReadFile(path);
  ASSERT_TRUE(std::holds_alternative<QString>(read));
  EXPECT_TRUE(std::get<QString>(read).startsWith(QString::fromUtf8(GetParam().message)))
      << std::get<QString>(read).toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Table, DamagedInput,
    testing::Values(
        Damaged{"empty", "", "文件是空的"},
        Damaged{"not xml", "just text, no markup", "不是完好的XML文件"},
        Damaged{"other xml", "<html><body/></html>", "不是MusicXML乐谱"},
        Damaged{"cut off", Score(M(1, N("C4", "quarter"))).left(200), "不是完好的XML文件"},
        Damaged{"timewise", "<score-timewise version=\"4.0\"/>", "只能导入"},
        Damaged{"no notes", Score(M(1, Attributes(0))), "乐谱的第一声部中没有音符"},
        Damaged{"deeply nested",
                "<score-partwise>" + QByteArray("<a>").repeated(200) +
                    QByteArray("</a>").repeated(200) + "</score-partwise>",
                "文件的层次太深"},
        Damaged{"huge", QByteArray(MusicXmlReader::kMostBytes + 1, ' '), "文件太大"},
        Damaged{"entities that expand a billionfold", BillionLaughs(), "不是完好的XML文件"},
        Damaged{"zip without a score", {}, "压缩文件中没有乐谱", true},
        Damaged{"broken zip", QByteArray("PK\x03\x04garbage", 11), "不是完好的压缩文件"}),
    [](const auto& info) {
      std::string name = info.param.what;
      for (char& c : name)
        if (!isalnum(static_cast<unsigned char>(c))) c = '_';
      return name;
    });

// Opening a pipe for reading waits for a writer: a pipe named like a score is refused unopened.
TEST(Reader, RefusesAPipeOrAFolderWithoutWaiting) {
  QTemporaryDir dir;
  const QString pipe = dir.filePath("pipe.musicxml");
  ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
  ASSERT_TRUE(QDir(dir.path()).mkdir("folder.xml"));
  for (const QString& path : {pipe, dir.filePath("folder.xml")}) {
    auto read = MusicXmlReader::ReadFile(path);
    ASSERT_TRUE(std::holds_alternative<QString>(read));
    EXPECT_EQ(std::get<QString>(read), QStringLiteral("不是普通文件"));
  }
}

}  // namespace
}  // namespace tarvesh::musicxml
