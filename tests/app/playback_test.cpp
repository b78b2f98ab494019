// Playback and MIDI export in the window, as a script drives them: no sound, a play event for
// every note.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>

#include "app/playbackcommands.h"
#include "app/windowharness.h"

namespace tarvesh::testing {
namespace {

// Key D, then 1 3 5 as quarters at the starting tempo of 72.
const QString kTune = QStringLiteral("select Combo1(2) 2\nkey 49\nkey 51\nkey 53\n");

std::string PlayEvents(WindowHarness& w) {
  QJsonArray played;
  for (const QJsonValue& event : w.Dump()["events"].toArray())
    if (event.toObject().contains(QStringLiteral("play"))) played.append(event);
  return QJsonDocument(played).toJson(QJsonDocument::Compact).toStdString();
}

TEST(Playback, PlaysTheTuneWhenTheCursorIsPastIt) {
  WindowHarness w;
  ASSERT_EQ(w.Run(kTune + QStringLiteral("play\n")), 0) << w.LastError().toStdString();
  EXPECT_EQ(PlayEvents(w), R"([{"at":0,"length":833,"play":62},{"at":833,"length":833,"play":66},)"
                           R"({"at":1667,"length":833,"play":69}])");
  EXPECT_TRUE(w.Form().Playback().Playing());
  EXPECT_EQ(w.Control(QStringLiteral("Command20"))["text"].toString(), QStringLiteral("播放"));
}

QString Keys(std::initializer_list<int> keys) {
  QString script;
  for (int key : keys) script += QStringLiteral("key %1\n").arg(key);
  return script;
}

const QString kTempoSlider = QStringLiteral("mousedown Label2(4) 1 0 5 5\nset HScroll1 %1\n");
// The entry of the tempo word list, from "慢板" (0).
const QString kTempoWord =
    QStringLiteral("mousedown Label2(4) 2 0 5 5\nselect List2 %1\ndblclick List2\n");

struct TypedCase {
  const char* name;
  QString script;
  const char* played;
};

void PrintTo(const TypedCase& c, std::ostream* os) {
  *os << c.name;
}

class TypedScores : public ::testing::TestWithParam<TypedCase> {};

// From the keys a person types to the notes heard: the page read back, the head and playback.
TEST_P(TypedScores, SoundAsWritten) {
  WindowHarness w;
  ASSERT_EQ(w.Run(GetParam().script + QStringLiteral("play\n")), 0) << w.LastError().toStdString();
  EXPECT_EQ(PlayEvents(w), GetParam().played);
}

INSTANTIATE_TEST_SUITE_P(
    Playback, TypedScores,
    ::testing::Values(
        // 1 below, 2 above, #3 in D (G4), at 120 beats a minute.
        TypedCase{"OctavesAndASharpInD",
                  QStringLiteral("select Combo1(2) 2\n") + kTempoSlider.arg(120) +
                      Keys({81, 113, 77, 51}),
                  R"([{"at":0,"length":500,"play":50},{"at":500,"length":500,"play":76},)"
                  R"({"at":1000,"length":500,"play":67}])"},
        // A dotted eighth and an eighth in bB at 慢板 (60).
        TypedCase{
            "DottedEighthInBFlatAtLargo",
            QStringLiteral("select Combo1(2) 10\n") + kTempoWord.arg(0) + Keys({97, 53, 190, 54}),
            R"([{"at":0,"length":750,"play":77},{"at":750,"length":500,"play":79}])"},
        // 1 - 0 2 in F at 快板 (120): the dash holds, the rest is silence.
        TypedCase{
            "DashAndRestInFAtAllegro",
            QStringLiteral("select Combo1(2) 5\n") + kTempoWord.arg(7) + Keys({49, 189, 79, 50}),
            R"([{"at":0,"length":1000,"play":65},{"at":1500,"length":500,"play":67}])"},
        // An arc over two 1s is one sound.
        TypedCase{"ATie", Keys({76, 49, 49, 76, 50}),
                  R"([{"at":0,"length":1667,"play":60},{"at":1667,"length":833,"play":62}])"},
        TypedCase{"ASyllableOnTheKit", Keys({90, 49}),
                  R"([{"at":0,"channel":10,"length":833,"play":36},)"
                  R"({"at":833,"length":833,"play":60}])"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Playback, StartsFromTheItemAtTheCursor) {
  WindowHarness w;
  ASSERT_EQ(w.Run(kTune), 0);
  const int second = w.Dump()["reading"][0]["items"][1]["left"].toInt();
  ASSERT_EQ(w.Run(QStringLiteral("mousedown Picture1 1 0 %1 100\nmouseup Picture1 1 0 %1 100\n"
                                 "play\n")
                      .arg(second + 3)),
            0);
  EXPECT_EQ(PlayEvents(w),
            R"([{"at":0,"length":833,"play":66},{"at":833,"length":833,"play":69}])");
}

struct StopCase {
  const char* name;
  QString steps;
  bool stops;
  int durationRow;  // CurrentDurationRow after the steps
};

void PrintTo(const StopCase& c, std::ostream* os) {
  *os << c.name;
}

class Stopping : public ::testing::TestWithParam<StopCase> {};

TEST_P(Stopping, EndsPlaybackAndNothingElse) {
  WindowHarness w;
  ASSERT_EQ(w.Run(kTune + QStringLiteral("play\n") + GetParam().steps), 0)
      << w.LastError().toStdString();
  EXPECT_EQ(w.Form().Playback().Playing(), !GetParam().stops);
  EXPECT_EQ(w.State()["CurrentDurationRow"].toInt(), GetParam().durationRow);
}

INSTANTIATE_TEST_SUITE_P(
    Playback, Stopping,
    ::testing::Values(StopCase{"StopStep", "stop\n", true, 0},
                      StopCase{"TheButtonAgain", "click Command20\n", true, 0},
                      // Esc while playing only stops; the next Esc steps the duration.
                      StopCase{"Esc", "key 27\n", true, 0},
                      StopCase{"EscTwice", "key 27\nkey 27\n", true, 1},
                      StopCase{"ANote", "key 50\n", true, 0},
                      // Edits beside the page's pixels stop it as well.
                      StopCase{"TheKey", "select Combo1(2) 3\n", true, 0},
                      StopCase{"Undo", "undo\n", true, 0},
                      // Moving the cursor or choosing an instrument is no edit.
                      StopCase{"AnArrowKeyDoesNot", "key 37\n", false, 0},
                      StopCase{"TheInstrumentDoesNot", "select Combo5 2\n", false, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// Playing marks nothing as changed and is no step of its own; the instrument is no step either,
// so choosing one keeps what could be done again.
TEST(Playback, LeavesTheJournalAlone) {
  QTemporaryDir dir;
  WindowHarness w;
  ASSERT_EQ(w.Run(kTune + QStringLiteral("file \"%1\"\nclick Command1(1)\nplay\nstop\n")
                              .arg(dir.filePath(QStringLiteral("tune.bmp")))),
            0)
      << w.LastError().toStdString();
  EXPECT_FALSE(w.State()["Modified"].toBool());
  const auto notesRead = [&] { return w.Dump()["reading"][0]["items"].toArray().size(); };
  ASSERT_EQ(notesRead(), 3);
  ASSERT_EQ(w.Run(QStringLiteral("undo\nselect Combo5 1\nplay\n")), 0);
  EXPECT_EQ(notesRead(), 2);
  ASSERT_EQ(w.Run(QStringLiteral("stop\nredo\n")), 0);
  EXPECT_EQ(notesRead(), 3);
  EXPECT_EQ(w.Control(QStringLiteral("Combo5"))["index"].toInt(), 1);
}

TEST(Playback, ThePercussionKitPlaysOnChannelTen) {
  WindowHarness w;
  ASSERT_EQ(w.Run(QStringLiteral("select Combo5 4\nkey 49\nplay\n")), 0);
  EXPECT_EQ(PlayEvents(w), R"([{"at":0,"channel":10,"length":833,"play":60}])");
}

// The window's 导出MIDI and `tarvesh --export --format midi` write the same file of a score.
TEST(Playback, ExportsTheSameMidiFileFromTheWindowAndTheCommandLine) {
  QTemporaryDir dir;
  ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("scores")));
  const QString score = dir.filePath(QStringLiteral("scores/tune.bmp"));
  const QString midi = dir.filePath(QStringLiteral("tune.mid"));
  WindowHarness w;
  ASSERT_EQ(w.Run(kTune + QStringLiteral("file \"%1\"\nclick Command21\nfile \"%2\"\n"
                                         "click Command1(1)\n")
                              .arg(midi, score)),
            0)
      << w.LastError().toStdString();
  QFile fromWindow(midi);
  ASSERT_TRUE(fromWindow.open(QIODevice::ReadOnly));
  const QByteArray bytes = fromWindow.readAll();
  EXPECT_TRUE(bytes.startsWith("MThd"));

  QProcess tarvesh;
  tarvesh.start(QStringLiteral(TARVESH_EXECUTABLE),
                {QStringLiteral("--export"), dir.filePath(QStringLiteral("scores")),
                 QStringLiteral("--format"), QStringLiteral("midi"), QStringLiteral("--out"),
                 dir.filePath(QStringLiteral("out")), QStringLiteral("--data-dir"),
                 QStringLiteral(TARVESH_DATA_DIR)});
  ASSERT_TRUE(tarvesh.waitForFinished(60000));
  EXPECT_EQ(tarvesh.exitCode(), 0) << tarvesh.readAllStandardError().toStdString();
  QFile fromCommandLine(dir.filePath(QStringLiteral("out/tune.mid")));
  ASSERT_TRUE(fromCommandLine.open(QIODevice::ReadOnly));
  EXPECT_EQ(fromCommandLine.readAll(), bytes);
}

}  // namespace
}  // namespace tarvesh::testing
