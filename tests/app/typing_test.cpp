#include <gtest/gtest.h>
#include <QJsonArray>

#include "app/windowharness.h"
#include "page/glyphatlas.h"

namespace tarvesh::testing {
namespace {

constexpr int kFirstTop = 96;
constexpr int kSecondTop = 156;
constexpr QRgb kWhite = 0xffffffff;

bool Ink(const QImage& page, int x, int y) {
  return page.pixel(x, y) != kWhite;
}

// Left edges of the cells on the line at `top`, between `from` and `to`, that hold exactly the
// note atlas cell of `column` and duration `row`.
QList<int> CellsOf(const QImage& page, int top, int column, int row, int from = 14, int to = 200) {
  static const QImage picmode = page::GlyphAtlas::Load(TARVESH_DATA_DIR, nullptr)->Picmode;
  const QImage glyph = picmode.copy(12 * column, 40 * row, 12, 40).convertToFormat(page.format());
  QList<int> cells;
  for (int x = from; x <= to; ++x)
    if (page.copy(x, top, 12, 40) == glyph) cells.append(x);
  return cells;
}

// Bar lines on the line at `top`: ink in both probe rows 5 and 32, which only bar-line glyphs
// have. A run of adjacent columns is one bar line.
int BarLines(const QImage& page, int top) {
  int count = 0;
  bool inRun = false;
  for (int x = 0; x < page.width(); ++x) {
    const bool bar = Ink(page, x, top + 5) && Ink(page, x, top + 32);
    if (bar && !inRun) ++count;
    inRun = bar;
  }
  return count;
}

QStringList Sounds(const QJsonArray& events) {
  QStringList sounds;
  for (const auto& event : events)
    if (event.toObject().contains("sound")) sounds << event.toObject()["sound"].toString();
  return sounds;
}

QString Keys(std::initializer_list<int> keys) {
  QString script;
  for (int key : keys) script += QStringLiteral("key %1\n").arg(key);
  return script;
}

QString Repeat(const QString& step, int times) {
  QString script;
  for (int i = 0; i < times; ++i) script += step;
  return script;
}

class Typing : public ::testing::Test {
 protected:
  void RunOrFail(const QString& script) {
    ASSERT_EQ(w.Run(script), 0) << w.LastError().toStdString();
  }
  double CursorLeft() { return w.Dump()["cursor"].toObject()["left"].toDouble(); }
  double CursorTop() { return w.Dump()["cursor"].toObject()["top"].toDouble(); }
  const QImage& Page() { return w.Form().Page().Image(); }

  WindowHarness w;
};

struct CellsCase {
  const char* name;
  QString script;
  int row;           // duration row of the notes typed, all of them the key 5
  QList<int> cells;  // where the 5s stand on the first line
  int cursorLeft;
};

// Where notes land: note spacing after quarters, beat gaps that take its place at a new beat,
// none between sixteenths inside a beat; Shift changes nothing.
TEST_F(Typing, NotesLandOnTheirCells) {
  const QString fives = Repeat("key 53\n", 3);
  const CellsCase cases[] = {
      {"quarters without beat gaps", "set Check8 0\n" + fives, 0, {20, 38, 56}, 68},
      {"quarters with beat gaps", fives, 0, {20, 38, 56}, 68},
      {"sixteenths", "key 98\n" + Repeat("key 53\n", 6), 2, {20, 32, 44, 56, 74, 86}, 98},
      {"eighths with Shift", "key 97\nkey 53 1\nkey 53 1\nkey 53 1\n", 1, {20, 38, 56}, 68},
      {"blank and rest between", "key 53\nkey 32\nkey 79\nkey 53\n", 0, {20, 68}, 80},
  };
  for (const CellsCase& c : cases) {
    SCOPED_TRACE(c.name);
    WindowHarness fresh;
    ASSERT_EQ(fresh.Run(c.script), 0) << fresh.LastError().toStdString();
    EXPECT_EQ(CellsOf(fresh.Form().Page().Image(), kFirstTop, 18, c.row), c.cells);
    EXPECT_EQ(fresh.Dump()["cursor"].toObject()["left"].toDouble(), c.cursorLeft);
  }
}

// Keypad 2 then the key 1: a sixteenth-note 1, two duration lines under it, and the cursor
// shows the sixteenth's picture.
TEST_F(Typing, KeypadDurationThenNote) {
  RunOrFail("key 98\nkey 49\n");
  const QImage& page = Page();
  EXPECT_EQ(CellsOf(page, kFirstTop, 14, 2), QList<int>{20});
  for (int x = 20; x < 32; ++x) {
    EXPECT_TRUE(Ink(page, x, kFirstTop + 26)) << x;
    EXPECT_TRUE(Ink(page, x, kFirstTop + 28)) << x;
    EXPECT_FALSE(Ink(page, x, kFirstTop + 30)) << x;
  }
  const QJsonObject dump = w.Dump();
  EXPECT_EQ(dump["cursor"].toObject()["picture"].toString(), "k2.bmp");
  EXPECT_EQ(dump["state"].toObject()["CurrentDurationRow"].toInt(), 2);
  EXPECT_EQ(dump["controls"].toObject()["Option1(2)"].toObject()["value"].toInt(), 1);
}

struct DurationCase {
  const char* name;
  QString script;
  int row;
};

TEST_F(Typing, DurationKeys) {
  const DurationCase cases[] = {
      {"Esc from quarter", "key 27\n", 1},
      {"Esc twice comes back to quarter", "key 27\nkey 27\n", 0},
      {"Esc from row 2 goes to row 0", "key 98\nkey 27\n", 0},
      {"Esc with the sixteenth switched on", "set Check5(2) 1\nkey 27\nkey 27\n", 2},
      {"Esc with one switch on stays", "set Check5(1) 0\nkey 27\n", 0},
      {"Page Up at 0", "key 33\n", 0},
      {"Page Down twice", "key 34\nkey 34\n", 2},
      {"Page Down at 3", "key 99\nkey 34\n", 3},
      {"keypad 1", "key 97\n", 1},
      {"keypad 3 with Shift", "key 99 1\n", 3},
      {"keypad 3 with Ctrl is no duration key", "key 96\nkey 99 2\n", 0},
  };
  for (const DurationCase& c : cases) {
    SCOPED_TRACE(c.name);
    WindowHarness fresh;
    ASSERT_EQ(fresh.Run(c.script), 0) << fresh.LastError().toStdString();
    const QJsonObject dump = fresh.Dump();
    EXPECT_EQ(dump["state"].toObject()["CurrentDurationRow"].toInt(), c.row);
    EXPECT_EQ(dump["cursor"].toObject()["picture"].toString(),
              QStringLiteral("k%1.bmp").arg(c.row));
    EXPECT_EQ(dump["controls"]
                  .toObject()[QStringLiteral("Option1(%1)").arg(c.row)]
                  .toObject()["value"]
                  .toInt(),
              1);
  }
}

// A duration key restarts the blink from the shown state even when the row does not change.
TEST_F(Typing, DurationKeysAtTheirLimitsRestartTheBlink) {
  for (const char* script : {"tick Timer1\nkey 33\n", "key 99\ntick Timer1\nkey 34\n"}) {
    SCOPED_TRACE(script);
    WindowHarness fresh;
    ASSERT_EQ(fresh.Run(script), 0);
    EXPECT_TRUE(fresh.Dump()["cursor"].toObject()["visible"].toBool());
    EXPECT_TRUE(fresh.Control("Timer1")["running"].toBool());
  }
  // Without a duration key the tick leaves the cursor hidden.
  RunOrFail("tick Timer1\n");
  EXPECT_FALSE(w.Dump()["cursor"].toObject()["visible"].toBool());
}

struct ModeKeyCase {
  int key;
  const char* control;
  const char* field;
  const char* start;
  const char* once;
};

// The mode keys press their buttons: the caption names the state now in force.
TEST_F(Typing, ModeKeysSwapTheirButtons) {
  const ModeKeyCase cases[] = {
      {75, "Command10", "NoteMode", "音符", "和弦"},
      {83, "Command2", "HalfWidthMode", "全字符", "半字符"},
      {45, "Command4", "InsertMode", "插入", "改写"},
  };
  for (const ModeKeyCase& c : cases) {
    SCOPED_TRACE(c.control);
    WindowHarness fresh;
    const int start = fresh.State()[c.field].toInt();
    for (int presses = 1; presses <= 3; ++presses) {
      ASSERT_EQ(fresh.Run(QStringLiteral("key %1\n").arg(c.key)), 0);
      const bool odd = presses % 2 == 1;
      EXPECT_EQ(fresh.Control(c.control)["text"].toString(),
                QString::fromUtf8(odd ? c.once : c.start));
      EXPECT_EQ(fresh.State()[c.field].toInt(), odd ? 1 - start : start);
    }
  }
}

// The letter keys that switch or mark never stamp a glyph; keypad 5 and 6 do nothing at all.
TEST_F(Typing, KeysWithoutGlyphsLeaveThePageAlone) {
  const QImage before = Page().copy();
  RunOrFail("key 83\nkey 83\nkey 71\nkey 75\nkey 75\nkey 101\nkey 102\nkey 36\nkey 35\n");
  EXPECT_EQ(Page(), before);
  EXPECT_EQ(CursorLeft(), 20);
  EXPECT_TRUE(Sounds(w.Dump()["events"].toArray()).isEmpty());
}

TEST_F(Typing, EnterWithoutJustificationStartsTheNextLine) {
  RunOrFail("set Check11 0\n" + Repeat("key 39\n", 15));
  ASSERT_EQ(CursorLeft(), 200);
  RunOrFail("key 13\n");
  EXPECT_EQ(CursorLeft(), 20);
  EXPECT_EQ(CursorTop(), kSecondTop);
  const QJsonObject dump = w.Dump();
  EXPECT_EQ(Sounds(dump["events"].toArray()), QStringList{"5.wav"});
  const QJsonObject state = dump["state"].toObject();
  EXPECT_EQ(state["JustifyTop"].toInt(), kFirstTop);
  EXPECT_EQ(state["PrevDurationRow"].toInt(), 5);
  EXPECT_EQ(state["LastGlyphWidth"].toInt(), 2);
  // The next note owes no spacing and starts a new bar count.
  RunOrFail("key 53\n");
  EXPECT_EQ(CellsOf(Page(), kSecondTop, 18, 0), QList<int>{20});
  EXPECT_EQ(w.State()["BarUnits"].toInt(), 8);
}

// The note that fills the last bar of a line: line break, then bar line, then the note.
TEST_F(Typing, SoundsWhenANoteFillsTheLastBar) {
  RunOrFail(Repeat("key 53\n", 31));
  const int before = Sounds(w.Dump()["events"].toArray()).size();
  RunOrFail("key 53\n");
  const QStringList sounds = Sounds(w.Dump()["events"].toArray());
  EXPECT_EQ(sounds.mid(before), (QStringList{"5.wav", "ding.wav", "kac.wav"}));
  EXPECT_EQ(CursorTop(), kSecondTop);
  EXPECT_EQ(CursorLeft(), 20);
}

TEST_F(Typing, SoundsOffPlayNothing) {
  RunOrFail("set Check9 0\n" + Keys({53, 72, 91, 13}) + Repeat("key 53\n", 4));
  EXPECT_TRUE(Sounds(w.Dump()["events"].toArray()).isEmpty());
  EXPECT_GT(BarLines(Page(), kSecondTop), 0);
}

// A whole tune in 4/4 typed without H or Enter: bar lines come after every fourth quarter, and
// the eighth bar line of a line starts the next one.
TEST_F(Typing, TuneGetsItsBarLinesAndLineBreaksByItself) {
  RunOrFail(Repeat("key 49\nkey 50\nkey 51\nkey 53\n", 10));
  EXPECT_EQ(BarLines(Page(), kFirstTop), 8);
  EXPECT_EQ(BarLines(Page(), kSecondTop), 2);
  EXPECT_EQ(CursorTop(), kSecondTop);
  const QJsonObject state = w.State();
  EXPECT_EQ(state["BarsInLine"].toInt(), 2);
  EXPECT_EQ(state["BarUnits"].toInt(), 0);
  // The justified first line reaches the right margin: its last bar line is near the edge.
  int lastBar = 0;
  for (int x = 0; x < Page().width(); ++x)
    if (Ink(Page(), x, kFirstTop + 5) && Ink(Page(), x, kFirstTop + 32)) lastBar = x;
  EXPECT_GT(lastBar, Page().width() - 60);
}

// 自动输入小节线 unticked, in 2/4: the notes get no bar line by themselves, the key H places
// them, and the eighth typed one ends the line. Ticked again, they come by themselves again.
TEST_F(Typing, WithoutAutomaticBarLinesOnlyTheKeyPlacesThem) {
  RunOrFail("select Combo1(0) 0\nset Check10 0\n" + Repeat("key 49\n", 8));
  EXPECT_EQ(w.State()["BeatsPerBar"].toInt(), 2);
  EXPECT_EQ(BarLines(Page(), kFirstTop), 0);
  EXPECT_EQ(w.State()["BarUnits"].toInt(), 64);
  EXPECT_FALSE(Sounds(w.Dump()["events"].toArray()).contains("ding.wav"));
  RunOrFail("key 72\n" + Repeat("key 49\nkey 49\nkey 72\n", 6));
  EXPECT_EQ(BarLines(Page(), kFirstTop), 7);
  EXPECT_EQ(CursorTop(), kFirstTop);
  EXPECT_EQ(w.State()["BarsInLine"].toInt(), 7);
  RunOrFail("key 49\nkey 72\n");
  EXPECT_EQ(BarLines(Page(), kFirstTop), 8);
  EXPECT_EQ(CursorTop(), kSecondTop);

  RunOrFail("set Check10 1\nkey 49\nkey 49\n");
  EXPECT_EQ(BarLines(Page(), kSecondTop), 1);
}

// A 7 typed over the second of three 5s: insert pushes the rest of the line right by a cell,
// overwrite stamps over the 5 it meets.
TEST_F(Typing, InsertAndOverwrite) {
  struct Case {
    const char* name;
    const char* mode;
    QList<int> fives;
  };
  const Case cases[] = {
      {"insert", "", {20, 50, 68}},
      {"overwrite", "key 45\n", {20, 56}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WindowHarness fresh;
    ASSERT_EQ(fresh.Run(QString::fromUtf8(c.mode) + "set Check8 0\n" + Repeat("key 53\n", 3) +
                        Repeat("key 37\n", 3) + "key 55\n"),
              0)
        << fresh.LastError().toStdString();
    const QImage& page = fresh.Form().Page().Image();
    EXPECT_EQ(CellsOf(page, kFirstTop, 18, 0), c.fives);
    EXPECT_EQ(CellsOf(page, kFirstTop, 20, 0), QList<int>{32});
  }
}

}  // namespace
}  // namespace tarvesh::testing
