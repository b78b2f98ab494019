#include <gtest/gtest.h>

#include "app/pagepixels.h"
#include "app/windowharness.h"

namespace tarvesh::testing {
namespace {

QString Press(double x, double y) {
  return QStringLiteral("mousedown Picture1 1 0 %1 %2\n").arg(x).arg(y);
}
QString Drag(double x, double y) {
  return QStringLiteral("mousemove Picture1 1 0 %1 %2\n").arg(x).arg(y);
}
QString Release(double x, double y) {
  return QStringLiteral("mouseup Picture1 1 0 %1 %2\n").arg(x).arg(y);
}
QString ClickAt(double x, double y) {
  return Press(x, y) + Release(x, y);
}

QString Repeat(const QString& step, int times) {
  QString script;
  for (int i = 0; i < times; ++i) script += step;
  return script;
}

QRect Box(const QJsonObject& control) {
  return {control["left"].toInt(), control["top"].toInt(), control["width"].toInt(),
          control["height"].toInt()};
}

bool AllWhite(const QImage& page, const QRect& box) {
  for (int y = box.top(); y <= box.bottom(); ++y)
    for (int x = box.left(); x <= box.right(); ++x)
      if (page.pixel(x, y) != 0xffffffff) return false;
  return true;
}

class MouseTools : public ::testing::Test {
 protected:
  void RunOrFail(const QString& script) {
    ASSERT_EQ(w.Run(script), 0) << w.LastError().toStdString();
  }
  QPointF Cursor() {
    const QJsonObject cursor = w.Dump()["cursor"].toObject();
    return {cursor["left"].toDouble(), cursor["top"].toDouble()};
  }
  const QImage& Page() { return w.Form().Page().Image(); }

  WindowHarness w;
};

struct GridCase {
  double x, y;
  QPointF cell;
};

// A press puts the cursor on the grid: the pointer rounds half to even, the division truncates
// toward zero, so presses left of the margin or above the first line land off the grid's start.
// A grid point inside a note puts the cursor at the note's left edge.
TEST_F(MouseTools, PressPutsTheCursorOnTheGrid) {
  const GridCase cases[] = {
      {100.4, 170, {92, 156}}, {28.5, 170, {26, 156}}, {27.5, 170, {20, 156}}, {16, 40, {14, 96}},
      {10, 30, {8, 36}},       {903, 216, {896, 216}}, {28.5, 100, {20, 96}},
  };
  for (const GridCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.x << ", " << c.y);
    WindowHarness fresh;
    ASSERT_EQ(fresh.Run("key 53\nkey 72\nkey 53\n" + Press(c.x, c.y)), 0);
    const QJsonObject cursor = fresh.Dump()["cursor"].toObject();
    EXPECT_EQ(QPointF(cursor["left"].toDouble(), cursor["top"].toDouble()), c.cell);
    const QJsonObject shape = fresh.Control("Shape2");
    EXPECT_TRUE(shape["visible"].toBool());
    EXPECT_EQ(Box(shape), QRect(c.cell.toPoint(), QSize(12, 40)));
    const QJsonObject state = fresh.State();
    EXPECT_EQ(state["SelectionDragging"].toInt(), 1);
    EXPECT_EQ(state["PrevDurationRow"].toInt(), 5);
    EXPECT_EQ(state["BarUnits"].toInt(), 0);
    EXPECT_EQ(state["BarsInLine"].toInt(), 0);
    EXPECT_EQ(state["LastGlyphWidth"].toInt(), 2);
  }
}

struct DragCase {
  const char* name;
  QString script;
  QSize shape;   // the selection rectangle when the button is released
  QSize buffer;  // the copy buffer afterwards
};

// A drag grows the rectangle right and down in grid steps; only 24 pixels or more are copied.
TEST_F(MouseTools, DragSelectsAndReleaseCopies) {
  const QSize unchanged(417, 49);
  const DragCase cases[] = {
      {"66 x 60", Press(100.4, 170) + Drag(160, 240), {66, 60}, {66, 60}},
      {"24 wide is copied", Press(23, 96) + Drag(44, 100), {24, 60}, {24, 60}},
      {"18 wide is not", Press(23, 96) + Drag(38, 100), {18, 60}, unchanged},
      {"left and above the start", Press(100.4, 170) + Drag(50, 100), {6, 60}, unchanged},
      {"a plain click", Press(100.4, 170), {12, 40}, unchanged},
  };
  for (const DragCase& c : cases) {
    SCOPED_TRACE(c.name);
    WindowHarness fresh;
    ASSERT_EQ(fresh.Run(c.script), 0);
    EXPECT_EQ(Box(fresh.Control("Shape2")).size(), c.shape);
    ASSERT_EQ(fresh.Run(Release(0, 0)), 0);
    EXPECT_FALSE(fresh.Control("Shape2")["visible"].toBool());
    EXPECT_EQ(fresh.State()["SelectionDragging"].toInt(), 0);
    EXPECT_EQ(Box(fresh.Control("Picture9")).size(), c.buffer);
  }
}

// A scripted drag to (100000, 100000) once crashed the copy and one to (50000, 50000) took
// 9.8 GB; 1e308 and INT_MAX overflowed int conversions, nan and inf reached them.
TEST_F(MouseTools, PositionsFarOffThePageAreClampedToItAndNonNumbersRefused) {
  for (const char* far : {"100000", "1e308", "2147483647", "-2147483648", "-1e308"}) {
    SCOPED_TRACE(far);
    WindowHarness fresh;
    const QString at = QStringLiteral("%1 %1\n").arg(far);
    ASSERT_EQ(fresh.Run("key 53\n" + Press(30, 100) + "mousemove Picture1 1 0 " + at +
                        "mouseup Picture1 1 0 " + at + "click Command14\n" +
                        "mousedown Picture1 1 0 " + at + "mouseup Picture1 1 0 " + at),
              0)
        << fresh.LastError().toStdString();
    const QRect page = fresh.Form().Page().Image().rect();
    const QSize buffer = Box(fresh.Control("Picture9")).size();
    EXPECT_LE(buffer.width(), page.width());
    EXPECT_LE(buffer.height(), page.height());
    const QJsonObject cursor = fresh.Dump()["cursor"].toObject();
    EXPECT_TRUE(page.contains(QPoint(cursor["left"].toInt(), cursor["top"].toInt())));
    // The eraser and the staff panel take such positions as well.
    EXPECT_EQ(fresh.Run("select Combo3 50\nmousedown Picture1 1 0 " + at +
                        "mousemove Label10 0 0 " + at + "mousedown Label10 1 0 " + at),
              0)
        << fresh.LastError().toStdString();
  }
  for (const char* bad : {"nan", "inf", "-inf"}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(w.Run(QStringLiteral("mousedown Picture1 1 0 %1 100\n").arg(bad)), 1);
    EXPECT_TRUE(w.LastError().contains("bad number")) << w.LastError().toStdString();
  }
}

// Moves without a press, and presses of other buttons, select nothing.
TEST_F(MouseTools, OnlyTheLeftButtonSelects) {
  RunOrFail("key 53\nmousedown Picture1 2 0 300 300\nmousemove Picture1 2 0 400 400\n" +
            Drag(400, 400) + "mouseup Picture1 2 0 400 400\n");
  EXPECT_EQ(Cursor(), QPointF(32, 96));
  EXPECT_FALSE(w.Control("Shape2")["visible"].toBool());
  EXPECT_EQ(w.State()["BarUnits"].toInt(), 8);
  EXPECT_EQ(Box(w.Control("Picture9")).size(), QSize(417, 49));
}

TEST_F(MouseTools, PasteAndClearAtTheCursor) {
  RunOrFail("key 53\nkey 50\nkey 72\nkey 51\n");
  const QImage typed = Page().copy(20, 96, 66, 60);
  RunOrFail(Press(23, 96) + Drag(89, 160) + Release(89, 160));
  ASSERT_EQ(Box(w.Control("Picture9")).size(), QSize(66, 60));
  // The copy leaves the page as it was and can be stamped anywhere, again and again. The cursor
  // moves by keys: a click on the page would make a new 12 x 40 selection.
  const QString toSecond = Repeat("key 39\n", 15) + Repeat("key 40\n", 2);  // (200, 216)
  const QString toThird = Repeat("key 39\n", 25) + Repeat("key 40\n", 2);   // (500, 336)
  RunOrFail(toSecond + "click Command14\n" + toThird + "click Command14\n");
  EXPECT_EQ(Page().copy(20, 96, 66, 60), typed);
  EXPECT_EQ(Page().copy(200, 216, 66, 60), typed);
  EXPECT_EQ(Page().copy(500, 336, 66, 60), typed);
  EXPECT_EQ(Cursor(), QPointF(500, 336));
  // Clear blanks the selection's size at the cursor and empties the buffer for later pastes.
  RunOrFail("click Command15\n");
  EXPECT_TRUE(AllWhite(Page(), QRect(500, 336, 66, 60)));
  EXPECT_EQ(Page().copy(200, 216, 66, 60), typed);
  RunOrFail(ClickAt(203, 216) + "click Command14\n");
  EXPECT_TRUE(AllWhite(Page(), QRect(200, 216, 66, 60)));
  EXPECT_EQ(Page().copy(20, 96, 66, 60), typed);
  EXPECT_EQ(Box(w.Control("Picture9")).size(), QSize(66, 60));
}

// The copy buffer belongs to the window, not to the score: what was copied from one score can
// be pasted into the next.
TEST_F(MouseTools, CopyBufferSurvivesNew) {
  RunOrFail("key 53\nkey 50\nkey 72\nkey 51\n");
  const QImage typed = Page().copy(20, 96, 66, 60);
  RunOrFail(Press(23, 96) + Drag(89, 160) + Release(89, 160) + "click Command1(6)\n");
  ASSERT_TRUE(AllWhite(Page(), QRect(20, 96, 66, 60)));
  RunOrFail("click Command14\n");
  EXPECT_EQ(Page().copy(20, 96, 66, 60), typed);
}

// Before anything was copied the buffer is the white start-up picture of 417 x 49.
TEST_F(MouseTools, PasteBeforeAnyCopyStampsTheWhiteBuffer) {
  const QRect area(0, 60, 600, 200);
  w.Form().Page().FillRect(area, Qt::black);
  RunOrFail("click Command14\n");
  EXPECT_EQ(Repainted(Page(), area), QRect(20, 96, 417, 49));
  EXPECT_TRUE(AllWhite(Page(), QRect(20, 96, 417, 49)));
}

TEST_F(MouseTools, EraserSquare) {
  const QRect area(100, 200, 300, 200);
  w.Form().Page().FillRect(area, Qt::black);
  RunOrFail("key 53\nselect Combo3 5\n");
  EXPECT_EQ(Box(w.Control("Shape1")).size(), QSize(5, 5));
  // Hovering moves the square without erasing; its corner at 197.5 rounds half to even.
  RunOrFail("mousemove Picture1 0 0 200 300\n");
  EXPECT_EQ(Box(w.Control("Shape1")), QRect(198, 298, 5, 5));
  EXPECT_EQ(Repainted(Page(), area), QRect());
  EXPECT_EQ(w.Control("Shape1")["pressed"].toInt(), 0);
  RunOrFail(Press(200, 300));
  EXPECT_EQ(w.Control("Shape1")["pressed"].toInt(), 1);
  EXPECT_EQ(w.State()["EraserPressed"].toInt(), 1);
  EXPECT_EQ(Repainted(Page(), area), QRect(198, 298, 5, 5));
  // Held, every move paints; released, the square only follows.
  RunOrFail(Drag(300, 300) + Release(300, 300) + "mousemove Picture1 0 0 350 350\n");
  EXPECT_EQ(Repainted(Page(), area), QRect(198, 298, 105, 5));
  EXPECT_EQ(w.Control("Shape1")["pressed"].toInt(), 0);
  EXPECT_EQ(w.State()["EraserPressed"].toInt(), 0);
  // The eraser leaves the cursor and the engine state alone.
  EXPECT_EQ(Cursor(), QPointF(32, 96));
  EXPECT_EQ(w.State()["BarUnits"].toInt(), 8);
  RunOrFail("select Combo3 0\n");
  const QJsonObject shape = w.Control("Shape1");
  EXPECT_EQ(shape["top"].toInt(), -999);
  EXPECT_EQ(Box(shape).size(), QSize(0, 0));
}

// A click on the page parks the title-block pickers and ends the overlay selection.
TEST_F(MouseTools, ClickParksPickersAndEndsTheSelection) {
  RunOrFail(
      "select List1 0\nkey 68\nclick Command5\nclick Label7(0)\n"
      "mousedown Label2(0) 1 0 2 2\nmouseup Label2(0) 1 0 2 2\n");
  ASSERT_EQ(w.State()["SelectedOverlay"].toInt(), 0);
  ASSERT_NE(w.Control("Combo1(0)")["top"].toInt(), -5000);
  RunOrFail("click Picture1\n");
  EXPECT_EQ(w.Control("Combo1(0)")["top"].toInt(), -5000);
  EXPECT_EQ(w.State()["SelectedOverlay"].toInt(), -1);
  EXPECT_EQ(w.Control("Label7(0)")["color"].toString(), "#000000");
}

}  // namespace
}  // namespace tarvesh::testing
