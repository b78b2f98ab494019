#include <gtest/gtest.h>
#include <QJsonArray>

#include "app/pagepixels.h"
#include "app/windowharness.h"
#include "engine/linescan.h"

namespace tarvesh::testing {
namespace {

QString Repeat(const QString& step, int times) {
  QString script;
  for (int i = 0; i < times; ++i) script += step;
  return script;
}

// A press and release on the page that puts the cursor on the cell at (left, top) of the
// default grid (6-pixel columns from 20, lines 60 apart from 96).
QString ClickCell(int left, int top) {
  const int x = left + 3;
  return QStringLiteral("mousedown Picture1 1 0 %1 %2\nmouseup Picture1 1 0 %1 %2\n")
      .arg(x)
      .arg(top);
}

int Beeps(const QJsonArray& events) {
  int beeps = 0;
  for (const auto& event : events) beeps += event.toObject().contains("beep") ? 1 : 0;
  return beeps;
}

// The cursor to (900, 216) on the default page: 900 is off the column grid, so it is reached
// as the line end (W - 32) of a page 932 wide before the page gets its default width again.
const QString kTo900 = "set HScroll2(0) 113\nkey 40\nkey 37\nset HScroll2(0) 120\nkey 40\nkey 40\n";

class Navigation : public ::testing::Test {
 protected:
  void RunOrFail(const QString& script) {
    ASSERT_EQ(w.Run(script), 0) << w.LastError().toStdString();
  }
  QPointF Cursor() {
    const QJsonObject cursor = w.Dump()["cursor"].toObject();
    return {cursor["left"].toDouble(), cursor["top"].toDouble()};
  }
  QPoint At(const QString& control) {
    const QJsonObject c = w.Control(control);
    return {c["left"].toInt(), c["top"].toInt()};
  }
  // A text label with the first phrase, placed from the cursor at (20, 96) and selected.
  void SelectedLabel() {
    RunOrFail("select List1 0\nkey 68\nclick Command5\nclick Label7(0)\n");
    ASSERT_EQ(At("Label7(0)"), QPoint(20, 84));
    ASSERT_EQ(w.State()["SelectedOverlay"].toInt(), 0);
  }

  WindowHarness w;
};

struct ArrowCase {
  const char* name;
  QString setup;
  int key;
  QPointF before, after;
};

// Cursor moves of the arrow keys at the edges of the page's grid (page 988 wide, lines 60 apart).
TEST_F(Navigation, ArrowsAtTheEdges) {
  const QString to130 = "set HScroll2(2) 94\nkey 40\nset HScroll2(2) 60\nkey 38\n";
  const QString to1980 = "set HScroll2(2) 157\n" + Repeat("key 40\n", 12) + "set HScroll2(2) 60\n";
  const ArrowCase cases[] = {
      {"Left at a line start goes to the end of the line above",
       "key 13\n",
       37,
       {20, 156},
       {956, 96}},
      {"Left at the first line's start stays", "", 37, {20, 96}, {20, 96}},
      {"Left in half width", "key 83\nkey 39\nkey 39\n", 37, {32, 96}, {26, 96}},
      {"Right in half width", "key 83\n", 39, {20, 96}, {26, 96}},
      {"Right past the margin wraps", Repeat("key 39\n", 78), 39, {956, 96}, {20, 156}},
      {"Up on the first line stays", "", 38, {20, 96}, {20, 96}},
      {"Up off the grid stops at the first line", to130, 38, {20, 130}, {20, 96}},
      {"Down", "", 40, {20, 96}, {20, 156}},
      {"Down below 2000", to1980, 40, {20, 1980}, {20, 2040}},
      {"Down at 2040 stays", to1980 + "key 40\n", 40, {20, 2040}, {20, 2040}},
  };
  for (const ArrowCase& c : cases) {
    SCOPED_TRACE(c.name);
    WindowHarness fresh;
    ASSERT_EQ(fresh.Run(c.setup), 0) << fresh.LastError().toStdString();
    QJsonObject cursor = fresh.Dump()["cursor"].toObject();
    ASSERT_EQ(QPointF(cursor["left"].toDouble(), cursor["top"].toDouble()), c.before);
    const QImage page = fresh.Form().Page().Image().copy();
    ASSERT_EQ(fresh.Run(QStringLiteral("key %1\n").arg(c.key)), 0);
    cursor = fresh.Dump()["cursor"].toObject();
    EXPECT_EQ(QPointF(cursor["left"].toDouble(), cursor["top"].toDouble()), c.after);
    EXPECT_EQ(fresh.Form().Page().Image(), page);
  }
}

struct ResetCase {
  int key;
  int prevDurationRow;
  int barsInLine;
};

// Each arrow resets the engine state its own way; the line's bar count survives Left and Right.
TEST_F(Navigation, ArrowsResetTheEngineStatePerKey) {
  // A bar, a note and its dot: one bar line on the line, time in the bar, a join owed.
  const QString setup = "key 53\nkey 72\nkey 53\nkey 190\n";
  const ResetCase cases[] = {{37, 5, 1}, {38, 5, 0}, {39, 0, 1}, {40, 5, 0}};
  for (const ResetCase& c : cases) {
    SCOPED_TRACE(c.key);
    WindowHarness fresh;
    ASSERT_EQ(fresh.Run(setup + "tick Timer1\n"), 0);
    QJsonObject state = fresh.State();
    ASSERT_EQ(state["BarUnits"].toInt(), 12);
    ASSERT_EQ(state["BeamJoinWidth"].toInt(), 12);
    ASSERT_EQ(state["BarsInLine"].toInt(), 1);
    ASSERT_EQ(state["LastGlyphWidth"].toInt(), 0);
    ASSERT_EQ(fresh.Run(QStringLiteral("key %1\n").arg(c.key)), 0);
    state = fresh.State();
    EXPECT_EQ(state["PrevDurationRow"].toInt(), c.prevDurationRow);
    EXPECT_EQ(state["BarsInLine"].toInt(), c.barsInLine);
    EXPECT_EQ(state["BarUnits"].toInt(), 0);
    EXPECT_EQ(state["BeamJoinWidth"].toInt(), 0);
    EXPECT_EQ(state["LastGlyphWidth"].toInt(), 2);
    // The blink starts afresh from the shown cursor.
    EXPECT_TRUE(fresh.Dump()["cursor"].toObject()["visible"].toBool());
  }
}

struct NudgeCase {
  const char* name;
  QString keys;
  QPoint at;
};

// A selected label moves with the arrows, by 1 (Shift), 60 (Ctrl) or 6 (anything else); the
// cursor stays and the tests on the position before the move let it rest one step past 8.
TEST_F(Navigation, ArrowsNudgeTheSelectedObject) {
  const NudgeCase cases[] = {
      {"Shift+Right", "key 39 1\n", {21, 84}},
      {"Ctrl+Right", "key 39 2\n", {80, 84}},
      {"Ctrl+Shift+Right", "key 39 3\n", {26, 84}},
      {"Alt+Right", "key 39 4\n", {26, 84}},
      {"Down", "key 40\n", {20, 90}},
      {"left 10 goes to 4", "key 37\n" + Repeat("key 37 1\n", 4) + "key 37\n", {4, 84}},
      {"and stays at 4", "key 37\n" + Repeat("key 37 1\n", 4) + "key 37\nkey 37\n", {4, 84}},
      {"left 9 with Shift goes to 8", "key 37\n" + Repeat("key 37 1\n", 6), {8, 84}},
      {"and stays at 8", "key 37\n" + Repeat("key 37 1\n", 7), {8, 84}},
      {"up to 6 and no further", "key 38 2\n" + Repeat("key 38\n", 4), {20, 6}},
      {"right past the page edge by one step", Repeat("key 39 2\n", 18), {1040, 84}},
  };
  for (const NudgeCase& c : cases) {
    SCOPED_TRACE(c.name);
    WindowHarness fresh;
    ASSERT_EQ(fresh.Run("select List1 0\nkey 68\nclick Command5\nclick Label7(0)\n" + c.keys), 0);
    const QJsonObject label = fresh.Control("Label7(0)");
    EXPECT_EQ(QPoint(label["left"].toInt(), label["top"].toInt()), c.at);
    const QJsonObject dump = fresh.Dump();
    EXPECT_EQ(dump["cursor"].toObject()["left"].toDouble(), 20);
    EXPECT_EQ(dump["cursor"].toObject()["top"].toDouble(), 96);
  }
}

TEST_F(Navigation, DeleteHidesTheSelectionAndBeeps) {
  RunOrFail("key 46\n");
  EXPECT_EQ(Beeps(w.Dump()["events"].toArray()), 0);
  SelectedLabel();
  RunOrFail("key 46\n");
  EXPECT_FALSE(w.Control("Label7(0)")["visible"].toBool());
  EXPECT_EQ(Beeps(w.Dump()["events"].toArray()), 1);
  RunOrFail("key 46\n");
  EXPECT_EQ(Beeps(w.Dump()["events"].toArray()), 2);
  const QJsonObject state = w.State();
  EXPECT_EQ(state["SelectedOverlay"].toInt(), 0);
  EXPECT_EQ(state["TextLabelCount"].toInt(), 1);
  // The hidden label is still the selection: the arrows move it and not the cursor.
  RunOrFail("key 39\n");
  EXPECT_EQ(At("Label7(0)"), QPoint(26, 84));
  EXPECT_EQ(Cursor(), QPointF(20, 96));
}

struct PanelCase {
  int key;
  const char* frame;
  int left;
};

// D and F open their panel 12 pixels below the cursor's top, kept inside the page's right edge.
TEST_F(Navigation, PanelsOpenAtTheCursor) {
  const PanelCase cases[] = {{68, "Frame2", 723}, {70, "Frame3", 771}};
  for (const PanelCase& c : cases) {
    SCOPED_TRACE(c.frame);
    WindowHarness fresh;
    ASSERT_EQ(fresh.Run(kTo900 + QStringLiteral("key %1\n").arg(c.key)), 0);
    const QJsonObject frame = fresh.Control(c.frame);
    EXPECT_TRUE(frame["visible"].toBool());
    EXPECT_EQ(frame["left"].toInt(), c.left);
    EXPECT_EQ(frame["top"].toInt(), 228);
    EXPECT_EQ(fresh.State()["OverlayAnchorX"].toInt(), 900);
    EXPECT_EQ(fresh.State()["OverlayAnchorY"].toInt(), 204);
  }
}

TEST_F(Navigation, PhrasesBecomeLabels) {
  RunOrFail(kTo900 + "key 68\nselect List1 2\ndblclick List1\n");
  const QString phrase = w.Control("List1")["items"].toArray()[2].toString();
  QJsonObject label = w.Control("Label7(0)");
  EXPECT_EQ(label["text"].toString(), phrase);
  EXPECT_EQ(label["tag"].toString(), "2");
  EXPECT_TRUE(label["visible"].toBool());
  EXPECT_EQ(QPoint(label["left"].toInt(), label["top"].toInt()), QPoint(900, 204));
  EXPECT_FALSE(w.Control("Frame2")["visible"].toBool());
  // The panel keeps the phrase; confirming again places the same phrase once more.
  RunOrFail("key 68\nclick Command5\n");
  EXPECT_EQ(w.Control("List1")["index"].toInt(), 2);
  label = w.Control("Label7(1)");
  EXPECT_EQ(label["text"].toString(), phrase);
  EXPECT_EQ(label["tag"].toString(), "2");
  EXPECT_EQ(w.State()["TextLabelCount"].toInt(), 2);
}

struct EmptyConfirmCase {
  const char* open;
  const char* confirm;
  const char* cancel;
  const char* frame;
  const char* count;
};

// Confirming with nothing chosen places nothing and leaves the panel open for a choice.
TEST_F(Navigation, ConfirmWithNothingChosenKeepsThePanelOpen) {
  const EmptyConfirmCase cases[] = {
      {"key 68\n", "click Command5\n", "click Command6\n", "Frame2", "TextLabelCount"},
      {"key 70\n", "click Command8\n", "click Command9\n", "Frame3", "SymbolPictureCount"},
  };
  for (const EmptyConfirmCase& c : cases) {
    SCOPED_TRACE(c.frame);
    WindowHarness fresh;
    ASSERT_EQ(fresh.Run(QString::fromUtf8(c.open) + c.confirm), 0);
    EXPECT_TRUE(fresh.Control(c.frame)["visible"].toBool());
    EXPECT_EQ(fresh.State()[c.count].toInt(), 0);
    ASSERT_EQ(fresh.Run(c.cancel), 0);
    EXPECT_FALSE(fresh.Control(c.frame)["visible"].toBool());
    EXPECT_EQ(fresh.State()[c.count].toInt(), 0);
  }
}

TEST_F(Navigation, SymbolsPreviewThenPlace) {
  RunOrFail("key 70\nselect File1 1\n");
  const QString file = w.Control("File1")["items"].toArray()[1].toString();
  EXPECT_EQ(w.Control("Image2")["file"].toString(), file);
  EXPECT_EQ(w.State()["SymbolPictureCount"].toInt(), 0);
  EXPECT_FALSE(w.Control("Ima(0)")["visible"].toBool());
  RunOrFail("click Command8\n");
  QJsonObject picture = w.Control("Ima(0)");
  EXPECT_TRUE(picture["visible"].toBool());
  EXPECT_EQ(picture["file"].toString(), file);
  EXPECT_EQ(picture["tag"].toString(), "1");
  EXPECT_EQ(QPoint(picture["left"].toInt(), picture["top"].toInt()), QPoint(20, 84));
  EXPECT_FALSE(w.Control("Frame3")["visible"].toBool());
  // A double-click places directly.
  RunOrFail("key 39\nkey 70\nselect File1 3\ndblclick File1\n");
  picture = w.Control("Ima(1)");
  EXPECT_EQ(picture["tag"].toString(), "3");
  EXPECT_EQ(picture["left"].toInt(), 32);
  EXPECT_EQ(w.State()["SymbolPictureCount"].toInt(), 2);
}

struct CapacityCase {
  const char* name;
  QString choose, open, confirm, object, frame, count;
};

// Deleted objects keep their slots: with 50 made and 10 deleted, the pool is still full.
TEST_F(Navigation, PoolsAreFullAtFiftyDeletedOnesCounted) {
  const CapacityCase cases[] = {
      {"labels", "select List1 0\n", "key 68\n", "click Command5\n", "Label7", "Frame2",
       "TextLabelCount"},
      {"pictures", "key 70\nselect File1 0\nclick Command9\n", "key 70\n", "click Command8\n",
       "Ima", "Frame3", "SymbolPictureCount"},
  };
  for (const CapacityCase& c : cases) {
    SCOPED_TRACE(c.name);
    WindowHarness fresh;
    QString script = c.choose + Repeat(c.open + c.confirm, 50);
    for (int i = 0; i < 10; ++i)
      script += QStringLiteral("click %1(%2)\nkey 46\n").arg(c.object).arg(i);
    ASSERT_EQ(fresh.Run(script), 0) << fresh.LastError().toStdString();
    EXPECT_EQ(fresh.State()[c.count].toInt(), 50);
    const QJsonArray events = fresh.Dump()["events"].toArray();
    ASSERT_EQ(fresh.Run(c.open), 0);
    EXPECT_FALSE(fresh.Control(c.frame)["visible"].toBool());
    EXPECT_EQ(fresh.State()[c.count].toInt(), 50);
    EXPECT_EQ(fresh.Dump()["events"].toArray(), events);
  }
}

// One selection for both pools: a label in red or a picture with a border, never both.
TEST_F(Navigation, SelectionHighlights) {
  RunOrFail("select List1 0\nkey 68\nclick Command5\nkey 70\nselect File1 0\nclick Command8\n");
  RunOrFail("click Ima(0)\n");
  EXPECT_EQ(w.Control("Ima(0)")["border"].toInt(), 1);
  EXPECT_EQ(w.State()["SelectedOverlay"].toInt(), 50);
  RunOrFail("click Label7(0)\n");
  EXPECT_EQ(w.Control("Ima(0)")["border"].toInt(), 0);
  EXPECT_EQ(w.Control("Label7(0)")["color"].toString(), "#ff0000");
  EXPECT_EQ(w.State()["SelectedOverlay"].toInt(), 0);
  RunOrFail("click Picture1\n");
  EXPECT_EQ(w.Control("Label7(0)")["color"].toString(), "#000000");
  EXPECT_EQ(w.State()["SelectedOverlay"].toInt(), -1);
  // Without a selection the arrows move the cursor again.
  RunOrFail("key 39\n");
  EXPECT_EQ(Cursor(), QPointF(32, 96));
  EXPECT_EQ(At("Label7(0)"), QPoint(20, 84));
}

// New leaves the selection as it was: the slot it names keeps its highlight when it is filled
// again.
TEST_F(Navigation, SelectionOutlivesNew) {
  RunOrFail("select List1 0\n" + Repeat("key 68\nclick Command5\n", 4) +
            "click Label7(3)\nclick Command1(6)\n");
  EXPECT_EQ(w.State()["TextLabelCount"].toInt(), 0);
  EXPECT_FALSE(w.Control("Label7(3)")["visible"].toBool());
  RunOrFail(Repeat("key 68\nclick Command5\n", 4));
  EXPECT_EQ(w.State()["SelectedOverlay"].toInt(), 3);
  EXPECT_EQ(w.Control("Label7(3)")["color"].toString(), "#ff0000");
  EXPECT_EQ(w.Control("Label7(2)")["color"].toString(), "#000000");
}

// Whether every column of `box` holds some ink: the arc runs unbroken from end to end.
bool InkInEveryColumn(const QImage& page, const QRect& box) {
  for (int x = box.left(); x <= box.right(); ++x) {
    bool ink = false;
    for (int y = box.top(); y <= box.bottom(); ++y) ink = ink || page.pixel(x, y) == kBlack;
    if (!ink) return false;
  }
  return true;
}

struct SlurCase {
  const char* name;
  QString script;
  QList<QRect> arcs;
};

// Slur rectangles in whole pixels: from the middle of the cell of the earlier end to the middle
// of the cell before the later one, the bottom edge two rows into the line's cells, the
// fractional top rounded half to even (90.16 -> 90, 86.5 -> 86, 150.7 -> 151).
TEST_F(Navigation, SlursRepaintTheirRectangles) {
  const QRect area(0, 60, 988, 160);
  const SlurCase cases[] = {
      {"one line", "key 76\n" + Repeat("key 39\n", 8) + "key 76\n", {QRect(26, 90, 84, 8)}},
      {"one line, right end first",
       Repeat("key 39\n", 8) + "key 76\n" + Repeat("key 37\n", 8) + "key 76\n",
       {QRect(26, 90, 84, 8)}},
      {"over a line break",
       ClickCell(500, 96) + "key 76\n" + ClickCell(56, 156) + "key 76\n",
       {QRect(506, 86, 450, 12), QRect(20, 151, 30, 7)}},
      {"over a line break, lower end first",
       ClickCell(56, 156) + "key 76\n" + ClickCell(500, 96) + "key 76\n",
       {QRect(506, 86, 450, 12), QRect(20, 151, 30, 7)}},
      {"closed at a line's start: nothing on the lower line",
       ClickCell(500, 96) + "key 76\n" + ClickCell(20, 156) + "key 76\n",
       {QRect(506, 86, 450, 12)}},
      {"one cell apart: no note between the ends", "key 76\nkey 39\nkey 76\n", {}},
  };
  for (const SlurCase& c : cases) {
    SCOPED_TRACE(c.name);
    WindowHarness fresh;
    fresh.Form().Page().FillRect(area, Qt::black);
    ASSERT_EQ(fresh.Run(c.script), 0) << fresh.LastError().toStdString();
    const QImage& page = fresh.Form().Page().Image();
    QRect all;
    for (const QRect& arc : c.arcs) {
      EXPECT_EQ(Repainted(page, arc.adjusted(-3, -3, 3, 3)), arc);
      // The arc itself is drawn in the rectangle, not only its white ground.
      EXPECT_TRUE(InkInEveryColumn(page, arc));
      all |= arc;
    }
    EXPECT_EQ(Repainted(page, area), all);
    EXPECT_FALSE(fresh.Control("Label8")["visible"].toBool());
    EXPECT_EQ(fresh.State()["BarUnits"].toInt(), 0);
  }
}

// Keys typed in 2/4 with and without the slur key, and where the slur's arc must lie.
struct SlurInTextCase {
  const char* name;
  QString keys;
  QRect arc;  // empty: where justification puts it, checked against the line instead
};

QString WithoutSlurKeys(QString keys) {
  return keys.remove(QStringLiteral("key 76\n"));
}

// Bounding box of the pixels that differ between two pages.
QRect Differences(const QImage& a, const QImage& b) {
  QRect box;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y)) box |= QRect(x, y, 1, 1);
  return box;
}

// A slur closed right after the bar line that its last note brought in by itself ends over that
// note, and nothing of it is dragged along by the notes typed on in insert mode: the page
// differs from one typed without the slur key only inside the arc, left of the bar line. Once
// the arc's end was drawn at the cursor, and every key pushed a pixel of it along.
TEST_F(Navigation, SlurClosedAfterAnAutomaticBarLineEndsBeforeItAndStaysPut) {
  const QString bar = "key 51\nkey 97\nkey 76\nkey 51\nkey 53\nkey 76\n";  // 3 | 3 5 eighths
  const QString typeOn = Repeat("key 49\n", 6);
  const SlurInTextCase cases[] = {
      // 3 at 20, a beat gap, 3 at 38, 5 at 56, the bar line's cell at 68: from the mark at 32
      // to the middle of the 5.
      {"marked before the eighths", bar + typeOn, QRect(38, 91, 24, 7)},
      {"marked by the arrow keys",
       "key 51\nkey 97\nkey 51\nkey 53\n" + Repeat("key 37\n", 3) + "key 76\n" +
           Repeat("key 39\n", 3) + "key 76\n" + typeOn,
       QRect(50, 91, 12, 7)},
      // Four bars to a line: the bar line of the fourth ends the line and justifies it.
      {"the bar line ends the line",
       "set HScroll2(1) 4\n" + Repeat("key 49\nkey 49\n", 3) + bar + typeOn, QRect()},
  };
  for (const SlurInTextCase& c : cases) {
    SCOPED_TRACE(c.name);
    WindowHarness plain;
    WindowHarness slurred;
    for (WindowHarness* window : {&plain, &slurred}) {
      ASSERT_EQ(window->Run("select Combo1(0) 0\n" +
                            (window == &plain ? WithoutSlurKeys(c.keys) : c.keys)),
                0)
          << window->LastError().toStdString();
    }
    ASSERT_EQ(slurred.State()["BeatsPerBar"].toInt(), 2);
    const QImage& page = slurred.Form().Page().Image();
    const QRect arc = Differences(plain.Form().Page().Image(), page);
    ASSERT_FALSE(arc.isEmpty());
    EXPECT_TRUE(InkInEveryColumn(page, arc));
    if (!c.arc.isEmpty()) {
      EXPECT_TRUE(c.arc.contains(arc));
      EXPECT_EQ(arc.left(), c.arc.left());
      EXPECT_EQ(arc.right(), c.arc.right());
    }
    // On the first line, ending left of the bar line that closed the slur's bar.
    EXPECT_GE(arc.top(), 96 - 20);
    EXPECT_LE(arc.bottom(), 96 + 1);
    int barLine = arc.right();
    while (barLine < page.width() && !engine::IsBarLineAt(slurred.Form().Page(), barLine, 96))
      ++barLine;
    EXPECT_LT(arc.right(), barLine - 6) << "ends over the note before the bar line";
    EXPECT_LT(barLine, page.width());
  }
}

TEST_F(Navigation, SlurMarkedTwiceAtOnePlaceDrawsNothing) {
  const QImage before = w.Form().Page().Image().copy();
  RunOrFail("key 39\nkey 76\n");
  const QJsonObject mark = w.Control("Label8");
  EXPECT_TRUE(mark["visible"].toBool());
  EXPECT_EQ(QRect(mark["left"].toInt(), mark["top"].toInt(), mark["width"].toInt(),
                  mark["height"].toInt()),
            QRect(32, 96, 12, 40));
  // The mark lies over the page without touching the bitmap.
  EXPECT_EQ(w.Form().Page().Image(), before);
  RunOrFail("key 76\n");
  EXPECT_FALSE(w.Control("Label8")["visible"].toBool());
  EXPECT_EQ(w.Form().Page().Image(), before);
}

}  // namespace
}  // namespace tarvesh::testing
