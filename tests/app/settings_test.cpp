#include <gtest/gtest.h>
#include <QJsonArray>

#include "app/windowharness.h"

namespace tarvesh::testing {
namespace {

int ShownGuideMarks(WindowHarness& window) {
  const QJsonObject controls = window.Dump()["controls"].toObject();
  int shown = 0;
  for (int i = 0; i < 889; ++i)
    if (controls[QStringLiteral("Line2(%1)").arg(i)].toObject()["visible"].toBool()) ++shown;
  return shown;
}

struct SliderCase {
  const char* script;
  const char* caption;  // the label of the slider that was moved
  const char* text;
  int pageWidth;
};

// A slider change rewrites its caption with the row's prefix and lays the page out again.
const SliderCase kSliderCases[] = {
    {"set HScroll2(0) 124\n", "Label4(0)", "小节宽度 124", 1020},
    {"set HScroll2(1) 9\n", "Label4(1)", "第行小节数 9", 9 * 120 + 28},
    {"set HScroll2(2) 70\n", "Label4(2)", "行距 70", 988},
    {"set HScroll2(3) 24\n", "Label4(3)", "和弦距离 24", 988},
    {"set HScroll2(1) 4\nset HScroll2(0) 60\n", "Label4(0)", "小节宽度 60", 4 * 60 + 28},
};

TEST(LayoutSliders, ChangeRewritesCaptionAndResizesPage) {
  for (const SliderCase& c : kSliderCases) {
    SCOPED_TRACE(c.script);
    WindowHarness window;
    ASSERT_EQ(window.Run(QString::fromUtf8(c.script)), 0) << window.LastError().toStdString();
    EXPECT_EQ(window.Control(c.caption)["text"].toString(), QString::fromUtf8(c.text));
    const QJsonObject page = window.Dump()["page"].toObject();
    EXPECT_EQ(page["width"].toInt(), c.pageWidth);
    EXPECT_EQ(window.Control("Label1")["width"].toInt(), c.pageWidth);
    EXPECT_EQ(window.Control("Line3")["x1"].toInt(), c.pageWidth - 14);
  }
}

// The margin line that a right-click on the title moved shows whether the page was laid out.
TEST(LayoutSliders, SliderSetToItsValueDoesNotLayOutAgain) {
  WindowHarness window;
  ASSERT_EQ(window.Run("mousedown Label1 2 0 500 5\nset HScroll2(0) 120\nset HScroll2(1) 8\n"), 0);
  EXPECT_EQ(window.Control("Line3")["x1"].toInt(), 500);
  EXPECT_EQ(window.Control("Label4(0)")["text"].toString(), "小节宽度 120");
  EXPECT_EQ(window.Control("Label4(1)")["text"].toString(), "每行小节数 8");
  ASSERT_EQ(window.Run("set HScroll2(3) 24\n"), 0);
  EXPECT_EQ(window.Control("Line3")["x1"].toInt(), 974);
}

struct SpacingCase {
  const char* label;
  int index;
  int clicks;
  const char* shown;
  double value;
};

// Both labels of a spacing step through 0 -> 0.5 -> 1 -> 0.
const SpacingCase kSpacingCases[] = {
    {"Label6(1)", 1, 1, "1", 1.0},   {"Label6(1)", 1, 2, "0", 0.0},
    {"Label6(1)", 1, 3, "0.5", 0.5}, {"Label6s(1)", 1, 1, "1", 1.0},
    {"Label6s(1)", 1, 2, "0", 0.0},  {"Label6s(1)", 1, 3, "0.5", 0.5},
    {"Label6(2)", 2, 1, "0.5", 0.5}, {"Label6(4)", 4, 1, "1", 1.0},
    {"Label6s(3)", 3, 3, "0", 0.0},
};

TEST(NoteSpacing, LabelsCycleTheValue) {
  for (const SpacingCase& c : kSpacingCases) {
    SCOPED_TRACE(QStringLiteral("%1 x%2").arg(c.label).arg(c.clicks).toStdString());
    WindowHarness window;
    QString script;
    for (int i = 0; i < c.clicks; ++i) script += QStringLiteral("click %1\n").arg(c.label);
    ASSERT_EQ(window.Run(script), 0) << window.LastError().toStdString();
    EXPECT_EQ(window.Control(QStringLiteral("Label6s(%1)").arg(c.index))["text"].toString(),
              QString::fromUtf8(c.shown));
    EXPECT_EQ(window.State()["NoteSpacing"].toArray()[c.index].toDouble(), c.value);
  }
}

struct SwitchCase {
  const char* script;
  int on[4];
};

// The Esc key must always have a duration to step to: the last switch on cannot go off.
const SwitchCase kSwitchCases[] = {
    {"click Check5(1)\n", {1, 0, 0, 0}},
    {"click Check5(1)\nclick Check5(0)\n", {1, 0, 0, 0}},
    {"click Check5(2)\nclick Check5(1)\nclick Check5(0)\n", {0, 0, 1, 0}},
    {"click Check5(2)\nclick Check5(1)\nclick Check5(0)\nclick Check5(2)\n", {0, 0, 1, 0}},
    {"click Check5(3)\n", {1, 1, 0, 1}},
};

TEST(DurationSwitches, LastSwitchOnStaysOn) {
  for (const SwitchCase& c : kSwitchCases) {
    SCOPED_TRACE(c.script);
    WindowHarness window;
    ASSERT_EQ(window.Run(QString::fromUtf8(c.script)), 0) << window.LastError().toStdString();
    for (int i = 0; i < 4; ++i)
      EXPECT_EQ(window.Control(QStringLiteral("Check5(%1)").arg(i))["value"].toInt(), c.on[i])
          << "Check5(" << i << ")";
  }
}

TEST(GuideMarks, SwitchHidesAndShowsTheMarksOfTheCurrentLayout) {
  WindowHarness window;
  ASSERT_EQ(window.Run("set HScroll2(1) 16\n"), 0);
  EXPECT_EQ(ShownGuideMarks(window), 16 * 33);
  ASSERT_EQ(window.Run("set Check2 0\n"), 0);
  EXPECT_EQ(ShownGuideMarks(window), 0);
  // Hidden marks follow a slider change without showing up.
  ASSERT_EQ(window.Run("set HScroll2(2) 50\n"), 0);
  EXPECT_EQ(ShownGuideMarks(window), 0);
  ASSERT_EQ(window.Run("set Check2 1\n"), 0);
  EXPECT_EQ(ShownGuideMarks(window), 640);
  const QJsonObject last = window.Control("Line2(639)");
  EXPECT_EQ(last["x1"].toInt(), 16 * 120 + 14);
  EXPECT_EQ(last["y1"].toInt(), 96 + 39 * 50);
  ASSERT_EQ(window.Run("set HScroll2(1) 4\n"), 0);
  EXPECT_EQ(ShownGuideMarks(window), 4 * 40);
}

}  // namespace
}  // namespace tarvesh::testing
