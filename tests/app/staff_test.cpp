// Staff input through the window: the pointer over the staff panel picks the note, its duration
// and its picture; buttons and modifier keys add rests, accidentals, dots and bar lines.
#include <gtest/gtest.h>

#include <QJsonObject>
#include <ostream>

#include "app/windowharness.h"
#include "page/geometry.h"
#include "page/glyphatlas.h"

namespace tarvesh::testing {
namespace {

constexpr int kLeft = 1;
constexpr int kRight = 2;
constexpr int kMiddle = 4;
constexpr int kShiftAlt = 1 | 4;
constexpr int kCtrl = 2;

// A person's click on the panel: the pointer comes to (x, y), then the button goes down and up.
QString ClickPanel(double x, double y, int button = kLeft, int shift = 0) {
  return QStringLiteral(
             "mousemove Label10 0 %3 %1 %2\nmousedown Label10 %4 %3 %1 %2\n"
             "mouseup Label10 %4 %3 %1 %2\n")
      .arg(x)
      .arg(y)
      .arg(shift)
      .arg(button);
}

QImage PicmodeCell(int code, int row) {
  static const auto atlas = page::GlyphAtlas::Load(TARVESH_DATA_DIR, nullptr);
  return atlas->Picmode.copy(page::kWideCell * code, page::kCellHeight * row, page::kWideCell,
                             page::kCellHeight);
}

// The first cell of the first line, where a fresh page takes its first glyph.
QImage FirstCell(WindowHarness& w) {
  return w.Form().Page().Image().copy(page::kLeftMargin, page::kFirstLineTop, page::kWideCell,
                                      page::kCellHeight);
}

class StaffInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(w.Run(QStringLiteral("click Check1\n")), 0) << w.LastError().toStdString();
  }

  void Run(const QString& script) { ASSERT_EQ(w.Run(script), 0) << w.LastError().toStdString(); }

  WindowHarness w;
};

struct NoteCase {
  const char* name;
  const char* setup;
  double y;
  int code;  // StaffNoteCode; a negative code places nothing
};

void PrintTo(const NoteCase& c, std::ostream* os) {
  *os << c.name;
}

class StaffNote : public StaffInputTest, public ::testing::WithParamInterface<NoteCase> {};

TEST_P(StaffNote, HeightPicksTheNote) {
  const NoteCase& c = GetParam();
  Run(QString::fromUtf8(c.setup));
  const QImage before = w.Form().Page().Image();
  Run(ClickPanel(100, c.y));

  EXPECT_EQ(w.State()["StaffNoteCode"].toInt(), c.code);
  const QJsonObject cursor = w.Dump()["cursor"].toObject();
  if (c.code < 0) {
    EXPECT_EQ(w.Form().Page().Image(), before);
    EXPECT_EQ(cursor["left"].toDouble(), page::kLeftMargin);
  } else {
    EXPECT_EQ(FirstCell(w), PicmodeCell(c.code, 0));
    EXPECT_EQ(cursor["left"].toDouble(), page::kLeftMargin + page::kWideCell);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Window, StaffNote,
    ::testing::Values(NoteCase{"TrebleMiddleCIsOne", "", 190, 14},
                      NoteCase{"TrebleBottomLineIsThree", "", 172, 16},
                      NoteCase{"KeyOfDPutsOneOnD", "select Combo2 1\n", 181, 14},
                      NoteCase{"BassBottomLineIsLowFive", "click Label3\n", 172, 4},
                      NoteCase{"TopOfThePanelIsARest", "", 5, 35},
                      NoteCase{"JustBelowTheRestRow", "", 6, 34},
                      NoteCase{"LowInTheBassPlacesNothing", "click Label3\n", 262, -6}),
    [](const auto& info) { return std::string(info.param.name); });

struct ZoneCase {
  const char* name;
  const char* setup;
  double x;
  int button;
  int code;  // glyph in the first cell, -1 for none
  int row;   // its duration row, and the current duration afterwards when nothing is placed
  const char* picture;
};

void PrintTo(const ZoneCase& c, std::ostream* os) {
  *os << c.name;
}

class StaffZone : public StaffInputTest, public ::testing::WithParamInterface<ZoneCase> {};

TEST_P(StaffZone, ZoneUnderThePointerPicksTheDuration) {
  const ZoneCase& c = GetParam();
  Run(QString::fromUtf8(c.setup));
  Run(ClickPanel(c.x, 190, c.button));

  EXPECT_EQ(w.Control("Image3")["file"].toString(), QString::fromUtf8(c.picture));
  if (c.code < 0) {
    EXPECT_EQ(w.Dump()["cursor"].toObject()["left"].toDouble(), page::kLeftMargin);
    EXPECT_EQ(w.State()["CurrentDurationRow"].toInt(), c.row);
  } else {
    EXPECT_EQ(FirstCell(w), PicmodeCell(c.code, c.row));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Window, StaffZone,
    ::testing::Values(
        ZoneCase{"EighthNoteWhateverTheDuration", "click Option1(2)\n", 150, kLeft, 14, 1,
                 "s1.gif"},
        ZoneCase{"EighthRestWhateverTheDuration", "click Option1(2)\n", 150, kRight, 35, 1,
                 "s1.gif"},
        ZoneCase{"OnADivisionLineIsTheFirstZone", "click Option1(2)\n", 128, kLeft, 14, 0,
                 "s0.gif"},
        ZoneCase{"LastZone", "", 250, kLeft, 14, 3, "s3.gif"},
        ZoneCase{"WithoutTimeDivisionTheCurrentDuration", "click Option1(2)\nclick Check7\n", 150,
                 kLeft, 14, 2, "s2.gif"},
        // Without time division the right button is the key Esc: the next enabled duration.
        ZoneCase{"WithoutTimeDivisionRightIsEsc", "click Check7\n", 150, kRight, -1, 1, "s0.gif"}),
    [](const auto& info) { return std::string(info.param.name); });

struct SelectorCase {
  const char* name;
  const char* selectors;  // clicks on Label12 / Label13 before the panel click
  int button;
  int shift;
  const char* typed;  // the same entry typed on the page
  const char* accidentalAfter;
  const char* dotAfter;
};

void PrintTo(const SelectorCase& c, std::ostream* os) {
  *os << c.name;
}

class StaffSelectors : public StaffInputTest, public ::testing::WithParamInterface<SelectorCase> {};

// The panel enters what the keys would: an accidental before its note, a dot after it.
TEST_P(StaffSelectors, EnterWhatTheKeysWould) {
  const SelectorCase& c = GetParam();
  Run(QString::fromUtf8(c.selectors));
  Run(ClickPanel(100, 190, c.button, c.shift));

  WindowHarness typed;
  QString keys = QStringLiteral("click Check1\n");
  for (const QString& key : QString::fromUtf8(c.typed).split(' '))
    keys += QStringLiteral("key %1\n").arg(key);
  ASSERT_EQ(typed.Run(keys), 0) << typed.LastError().toStdString();

  EXPECT_EQ(w.Form().Page().Image(), typed.Form().Page().Image());
  EXPECT_EQ(w.Dump()["cursor"], typed.Dump()["cursor"]);
  EXPECT_EQ(w.Control("Label12")["text"].toString(), QString::fromUtf8(c.accidentalAfter));
  EXPECT_EQ(w.Control("Label13")["text"].toString(), QString::fromUtf8(c.dotAfter));
}

INSTANTIATE_TEST_SUITE_P(
    Window, StaffSelectors,
    ::testing::Values(
        SelectorCase{"SharpSelector", "click Label12\n", kLeft, 0, "77 49", "无", "无"},
        SelectorCase{"FlatSelector", "click Label12\nclick Label12\n", kLeft, 0, "188 49", "无",
                     "无"},
        SelectorCase{"NaturalSelector", "click Label12\nclick Label12\nclick Label12\n", kLeft, 0,
                     "78 49", "无", "无"},
        SelectorCase{"AccidentalWrapsToNone",
                     "click Label12\nclick Label12\nclick Label12\nclick Label12\n", kLeft, 0, "49",
                     "无", "无"},
        SelectorCase{"DotSelector", "click Label13\n", kLeft, 0, "49 190", "无", "无"},
        SelectorCase{"ShiftAndAltGiveSharpNoteDot", "", kLeft, kShiftAlt, "77 49 190", "无", "无"},
        SelectorCase{"CtrlGivesAFlat", "", kLeft, kCtrl, "188 49", "无", "无"},
        // Selectors survive every click but the left one that uses them.
        SelectorCase{"MiddleIsABarLine", "click Label12\nclick Label12\nclick Label13\n", kMiddle,
                     0, "72", "降", "点"},
        SelectorCase{"RightIsARest", "click Label12\nclick Label13\n", kRight, 0, "79", "升",
                     "点"}),
    [](const auto& info) { return std::string(info.param.name); });

// The note picture follows the pointer; stem-up pictures ("s") serve steps up to 20, and a new
// picture is loaded only when the set or the zone changes.
TEST_F(StaffInputTest, NotePictureFollowsThePointer) {
  struct Move {
    double x, y;
    int step;
    const char* file;
    int left, top;
  };
  const Move moves[] = {
      // Step 24 keeps the start's empty set and zone 0: nothing is loaded yet.
      {100, 100, 24, "", 91, 308 - 9 * 24},       {100, 136, 20, "s0.gif", 91, 218 - 9 * 20},
      {100, 127, 21, "0.gif", 91, 308 - 9 * 21},  {100, 131, 21, "0.gif", 91, 308 - 9 * 21},
      {150, 131, 21, "1.gif", 141, 308 - 9 * 21}, {150.5, 136, 20, "s1.gif", 142, 218 - 9 * 20},
  };
  for (const Move& m : moves) {
    SCOPED_TRACE(m.y);
    Run(QStringLiteral("mousemove Label10 0 0 %1 %2\n").arg(m.x).arg(m.y));
    EXPECT_EQ(w.State()["StaffStep"].toInt(), m.step);
    const QJsonObject image3 = w.Control("Image3");
    EXPECT_EQ(image3["file"].toString(), QString::fromUtf8(m.file));
    EXPECT_EQ(image3["left"].toInt(), m.left);
    EXPECT_EQ(image3["top"].toInt(), m.top);
  }
}

TEST_F(StaffInputTest, TimeDivisionShowsItsZones) {
  for (const bool shown : {false, true}) {
    Run(QStringLiteral("click Check7\n"));
    for (const char* name : {"Label9", "Line5(0)", "Line5(1)", "Line5(2)"})
      EXPECT_EQ(w.Control(QString::fromUtf8(name))["visible"].toBool(), shown) << name;
  }
}

TEST_F(StaffInputTest, Check1ShowsThePanelAndXClosesIt) {
  EXPECT_TRUE(w.Control("Picture3")["visible"].toBool());
  EXPECT_TRUE(w.Control("Combo2")["enabled"].toBool());
  Run(QStringLiteral("click Command13\n"));
  EXPECT_FALSE(w.Control("Picture3")["visible"].toBool());
  EXPECT_EQ(w.Control("Check1")["value"].toInt(), 0);
  EXPECT_FALSE(w.Control("Combo2")["enabled"].toBool());
}

}  // namespace
}  // namespace tarvesh::testing
