// The glyph atlases and the small pictures beside them. The engine copies atlas cells pixel for
// pixel and recognises what is on the page by probing single rows for exact black, so a stray
// pixel here becomes a wrong bar line, a lost underline or a shifted justification there.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <set>
#include <string>
#include <vector>

#include "artwork.h"

namespace {

using namespace tarvesh::artwork;

// Symbol pictures draw text, which needs the GUI side of Qt.
class QtEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "atlas_test";
    static char* argv[] = {name, nullptr};
    if (!QGuiApplication::instance()) app_ = new QGuiApplication(argc, argv);
  }
  void TearDown() override { delete app_; }

 private:
  QGuiApplication* app_ = nullptr;
};
const auto* const kQtEnvironment = testing::AddGlobalTestEnvironment(new QtEnvironment);

constexpr QRgb kBlack = qRgb(0, 0, 0);
constexpr QRgb kWhite = qRgb(255, 255, 255);

bool IsBlack(const QImage& image, int x, int y) {
  return (image.pixel(x, y) & 0xffffff) == 0;
}

// A rectangle in cell coordinates by its inclusive column and row ranges.
struct Span {
  int left, right, top, bottom;
  bool Contains(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }
};
Span Column(int x, int top, int bottom) {
  return {x, x, top, bottom};
}
Span Line(int y, int width) {
  return {0, width - 1, y, y};
}
Span Dot(int x, int y, int size = 2) {
  return {x, x + size - 1, y, y + size - 1};
}

enum class Atlas { kNotes, kSigns };

// One line of the atlas geometry: the cells of codes `first`..`last` (for the note atlas, in
// duration rows `firstRow`..`lastRow`) have ink only inside `allowed`, are solid black over
// every span of `solid`, and have some ink in every span of `touched`. Note cells get the
// duration lines of their row added to `allowed` and `solid`.
struct CellRule {
  const char* name;
  Atlas atlas;
  int first, last;
  int firstRow, lastRow;
  std::vector<Span> allowed;
  std::vector<Span> solid;
  std::vector<Span> touched;
  bool pureWhite = false;  // not even red
};

constexpr int kDurationLineRows[] = {26, 28, 30};
const Span kDigitBody{2, 10, 10, 23};
const Span kSyllable{0, 11, 8, 23};
const Span kAccidental{0, 11, 3, 18};
const Span kNarrowAccidental{0, 5, 3, 18};
// Octave dots below, first and second, for duration rows 0-3.
constexpr int kDotsBelow[4][2] = {{26, 29}, {29, 32}, {31, 34}, {33, 36}};

// The digit body must reach its top and bottom rows and stay inside columns 2-10.
const std::vector<Span> kDigitTouched{{2, 10, 10, 10}, {2, 10, 23, 23}};

std::vector<CellRule> DotsBelowRules() {
  std::vector<CellRule> rules;
  for (int row = 0; row < 4; ++row) {
    const Span near = Dot(5, kDotsBelow[row][0]), far = Dot(5, kDotsBelow[row][1]);
    rules.push_back({"one dot below",
                     Atlas::kNotes,
                     7,
                     13,
                     row,
                     row,
                     {kDigitBody, near},
                     {near},
                     kDigitTouched});
    rules.push_back({"two dots below",
                     Atlas::kNotes,
                     0,
                     6,
                     row,
                     row,
                     {kDigitBody, near, far},
                     {near, far},
                     kDigitTouched});
  }
  return rules;
}

std::vector<CellRule> CellRules() {
  std::vector<CellRule> rules = DotsBelowRules();
  const std::vector<CellRule> fixed = {
      {"digit without dots", Atlas::kNotes, 14, 20, 0, 3, {kDigitBody}, {}, kDigitTouched},
      {"one dot above",
       Atlas::kNotes,
       21,
       27,
       0,
       3,
       {kDigitBody, Dot(5, 6)},
       {Dot(5, 6)},
       kDigitTouched},
      {"two dots above",
       Atlas::kNotes,
       28,
       34,
       0,
       3,
       {kDigitBody, Dot(5, 3), Dot(5, 6)},
       {Dot(5, 3), Dot(5, 6)},
       kDigitTouched},
      {"rest", Atlas::kNotes, 35, 35, 0, 3, {kDigitBody}, {}, kDigitTouched},
      {"percussion syllables", Atlas::kNotes, 36, 40, 0, 3, {kSyllable}, {}, {kSyllable}},
      {"dash", Atlas::kNotes, 41, 41, 0, 3, {{0, 11, 15, 16}}, {{0, 11, 15, 16}}, {}},

      {"blank wide", Atlas::kSigns, 100, 100, 0, 0, {}, {}, {}, true},
      {"bar line", Atlas::kSigns, 101, 101, 0, 0, {Column(7, 4, 32)}, {Column(7, 4, 32)}, {}},
      {"repeat start",
       Atlas::kSigns,
       102,
       102,
       0,
       0,
       {{2, 4, 4, 32}, Column(7, 4, 32), Dot(9, 12), Dot(9, 21)},
       {{2, 4, 4, 32}, Column(7, 4, 32), Dot(9, 12), Dot(9, 21)},
       {}},
      {"repeat end",
       Atlas::kSigns,
       103,
       103,
       0,
       0,
       {Dot(2, 12), Dot(2, 21), Column(5, 4, 32), {8, 10, 4, 32}},
       {Dot(2, 12), Dot(2, 21), Column(5, 4, 32), {8, 10, 4, 32}},
       {}},
      {"final bar line",
       Atlas::kSigns,
       104,
       104,
       0,
       0,
       {Column(3, 4, 32), {6, 8, 4, 32}},
       {Column(3, 4, 32), {6, 8, 4, 32}},
       {}},
      {"double bar line",
       Atlas::kSigns,
       105,
       105,
       0,
       0,
       {Column(5, 4, 32), Column(8, 4, 32)},
       {Column(5, 4, 32), Column(8, 4, 32)},
       {}},
      {"wide accidentals", Atlas::kSigns, 106, 108, 0, 0, {kAccidental}, {}, {kAccidental}},
      {"blank wide after accidentals", Atlas::kSigns, 109, 111, 0, 0, {}, {}, {}, true},
      {"wide dash", Atlas::kSigns, 112, 112, 0, 0, {{1, 11, 16, 17}}, {{1, 11, 16, 17}}, {}},
      {"wide open parenthesis",
       Atlas::kSigns,
       113,
       113,
       0,
       0,
       {{5, 9, 10, 23}},
       {},
       {Column(5, 10, 23), Column(9, 10, 23), Line(10, 12), Line(23, 12)}},
      {"wide close parenthesis",
       Atlas::kSigns,
       114,
       114,
       0,
       0,
       {{5, 10, 10, 23}},
       {},
       {Column(5, 10, 23), Column(10, 10, 23), Line(10, 12), Line(23, 12)}},
      {"augmentation dot", Atlas::kSigns, 115, 115, 0, 0, {Dot(1, 15, 4)}, {Dot(1, 15, 4)}, {}},
      {"filler without lines", Atlas::kSigns, 116, 116, 0, 0, {}, {}, {}},
      {"filler, one line", Atlas::kSigns, 117, 117, 0, 0, {Line(26, 12)}, {Line(26, 12)}, {}},
      {"filler, two lines",
       Atlas::kSigns,
       118,
       118,
       0,
       0,
       {Line(26, 12), Line(28, 12)},
       {Line(26, 12), Line(28, 12)},
       {}},
      {"filler, three lines",
       Atlas::kSigns,
       119,
       119,
       0,
       0,
       {Line(26, 12), Line(28, 12), Line(30, 12)},
       {Line(26, 12), Line(28, 12), Line(30, 12)},
       {}},
      {"unlisted wide cells carry no black", Atlas::kSigns, 120, 167, 0, 0, {}, {}, {}},

      {"blank narrow", Atlas::kSigns, 200, 200, 0, 0, {}, {}, {}, true},
      {"narrow accidentals",
       Atlas::kSigns,
       201,
       203,
       0,
       0,
       {kNarrowAccidental},
       {},
       {kNarrowAccidental}},
      {"narrow filler, one line", Atlas::kSigns, 204, 204, 0, 0, {Line(26, 6)}, {Line(26, 6)}, {}},
      {"narrow filler, two lines",
       Atlas::kSigns,
       205,
       205,
       0,
       0,
       {Line(26, 6), Line(28, 6)},
       {Line(26, 6), Line(28, 6)},
       {}},
      {"narrow filler, three lines",
       Atlas::kSigns,
       206,
       206,
       0,
       0,
       {Line(26, 6), Line(28, 6), Line(30, 6)},
       {Line(26, 6), Line(28, 6), Line(30, 6)},
       {}},
      {"narrow bar line",
       Atlas::kSigns,
       207,
       207,
       0,
       0,
       {Column(5, 4, 32)},
       {Column(5, 4, 32)},
       {}},
      {"narrow double bar line",
       Atlas::kSigns,
       208,
       208,
       0,
       0,
       {Column(2, 4, 32), Column(4, 4, 32)},
       {Column(2, 4, 32), Column(4, 4, 32)},
       {}},
      {"narrow parentheses",
       Atlas::kSigns,
       209,
       210,
       0,
       0,
       {{0, 5, 9, 22}},
       {},
       {Line(9, 6), Line(22, 6)}},
      {"small dot", Atlas::kSigns, 211, 211, 0, 0, {Dot(1, 14, 4)}, {Dot(1, 14, 4)}, {}},
      {"narrow repeat and final pieces",
       Atlas::kSigns,
       212,
       214,
       0,
       0,
       {{0, 5, 4, 32}},
       {},
       {Line(5, 6), Line(32, 6)}},
      {"unlisted narrow cells", Atlas::kSigns, 215, 335, 0, 0, {}, {}, {}, true},
  };
  rules.insert(rules.end(), fixed.begin(), fixed.end());
  return rules;
}

void PrintTo(const CellRule& rule, std::ostream* os) {
  *os << rule.name;
}

struct CellImage {
  QImage image;
  int width;
};

// The cell of `code` (and duration row `row` for the note atlas) cut out of its atlas.
CellImage Cut(Atlas atlas, int code, int row) {
  static const QImage notes = DrawPicmode();
  static const QImage signs = DrawPicmode2();
  if (atlas == Atlas::kNotes) return {notes.copy(12 * code, 40 * row, 12, 40), 12};
  if (code < 200) return {signs.copy(12 * (code - 100), 0, 12, 40), 12};
  return {signs.copy(6 * (code - 200), 40, 6, 40), 6};
}

class AtlasCellTest : public testing::TestWithParam<CellRule> {};

TEST_P(AtlasCellTest, InkKeepsToTheCellGeometry) {
  const CellRule& rule = GetParam();
  for (int code = rule.first; code <= rule.last; ++code) {
    for (int row = rule.firstRow; row <= rule.lastRow; ++row) {
      SCOPED_TRACE("code " + std::to_string(code) + ", duration row " + std::to_string(row));
      const CellImage cell = Cut(rule.atlas, code, row);
      std::vector<Span> allowed = rule.allowed, solid = rule.solid;
      if (rule.atlas == Atlas::kNotes) {
        for (int line = 0; line < row; ++line) {
          allowed.push_back(Line(kDurationLineRows[line], 12));
          solid.push_back(Line(kDurationLineRows[line], 12));
        }
      }
      for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < cell.width; ++x) {
          const QRgb pixel = cell.image.pixel(x, y) & 0xffffff;
          if (rule.pureWhite) {
            ASSERT_EQ(pixel, kWhite & 0xffffff) << "at " << x << ", " << y;
            continue;
          }
          bool inAllowed = false;
          for (const Span& span : allowed) inAllowed = inAllowed || span.Contains(x, y);
          if (!inAllowed) {
            ASSERT_FALSE(pixel == 0) << "stray ink at " << x << ", " << y;
          }
        }
      }
      for (const Span& span : solid)
        for (int y = span.top; y <= span.bottom; ++y)
          for (int x = span.left; x <= span.right; ++x)
            ASSERT_TRUE(IsBlack(cell.image, x, y)) << "gap at " << x << ", " << y;
      for (const Span& span : rule.touched) {
        bool inked = false;
        for (int y = span.top; y <= span.bottom; ++y)
          for (int x = span.left; x <= span.right; ++x) inked = inked || IsBlack(cell.image, x, y);
        EXPECT_TRUE(inked) << "no ink in columns " << span.left << "-" << span.right << ", rows "
                           << span.top << "-" << span.bottom;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Atlases, AtlasCellTest, testing::ValuesIn(CellRules()),
                         [](const testing::TestParamInfo<CellRule>& info) {
                           std::string name = info.param.name;
                           for (char& c : name)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name + "_" + std::to_string(info.index);
                         });

// The engine tells a bar line from everything else by ink in both row 5 and row 32.
TEST(AtlasProbeRows, OnlyBarLinesAnswerTheRowFiveProbe) {
  const std::set<int> barCodes{101, 102, 103, 104, 105, 207, 208, 212, 213, 214};
  std::vector<std::pair<Atlas, int>> cells;
  for (int column = 0; column < 42; ++column) cells.push_back({Atlas::kNotes, column});
  for (int code = 100; code < 168; ++code) cells.push_back({Atlas::kSigns, code});
  for (int code = 200; code < 336; ++code) cells.push_back({Atlas::kSigns, code});
  for (const auto& [atlas, code] : cells) {
    for (int row = 0; row < (atlas == Atlas::kNotes ? 4 : 1); ++row) {
      const CellImage cell = Cut(atlas, code, row);
      bool row5 = false, barColumn = false;
      for (int x = 0; x < cell.width; ++x) {
        row5 = row5 || IsBlack(cell.image, x, 5);
        barColumn = barColumn || (IsBlack(cell.image, x, 5) && IsBlack(cell.image, x, 32));
      }
      const bool isBar = atlas == Atlas::kSigns && barCodes.count(code) > 0;
      EXPECT_EQ(row5, isBar) << "code " << code << ", row " << row;
      EXPECT_EQ(barColumn, isBar) << "code " << code << ", row " << row;
    }
  }
}

TEST(AtlasSize, AtlasesHaveTheirFixedSizes) {
  EXPECT_EQ(DrawPicmode().size(), QSize(508, 160));
  EXPECT_EQ(DrawPicmode2().size(), QSize(821, 115));
}

// Every digit looks different in every octave group: a copy-paste slip in the digit table
// would give two keys the same picture.
TEST(AtlasDigits, DigitsAreDistinctAndRepeatAcrossOctaveGroups) {
  const QImage notes = DrawPicmode();
  auto body = [&](int column) { return notes.copy(12 * column + 2, 10, 9, 14); };
  for (int digit = 0; digit < 7; ++digit) {
    for (int other = digit + 1; other < 8; ++other) {
      const int otherColumn = other == 7 ? 35 : 14 + other;  // 35 is the rest "0"
      EXPECT_NE(body(14 + digit), body(otherColumn)) << digit + 1 << " vs column " << otherColumn;
    }
    for (int group = 0; group < 5; ++group)
      EXPECT_EQ(body(7 * group + digit), body(14 + digit)) << "digit " << digit + 1;
  }
}

// The red guides and ruler are never copied, but must not stray into the cells that are.
TEST(AtlasGuides, RedGuidesLieOutsideTheCopiedCells) {
  const QImage signs = DrawPicmode2();
  const QRgb red = qRgb(255, 0, 0);
  for (int x = 240; x < 821; x += 12) EXPECT_EQ(signs.pixel(x, 0), red) << x;
  for (int y = 0; y < 80; ++y)
    for (int x = 0; x < 240; ++x) ASSERT_NE(signs.pixel(x, y), red) << x << ", " << y;
  bool rulerDrawn = true;
  for (int x = 0; x < 821; ++x) rulerDrawn = rulerDrawn && signs.pixel(x, 80) == red;
  EXPECT_TRUE(rulerDrawn);
  for (int y = 80; y < 115; ++y)
    for (int x = 0; x < 821; ++x) ASSERT_FALSE(IsBlack(signs, x, y)) << x << ", " << y;
}

TEST(CursorPicture, QuestionMarkOnTransparentGround) {
  const QImage cursor = DrawCursor();
  ASSERT_EQ(cursor.size(), QSize(13, 40));
  ASSERT_TRUE(cursor.hasAlphaChannel());
  int left = 13, right = -1, top = 40, bottom = -1;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 13; ++x) {
      const QRgb pixel = cursor.pixel(x, y);
      if (qAlpha(pixel) == 0) continue;
      ASSERT_EQ(pixel, qRgba(0, 64, 64, 255)) << x << ", " << y;
      left = std::min(left, x), right = std::max(right, x);
      top = std::min(top, y), bottom = std::max(bottom, y);
    }
  }
  EXPECT_EQ(left, 4);
  EXPECT_EQ(right, 10);
  EXPECT_EQ(top, 9);
  EXPECT_EQ(bottom, 19);
}

TEST(CursorPicture, DurationCursorsAreDistinct) {
  std::vector<QImage> cursors;
  for (int row = 0; row < 4; ++row) {
    cursors.push_back(DrawDurationCursor(row));
    EXPECT_EQ(cursors.back().size(), QSize(13, 40));
    for (int before = 0; before < row; ++before) EXPECT_NE(cursors[before], cursors.back());
  }
}

TEST(SlurArc, FlatTopAndEndsOnTheBottomRows) {
  const QImage arc = DrawSlurArc();
  ASSERT_EQ(arc.size(), QSize(475, 15));
  for (int x = 111; x <= 363; ++x) {
    ASSERT_TRUE(IsBlack(arc, x, 0) && IsBlack(arc, x, 1)) << x;
    for (int y = 2; y < 15; ++y) ASSERT_FALSE(IsBlack(arc, x, y)) << x << ", " << y;
  }
  for (int x : {0, 474}) EXPECT_TRUE(IsBlack(arc, x, 13) && IsBlack(arc, x, 14)) << x;
  for (int x = 0; x < 475; ++x) {
    int first = -1, last = -1, count = 0;
    for (int y = 0; y < 15; ++y) {
      if (!IsBlack(arc, x, y)) continue;
      if (first < 0) first = y;
      last = y;
      ++count;
    }
    // One unbroken stroke at least two pixels thick in every column, mirrored left to right.
    ASSERT_GE(count, 2) << x;
    ASSERT_EQ(count, last - first + 1) << x;
    for (int y = 0; y < 15; ++y) ASSERT_EQ(IsBlack(arc, x, y), IsBlack(arc, 474 - x, y));
  }
}

TEST(StaffPictures, LinesAtTheStaffSteps) {
  for (int clef : {0, 1}) {
    const QImage staff = DrawStaff(clef);
    ASSERT_EQ(staff.size(), QSize(477, 277));
    std::set<int> staffLines{100, 118, 136, 154, 172};
    std::set<int> ledgerLines{10, 28, 46, 64, 82, 190, 208, 226, 244};
    for (int y = 0; y < 277; ++y) {
      const QRgb expected = staffLines.count(y)    ? kBlack
                            : ledgerLines.count(y) ? qRgb(192, 192, 192)
                                                   : kWhite;
      // Right of the clef every row is plain line or ground.
      for (int x : {100, 300, 476}) ASSERT_EQ(staff.pixel(x, y), expected) << x << ", " << y;
      if (staffLines.count(y)) {
        ASSERT_EQ(staff.pixel(0, y), kBlack) << y;
      }
    }
  }
  EXPECT_NE(DrawStaff(0), DrawStaff(1));
}

TEST(StaffPictures, NoteHeadCentreWhereThePanelPlacesIt) {
  for (bool stemUp : {true, false}) {
    for (int row = 0; row < 4; ++row) {
      const QImage note = DrawStaffNote(stemUp, row);
      const int headY = stemUp ? kStaffNoteHeadYStemUp : kStaffNoteHeadYStemDown;
      EXPECT_EQ(headY, stemUp ? 98 : 8);
      EXPECT_LE(note.width(), 30);
      ASSERT_GT(note.height(), headY + 4);
      for (int dy = -2; dy <= 2; ++dy)
        EXPECT_TRUE(IsBlack(note, kStaffNoteHeadX, headY + dy)) << stemUp << " " << row;
      for (int before = 0; before < row; ++before) EXPECT_NE(DrawStaffNote(stemUp, before), note);
    }
  }
  EXPECT_EQ(kStaffNoteHeadX, 9);
}

TEST(SymbolPictures, SmallBlackOnWhiteWithSortedUniqueNames) {
  const std::vector<SymbolPicture> symbols = DrawSymbolPictures();
  ASSERT_FALSE(symbols.empty());
  for (size_t i = 0; i < symbols.size(); ++i) {
    const SymbolPicture& symbol = symbols[i];
    SCOPED_TRACE(symbol.fileName.toStdString());
    EXPECT_TRUE(symbol.fileName.endsWith(QLatin1String(".bmp")));
    if (i > 0) {
      EXPECT_LT(symbols[i - 1].fileName, symbol.fileName);
    }
    EXPECT_LE(symbol.image.width(), 64);
    EXPECT_LE(symbol.image.height(), 40);
    bool inked = false;
    for (int y = 0; y < symbol.image.height(); ++y) {
      for (int x = 0; x < symbol.image.width(); ++x) {
        const QRgb pixel = symbol.image.pixel(x, y);
        ASSERT_TRUE(pixel == kBlack || pixel == kWhite) << x << ", " << y;
        inked = inked || pixel == kBlack;
      }
    }
    EXPECT_TRUE(inked);
  }
}

}  // namespace
