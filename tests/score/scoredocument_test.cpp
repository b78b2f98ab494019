#include "score/scoredocument.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <limits>

namespace tarvesh::testing {
namespace {

using score::ScoreDocument;

// Every layout value takes exactly its slider's range: one step outside is refused and leaves the
// value and its views alone.
TEST(ScoreDocument, LayoutValuesKeepToTheirRanges) {
  for (int v = 0; v < ScoreDocument::kValueCount; ++v) {
    const auto value = ScoreDocument::Value(v);
    const ScoreDocument::ValueRange& range = ScoreDocument::kValueRanges[v];
    ScoreDocument document;
    QSignalSpy changed(&document, &ScoreDocument::ValueChanged);
    EXPECT_EQ(document.Get(value), range.start) << v;
    EXPECT_FALSE(document.Set(value, range.min - 1)) << v;
    EXPECT_FALSE(document.Set(value, range.max + 1)) << v;
    EXPECT_EQ(changed.count(), 0) << v;
    EXPECT_TRUE(document.Set(value, range.start)) << v;
    EXPECT_EQ(changed.count(), 0) << "an unchanged value is not announced: " << v;
    for (const int to : {range.min, range.max}) {
      EXPECT_TRUE(document.Set(value, to)) << v;
      EXPECT_EQ(document.Get(value), to) << v;
    }
    ASSERT_EQ(changed.count(), 2) << v;
    EXPECT_EQ(changed.at(0).at(0).toInt(), v);
  }
}

TEST(ScoreDocument, NoteSpacingsRefuseWhatNoPanelCanShow) {
  ScoreDocument document;
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const struct {
    int index;
    float spacing;
    bool taken;
  } cases[] = {{0, 0, true},     {3, 1, true},    {4, 0.5f, true},  {0, -0.5f, false},
               {1, 1.5f, false}, {2, nan, false}, {5, 0.5f, false}, {-1, 0.5f, false}};
  for (const auto& c : cases) {
    const auto before = document.State().NoteSpacing;
    EXPECT_EQ(document.SetNoteSpacing(c.index, c.spacing), c.taken) << c.index << " " << c.spacing;
    if (c.taken)
      EXPECT_EQ(document.NoteSpacing(c.index), c.spacing);
    else
      EXPECT_EQ(document.State().NoteSpacing, before);
  }
}

// A side file may name any entry; only the pickers' own entries (and no selection) are taken.
TEST(ScoreDocument, PickersTakeOnlyTheirEntries) {
  ScoreDocument document;
  for (int p = 0; p < ScoreDocument::kHeadPickCount; ++p) {
    const auto pick = ScoreDocument::HeadPick(p);
    const int entries = int(ScoreDocument::kHeadPickEntries[p].size());
    EXPECT_TRUE(document.SetPick(pick, entries - 1)) << p;
    EXPECT_FALSE(document.SetPick(pick, entries)) << p;
    EXPECT_FALSE(document.SetPick(pick, 255)) << p;
    EXPECT_EQ(document.Pick(pick), entries - 1) << p;
    EXPECT_TRUE(document.SetPick(pick, -1)) << p;
  }
  EXPECT_TRUE(document.SetStaffKey(ScoreDocument::kStaffKeys - 1));
  EXPECT_FALSE(document.SetStaffKey(ScoreDocument::kStaffKeys));
  EXPECT_EQ(document.StaffKey(), ScoreDocument::kStaffKeys - 1);
}

// The engine reads the document alone: values, switches, the beat gap (the fifth spacing), the
// staff key (no selection reads as the first key) and the chord colour.
TEST(ScoreDocument, EngineSettingsComeFromTheDocument) {
  ScoreDocument document;
  document.Set(ScoreDocument::kBarWidth, 200);
  document.Set(ScoreDocument::kChordDistance, 30);
  document.SetSwitch(ScoreDocument::kJustifyOnEnter, false);
  document.SetSwitch(ScoreDocument::kStaffInput, true);
  document.SetNoteSpacing(4, 1);
  document.SetStaffKey(-1);
  document.SetChordColour(QColor(0, 0, 255));
  const page::LayoutSettings s = document.Settings();
  EXPECT_EQ(s.barWidth, 200);
  EXPECT_EQ(s.barsPerLine, 8);
  EXPECT_EQ(s.chordDistance, 30);
  EXPECT_FALSE(s.justifyOnEnter);
  EXPECT_TRUE(s.autoBeatSplit);
  EXPECT_TRUE(s.staffInput);
  EXPECT_EQ(s.beatGap, 1.0);
  EXPECT_EQ(s.staffKey, 0);
  EXPECT_EQ(s.chordColour, QColor(0, 0, 255));
}

}  // namespace
}  // namespace tarvesh::testing
