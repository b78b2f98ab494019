// Chord symbols through the window: K switches to chord entry, held keypad keys and G reach the
// engine, the colour picked for `Label5` is the ink, and the cursor jumps from bar to bar.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonObject>
#include <vector>

#include "app/windowharness.h"
#include "engine/linescan.h"
#include "page/geometry.h"
#include "page/scorepage.h"

namespace tarvesh::testing {
namespace {

constexpr int kTop = page::kFirstLineTop;
const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);

// Eight bars of 1 2 3 5: the eighth bar line ends the line, which is justified, so the bar
// lines of the first line stand 114 to 120 pixels apart.
QString EightBars() {
  QString script;
  for (int bar = 0; bar < 8; ++bar) script += QStringLiteral("key 49\nkey 50\nkey 51\nkey 53\n");
  return script;
}
const std::vector<int> kBarLines{135, 255, 369, 489, 609, 723, 843, 963};

// A press on the page that puts the cursor into the grid cell starting at `left` of line one.
QString CursorTo(int left) {
  const int x = left - page::kLeftMargin + 23;
  return QStringLiteral("mousedown Picture1 1 0 %1 100\nmouseup Picture1 1 0 %1 100\n").arg(x);
}

class ChordEntry : public ::testing::Test {
 protected:
  void Run(const QString& script) { ASSERT_EQ(w.Run(script), 0) << w.LastError().toStdString(); }

  // Types the notes, keeps the page as it is then, and switches to chord entry.
  void TypeNotesThenK() {
    Run(EightBars());
    std::vector<int> bars;
    for (int x = 0; x < w.Form().Page().Width(); ++x)
      if (engine::IsBarLineAt(w.Form().Page(), x, kTop)) bars.push_back(x);
    ASSERT_EQ(bars, kBarLines);
    notes = w.Form().Page().Image().copy();
    expected.LoadImage(notes);
    Run(QStringLiteral("key 75\n"));
  }

  // One chord symbol as it should look: the white mark blanks the place but leaves the bar
  // lines whole, the degree in 18 point bold starts 8 pixels left of the anchor, a small 7 in 9
  // point below and right of it.
  void DrawChord(int anchor, const QString& degree, bool seventh, const QColor& colour) {
    expected.SetFont(18, true);
    expected.SetForeColour(Qt::white);
    expected.SetTextPosition(QPointF(anchor - 2, kTop + 26));
    expected.DrawText(QStringLiteral("■"));
    for (int x : kBarLines) expected.CopyCell(notes, x, kTop, 1, page::kCellHeight, x, kTop);
    if (degree.isEmpty()) return;
    expected.SetForeColour(colour);
    expected.SetTextPosition(QPointF(anchor - 8, kTop + 26));
    expected.DrawText(QStringLiteral(" %1 ").arg(degree));
    if (!seventh) return;
    expected.SetFont(9, false);
    expected.SetTextPosition(expected.TextPosition() + QPointF(-11 - 5, 11));
    expected.DrawText(QStringLiteral(" 7 "));
  }

  QPointF Cursor() {
    const QJsonObject cursor = w.Dump()["cursor"].toObject();
    return {cursor["left"].toDouble(), cursor["top"].toDouble()};
  }

  WindowHarness w;
  QImage notes;
  page::ScorePage expected;
};

TEST_F(ChordEntry, KeyKSwitchesToChordsAndTheBassStaff) {
  TypeNotesThenK();
  EXPECT_EQ(w.State()["NoteMode"].toInt(), 0);
  EXPECT_EQ(w.Control("Command10")["text"].toString(), QStringLiteral("和弦"));
  EXPECT_EQ(w.Control("Label3")["text"].toString(), QStringLiteral("低音谱号"));
  EXPECT_TRUE(w.Control("Image1(1)")["visible"].toBool());
  EXPECT_FALSE(w.Control("Image1(0)")["visible"].toBool());
  // The page is untouched by the switch.
  EXPECT_EQ(w.Form().Page().Image(), expected.Image());
}

struct ChordStep {
  const char* script;
  int anchor;          // -1: the step draws nothing
  const char* degree;  // empty: the rest key, which only blanks
  bool seventh;
  QColor colour;
  QPointF cursor;
};

// A line of chords as a person types it, checked after every step against the symbols drawn by
// hand and the cursor's jump to the cell after the next bar line.
TEST_F(ChordEntry, LineOfChordsFromTheKeyboard) {
  TypeNotesThenK();
  const ChordStep steps[] = {
      // A press on the line's start lands at the left edge of the first note.
      {"", -1, "", false, kRed, {20, kTop}},
      // No bar line before the cursor: the symbol goes to the very left.
      {"key 49\n", 16, "1", false, kRed, {140, kTop}},
      {"keydown 103\nkey 53\nkeyup 103\n", 135, "5", true, kRed, {260, kTop}},
      // While G is held the symbol starts at the cursor.
      {"keydown 71\nkey 52\nkeyup 71\n", 257, "4", false, kRed, {374, kTop}},
      {"color 0 0 255\nclick Label5\n", -1, "", false, kRed, {374, kTop}},
      {"key 54\n", 369, "6", false, kBlue, {494, kTop}},
      // The rest key blanks the symbol of the bar and moves on. Once the eraser mark cut the
      // bar line under it, so this went to the symbol of the bar before.
      {"", -1, "", false, kRed, {140, kTop}},
      {"key 79\n", 135, "", false, kRed, {260, kTop}},
      // The bar after the last but one bar line would start within 55 pixels of the edge.
      {"", -1, "", false, kRed, {848, kTop}},
      {"key 50\n", 843, "2", false, kBlue, {26, kTop + 60}},
  };
  for (const ChordStep& step : steps) {
    SCOPED_TRACE(step.script);
    const QString script =
        *step.script ? QString::fromUtf8(step.script) : CursorTo(static_cast<int>(step.cursor.x()));
    Run(script);
    if (step.anchor >= 0)
      DrawChord(step.anchor, QString::fromUtf8(step.degree), step.seventh, step.colour);
    EXPECT_EQ(w.Form().Page().Image(), expected.Image());
    EXPECT_EQ(Cursor(), step.cursor);
  }
  EXPECT_EQ(w.Control("Label5")["color"].toString(), QStringLiteral("#0000ff"));
  EXPECT_EQ(w.State()["ChordAtCursor"].toInt(), 0);
  EXPECT_EQ(w.State()["KeypadHeld"].toArray(), QJsonArray({0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(ChordEntry, CancelledColourDialogKeepsRed) {
  Run(QStringLiteral("color-cancel\nclick Label5\n"));
  EXPECT_EQ(w.Control("Label5")["color"].toString(), QStringLiteral("#ff0000"));
}

// In chord entry the staff shows the bass clef, and a click on its bottom line (a low 5) writes
// the chord of the fifth degree.
TEST_F(ChordEntry, StaffClickWritesAChord) {
  TypeNotesThenK();
  Run(CursorTo(26) + QStringLiteral("click Check1\n") +
      QStringLiteral("mousemove Label10 0 0 100 172\nmousedown Label10 1 0 100 172\n"
                     "mouseup Label10 1 0 100 172\n"));
  EXPECT_EQ(w.State()["StaffNoteCode"].toInt(), 4);
  DrawChord(16, QStringLiteral("5"), false, kRed);
  EXPECT_EQ(w.Form().Page().Image(), expected.Image());
  EXPECT_EQ(Cursor(), QPointF(140, kTop));
}

}  // namespace
}  // namespace tarvesh::testing
