// MIDI files written here, read back by an independent reader (mido).
#include <gtest/gtest.h>

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>

#include "document/safefile.h"
#include "playback/midifile.h"
#include "playback/readings.h"

namespace tarvesh::playback {
namespace {

using namespace testing_readings;

// What mido reads in `bytes`, one fact a line; notes sorted by start then pitch.
QStringList ReadBack(const QByteArray& bytes) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("score.mid"));
  EXPECT_FALSE(document::WriteFileSafely(path, bytes).has_value());
  QProcess python;
  python.start(QStringLiteral(TARVESH_PYTHON), {QStringLiteral(TARVESH_READ_MIDI), path});
  EXPECT_TRUE(python.waitForFinished(60000));
  EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
  return QString::fromUtf8(python.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

struct MidiCase {
  const char* name;
  const char* key;
  const char* numerator;
  const char* denominator;
  const char* tempo;
  int program;
  std::vector<reading::ReadLine> lines;
  QStringList head;  // every line but the notes
};

class MidiFiles : public ::testing::TestWithParam<MidiCase> {};

TEST_P(MidiFiles, AgreeWithTheTimedNotes) {
  const MidiCase& c = GetParam();
  const Performance performance(c.lines,
                                ScoreHead::FromTexts(c.key, c.numerator, c.denominator, c.tempo));
  QStringList notes;
  for (const TimedNote& note : performance.Notes())
    notes << QStringLiteral("note %1 channel %2 start %3 length %4 velocity %5 track 1")
                 .arg(note.pitch)
                 .arg(ChannelOf(note, c.program) + 1)
                 .arg(note.start)
                 .arg(note.length)
                 .arg(note.velocity);
  QStringList read = ReadBack(MidiFile::Write(performance, c.program));
  QStringList readNotes;
  for (const QString& line : read)
    if (line.startsWith(QLatin1String("note "))) readNotes << line;
  read.removeIf([](const QString& line) { return line.startsWith(QLatin1String("note ")); });
  EXPECT_EQ(read.join('\n').toStdString(), c.head.join('\n').toStdString());
  // mido gives the notes in the order they end; compare as sets.
  std::sort(notes.begin(), notes.end());
  std::sort(readNotes.begin(), readNotes.end());
  EXPECT_EQ(readNotes.join('\n').toStdString(), notes.join('\n').toStdString());
}

INSTANTIATE_TEST_SUITE_P(
    Playback, MidiFiles,
    ::testing::Values(
        MidiCase{"DottedTuneInD",
                 "D",
                 "4",
                 "4",
                 "每分钟96拍",
                 0,
                 {Line({N(3), N(3), N(4), N(5), Bar()}),
                  Line({N(3), Dot(), N(2, 0, 8), N(2), Dash(), Bar(BarKind::kFinal)})},
                 {"type 1 tracks 2 ticks 480", "tempo 96 track 0", "time 4 4 track 0",
                  "key D track 0", "program 0 channel 1"}},
        // The same pitch struck again the moment it ends sounds twice.
        MidiCase{"RepeatedPitchesFlatKeySixEight",
                 "bB",
                 "6",
                 "8",
                 "每分钟120拍",
                 73,
                 {Line({N(1, 0, 8), N(1, 0, 8), N(1, 0, 8), R(8), N(5, -1, 8), N(5, -1, 8)})},
                 {"type 1 tracks 2 ticks 480", "tempo 60 track 0", "time 6 8 track 0",
                  "key Bb track 0", "program 73 channel 1"}},
        MidiCase{"PercussionOnChannelTen",
                 "C",
                 "2",
                 "4",
                 "慢板",
                 40,
                 {Line({P(0), P(1, 8), P(3, 8), Bar(), N(1)})},
                 {"type 1 tracks 2 ticks 480", "tempo 60 track 0", "time 2 4 track 0",
                  "key C track 0", "program 40 channel 1"}},
        // The melody on the kit, as playback sounds it: no program, everything on channel 10.
        MidiCase{"TheKitPlaysTheMelodyOnChannelTen",
                 "F",
                 "3",
                 "4",
                 "中板",
                 kPercussionKit,
                 {Line({N(1), P(0), N(3, 1, 8), N(2, 1, 8)})},
                 {"type 1 tracks 2 ticks 480", "tempo 90 track 0", "time 3 4 track 0",
                  "key F track 0"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarvesh::playback
