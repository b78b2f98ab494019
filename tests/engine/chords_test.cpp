// Chord symbols: anchors read from the page, the text run, the move past the next bar line.
#include <vector>

#include "enginefixture.h"

namespace tarvesh::engine::testing {
namespace {

// One piece of text of a symbol. The first piece is placed relative to (anchor, top + 26), every
// later one relative to where the previous piece left the text position.
struct Piece {
  QString text;
  double pointSize;
  bool bold;
  double dx;
  double dy;
};

const Piece kDegreeFive{" 5 ", 18, true, -8, 0};

struct ChordCase {
  const char* name;
  int code;
  std::vector<int> held;  // keypad elements held down
  bool atCursor;          // G held
  QColor colour;
  std::vector<int> barCells;  // left edges of the bar-line cells on the first line
  float cursorBefore;
  int anchor;
  std::vector<Piece> pieces;
  QPointF cursorAfter;
};

const QColor kRed(255, 0, 0);

class ChordSymbol : public EngineTest, public ::testing::WithParamInterface<ChordCase> {
 protected:
  ChordSymbol() { state.NoteMode = 0; }

  // The eraser mark leaves the bar lines it crosses whole: their line is column 7 of the cell.
  void KeepBarLines(page::ScorePage& expected, const std::vector<int>& barCells) const {
    for (int left : barCells) expected.CopyCell(Atlas().Picmode2, 12 + 7, 0, 1, 40, left + 7, kTop);
  }

  // The page the symbol should give: the bar lines, the white eraser mark, then the pieces.
  QImage Expected(const ChordCase& c) const {
    page::ScorePage expected(page.Width(), page.Height());
    for (int left : c.barCells) expected.CopyCell(Atlas().Picmode2, 12, 0, 12, 40, left, kTop);
    expected.SetFont(18, true);
    expected.SetForeColour(Qt::white);
    expected.SetTextPosition(QPointF(c.anchor - 2, kTop + 26));
    expected.DrawText(QStringLiteral("■"));
    KeepBarLines(expected, c.barCells);
    expected.SetForeColour(c.colour);
    QPointF at(c.anchor, kTop + 26);
    for (const Piece& piece : c.pieces) {
      expected.SetFont(piece.pointSize, piece.bold);
      at += QPointF(piece.dx, piece.dy);
      expected.SetTextPosition(at);
      expected.DrawText(piece.text);
      at = expected.TextPosition();
    }
    return expected.Image();
  }
};

TEST_P(ChordSymbol, DrawsItsRunAndMovesPastTheNextBarLine) {
  const ChordCase& c = GetParam();
  for (int left : c.barCells) StampBarLine(left);
  for (int key : c.held) state.KeypadHeld[key] = 1;
  state.ChordAtCursor = c.atCursor ? 1 : 0;
  host.settings.chordColour = c.colour;
  page.SetCursor(c.cursorBefore, kTop);
  state.BarUnits = 12;
  state.PrevDurationRow = 0;
  state.LastGlyphWidth = 1;
  state.BarsInLine = 2;

  Place(c.code, 3);

  EXPECT_EQ(page.Image(), Expected(c));
  EXPECT_EQ(Cursor(), c.cursorAfter);
  EXPECT_EQ(host.sounds, QStringList{"kac.wav"});
  // A chord symbol is not music: the count and spacing state stay as they were.
  EXPECT_EQ(state.BarUnits, 12);
  EXPECT_EQ(state.PrevDurationRow, 0);
  EXPECT_EQ(state.LastGlyphWidth, 1);
  EXPECT_EQ(state.BarsInLine, 2);
}

INSTANTIATE_TEST_SUITE_P(
    Engine, ChordSymbol,
    ::testing::Values(
        // Bar line at 123, cursor at 128: the 5 is written from (115, top + 26); the next bar
        // line is at 243, so the cursor goes to 248.
        ChordCase{"AfterTheBarLineBeforeTheCursor",
                  18,
                  {},
                  false,
                  kRed,
                  {116, 236},
                  128,
                  123,
                  {kDegreeFive},
                  {248, 96}},
        ChordCase{"AtTheCursorWhileGIsHeld",
                  18,
                  {},
                  true,
                  kRed,
                  {116, 236},
                  140,
                  137,
                  {kDegreeFive},
                  {248, 96}},
        ChordCase{"PlusAndMinusContinueTheRun",
                  14,
                  {5, 6},
                  false,
                  kRed,
                  {116, 236},
                  128,
                  123,
                  {{" 1 ", 18, true, -8, 0}, {"+", 18, true, -11, 0}, {"-", 18, true, -11, 0}},
                  {248, 96}},
        ChordCase{"SmallSeventhBelowAndRight",
                  18,
                  {7},
                  false,
                  kRed,
                  {116, 236},
                  128,
                  123,
                  {kDegreeFive, {" 7 ", 9, false, -16, 11}},
                  {248, 96}},
        // Figures follow one another on one text line, the quality word after the last.
        ChordCase{"FiguresAndQualityInOneRun",
                  18,
                  {7, 9, 4, 8},
                  false,
                  kRed,
                  {116, 236},
                  128,
                  123,
                  {kDegreeFive,
                   {" 7 ", 9, false, -16, 11},
                   {" 9 ", 9, false, -5, 0},
                   {" 4 ", 9, false, -5, 0},
                   {"MIN", 9, false, 0, 0}},
                  {248, 96}},
        ChordCase{"SecondDegreeIsMajor",
                  15,
                  {9},
                  false,
                  kRed,
                  {116, 236},
                  128,
                  123,
                  {{" 2 ", 18, true, -8, 0}, {" 9 ", 9, false, -16, 11}, {"MAX", 9, false, 0, 0}},
                  {248, 96}},
        ChordCase{"QualityWithoutFigures",
                  17,
                  {8},
                  false,
                  kRed,
                  {116, 236},
                  128,
                  123,
                  {{" 4 ", 18, true, -8, 0}, {"MIN", 9, false, -11, 11}},
                  {248, 96}},
        ChordCase{"DashKeyIsTheSeventhDegree",
                  kDashCode,
                  {},
                  false,
                  kRed,
                  {116, 236},
                  128,
                  123,
                  {{" 7 ", 18, true, -8, 0}},
                  {248, 96}},
        ChordCase{"InTheChordColour",
                  18,
                  {},
                  false,
                  QColor(0, 0, 255),
                  {116, 236},
                  128,
                  123,
                  {kDegreeFive},
                  {248, 96}},
        ChordCase{
            "NoBarLineEitherSide", 18, {}, false, kRed, {}, 128, 16, {kDegreeFive}, {128, 96}},
        // Next bar line at 941: its following cell (944) is within 55 pixels of the edge.
        ChordCase{"NextBarLineNearTheEdge",
                  18,
                  {},
                  false,
                  kRed,
                  {116, 934},
                  128,
                  123,
                  {kDegreeFive},
                  {26, 156}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ChordSymbol, RestKeyOnlyBlanksTheSymbolArea) {
  StampBarLine(116);
  StampBarLine(236);
  // Red ink in the symbol area, clear of the bar line's rows.
  const QRect oldSymbol(124, kTop + 34, 16, 10);
  page.FillRect(oldSymbol, kRed);
  page.SetCursor(128, kTop);
  Place(kRestCode, 0);

  ChordCase blankOnly{"", kRestCode, {}, false, kRed, {116, 236}, 128, 123, {}, {248, 96}};
  page::ScorePage expected(page.Width(), page.Height());
  expected.LoadImage(Expected(blankOnly).copy());
  expected.FillRect(oldSymbol, kRed);
  expected.SetFont(18, true);
  expected.SetForeColour(Qt::white);
  expected.SetTextPosition(QPointF(121, kTop + 26));
  expected.DrawText(QStringLiteral("■"));
  KeepBarLines(expected, {116, 236});
  EXPECT_EQ(page.Image(), expected.Image());
  EXPECT_EQ(Cursor(), QPointF(248, kTop));
  EXPECT_EQ(host.sounds, QStringList{"kac.wav"});
}

TEST_F(ChordSymbol, ReleasedModifiersDoNotCarryToTheNextChord) {
  StampBarLine(116);
  StampBarLine(236);
  StampBarLine(356);
  page.SetCursor(128, kTop);
  state.KeypadHeld[7] = 1;
  Place(18, 0);
  state.KeypadHeld[7] = 0;
  const QImage afterFirst = page.Image();
  Place(18, 0);
  EXPECT_EQ(Cursor(), QPointF(368, kTop));
  // Only the second bar changed, and it got a plain 5: the same ink as the first bar's
  // degree, 120 pixels on, without the small 7.
  const QImage second = page.Image().copy(236, kTop + 20, 120, 40);
  page::ScorePage plain(page.Width(), page.Height());
  plain.CopyCell(Atlas().Picmode2, 12, 0, 12, 40, 236, kTop);
  plain.SetFont(18, true);
  plain.SetForeColour(Qt::white);
  plain.SetTextPosition(QPointF(243 - 2, kTop + 26));
  plain.DrawText(QStringLiteral("■"));
  KeepBarLines(plain, {236});
  plain.SetForeColour(kRed);
  plain.SetTextPosition(QPointF(243 - 8, kTop + 26));
  plain.DrawText(kDegreeFive.text);
  EXPECT_EQ(second, plain.Image().copy(236, kTop + 20, 120, 40));
  EXPECT_EQ(page.Image().copy(0, 0, 230, page.Height()), afterFirst.copy(0, 0, 230, page.Height()));
}

}  // namespace
}  // namespace tarvesh::engine::testing
