#include <gtest/gtest.h>
#include <QJsonArray>

#include "app/windowharness.h"
#include "kit/labelcontrol.h"
#include "page/rounding.h"
#include "page/scorepage.h"

namespace tarvesh::testing {
namespace {

const char* const kPickers[] = {"Combo1(0)", "Combo1(1)",  "Combo1(2)",  "Combo1(3)", "Combo1(6)",
                                "Combo1(7)", "Combo1(12)", "Combo1(13)", "HScroll1",  "List2"};

struct PickerCase {
  const char* label;
  const char* picker;  // nullptr: the label has none
  int top;
  int index;
};

// A mouse-down parks every open picker first, then brings the label's own picker to the label's
// top with the label's entry selected.
const PickerCase kPickerCases[] = {
    {"Label2(2)", "Combo1(2)", 48, 0},   {"Label2(0)", "Combo1(0)", 40, 2},
    {"Label2(1)", "Combo1(1)", 56, 0},   {"Label2(7)", "Combo1(7)", 608, 2},
    {"Label2(6)", "Combo1(6)", 624, 0},  {"Label2(3)", "Combo1(3)", 48, 0},
    {"Label2(13)", "Combo1(13)", 40, 2}, {"Label2(12)", "Combo1(12)", 56, 0},
    {"Label2(8)", nullptr, 0, 0},        {"Label2(9)", nullptr, 0, 0},
    {"Label2(11)", nullptr, 0, 0},       {"Label2(14)", nullptr, 0, 0},
};

TEST(TitleBlockPickers, MouseDownOpensTheLabelsPicker) {
  for (const PickerCase& c : kPickerCases) {
    SCOPED_TRACE(c.label);
    WindowHarness window;
    ASSERT_EQ(window.Run(QStringLiteral("mousedown Label2(4) 1 0 5 5\nmousedown Label2(4) 2 0 5 5\n"
                                        "mousedown %1 1 0 5 5\n")
                             .arg(c.label)),
              0)
        << window.LastError().toStdString();
    const QJsonObject controls = window.Dump()["controls"].toObject();
    for (const char* picker : kPickers) {
      SCOPED_TRACE(picker);
      const QJsonObject control = controls[picker].toObject();
      if (c.picker && QLatin1String(picker) == QLatin1String(c.picker)) {
        EXPECT_EQ(control["top"].toInt(), c.top);
        EXPECT_EQ(control["index"].toInt(), c.index);
      } else {
        EXPECT_EQ(control["top"].toInt(), -5000);
      }
    }
  }
}

struct SelectionCase {
  const char* script;
  const char* pageNumerator;
  const char* pageDenominator;
  const char* beatsLabel;
  const char* unitLabel;
  int beatsPerBar;
  int beatUnit;
};

// The page's time signature drives the working one; the working pickers leave the page alone.
const SelectionCase kSelectionCases[] = {
    {"select Combo1(0) 1\n", "3", "4", "3", "4", 3, 4},
    {"select Combo1(1) 1\n", "4", "8", "4", "8", 4, 8},
    {"select Combo1(6) 1\n", "4", "4", "4", "8", 4, 8},
    {"select Combo1(7) 4\n", "4", "4", "6", "4", 6, 4},
    {"select Combo1(0) 0\nselect Combo1(7) 3\n", "2", "4", "5", "4", 5, 4},
};

TEST(TitleBlockPickers, SelectionSetsTimeSignatures) {
  for (const SelectionCase& c : kSelectionCases) {
    SCOPED_TRACE(c.script);
    WindowHarness window;
    ASSERT_EQ(window.Run(QStringLiteral("mousedown Label2(0) 1 0 5 5\n") + c.script), 0)
        << window.LastError().toStdString();
    EXPECT_EQ(window.Control("Label2(0)")["text"].toString(), c.pageNumerator);
    EXPECT_EQ(window.Control("Label2(1)")["text"].toString(), c.pageDenominator);
    EXPECT_EQ(window.Control("Label2(7)")["text"].toString(), c.beatsLabel);
    EXPECT_EQ(window.Control("Label2(6)")["text"].toString(), c.unitLabel);
    EXPECT_EQ(window.State()["BeatsPerBar"].toInt(), c.beatsPerBar);
    EXPECT_EQ(window.State()["BeatUnit"].toInt(), c.beatUnit);
    EXPECT_EQ(window.Control("Combo1(0)")["top"].toInt(), -5000);
  }
}

TEST(TitleBlockPickers, ChosenKeyShowsAndParksThePicker) {
  WindowHarness window;
  ASSERT_EQ(window.Run("mousedown Label2(2) 1 0 5 5\nselect Combo1(2) 3\n"), 0);
  EXPECT_EQ(window.Control("Label2(2)")["text"].toString(), "bE");
  EXPECT_EQ(window.Control("Combo1(2)")["top"].toInt(), -5000);
  // Opening it again selects the entry the label shows.
  ASSERT_EQ(window.Run("mousedown Label2(2) 1 0 5 5\n"), 0);
  EXPECT_EQ(window.Control("Combo1(2)")["top"].toInt(), 48);
  EXPECT_EQ(window.Control("Combo1(2)")["index"].toInt(), 3);
}

struct TextCase {
  const char* script;
  const char* label;
  const char* text;
  const char* prompt;
  const char* proposed;
};

// Input boxes: an empty answer gives the default text, a cancel keeps the old one.
const TextCase kTextCases[] = {
    {"answer \"张三 编\"\nmousedown Label2(5) 1 0 5 5\n", "Label2(5)", "张三 编", "请输入备注",
     "Morliva 制谱"},
    {"answer \"\"\nmousedown Label2(5) 2 0 5 5\n", "Label2(5)", "编曲", "请输入备注",
     "Morliva 制谱"},
    {"answer-cancel\nmousedown Label2(5) 1 0 5 5\n", "Label2(5)", "Morliva 制谱", "请输入备注",
     "Morliva 制谱"},
    {"answer \"\"\nmousedown Label2(10) 1 0 5 5\n", "Label2(10)", "编曲", "请输入备注",
     "Morliva 制谱"},
    {"answer \"新歌\"\ndblclick Label1\n", "Label1", "新歌", "请输入标题", "标题"},
    {"answer \"a\"\ndblclick Label1\nanswer \"\"\ndblclick Label1\n", "Label1", "标题",
     "请输入标题", "a"},
    {"answer-cancel\ndblclick Label1\n", "Label1", "标题", "请输入标题", "标题"},
    {"answer \"第二首\"\nclick Label14\n", "Label14", "第二首", "请输入标题", "标题"},
    {"answer \"\"\nclick Label14\n", "Label14", "标题", "请输入标题", "标题"},
    {"answer-cancel\nclick Label14\n", "Label14", "标题", "请输入标题", "标题"},
};

TEST(TitleBlockTexts, InputBoxesSetCaptions) {
  for (const TextCase& c : kTextCases) {
    SCOPED_TRACE(c.script);
    WindowHarness window;
    ASSERT_EQ(window.Run(QString::fromUtf8(c.script)), 0) << window.LastError().toStdString();
    EXPECT_EQ(window.Control(c.label)["text"].toString(), QString::fromUtf8(c.text));
    const QJsonArray events = window.Dump()["events"].toArray();
    ASSERT_FALSE(events.isEmpty());
    const QJsonObject input = events.last().toObject();
    EXPECT_EQ(input["input"].toString(), QString::fromUtf8(c.prompt));
    EXPECT_EQ(input["title"].toString(), "提示");
    EXPECT_EQ(input["default"].toString(), QString::fromUtf8(c.proposed));
  }
}

// The credit is aligned to the right edge by the page layout, with the width of its new text.
TEST(TitleBlockTexts, LayoutAlignsANewCreditToTheRightEdge) {
  WindowHarness window;
  ASSERT_EQ(window.Run("answer \"很长很长的一个备注\"\nmousedown Label2(5) 1 0 5 5\n"
                       "set HScroll2(0) 124\n"),
            0);
  const QJsonObject credit = window.Control("Label2(5)");
  EXPECT_EQ(credit["left"].toInt() + credit["width"].toInt(), 1020 - 32);
}

TEST(TitleBlockTexts, RightMouseDownOnTitleMovesMarginLine) {
  WindowHarness window;
  ASSERT_EQ(window.Run("mousedown Label1 1 0 300 5\nmousedown Label1 4 0 300 5\n"), 0);
  EXPECT_EQ(window.Control("Line3")["x1"].toInt(), 974);
  ASSERT_EQ(window.Run("mousedown Label1 2 0 500 5\n"), 0);
  const QJsonObject line = window.Control("Line3");
  EXPECT_EQ(line["x1"].toInt(), 500);
  EXPECT_EQ(line["x2"].toInt(), 500);
  EXPECT_EQ(line["y1"].toInt(), 24);
  EXPECT_EQ(line["y2"].toInt(), 56);
}

// The cursor's line is six lines down: top 96 + 6 x 60.
const char* const kSixLinesDown = "key 13\nkey 13\nkey 13\nkey 13\nkey 13\nkey 13\n";

// Draws `text` onto `page` as the page's text output does, at a given top-left.
void Print(page::ScorePage& page, double points, int x, int y, const QString& text) {
  page.SetFont(points, false);
  page.SetTextPosition(QPointF(x, y));
  page.DrawText(text);
}

TEST(NewTitle, ConfirmPrintsTheBlockAtTheCursorsLine) {
  WindowHarness window;
  ASSERT_EQ(window.Run(QString::fromUtf8(kSixLinesDown)), 0) << window.LastError().toStdString();
  ASSERT_EQ(window.Form().Page().CursorTop(), 456);
  ASSERT_EQ(window.Run("key 80\n"
                       "answer \"第二首\"\nclick Label14\n"
                       "mousedown Label2(3) 1 0 5 5\nselect Combo1(3) 10\n"
                       "mousedown Label2(13) 1 0 5 5\nselect Combo1(13) 1\n"
                       "mousedown Label2(12) 1 0 5 5\nselect Combo1(12) 1\n"
                       "answer \"王五\"\nmousedown Label2(10) 1 0 5 5\n"
                       "select Combo4 7\n"
                       "click Command11\n"),
            0)
      << window.LastError().toStdString();

  const page::ScorePage& printed = window.Form().Page();
  const int w = printed.Width();
  page::ScorePage reference(w, printed.Height());
  reference.SetFont(15.75, false);
  Print(reference, 15.75, page::RoundHalfEven((w - reference.TextWidth("第二首")) / 2.0), 476,
        "第二首");
  Print(reference, 10.5, 16, 516, "1=bB");
  Print(reference, 10.5, 48, 517, "─");
  Print(reference, 10.5, 52, 509, "3");
  Print(reference, 10.5, 52, 523, "8");
  Print(reference, 10.5, 96, 516, "快板");
  Print(reference, 10.5, w - 40 - reference.TextWidth("王五"), 516, "王五");
  EXPECT_TRUE(printed.Image() == reference.Image());

  EXPECT_EQ(printed.CursorTop(), 456);
  EXPECT_EQ(printed.FontPointSize(), 18);
  EXPECT_TRUE(printed.FontBold());
  EXPECT_FALSE(window.Control("Picture8")["visible"].toBool());
  // The new piece's time signature becomes the working one; the page's head stays.
  EXPECT_EQ(window.State()["BeatsPerBar"].toInt(), 3);
  EXPECT_EQ(window.State()["BeatUnit"].toInt(), 8);
  EXPECT_EQ(window.Control("Label2(7)")["text"].toString(), "3");
  EXPECT_EQ(window.Control("Label2(6)")["text"].toString(), "8");
  EXPECT_EQ(window.Control("Label2(0)")["text"].toString(), "4");
  EXPECT_EQ(window.Control("Label2(1)")["text"].toString(), "4");
  EXPECT_EQ(window.Control("Label2(2)")["text"].toString(), "C");
}

TEST(NewTitle, CancelPrintsNothing) {
  WindowHarness window;
  ASSERT_EQ(window.Run("key 80\nmousedown Label2(13) 1 0 5 5\nselect Combo1(13) 1\n"), 0);
  ASSERT_TRUE(window.Control("Picture8")["visible"].toBool());
  ASSERT_EQ(window.Run("click Command12\n"), 0);
  EXPECT_FALSE(window.Control("Picture8")["visible"].toBool());
  const page::ScorePage& page = window.Form().Page();
  EXPECT_TRUE(page.Image() == page::ScorePage(page.Width(), page.Height()).Image());
  EXPECT_EQ(window.State()["BeatsPerBar"].toInt(), 4);
}

struct StaffKeyCase {
  int keyEntry;  // in Combo1(3)
  const char* staffKey;
};

// The staff key is the first entry holding the key's letter, case-sensitively: "b" of a flat
// key is no letter of any entry's name, "B" is.
const StaffKeyCase kStaffKeyCases[] = {
    {10, "B or bB"}, {5, "F or #F"}, {6, "G or bG"}, {3, "E or bE"}, {1, "D or bD"}, {0, "C or #C"},
};

TEST(NewTitle, ConfirmSelectsTheStaffKey) {
  for (const StaffKeyCase& c : kStaffKeyCases) {
    SCOPED_TRACE(c.staffKey);
    WindowHarness window;
    ASSERT_EQ(window.Run(QStringLiteral("select Combo2 3\nkey 80\nselect Combo1(3) %1\n"
                                        "click Command11\n")
                             .arg(c.keyEntry)),
              0)
        << window.LastError().toStdString();
    EXPECT_EQ(window.Control("Combo2")["text"].toString(), c.staffKey);
  }
}

// The page's tempo text as an opened document may bring it.
void SetPageTempo(WindowHarness& window, const QString& text) {
  window.Form().Controls().Get<kit::LabelControl>("Label2(4)")->SetCaption(text);
}

struct TempoCase {
  const char* caption;  // the page's tempo before the mouse-down
  int slider;
  const char* shown;
};

// The number starts at the fourth character; one outside 30..150 is not applied, and a slider
// that keeps its value leaves the label as it was.
const TempoCase kTempoCases[] = {
    {"每分钟120拍", 120, "每分钟120拍"}, {"每分钟150拍", 150, "每分钟150拍"},
    {"每分钟30拍", 30, "每分钟30拍"},    {"每分钟151拍", 72, "每分钟151拍"},
    {"每分钟29拍", 72, "每分钟29拍"},    {"快板", 72, "快板"},
    {"每分钟90.5拍", 90, "每分钟90拍"},  {"每分钟91.5拍", 92, "每分钟92拍"},
    {"每分钟072拍", 72, "每分钟072拍"},  {"每分钟 100 拍", 100, "每分钟100拍"},
};

TEST(Tempo, LeftMouseDownOpensTheSliderAtTheLabelsNumber) {
  for (const TempoCase& c : kTempoCases) {
    SCOPED_TRACE(c.caption);
    WindowHarness window;
    SetPageTempo(window, QString::fromUtf8(c.caption));
    ASSERT_EQ(window.Run("mousedown Label2(4) 1 0 5 5\n"), 0) << window.LastError().toStdString();
    const QJsonObject slider = window.Control("HScroll1");
    EXPECT_EQ(slider["top"].toInt(), 72);
    EXPECT_EQ(slider["value"].toInt(), c.slider);
    EXPECT_EQ(window.Control("Label2(4)")["text"].toString(), QString::fromUtf8(c.shown));
    EXPECT_EQ(window.Control("List2")["top"].toInt(), -5000);
  }
}

TEST(Tempo, TextTempoKeepsTheSliderUntilItMoves) {
  WindowHarness window;
  ASSERT_EQ(window.Run("mousedown Label2(4) 1 0 5 5\nset HScroll1 120\n"
                       "mousedown Label2(4) 2 0 5 5\nselect List2 7\ndblclick List2\n"),
            0)
      << window.LastError().toStdString();
  EXPECT_EQ(window.Control("Label2(4)")["text"].toString(), "快板");
  EXPECT_EQ(window.Control("List2")["top"].toInt(), -5000);
  ASSERT_EQ(window.Run("mousedown Label2(4) 1 0 5 5\n"), 0);
  EXPECT_EQ(window.Control("HScroll1")["value"].toInt(), 120);
  EXPECT_EQ(window.Control("Label2(4)")["text"].toString(), "快板");
  ASSERT_EQ(window.Run("set HScroll1 121\n"), 0);
  EXPECT_EQ(window.Control("Label2(4)")["text"].toString(), "每分钟121拍");
}

TEST(Tempo, RightMouseDownSelectsTheEqualListEntry) {
  WindowHarness window;
  // A metronome text is in no list entry: the selection stays.
  ASSERT_EQ(window.Run("select List2 2\nmousedown Label2(4) 2 0 5 5\n"), 0);
  EXPECT_EQ(window.Control("List2")["top"].toInt(), 64);
  EXPECT_EQ(window.Control("List2")["index"].toInt(), 2);
  EXPECT_EQ(window.Control("HScroll1")["top"].toInt(), -5000);
  SetPageTempo(window, "快板");
  ASSERT_EQ(window.Run("mousedown Label2(4) 2 0 5 5\n"), 0);
  EXPECT_EQ(window.Control("List2")["index"].toInt(), 7);
}

TEST(Tempo, NewTitleTempoFollowsItsSliderAndList) {
  WindowHarness window;
  ASSERT_EQ(window.Run("set HScroll3 100\n"), 0);
  EXPECT_EQ(window.Control("Label2(8)")["text"].toString(), "每分钟100拍");
  ASSERT_EQ(window.Run("select Combo4 0\n"), 0);
  EXPECT_EQ(window.Control("Label2(8)")["text"].toString(), "慢板");
  EXPECT_EQ(window.Control("Label2(4)")["text"].toString(), "每分钟72拍");
}

struct PageNumberCase {
  const char* script;
  int number;
  const char* shown;
};

// The number is the answer's leading decimal number, rounded halves to even and kept to 16 bits;
// the pattern shows with the next entry only. The page starts as number 1, as its label says.
const PageNumberCase kPageNumberCases[] = {
    {"answer \"3\"\nclick Label16\n", 3, "< 3 >"},
    {"answer \"12ab\"\nclick Label16\n", 12, "< 12 >"},
    {"answer \"abc\"\nclick Label16\n", 0, "< 0 >"},
    {"answer \"2.5\"\nclick Label16\n", 2, "< 2 >"},
    {"answer \"3.5\"\nclick Label16\n", 4, "< 4 >"},
    {"answer \"7\"\nclick Label16\nanswer \"\"\nclick Label16\n", 0, "< 0 >"},
    {"answer \"-7\"\nclick Label16\n", -7, "< -7 >"},
    {"answer \"99999\"\nclick Label16\n", 32767, "< 32767 >"},
    {"answer \"-40000\"\nclick Label16\n", -32768, "< -32768 >"},
    {"answer-cancel\nclick Label16\n", 1, "< 1 >"},
    {"answer \"p-p\"\nclick Label18\nanswer \"5\"\nclick Label16\n", 5, "5-5"},
    {"answer \"第页\"\nclick Label18\nanswer \"5\"\nclick Label16\n", 5, "第页"},
    {"answer \"P.p\"\nclick Label18\nanswer \"9\"\nclick Label16\n", 9, "P.9"},
    {"answer \"\"\nclick Label18\nanswer \"9\"\nclick Label16\n", 9, ""},
    {"answer \"[p]\"\nclick Label18\n", 1, "< 1 >"},
    {"answer \"2\"\nclick Label16\nanswer \"[p]\"\nclick Label18\n", 2, "< 2 >"},
    {"answer \"[p]\"\nclick Label18\nanswer-cancel\nclick Label18\nanswer \"4\"\nclick Label16\n",
     4, "[4]"},
};

TEST(PageNumbering, EntrySetsNumberAndLabel) {
  for (const PageNumberCase& c : kPageNumberCases) {
    SCOPED_TRACE(c.script);
    WindowHarness window;
    ASSERT_EQ(window.Run(QString::fromUtf8(c.script)), 0) << window.LastError().toStdString();
    EXPECT_EQ(window.State()["PageNumber"].toInt(), c.number);
    EXPECT_EQ(window.Control("Label16")["text"].toString(), QString::fromUtf8(c.shown));
  }
}

TEST(PageNumbering, EntryProposesTheNumberAndKeepsTheLabelsLeft) {
  WindowHarness window;
  const int left = window.Control("Label16")["left"].toInt();
  ASSERT_EQ(window.Run("answer \"1234\"\nclick Label16\nanswer \"8\"\nclick Label16\n"), 0);
  const QJsonArray events = window.Dump()["events"].toArray();
  ASSERT_GE(events.size(), 2);
  EXPECT_EQ(events[events.size() - 2].toObject()["default"].toString(), "1");
  EXPECT_EQ(events.last().toObject()["default"].toString(), "1234");
  EXPECT_EQ(events.last().toObject()["input"].toString(), "请输入页数");
  EXPECT_EQ(window.Control("Label16")["left"].toInt(), left);
}

}  // namespace
}  // namespace tarvesh::testing
