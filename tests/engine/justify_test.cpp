// Justification: the share-out of the blanks and the line read from the page's pixels.
#include <vector>

#include "engine/justification.h"
#include "enginefixture.h"

namespace tarvesh::engine::testing {
namespace {

constexpr int kBodyRow = 15;

struct ShareCase {
  int units;
  int gaps;
  std::vector<int> extra;
};

class ShareOut : public ::testing::TestWithParam<ShareCase> {};

TEST_P(ShareOut, SpreadsTheRemainderFromTheFirstGapOn) {
  const ShareCase& c = GetParam();
  EXPECT_EQ(ShareOutUnits(c.units, c.gaps), c.extra);
}

INSTANTIATE_TEST_SUITE_P(
    Engine, ShareOut,
    ::testing::Values(ShareCase{13, 5, {3, 3, 2, 3, 2}},        // step 5/3
                      ShareCase{10, 7, {2, 1, 2, 1, 2, 1, 1}},  // step 7/3
                      ShareCase{7, 4, {2, 2, 2, 1}},            // step 4/3
                      ShareCase{6, 3, {2, 2, 2}},               // no remainder
                      ShareCase{2, 5, {1, 0, 1, 0, 0}},         // fewer units than gaps
                      ShareCase{0, 3, {0, 0, 0}},
                      ShareCase{-2, 2, {0, 0}},  // last bar line right of W - 17
                      ShareCase{4, 0, {}}));

class Justify : public EngineTest {
 protected:
  Justify() { state.JustifyTop = kTop; }
};

// Ink in the body row from 26 to 883 with three blank blocks on the 6-pixel grid, then a bar
// line at 891: five gaps, the last the blank stretch after the bar line. s = 80, u = 13, shares
// 3, 3, 2, 3, 2, so the bar line moves on by 11 blanks.
TEST_F(Justify, SharesTheSpareWidthOutOverTheGaps) {
  page.FillRect(QRect(26, kTop + kBodyRow, 884 - 26, 1), Qt::black);
  for (int x : {200, 398, 596}) page.FillRect(QRect(x, kTop + kBodyRow, 6, 1), Qt::white);
  StampBarLine(884);
  page.FillRect(QRect(0, kTop + kLineSpacing, Width(), 40), Qt::black);
  const QImage nextLine = CellAt(0, kTop + kLineSpacing, Width());
  state.InsertMode = 0;
  const uchar* bits = page.Image().constBits();

  engine.JustifyLine();

  // Justifying once reallocated the page twice, widening and narrowing it.
  EXPECT_EQ(page.Image().constBits(), bits);
  EXPECT_EQ(BarLines(), std::vector<int>{957});
  EXPECT_EQ(BlackRuns(kTop + kBodyRow, 0, Width()),
            (Runs{{26, 200}, {224, 416}, {440, 632}, {650, 932}, {957, 958}}));
  EXPECT_EQ(Cursor(), QPointF(218, kTop)) << "left at the first gap after its blanks";
  EXPECT_EQ(state.InsertMode, 0);
  EXPECT_EQ(Width(), 988);
  EXPECT_EQ(CellAt(0, kTop + kLineSpacing, Width()), nextLine);
}

struct LengthCase {
  const char* name;
  int barLine;
  bool stretched;
};

class LineLength : public Justify, public ::testing::WithParamInterface<LengthCase> {};

// More than 0.4 x (988 - 40) = 379.2 pixels to spare after the last bar line: too short.
TEST_P(LineLength, ShortLinesStayAsTheyAre) {
  const LengthCase& c = GetParam();
  page.FillRect(QRect(26, kTop + kBodyRow, 300, 1), Qt::black);
  StampBarLine(c.barLine - 7);
  page.SetCursor(500, kTop);
  const QImage before = page.Image();
  engine.JustifyLine();
  EXPECT_EQ(page.Image() != before, c.stretched);
  EXPECT_EQ(BarLines().back() > c.barLine, c.stretched);
  EXPECT_EQ(state.InsertMode, 1);
  if (!c.stretched) {
    EXPECT_EQ(Cursor(), QPointF(500, kTop));
  }
}

INSTANTIATE_TEST_SUITE_P(Engine, LineLength,
                         ::testing::Values(LengthCase{"FarLeft", 400, false},
                                           LengthCase{"Spare380", 591, false},
                                           LengthCase{"Spare379", 592, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Justify, LineWithInkInEveryBlockStaysAsItIs) {
  StampBarLine(884);
  page.FillRect(QRect(0, kTop + kBodyRow, Width(), 1), Qt::black);
  page.SetCursor(500, kTop);
  state.InsertMode = 0;
  const QImage before = page.Image();
  engine.JustifyLine();
  EXPECT_EQ(page.Image(), before);
  EXPECT_EQ(Cursor(), QPointF(500, kTop));
  EXPECT_EQ(state.InsertMode, 0);
}

TEST_F(Justify, JoinedNotesGetNoBlanksInside) {
  host.settings.autoBeatSplit = false;
  Place(14, 1);
  Place(15, 1);  // two eighths joined by the filler: one inked group 20-49
  const QImage group = CellAt(20, kTop, 30);
  page.SetCursor(800, kTop);
  Place(kBarLineCode);
  engine.JustifyLine();
  EXPECT_EQ(CellAt(20, kTop, 30), group);
  EXPECT_GT(BarLines().back(), 807) << "the blanks went into the gaps after the group";
}

// A page wider than 256 gaps: the gap table grows, so gaps past the 256th take their share.
TEST_F(Justify, GapsBeyondTheTwoHundredFiftySixthTakeTheirShare) {
  page.Resize(16 * 240 + 28, page.Height());  // 3868
  for (int k = 0; k < 300; ++k) page.FillRect(QRect(26 + 12 * k, kTop + kBodyRow, 6, 1), Qt::black);
  page.FillRect(QRect(3700, kTop + 5, 1, 1), Qt::black);  // line end: s = 151, u = 25
  engine.JustifyLine();
  // 300 gaps, one blank each to gaps 0, 12, ..., 288.
  const Runs runs = BlackRuns(kTop + kBodyRow, 0, Width());
  ASSERT_EQ(runs.size(), 300u);
  EXPECT_EQ(runs[1].first, 38 + 6);
  EXPECT_EQ(runs[280].first, 26 + 12 * 280 + 6 * 24);
  EXPECT_EQ(runs[299].first, 26 + 12 * 299 + 6 * 25);
  EXPECT_EQ(Width(), 3868);
}

}  // namespace
}  // namespace tarvesh::engine::testing
