// The words under the notes without a window: which notes take a syllable, how words follow
// their notes when a line changes, where they are drawn, and how they are stored.
#include <gtest/gtest.h>

#include <QStringList>

#include "lyrics/itemfollow.h"
#include "lyrics/lyricscodec.h"
#include "lyrics/lyricsheet.h"
#include "lyrics/lyricslayout.h"
#include "lyrics/syllablestarts.h"
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

}  // namespace
}  // namespace tarvesh::lyrics
