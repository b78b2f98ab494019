// The score as timed notes: pitches, lengths, repeats and tempo read from small readings.
#include <gtest/gtest.h>

#include <vector>

#include "playback/performance.h"
#include "playback/readings.h"

namespace tarvesh::playback {
namespace {

using namespace testing_readings;

// A note as the tests write it: pitch, start and length in quarter-note ticks.
struct Heard {
  int pitch;
  int start;
  int length;
  bool operator==(const Heard&) const = default;
};

void PrintTo(const Heard& h, std::ostream* os) {
  *os << "{" << h.pitch << ", " << h.start << ", " << h.length << "}";
}

constexpr int Q = kTicksPerQuarter;

struct PerformanceCase {
  const char* name;
  const char* key;
  std::vector<reading::ReadLine> lines;
  std::vector<Heard> heard;
};

class Performances : public ::testing::TestWithParam<PerformanceCase> {};

TEST_P(Performances, SoundTheNotesRead) {
  const PerformanceCase& c = GetParam();
  const Performance performance(c.lines, ScoreHead::FromTexts(c.key, "4", "4", "每分钟60拍"));
  std::vector<Heard> heard;
  for (const TimedNote& note : performance.Notes())
    heard.push_back({note.pitch, note.start, note.length});
  EXPECT_EQ(heard, c.heard);
}

INSTANTIATE_TEST_SUITE_P(
    Playback, Performances,
    ::testing::Values(
        PerformanceCase{"KeyOfC",
                        "C",
                        {Line({N(1), N(3), N(5), N(7)})},
                        {{60, 0, Q}, {64, Q, Q}, {67, 2 * Q, Q}, {71, 3 * Q, Q}}},
        PerformanceCase{"KeyOfDStartsOnD4",
                        "D",
                        {Line({N(1), N(4), N(7)})},
                        {{62, 0, Q}, {67, Q, Q}, {73, 2 * Q, Q}}},
        PerformanceCase{"KeyOfF", "F", {Line({N(1), N(5)})}, {{65, 0, Q}, {72, Q, Q}}},
        PerformanceCase{"KeyOfBFlat", "bB", {Line({N(1), N(3)})}, {{70, 0, Q}, {74, Q, Q}}},
        PerformanceCase{"OctaveDotsAboveAndBelow",
                        "C",
                        {Line({N(5, -1), N(1, 1), N(6, -2), N(2, 2)})},
                        {{55, 0, Q}, {72, Q, Q}, {45, 2 * Q, Q}, {86, 3 * Q, Q}}},
        PerformanceCase{"DottedQuarterAndEighth",
                        "C",
                        {Line({N(1), Dot(), N(2, 0, 8)})},
                        {{60, 0, 3 * Q / 2}, {62, 3 * Q / 2, Q / 2}}},
        PerformanceCase{
            "DottedEighthAndSixteenth",
            "C",
            {Line({N(1, 0, 8), Dot(), N(2, 0, 16), N(3, 0, 32), N(4, 0, 32)})},
            {{60, 0, 3 * Q / 4}, {62, 3 * Q / 4, Q / 4}, {64, Q, Q / 8}, {65, Q + Q / 8, Q / 8}}},
        PerformanceCase{"DoubleDot",
                        "C",
                        {Line({N(1), Dot(), Dot(), N(2, 0, 16)})},
                        {{60, 0, 7 * Q / 4}, {62, 7 * Q / 4, Q / 4}}},
        PerformanceCase{"SharpHeldInTheBarThenGone",
                        "C",
                        {Line({N(4, 0, 4, kSharp), N(4), N(4, 1), Bar(), N(4)})},
                        {{66, 0, Q}, {66, Q, Q}, {77, 2 * Q, Q}, {65, 3 * Q, Q}}},
        PerformanceCase{"NaturalCancelsAFlat",
                        "D",
                        {Line({N(7, 0, 4, kFlat), N(7), N(7, 0, 4, kNatural), N(7)})},
                        {{72, 0, Q}, {72, Q, Q}, {73, 2 * Q, Q}, {73, 3 * Q, Q}}},
        PerformanceCase{"DashesHoldTheNote",
                        "C",
                        {Line({N(1), Dash(), Dash(), Dash(), N(2)})},
                        {{60, 0, 4 * Q}, {62, 4 * Q, Q}}},
        PerformanceCase{"RestsAndTheirDashesAreSilence",
                        "C",
                        {Line({R(4), Dash(), N(1, 0, 8), R(8), N(2)})},
                        {{60, 2 * Q, Q / 2}, {62, 3 * Q, Q}}},
        PerformanceCase{"RepeatPlaysTheSectionTwice",
                        "C",
                        {Line({N(1), Bar(kRepeatStart), N(2), N(3), Bar(kRepeatEnd), N(4)})},
                        {{60, 0, Q},
                         {62, Q, Q},
                         {64, 2 * Q, Q},
                         {62, 3 * Q, Q},
                         {64, 4 * Q, Q},
                         {65, 5 * Q, Q}}},
        PerformanceCase{"RepeatWithoutStartGoesBackToTheBeginning",
                        "C",
                        {Line({N(1), Bar()}), Line({N(2), Bar(kRepeatEnd)}), Line({N(3)})},
                        {{60, 0, Q}, {62, Q, Q}, {60, 2 * Q, Q}, {62, 3 * Q, Q}, {64, 4 * Q, Q}}},
        PerformanceCase{
            "ATieAcrossTheBarIsOneSound",
            "C",
            {Line({N(2), Slur(N(5), true, false), Dash(), Bar(), Slur(N(5), false, true), N(3)})},
            {{62, 0, Q}, {67, Q, 3 * Q}, {64, 4 * Q, Q}}},
        // The tie holds the sharp over the bar line; the next 4 of the bar is natural.
        PerformanceCase{"ATieCarriesItsAccidentalOverTheBar",
                        "C",
                        {Line({N(3), Slur(N(4, 0, 4, kSharp), true, false), Bar(),
                               Slur(N(4), false, true), N(4)})},
                        {{64, 0, Q}, {66, Q, 2 * Q}, {65, 3 * Q, Q}}},
        // An arc over different pitches, or over a pitch with another between, is a slur.
        PerformanceCase{"ASlurStrikesEachNote",
                        "C",
                        {Line({Slur(N(1), true, false), N(2), Slur(N(1), false, true),
                               Slur(N(3), true, false), Slur(N(4), false, true)})},
                        {{60, 0, Q}, {62, Q, Q}, {60, 2 * Q, Q}, {64, 3 * Q, Q}, {65, 4 * Q, Q}}},
        PerformanceCase{"PercussionHits",
                        "C",
                        {Line({P(0), P(2, 8), P(4, 8)})},
                        {{36, 0, Q}, {49, Q, Q / 2}, {76, 3 * Q / 2, Q / 2}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Performance, AccentsFollowTheTimeSignature) {
  const Performance performance({Line({N(1), N(2, 0, 8), N(3, 0, 8), N(4), Bar(), N(5)})},
                                ScoreHead::FromTexts("C", "3", "4", "中板"));
  std::vector<int> velocities;
  for (const TimedNote& note : performance.Notes()) velocities.push_back(note.velocity);
  EXPECT_EQ(velocities, (std::vector<int>{100, 84, 72, 84, 100}));
}

TEST(Performance, PlaysFromTheItemAtTheCursorOn) {
  const Performance performance({Line({N(1), N(2), Bar()}), Line({N(3), Dash(), N(4)})},
                                ScoreHead{});
  const std::vector<TimedNote> notes = performance.From(1, 1);  // the dash: the next note on
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(notes[0].pitch, 65);
  EXPECT_EQ(notes[0].start, 0);
  // Past the last item the whole score plays.
  EXPECT_EQ(performance.From(2, 0).size(), 4u);
}

struct TempoCase {
  const char* label;
  int beatUnit;
  double quartersPerMinute;
};

class Tempos : public ::testing::TestWithParam<TempoCase> {};

TEST_P(Tempos, AreTheBeatsOfTheLabelOrTheUsualFigure) {
  EXPECT_EQ(ScoreHead::QuartersPerMinute(QString::fromUtf8(GetParam().label), GetParam().beatUnit),
            GetParam().quartersPerMinute);
}

INSTANTIATE_TEST_SUITE_P(
    Playback, Tempos,
    ::testing::Values(TempoCase{"每分钟72拍", 4, 72}, TempoCase{"每分钟120拍", 4, 120},
                      // In 6/8 a beat is an eighth.
                      TempoCase{"每分钟120拍", 8, 60}, TempoCase{"慢板", 4, 60},
                      TempoCase{"中板", 4, 90}, TempoCase{"快板", 4, 120},
                      // A word is a pace in quarters, whatever the time signature.
                      TempoCase{"快板", 8, 120}, TempoCase{"小快板", 4, 108},
                      TempoCase{"中速,稍慢", 4, 90}, TempoCase{"稍慢", 4, 80},
                      TempoCase{"每分钟0拍", 4, 90}, TempoCase{"", 4, 90}));

TEST(ScoreHead, ReadsTheKeyAndTimeSignature) {
  const ScoreHead head = ScoreHead::FromTexts("bE", "6", "8", "快板");
  EXPECT_EQ(head.tonic, 63);
  EXPECT_EQ(head.fifths, -3);
  EXPECT_EQ(head.beatsPerBar, 6);
  EXPECT_EQ(head.beatUnit, 8);
  EXPECT_EQ(head.quartersPerMinute, 120);
  // What cannot be read keeps C and 4/4.
  const ScoreHead odd = ScoreHead::FromTexts("H", "x", "7", "");
  EXPECT_EQ(odd.tonic, 60);
  EXPECT_EQ(odd.beatsPerBar, 4);
  EXPECT_EQ(odd.beatUnit, 4);
}

}  // namespace
}  // namespace tarvesh::playback
