// The words under the notes without a window: which notes take a syllable, how words follow
// their notes when a line changes, where they are drawn, and how they are stored.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QStringList>
#include <cmath>

#include "lyrics/itemfollow.h"
#include "lyrics/lyricscodec.h"
#include "lyrics/lyricsheet.h"
#include "lyrics/lyricslayout.h"
#include "lyrics/syllablestarts.h"
#include "lyrics/wordroom.h"
#include "page/guiapplication.h"

namespace tarvesh::lyrics {
namespace {

using reading::ItemKind;

// A small line in a few letters: a digit is a quarter note of that degree, "0" a rest, "-" a
// dash, "." an augmentation dot, "|" a bar line; "(" before an item starts an arc over it and
// ")" after an item ends one. Items stand 12 pixels apart from `left`, `step` apart when given.
std::vector<NoteItem> Line(const QString& text, int left = 20, int step = 12) {
  std::vector<NoteItem> items;
  for (QString token : text.split(' ', Qt::SkipEmptyParts)) {
    NoteItem item;
    while (token.startsWith('(')) {
      item.slurStart = true;
      token.remove(0, 1);
    }
    while (token.endsWith(')')) {
      item.slurEnd = true;
      token.chop(1);
    }
    const QChar c = token.front();
    if (c == '0') {
      item.kind = ItemKind::kRest;
      item.duration = 4;
    } else if (c.isDigit()) {
      item.kind = ItemKind::kNote;
      item.degree = c.digitValue();
      item.duration = 4;
    } else if (c == '-') {
      item.kind = ItemKind::kDash;
    } else if (c == '.') {
      item.kind = ItemKind::kDot;
    } else {
      item.kind = ItemKind::kBar;
    }
    item.left = left + step * int(items.size());
    item.width = c == '.' ? 6 : 12;
    items.push_back(item);
  }
  return items;
}

struct StartsCase {
  const char* name;
  const char* line;
  std::vector<int> starts;
};

class Starts : public ::testing::TestWithParam<StartsCase> {};

TEST_P(Starts, OnlyNotesNoArcCarriesOnTakeASyllable) {
  EXPECT_EQ(SyllableStarts(Line(GetParam().line)), GetParam().starts);
}

INSTANTIATE_TEST_SUITE_P(
    Lyrics, Starts,
    ::testing::Values(StartsCase{"Plain", "1 2 3 4", {0, 1, 2, 3}},
                      StartsCase{"RestsAndDashes", "1 - 0 2 | 3 - - -", {0, 3, 5}},
                      StartsCase{"DottedNote", "5 . 6 | 1", {0, 2, 4}},
                      StartsCase{"Slur", "(1 2 3) 4", {0, 3}},
                      StartsCase{"Tie", "(5 | 5) 6", {0, 3}},
                      StartsCase{"RestUnderArcTakesNothing", "(1 0 2) 3", {0, 3}},
                      // The note where one arc ends and the next begins is still carried.
                      StartsCase{"ArcsMeeting", "(1 (2) 3) 4", {0, 3}},
                      StartsCase{"ArcAfterArc", "(1 2) (3 4)", {0, 2}},
                      StartsCase{"ArcNeverClosed", "1 (2 3 4", {0, 1}}),
    [](const auto& info) { return std::string(info.param.name); });

struct FollowCase {
  const char* name;
  std::vector<NoteItem> before;
  std::vector<NoteItem> after;
  int editLeft;
  std::vector<int> to;
};

class Follow : public ::testing::TestWithParam<FollowCase> {};

TEST_P(Follow, ItemsGoWhereTheEditTookThem) {
  const FollowCase& c = GetParam();
  EXPECT_EQ(FollowItems(c.before, c.after, c.editLeft), c.to);
}

INSTANTIATE_TEST_SUITE_P(
    Lyrics, Follow,
    ::testing::Values(
        FollowCase{"Unchanged", Line("1 2 3"), Line("1 2 3"), 999, {0, 1, 2}},
        FollowCase{"Justified", Line("1 2 . 3"), Line("1 2 . 3", 20, 30), 20, {0, 1, 2, 3}},
        FollowCase{"InsertedBetween", Line("1 2 3"), Line("1 6 2 3"), 32, {0, 2, 3}},
        FollowCase{"BackspaceInTheMiddle", Line("1 2 3 4"), Line("1 3 4"), 32, {0, -1, 1, 2}},
        FollowCase{"TypedOver", Line("1 2 3"), Line("1 5 3"), 32, {0, 1, 2}},
        // In a run of equal notes the page tells which one is new.
        FollowCase{"InsertedBeforeARun", Line("5 5 5"), Line("5 5 5 5"), 20, {1, 2, 3}},
        FollowCase{"AddedAfterARun", Line("5 5 5"), Line("5 5 5 5"), 56, {0, 1, 2}},
        FollowCase{"FirstOfARunTakenBack", Line("5 5 5"), Line("5 5"), 20, {-1, 0, 1}},
        FollowCase{"LastOfARunTakenBack", Line("5 5 5"), Line("5 5"), 44, {0, 1, -1}},
        FollowCase{"LineCleared", Line("1 2"), {}, 20, {-1, -1}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Sheet, WordsFollowTheirNotesAndGoWithThem) {
  LyricSheet sheet;
  const std::vector<NoteItem> line = Line("1 2 3");
  ASSERT_TRUE(sheet.SetSyllable(96, line, 0, 0, "一"));
  ASSERT_TRUE(sheet.SetSyllable(96, line, 0, 2, "三"));
  ASSERT_TRUE(sheet.SetNumber(96, line, 0, "1."));
  EXPECT_FALSE(sheet.SetSyllable(96, line, 4, 0, "五")) << "a fifth row";
  EXPECT_FALSE(sheet.SetSyllable(96, line, 0, 3, "四")) << "an item the line lacks";

  // A note put first moves both syllables on.
  ASSERT_TRUE(sheet.Follow(96, Line("5 1 2 3"), 20));
  EXPECT_EQ(sheet.LineAt(96)->rows[0].syllables, (std::vector<Syllable>{{1, "一"}, {3, "三"}}));
  EXPECT_FALSE(sheet.Follow(96, Line("5 1 2 3"), 20)) << "nothing changed";
  // A note typed over with a rest loses its syllable: a rest is sung on no word.
  ASSERT_TRUE(sheet.Follow(96, Line("5 0 2 3"), 32));
  EXPECT_EQ(sheet.LineAt(96)->rows[0].syllables, (std::vector<Syllable>{{3, "三"}}));
  // A verse carried in whole replaces the row; one out of order is refused.
  EXPECT_TRUE(sheet.SetVerse(96, Line("5 0 2 3"), 1, {"2.", {{0, "春"}, {2, "风"}}}));
  EXPECT_FALSE(sheet.SetVerse(96, Line("5 0 2 3"), 1, {"", {{2, "风"}, {0, "春"}}}));
  EXPECT_FALSE(sheet.SetVerse(96, Line("5 0 2 3"), 1, {"", {{4, "风"}}}));
  EXPECT_EQ(sheet.LineAt(96)->rows[1].number, "2.");
  // A line with no notes left keeps no words, numbers neither.
  ASSERT_TRUE(sheet.Follow(96, {}, 20));
  EXPECT_TRUE(sheet.IsEmpty());
}

TEST(Codec, KeepsEverythingAndRefusesWhatNoWriterMade) {
  LyricSheet sheet;
  ASSERT_TRUE(sheet.SetFont(QStringLiteral("AR PL UMing CN"), 18.5));
  std::vector<NoteItem> line = Line("(1 2) . 0 | 3");
  line[0].octave = -1;
  line[4].accidental = reading::Accidental::kSharp;
  sheet.SetSyllable(96, line, 0, 0, "茉");
  sheet.SetSyllable(96, line, 3, 5, "Glo-");
  sheet.SetNumber(96, line, 3, "4.");
  sheet.SetSyllable(156, Line("5"), 1, 0, "𠀀");
  const QByteArray bytes = EncodeLyrics(sheet);
  const std::optional<LyricSheet> read = DecodeLyrics(bytes);
  ASSERT_TRUE(read);
  EXPECT_TRUE(*read == sheet);

  for (qsizetype cut = 0; cut < bytes.size(); ++cut)
    EXPECT_FALSE(DecodeLyrics(bytes.first(cut))) << "cut at " << cut;
  EXPECT_FALSE(DecodeLyrics(bytes + QByteArray(1, 0))) << "a byte left over";
  QByteArray later = bytes;
  later[0] = 2;
  EXPECT_FALSE(DecodeLyrics(later)) << "a later format";
}

class Layout : public ::testing::Test {
 protected:
  void SetUp() override { page::testing::EnsureGuiApplication(); }
};

TEST_F(Layout, SyllablesCentredUnderTheirNotesNumbersLeftHyphensBetween) {
  LyricSheet sheet;
  const std::vector<NoteItem> line = Line("1 2 . 3", 60, 40);
  sheet.SetSyllable(96, line, 0, 0, "Glo-");
  sheet.SetSyllable(96, line, 0, 1, "ri-");
  sheet.SetSyllable(96, line, 0, 3, "a");
  sheet.SetNumber(96, line, 0, "1.");
  sheet.SetSyllable(96, line, 1, 1, "春");
  const LyricsLayout layout(sheet);
  std::vector<LyricsLayout::Placed> syllables, hyphens;
  std::optional<QRect> number;
  for (const LyricsLayout::Placed& p : layout.Place()) {
    if (p.kind == LyricsLayout::Kind::kSyllable) syllables.push_back(p);
    if (p.kind == LyricsLayout::Kind::kHyphen) hyphens.push_back(p);
    if (p.kind == LyricsLayout::Kind::kNumber) number = p.box;
  }
  ASSERT_EQ(syllables.size(), 4u);
  for (const LyricsLayout::Placed& s : syllables) {
    SCOPED_TRACE(s.text.toStdString());
    const double centre = s.box.left() + s.box.width() / 2.0;
    EXPECT_LE(std::abs(centre - line[size_t(s.item)].Centre()), 0.5);
    EXPECT_EQ(s.box.top(), layout.RowTop(96, s.row));
  }
  EXPECT_EQ(syllables[0].text, "Glo") << "the hyphen is drawn apart";
  EXPECT_GT(syllables[3].box.top(), syllables[0].box.top()) << "verse 2 under verse 1";
  ASSERT_EQ(hyphens.size(), 2u);
  EXPECT_GT(hyphens[0].box.left(), syllables[0].box.right());
  EXPECT_LT(hyphens[0].box.right(), syllables[1].box.left());
  ASSERT_TRUE(number);
  EXPECT_EQ(number->right() + 1 + LyricsLayout::kNumberGap, syllables[0].box.left());
  EXPECT_EQ(layout.SpacingFor(2), layout.RowTop(96, 2) - 96);

  // At the left margin the number stays on the page.
  LyricSheet margin;
  margin.SetSyllable(96, Line("1"), 0, 0, "Glo-");
  margin.SetNumber(96, Line("1"), 0, "12.");
  for (const LyricsLayout::Placed& p : LyricsLayout(margin).Place()) {
    if (p.kind == LyricsLayout::Kind::kNumber) {
      EXPECT_EQ(p.box.left(), LyricsLayout::kNumberInset);
    }
  }
}

TEST_F(Layout, AWordSungOverSeveralNotesDrawsAnExtenderToTheLastOfThem) {
  LyricSheet sheet;
  // 1 (2 3 4) 5: the arc carries 2 on over 3 and 4.
  const std::vector<NoteItem> line = Line("1 (2 3 4) 5", 60, 40);
  sheet.SetSyllable(96, line, 0, 0, "O");
  sheet.SetSyllable(96, line, 0, 1, "Ah");
  sheet.SetSyllable(96, line, 0, 4, "men");
  sheet.SetSyllable(96, line, 1, 1, "春");
  const LyricsLayout layout(sheet);
  std::vector<LyricsLayout::Placed> extenders;
  QRect ah, men;
  for (const LyricsLayout::Placed& p : layout.Place()) {
    if (p.kind == LyricsLayout::Kind::kExtender) extenders.push_back(p);
    if (p.text == "Ah") ah = p.box;
    if (p.text == "men") men = p.box;
  }
  ASSERT_EQ(extenders.size(), 1u) << "none after O, which has one note, nor after a Hanzi";
  const QRect box = extenders[0].box;
  EXPECT_EQ(extenders[0].row, 0);
  EXPECT_EQ(box.left(), ah.right() + 1 + layout.SyllableGap());
  EXPECT_EQ(box.right() + 1, line[3].left + line[3].width) << "to the end of the last note";
  EXPECT_LT(box.right(), men.left());
  EXPECT_EQ(box.height(), 1);
  EXPECT_EQ(box.top(), layout.RowTop(96, 0) + QFontMetrics(layout.Font()).ascent());
}

// Room for words. A line of items given as [left, right) spans, with a blank run of the given
// width right after each item but the last; syllables of the given widths centred under items.
struct Sung {
  int item;
  int width;
  bool carriesOn = false;
};

struct RoomCase {
  const char* name;
  std::vector<std::pair<int, int>> items;
  std::vector<int> blanks;
  std::vector<std::vector<Sung>> rows;
  int limit;
  std::vector<Widening> steps;
  bool fits = true;
};

RoomLine RoomOf(const RoomCase& c) {
  RoomLine line;
  for (const auto& [left, right] : c.items) line.items.push_back({left, right});
  for (size_t k = 0; k < c.blanks.size(); ++k)
    line.blanks.push_back({c.items[k].second, c.blanks[k]});
  for (const auto& row : c.rows) {
    line.rows.emplace_back();
    for (const Sung& s : row) {
      const double centre = (c.items[size_t(s.item)].first + c.items[size_t(s.item)].second) / 2.0;
      const int left = int(std::floor(centre - s.width / 2.0 + 0.5));
      line.rows.back().push_back({s.item, left, left + s.width, s.carriesOn});
    }
  }
  line.end = c.items.back().second;
  line.limit = c.limit;
  return line;
}

constexpr int kGap = 4;
constexpr int kHyphenRoom = 16;

class Room : public ::testing::TestWithParam<RoomCase> {};

TEST_P(Room, SyllablesPartedAndTheLineKeptInside) {
  const RoomCase& c = GetParam();
  const RoomPlan plan = PlanRoom(RoomOf(c), kGap, kHyphenRoom);
  EXPECT_EQ(plan.steps, c.steps);
  EXPECT_EQ(plan.fits, c.fits);
}

INSTANTIATE_TEST_SUITE_P(
    Lyrics, Room,
    ::testing::Values(
        RoomCase{"RoomEnough", {{20, 32}, {44, 56}}, {12}, {{{0, 10}, {1, 10}}}, 971, {}},
        // Two Hanzi under quarter notes one blank cell apart: one cell more, in the blank.
        RoomCase{"IntoTheBlank", {{20, 32}, {38, 50}}, {6}, {{{0, 19}, {1, 19}}}, 971, {{35, 6}}},
        // Notes joined by duration lines: the room goes in before the later note.
        RoomCase{
            "BeforeAJoinedNote", {{20, 32}, {32, 44}}, {0}, {{{0, 19}, {1, 19}}}, 971, {{32, 12}}},
        // Over a bar line the room is shared out, the odd cell to the right.
        RoomCase{"SharedOverTheBlanks",
                 {{20, 32}, {38, 44}, {50, 62}},
                 {6, 6},
                 {{{0, 40}, {2, 40}}},
                 971,
                 {{47, 12}, {35, 6}}},
        RoomCase{"RoomForTheHyphen",
                 {{20, 32}, {44, 56}},
                 {12},
                 {{{0, 10, true}, {1, 10}}},
                 971,
                 {{38, 6}}},
        // The verse that needs the most decides.
        RoomCase{"TheWidestVerse",
                 {{20, 32}, {38, 50}},
                 {6},
                 {{{0, 10}, {1, 10}}, {{0, 30}, {1, 30}}},
                 971,
                 {{35, 18}}},
        // At the page's edge the room comes out of the widest blank no pair needs; taken out
        // first, so nothing is pushed past the edge.
        RoomCase{"TakenBackFromAWideBlank",
                 {{20, 32}, {38, 50}, {80, 92}},
                 {6, 30},
                 {{{0, 19}, {1, 19}}},
                 95,
                 {{62, -6}, {35, 6}}},
        // Without blank to take, what room there is is shared out: each pair gets half its need.
        RoomCase{"TooNarrow",
                 {{20, 32}, {32, 44}, {44, 56}},
                 {0, 0},
                 {{{0, 19}, {1, 19}, {2, 19}}},
                 68,
                 {{44, 6}, {32, 6}},
                 false},
        // A blank two syllables need keeps what they need: four cells out of it, not five; the
        // fifth comes out of a blank no syllables need, though it is narrower.
        RoomCase{"ABlankKeepsWhatItsWordsNeed",
                 {{20, 32}, {82, 94}, {94, 106}, {130, 142}},
                 {50, 0, 24},
                 {{{0, 40}, {1, 19}, {2, 60}}},
                 148,
                 {{115, -6}, {45, -24}, {70, 36}}},
        // When the words cannot have all they need, they crowd evenly: both pairs fall a few
        // pixels short, rather than one keeping its room and the other none.
        RoomCase{"ACrowdedLineCrowdsEvenly",
                 {{20, 32}, {82, 94}, {94, 106}},
                 {50, 0},
                 {{{0, 40}, {1, 19}, {2, 60}}},
                 106,
                 {{42, -30}, {64, 30}},
                 false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarvesh::lyrics
