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
  int durationRow;  // CurrentDurationRow after the steps
};

class Stopping : public ::testing::TestWithParam<StopCase> {};

TEST_P(Stopping, EndsPlaybackAndNothingElse) {
  WindowHarness w;
  ASSERT_EQ(w.Run(kTune + QStringLiteral("play\n") + GetParam().steps), 0)
      << w.LastError().toStdString();
  EXPECT_FALSE(w.Form().Playback().Playing());
  EXPECT_EQ(w.State()["CurrentDurationRow"].toInt(), GetParam().durationRow);
}

INSTANTIATE_TEST_SUITE_P(
    Playback, Stopping,
    ::testing::Values(StopCase{"StopStep", "stop\n", 0},
                      StopCase{"TheButtonAgain", "click Command20\n", 0},
                      // Esc while playing only stops; the next Esc steps the duration.
                      StopCase{"Esc", "key 27\n", 0}, StopCase{"EscTwice", "key 27\nkey 27\n", 1},
                      StopCase{"AnEdit", "key 50\n", 0}),
    [](const auto& info) { return std::string(info.param.name); });

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
