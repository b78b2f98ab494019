// The page operations the engine builds on: strip moves that overlap, copies that reach past
// the page's edges, pixel reads outside it, and stretched copies of the slur arc; the edits that
// take them back, resizes within and beyond the page's block, and the operations reported.
#include "page/scorepage.h"

#include <gtest/gtest.h>

#include <QImage>
#include <functional>
#include <optional>
#include <vector>

#include "page/guiapplication.h"

namespace {

using tarvesh::page::PageEdit;
using tarvesh::page::PageOperation;
using tarvesh::page::PictureSource;
using tarvesh::page::ScorePage;

constexpr int kWidth = 24;
constexpr int kHeight = 16;

// A colour that names its position, so a pixel moved to the wrong place is seen.
QRgb Tag(int x, int y) {
  return qRgb(10 + x, 100 + y, 7);
}

QImage TaggedImage(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.setPixel(x, y, Tag(x, y));
  return image;
}

ScorePage TaggedPage(int width = kWidth, int height = kHeight) {
  ScorePage page(width, height);
  page.LoadImage(TaggedImage(width, height));
  return page;
}

// An edit around `write` puts back exactly what lay under it, and puts the write back; a copy of
// the page taken before never changes.
void ExpectRevertible(ScorePage& page, const std::function<void()>& write) {
  const QImage held = page.Image();
  const QImage before = held.copy();
  page.BeginEdit();
  write();
  PageEdit edit = page.EndEdit();
  EXPECT_EQ(held, before);
  const QImage after = page.Image().copy();
  ASSERT_TRUE(page.Revert(edit));
  EXPECT_EQ(page.Image(), before);
  ASSERT_TRUE(page.Reapply(edit));
  EXPECT_EQ(page.Image(), after);
  // The pixels swapped back and forth serve any number of rounds.
  ASSERT_TRUE(page.Revert(edit));
  EXPECT_EQ(page.Image(), before);
  EXPECT_EQ(held, before);
}

bool Inside(int x, int y, int width, int height) {
  return x >= 0 && y >= 0 && x < width && y < height;
}

// What a copy of (sx, sy, w, h) from `source` to (dx, dy) on `before` must leave: each
// destination pixel on the page takes its source pixel when that lies inside the source, and
// keeps its old colour otherwise.
QImage ExpectedCopy(const QImage& before, const QImage& source, int sx, int sy, int w, int h,
                    int dx, int dy) {
  QImage expected = before.copy();
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i)
      if (Inside(dx + i, dy + j, expected.width(), expected.height()) &&
          Inside(sx + i, sy + j, source.width(), source.height()))
        expected.setPixel(dx + i, dy + j, source.pixel(sx + i, sy + j));
  return expected;
}

struct Move {
  const char* name;
  int sx, sy, w, h, dx, dy;
};

void PrintTo(const Move& c, std::ostream* os) {
  *os << c.name;
}

class MoveStripTest : public testing::TestWithParam<Move> {};

TEST_P(MoveStripTest, ReadsTheWholeSourceFirstAndClipsAtThePage) {
  const Move& m = GetParam();
  ScorePage page = TaggedPage();
  const QImage before = page.Image().copy();
  page.MoveStrip(m.sx, m.sy, m.w, m.h, m.dx, m.dy);
  const QImage expected = ExpectedCopy(before, before, m.sx, m.sy, m.w, m.h, m.dx, m.dy);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      ASSERT_EQ(page.Image().pixel(x, y), expected.pixel(x, y)) << "at " << x << ", " << y;
}

TEST_P(MoveStripTest, EditRevertsAndReappliesIt) {
  const Move& m = GetParam();
  ScorePage page = TaggedPage();
  ExpectRevertible(page, [&] { page.MoveStrip(m.sx, m.sy, m.w, m.h, m.dx, m.dy); });
}

INSTANTIATE_TEST_SUITE_P(
    ScorePage, MoveStripTest,
    testing::Values(
        // Insert mode pushes the rest of a line right; erasing pulls it back left.
        Move{"overlap_right", 2, 3, 15, 6, 7, 3}, Move{"overlap_left", 7, 3, 15, 6, 2, 3},
        // Justification and line insertion move blocks of lines up and down.
        Move{"overlap_down", 0, 1, kWidth, 9, 0, 4}, Move{"overlap_up", 0, 4, kWidth, 9, 0, 1},
        Move{"overlap_down_right", 1, 1, 12, 8, 4, 3}, Move{"overlap_up_left", 4, 3, 12, 8, 1, 1},
        Move{"source_past_right_edge", 18, 2, 12, 5, 2, 8},
        Move{"source_past_bottom_edge", 3, 11, 6, 10, 12, 0},
        Move{"source_past_left_and_top", -4, -3, 8, 7, 10, 6},
        Move{"destination_past_right_edge", 0, 0, 10, 4, 19, 9},
        Move{"destination_past_bottom_edge", 0, 0, 10, 6, 3, 13},
        Move{"destination_before_left_edge", 5, 5, 8, 4, -3, 0},
        Move{"entirely_off_page", 30, 0, 5, 5, 0, 0}, Move{"onto_itself", 3, 3, 9, 9, 3, 3}),
    [](const testing::TestParamInfo<Move>& info) { return std::string(info.param.name); });

struct Copy {
  const char* name;
  int sx, sy, w, h, dx, dy;
};

void PrintTo(const Copy& c, std::ostream* os) {
  *os << c.name;
}

QImage SmallAtlas() {
  QImage atlas(30, 12, QImage::Format_RGB32);
  for (int y = 0; y < atlas.height(); ++y)
    for (int x = 0; x < atlas.width(); ++x) atlas.setPixel(x, y, qRgb(200, x, y));
  return atlas;
}

class CopyCellTest : public testing::TestWithParam<Copy> {};

TEST_P(CopyCellTest, CopiesOnlyWhatLiesInsideSourceAndPage) {
  const Copy& c = GetParam();
  ScorePage page = TaggedPage();
  const QImage before = page.Image().copy();
  const QImage atlas = SmallAtlas();
  page.CopyCell(atlas, c.sx, c.sy, c.w, c.h, c.dx, c.dy);
  EXPECT_EQ(page.Image(), ExpectedCopy(before, atlas, c.sx, c.sy, c.w, c.h, c.dx, c.dy));
}

TEST_P(CopyCellTest, EditRevertsAndReappliesIt) {
  const Copy& c = GetParam();
  ScorePage page = TaggedPage();
  const QImage atlas = SmallAtlas();
  ExpectRevertible(page, [&] { page.CopyCell(atlas, c.sx, c.sy, c.w, c.h, c.dx, c.dy); });
}

INSTANTIATE_TEST_SUITE_P(ScorePage, CopyCellTest,
                         testing::Values(Copy{"inside", 12, 0, 12, 12, 4, 2},
                                         Copy{"past_right_edge", 0, 0, 12, 10, 18, 1},
                                         Copy{"past_bottom_edge", 0, 0, 6, 12, 0, 10},
                                         Copy{"before_left_and_top", 0, 0, 12, 12, -5, -7},
                                         Copy{"source_past_its_picture", 24, 6, 12, 12, 2, 2},
                                         Copy{"nowhere_on_the_page", 0, 0, 6, 6, kWidth, 0}),
                         [](const testing::TestParamInfo<Copy>& info) {
                           return std::string(info.param.name);
                         });

TEST(ScorePage, CopyCellTakesAnAtlasCellPixelForPixel) {
  ScorePage page(40, 60);
  QImage atlas(24, 40, QImage::Format_ARGB32);  // loaded pictures need not be RGB32
  atlas.fill(Qt::white);
  atlas.setPixel(19, 5, qRgb(0, 0, 0));
  atlas.setPixel(12, 32, qRgb(0, 0, 0));
  page.CopyCell(atlas, 12, 0, 12, 40, 20, 10);
  EXPECT_TRUE(page.IsBlack(27, 15));
  EXPECT_TRUE(page.IsBlack(20, 42));
  EXPECT_FALSE(page.IsBlack(19, 42));
}

struct PixelRead {
  const char* name;
  int x, y;
  QRgb colour;
  int expected;
};

void PrintTo(const PixelRead& c, std::ostream* os) {
  *os << c.name;
}

class ReadPixelTest : public testing::TestWithParam<PixelRead> {};

TEST_P(ReadPixelTest, ReadsBgrInsideAndNeverBlackOutside) {
  const PixelRead& read = GetParam();
  ScorePage page(kWidth, kHeight);
  page.FillRect(page.Image().rect(), QColor::fromRgb(read.colour));
  EXPECT_EQ(page.ReadPixel(read.x, read.y), read.expected);
  EXPECT_NE(page.ReadPixel(read.x, read.y) == 0, read.expected != 0);
}

INSTANTIATE_TEST_SUITE_P(
    ScorePage, ReadPixelTest,
    testing::Values(PixelRead{"black", 3, 4, qRgb(0, 0, 0), 0},
                    PixelRead{"red", 0, 0, qRgb(255, 0, 0), 0x0000ff},
                    PixelRead{"blue", kWidth - 1, kHeight - 1, qRgb(0, 0, 255), 0xff0000},
                    PixelRead{"teal", 5, 5, qRgb(0, 64, 64), 0x404000},
                    PixelRead{"right_of_page", kWidth, 0, qRgb(0, 0, 0), ScorePage::kInvalidColour},
                    PixelRead{"below_page", 0, kHeight, qRgb(0, 0, 0), ScorePage::kInvalidColour},
                    PixelRead{"left_of_page", -1, 3, qRgb(0, 0, 0), ScorePage::kInvalidColour},
                    PixelRead{"above_page", 3, -1, qRgb(0, 0, 0), ScorePage::kInvalidColour},
                    PixelRead{"far_right", kWidth + 500, 2, qRgb(0, 0, 0),
                              ScorePage::kInvalidColour}),
    [](const testing::TestParamInfo<PixelRead>& info) { return std::string(info.param.name); });

struct Stretch {
  const char* name;
  QRect source;
  QRect target;
  // For each target column (and row), the source column (row) it must show.
  std::vector<int> columns;
  std::vector<int> rows;
};

void PrintTo(const Stretch& c, std::ostream* os) {
  *os << c.name;
}

QImage StretchSource() {
  QImage source(8, 6, QImage::Format_RGB32);
  for (int y = 0; y < source.height(); ++y)
    for (int x = 0; x < source.width(); ++x) source.setPixel(x, y, qRgb(250, 20 * x, 20 * y));
  return source;
}

class StretchCopyTest : public testing::TestWithParam<Stretch> {};

TEST_P(StretchCopyTest, EditRevertsAndReappliesIt) {
  const Stretch& s = GetParam();
  ScorePage page = TaggedPage();
  const QImage source = StretchSource();
  ExpectRevertible(page, [&] { page.StretchCopy(source, s.source, s.target); });
}

TEST_P(StretchCopyTest, TakesTheNearestSourcePixelAndClips) {
  const Stretch& s = GetParam();
  ScorePage page = TaggedPage();
  const QImage before = page.Image().copy();
  const QImage source = StretchSource();
  page.StretchCopy(source, s.source, s.target);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      QRgb expected = before.pixel(x, y);
      if (s.target.contains(x, y))
        expected =
            source.pixel(s.columns[size_t(x - s.target.x())], s.rows[size_t(y - s.target.y())]);
      ASSERT_EQ(page.Image().pixel(x, y), expected) << "at " << x << ", " << y;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    ScorePage, StretchCopyTest,
    testing::Values(
        Stretch{"same_size", QRect(1, 1, 3, 2), QRect(2, 2, 3, 2), {1, 2, 3}, {1, 2}},
        Stretch{"doubled", QRect(0, 0, 3, 2), QRect(4, 5, 6, 4), {0, 0, 1, 1, 2, 2}, {0, 0, 1, 1}},
        Stretch{"halved", QRect(0, 0, 8, 6), QRect(0, 0, 4, 3), {1, 3, 5, 7}, {1, 3, 5}},
        Stretch{"uneven", QRect(0, 0, 3, 1), QRect(10, 0, 7, 2), {0, 0, 1, 1, 1, 2, 2}, {0, 0}},
        // A slur ending past the right edge: the visible part keeps the unclipped mapping.
        Stretch{"past_right_edge",
                QRect(0, 0, 4, 2),
                QRect(kWidth - 3, 1, 8, 2),
                {0, 0, 1, 1, 2, 2, 3, 3},
                {0, 1}},
        Stretch{"past_bottom_edge",
                QRect(2, 0, 2, 6),
                QRect(0, kHeight - 2, 2, 6),
                {2, 3},
                {0, 1, 2, 3, 4, 5}}),
    [](const testing::TestParamInfo<Stretch>& info) { return std::string(info.param.name); });

TEST(ScorePage, StretchCopyIsOpaque) {
  ScorePage page(20, 20);
  page.FillRect(page.Image().rect(), Qt::black);
  QImage white(4, 4, QImage::Format_RGB32);
  white.fill(Qt::white);
  page.StretchCopy(white, white.rect(), QRect(2, 2, 10, 6));
  EXPECT_EQ(page.ReadPixel(2, 2), 0xffffff);
  EXPECT_EQ(page.ReadPixel(11, 7), 0xffffff);
  EXPECT_EQ(page.ReadPixel(12, 7), 0);
}

// Writes an edit must take back exactly: at the page's edges, over the whole page, resizes
// within and beyond the page's block, and writes past the width while the page is widened.
struct Write {
  const char* name;
  std::function<void(ScorePage&)> write;
  // What the tagged page gets before the edit opens.
  std::function<void(ScorePage&)> setUp = [](ScorePage&) {};
};

void PrintTo(const Write& c, std::ostream* os) {
  *os << c.name;
}

void DrawTextAt(ScorePage& page, QPointF position, const QString& text) {
  page.SetFont(18, true);
  page.SetForeColour(QColor(20, 90, 160));
  page.SetTextPosition(position);
  page.DrawText(text);
}

QImage Plain(int width, int height, QRgb colour) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}

void InkDotOnBlankPaper(ScorePage& page) {
  page.Clear();
  page.FillRect(QRect(20, 5, 1, 1), Qt::black);
}

class EditTest : public testing::TestWithParam<Write> {
 protected:
  EditTest() { tarvesh::page::testing::EnsureGuiApplication(); }
};

TEST_P(EditTest, RevertRestoresExactly) {
  ScorePage page = TaggedPage();
  GetParam().setUp(page);
  ExpectRevertible(page, [&] { GetParam().write(page); });
}

INSTANTIATE_TEST_SUITE_P(
    ScorePage, EditTest,
    testing::Values(
        Write{"fill_past_right_and_bottom",
              [](ScorePage& p) { p.FillRect(QRect(20, 12, 10, 10), Qt::black); }},
        Write{"clear_block_over_top_left", [](ScorePage& p) { p.ClearBlock(-5, -30); }},
        Write{"text_past_right_edge",
              [](ScorePage& p) {
                DrawTextAt(p, {kWidth - 8, 0}, "58");
              }},
        Write{"text_before_left_and_top",
              [](ScorePage& p) {
                DrawTextAt(p, {-6, -9}, "MAX");
              }},
        Write{"load_larger_picture",
              [](ScorePage& p) { p.LoadImage(Plain(kWidth + 9, kHeight + 3, qRgb(9, 8, 7))); }},
        Write{"load_smaller_picture",
              [](ScorePage& p) { p.LoadImage(Plain(5, 4, qRgb(1, 2, 3))); }},
        Write{"clear", [](ScorePage& p) { p.Clear(); }},
        Write{"narrower", [](ScorePage& p) { p.Resize(kWidth - 5, kHeight); }},
        Write{"shorter_and_wider", [](ScorePage& p) { p.Resize(kWidth + 10, kHeight - 6); }},
        Write{"wider", [](ScorePage& p) { p.Resize(kWidth + 1, kHeight); }},
        Write{"much_smaller", [](ScorePage& p) { p.Resize(4, 3); }},
        Write{"overlapping_moves",
              [](ScorePage& p) {
                p.MoveStrip(2, 3, 15, 6, 7, 3);
                p.MoveStrip(0, 1, kWidth, 9, 0, 4);
                p.MoveStrip(7, 3, 15, 6, 2, 1);
                p.MoveStrip(1, 1, 12, 8, 4, 3);
              }},
        Write{"writes_beyond_the_width_while_widened",
              [](ScorePage& p) {
                p.Resize(kWidth + 50, kHeight);
                p.MoveStrip(3, 2, kWidth + 30 - 3, 5, 9, 2);
                p.ClearBlock(kWidth + 30, 2);
                p.FillRect(QRect(kWidth - 2, 9, 40, 3), Qt::black);
                p.Resize(kWidth, kHeight);
              }},
        Write{"widened_twice",
              [](ScorePage& p) {
                p.Resize(kWidth + 20, kHeight);
                p.FillRect(QRect(kWidth, 0, 20, kHeight), Qt::black);
                p.Resize(kWidth, kHeight);
                p.Resize(kWidth + 40, kHeight);
                p.MoveStrip(0, 0, kWidth + 40, 4, 6, 0);
                p.Resize(kWidth, kHeight);
              }},
        // What lies under these writes is blank paper, kept without its pixels.
        Write{"typing_onto_blank_paper",
              [](ScorePage& p) {
                p.CopyCell(SmallAtlas(), 12, 0, 12, 12, 4, 2);
                p.MoveStrip(2, 2, 20, 12, 8, 2);
                p.ClearBlock(kWidth - 4, 0);
                p.CopyCell(SmallAtlas(), 0, 0, 12, 12, 2, 2);
                p.FillRect(QRect(0, 14, kWidth, 2), Qt::red);
              },
              [](ScorePage& p) { p.FillRect(QRect(0, 0, kWidth, 14), Qt::white); }},
        // Blank paper the page knows of is kept unread; ink further along its row must not be
        // taken for blank paper after a white fill or a move of blank paper before it.
        Write{"ink_right_of_a_white_fill",
              [](ScorePage& p) {
                p.FillRect(QRect(2, 5, 6, 1), Qt::white);
                p.CopyCell(SmallAtlas(), 0, 0, 6, 3, 18, 4);
              },
              InkDotOnBlankPaper},
        Write{"ink_right_of_moved_blank_paper",
              [](ScorePage& p) {
                p.MoveStrip(0, 5, 6, 1, 8, 5);
                p.FillRect(QRect(18, 4, 6, 3), Qt::red);
              },
              InkDotOnBlankPaper}),
    [](const testing::TestParamInfo<Write>& info) { return std::string(info.param.name); });

// A loaded picture's ink is copied only up to where each row's ink ends, and the page knows those
// ends: a clear, or a blank picture loaded after it, leaves no pixel of it behind, wherever in
// its row the ink lay (first column, last column, past the page's width, on a blank row).
TEST(ScorePageLoad, LeavesNoInkBehindAClearOrABlankPicture) {
  QImage sparse = Plain(kWidth + 6, kHeight, qRgb(255, 255, 255));
  sparse.setPixel(0, 1, qRgb(0, 0, 0));
  sparse.setPixel(kWidth - 1, 3, qRgb(200, 0, 0));
  sparse.setPixel(kWidth + 2, 5, qRgb(0, 0, 0));
  sparse.setPixel(kWidth - 1, 7, qRgb(0, 0, 0));
  sparse.setPixel(16, 7, qRgb(0, 0, 0));
  for (int x = 0; x < kWidth; ++x) sparse.setPixel(x, kHeight - 1, qRgb(0, 0, 255));
  const QImage white = Plain(kWidth, kHeight, qRgb(255, 255, 255));
  const std::function<void(ScorePage&)> after[] = {
      [](ScorePage& p) { p.Clear(); },
      [&](ScorePage& p) { p.LoadImage(white); },
      [](ScorePage& p) { p.LoadImage(Plain(1, 1, qRgb(255, 255, 255))); },
  };
  for (const auto& blank : after) {
    ScorePage page(kWidth, kHeight);
    page.LoadImage(sparse);
    EXPECT_EQ(page.Image(), sparse.copy(0, 0, kWidth, kHeight));
    blank(page);
    EXPECT_EQ(page.Image(), white);
  }
}

// Whether an edit changed any pixel, told from what it kept where it only wrote, and by running
// it where it moved: writes that leave every pixel as found change nothing.
struct Change {
  const char* name;
  std::function<void(ScorePage&)> write;
  bool changes;
};

void PrintTo(const Change& c, std::ostream* os) {
  *os << c.name;
}

class ChangeTest : public testing::TestWithParam<Change> {
 protected:
  ChangeTest() { tarvesh::page::testing::EnsureGuiApplication(); }
};

TEST_P(ChangeTest, ChangedByTellsWhetherAPixelDiffers) {
  ScorePage page = TaggedPage();
  page.FillRect(QRect(0, 0, kWidth, 6), Qt::white);
  const QImage before = page.Image().copy();
  page.BeginEdit();
  GetParam().write(page);
  PageEdit edit = page.EndEdit();
  EXPECT_EQ(page.Image() != before, GetParam().changes);
  EXPECT_EQ(page.ChangedBy(edit), GetParam().changes);
  // Asking leaves the edit whole.
  ASSERT_TRUE(page.Revert(edit));
  EXPECT_EQ(page.Image(), before);
}

INSTANTIATE_TEST_SUITE_P(
    ScorePage, ChangeTest,
    testing::Values(Change{"white_onto_blank_paper",
                           [](ScorePage& p) { p.FillRect(QRect(2, 1, 5, 3), Qt::white); }, false},
                    Change{"ink_onto_blank_paper",
                           [](ScorePage& p) { p.FillRect(QRect(2, 1, 5, 3), Qt::black); }, true},
                    Change{"ink_taken_off_blank_paper_again",
                           [](ScorePage& p) {
                             p.FillRect(QRect(2, 1, 5, 3), Qt::black);
                             p.FillRect(QRect(1, 0, 5, 4), Qt::white);
                             p.FillRect(QRect(6, 1, 1, 3), Qt::white);
                           },
                           false},
                    Change{"ink_overwritten_and_put_back",
                           [](ScorePage& p) {
                             p.FillRect(QRect(3, 9, 4, 3), Qt::black);
                             p.CopyCell(TaggedImage(kWidth, kHeight), 2, 8, 6, 5, 2, 8);
                           },
                           false},
                    Change{"ink_overwritten_and_partly_put_back",
                           [](ScorePage& p) {
                             p.FillRect(QRect(3, 9, 4, 3), Qt::black);
                             p.CopyCell(TaggedImage(kWidth, kHeight), 3, 9, 4, 2, 3, 9);
                           },
                           true},
                    Change{"the_same_picture_loaded",
                           [](ScorePage& p) { p.LoadImage(p.Image().copy()); }, false},
                    Change{"strip_moved", [](ScorePage& p) { p.MoveStrip(2, 8, 10, 3, 5, 8); },
                           true}),
    [](const testing::TestParamInfo<Change>& info) { return std::string(info.param.name); });

// The page shrunk and grown again: what it dropped comes back white, a copy of the page held
// across the shrink keeps its ink, and growing back within the block allocates nothing.
struct Regrow {
  const char* name;
  QSize wide;
  QRect ink;
  QSize narrow;
  bool sameBlock;
};

void PrintTo(const Regrow& c, std::ostream* os) {
  *os << c.name;
}

class RegrowTest : public testing::TestWithParam<Regrow> {};

TEST_P(RegrowTest, DroppedPixelsComeBackWhite) {
  const Regrow& r = GetParam();
  ScorePage page = TaggedPage();
  const QImage tagged = page.Image().copy();
  const uchar* block = page.Image().constBits();
  page.Resize(r.wide.width(), r.wide.height());
  page.FillRect(r.ink, Qt::black);
  page.Resize(r.narrow.width(), r.narrow.height());
  page.Resize(r.wide.width(), r.wide.height());
  EXPECT_EQ(page.Image().constBits() == block, r.sameBlock);
  for (int y = 0; y < r.wide.height(); ++y) {
    for (int x = 0; x < r.wide.width(); ++x) {
      const bool kept = x < r.narrow.width() && y < r.narrow.height();
      QRgb expected = qRgb(255, 255, 255);
      if (kept && r.ink.contains(x, y)) {
        expected = qRgb(0, 0, 0);
      } else if (kept && tagged.valid(x, y)) {
        expected = tagged.pixel(x, y);
      }
      ASSERT_EQ(page.Image().pixel(x, y), expected) << "at " << x << ", " << y;
    }
  }

  page.FillRect(r.ink, Qt::black);
  const QImage held = page.Image();
  const QImage inked = held.copy();
  page.Resize(r.narrow.width(), r.narrow.height());
  EXPECT_EQ(held, inked);
}

INSTANTIATE_TEST_SUITE_P(ScorePage, RegrowTest,
                         testing::Values(Regrow{"right_edge_drawn_then_narrowed",
                                                {kWidth, kHeight},
                                                {kWidth - 6, 0, 6, kHeight},
                                                {kWidth - 4, kHeight},
                                                true},
                                         Regrow{"bottom_rows",
                                                {kWidth, kHeight},
                                                {0, kHeight - 3, kWidth, 3},
                                                {kWidth, kHeight - 5},
                                                true},
                                         Regrow{"past_the_block",
                                                {kWidth + 100, kHeight + 10},
                                                {kWidth - 1, 3, 90, 20},
                                                {kWidth + 100, kHeight},
                                                false}),
                         [](const testing::TestParamInfo<Regrow>& info) {
                           return std::string(info.param.name);
                         });

// An insert-mode push keeps the move and only what it overwrites outside its source, never the
// strip: a keystroke's edit costs the pixels pushed off the line's end, and nothing when they
// were blank paper.
struct KeptMove {
  const char* name;
  int sx, sy, w, h, dx, dy;
  size_t keptPixels;
  bool blank = false;
};

void PrintTo(const KeptMove& c, std::ostream* os) {
  *os << c.name;
}

class KeptMoveTest : public testing::TestWithParam<KeptMove> {};

TEST_P(KeptMoveTest, KeepsOnlyWhatTheMoveOverwritesOutsideItsSource) {
  const KeptMove& m = GetParam();
  ScorePage page = m.blank ? ScorePage(200, 60) : TaggedPage(200, 60);
  page.BeginEdit();
  page.MoveStrip(m.sx, m.sy, m.w, m.h, m.dx, m.dy);
  EXPECT_EQ(page.EndEdit().PixelBytes(), m.keptPixels * sizeof(quint32));
}

INSTANTIATE_TEST_SUITE_P(
    ScorePage, KeptMoveTest,
    testing::Values(KeptMove{"push_right", 20, 10, 150, 40, 26, 10, 6 * 40},
                    KeptMove{"push_past_right_edge", 20, 10, 200, 40, 32, 10, 12 * 40},
                    KeptMove{"pull_left", 32, 10, 200, 40, 20, 10, 12 * 40},
                    KeptMove{"diagonal", 10, 10, 50, 20, 13, 14, 4 * 50 + 3 * 16},
                    KeptMove{"apart", 0, 0, 50, 20, 100, 30, 50 * 20},
                    KeptMove{"push_right_on_blank_paper", 20, 10, 150, 40, 26, 10, 0, true}),
    [](const testing::TestParamInfo<KeptMove>& info) { return std::string(info.param.name); });

TEST(ScorePage, EditPutsTheCursorAndPenBack) {
  tarvesh::page::testing::EnsureGuiApplication();
  ScorePage page(kWidth, kHeight);
  int cursorMoves = 0;
  page.onCursorMoved = [&] { ++cursorMoves; };
  page.BeginEdit();
  page.SetCursor(44, 136);
  DrawTextAt(page, {3, 4}, "1");
  page.SetFont(10, false);
  PageEdit edit = page.EndEdit();
  const QPointF textAfter = page.TextPosition();

  ASSERT_TRUE(page.Revert(edit));
  EXPECT_EQ(QPointF(page.CursorLeft(), page.CursorTop()), QPointF(20, 96));
  EXPECT_EQ(page.TextPosition(), QPointF());
  EXPECT_EQ(page.FontPointSize(), 18);
  EXPECT_TRUE(page.FontBold());
  EXPECT_EQ(page.ForeColour(), QColor(0, 0, 0));
  EXPECT_EQ(cursorMoves, 2);

  ASSERT_TRUE(page.Reapply(edit));
  EXPECT_EQ(QPointF(page.CursorLeft(), page.CursorTop()), QPointF(44, 136));
  EXPECT_EQ(page.TextPosition(), textAfter);
  EXPECT_EQ(page.FontPointSize(), 10);
  EXPECT_FALSE(page.FontBold());
  EXPECT_EQ(page.ForeColour(), QColor(20, 90, 160));
}

// Nested edits belong to the outermost one; edits out of turn are refused and change nothing.
TEST(ScorePage, EditsNestAndOutOfTurnRevertsAreRefused) {
  ScorePage page = TaggedPage();
  const QImage before = page.Image().copy();
  page.BeginEdit();
  page.FillRect(QRect(0, 0, 4, 4), Qt::black);
  page.BeginEdit();
  page.FillRect(QRect(10, 10, 4, 4), Qt::black);
  PageEdit inner = page.EndEdit();
  EXPECT_TRUE(inner.IsEmpty());
  EXPECT_TRUE(page.IsEditing());
  EXPECT_FALSE(page.Revert(inner)) << "an edit is open";
  PageEdit outer = page.EndEdit();
  EXPECT_FALSE(page.IsEditing());
  EXPECT_EQ(outer.Bounds(), QRect(0, 0, 14, 14));

  const QImage after = page.Image().copy();
  EXPECT_FALSE(page.Reapply(outer)) << "already applied";
  page.Resize(kWidth + 1, kHeight);
  EXPECT_FALSE(page.Revert(outer)) << "the page changed size since";
  page.Resize(kWidth, kHeight);
  EXPECT_EQ(page.Image(), after);
  ASSERT_TRUE(page.Revert(outer));
  EXPECT_EQ(page.Image(), before);
  EXPECT_FALSE(page.Revert(outer)) << "already reverted";
  EXPECT_EQ(page.Image(), before);
}

// Each write is reported once, as asked (before clipping) and with the source its caller named;
// a write that misses the page reports nothing.
struct Report {
  const char* name;
  std::function<void(ScorePage&)> write;
  std::optional<PageOperation> expected;
};

void PrintTo(const Report& c, std::ostream* os) {
  *os << c.name;
}

const QImage& ReportPicture() {
  static const QImage picture = SmallAtlas();
  return picture;
}

class ReportTest : public testing::TestWithParam<Report> {
 protected:
  ReportTest() { tarvesh::page::testing::EnsureGuiApplication(); }
};

TEST_P(ReportTest, ReportsTheWriteWithItsSource) {
  const Report& r = GetParam();
  ScorePage page(kWidth, kHeight);
  std::vector<PageOperation> reported;
  page.onOperation = [&](const PageOperation& op) { reported.push_back(op); };
  r.write(page);
  ASSERT_EQ(reported.size(), r.expected ? 1u : 0u);
  if (!r.expected) return;
  const PageOperation& got = reported.front();
  const PageOperation& want = *r.expected;
  EXPECT_EQ(got.kind, want.kind);
  EXPECT_EQ(got.source, want.source);
  EXPECT_EQ(got.picture, want.picture);
  EXPECT_EQ(got.sourceRect, want.sourceRect);
  // Text reports the area it changed, which the font decides.
  if (want.kind != PageOperation::Kind::Text) {
    EXPECT_EQ(got.target, want.target);
  }
  EXPECT_EQ(got.colour, want.colour);
  EXPECT_EQ(got.text, want.text);
  EXPECT_EQ(got.pointSize, want.pointSize);
  EXPECT_EQ(got.bold, want.bold);
  EXPECT_EQ(got.position, want.position);
}

using Kind = PageOperation::Kind;

INSTANTIATE_TEST_SUITE_P(
    ScorePage, ReportTest,
    testing::Values(
        Report{"atlas_cell",
               [](ScorePage& p) {
                 p.CopyCell(ReportPicture(), 12, 0, 12, 12, 4, 2, PictureSource::NoteAtlas);
               },
               PageOperation{.kind = Kind::CopyPicture,
                             .source = PictureSource::NoteAtlas,
                             .picture = &ReportPicture(),
                             .sourceRect = {12, 0, 12, 12},
                             .target = {4, 2, 12, 12}}},
        Report{"clipboard_past_edge",
               [](ScorePage& p) {
                 p.CopyCell(ReportPicture(), 0, 0, 30, 12, 18, 9, PictureSource::Clipboard);
               },
               PageOperation{.kind = Kind::CopyPicture,
                             .source = PictureSource::Clipboard,
                             .picture = &ReportPicture(),
                             .sourceRect = {0, 0, 30, 12},
                             .target = {18, 9, 30, 12}}},
        Report{
            "slur_arc",
            [](ScorePage& p) {
              p.StretchCopy(ReportPicture(), {0, 0, 15, 6}, {2, 3, 40, 8}, PictureSource::SlurArc);
            },
            PageOperation{.kind = Kind::StretchPicture,
                          .source = PictureSource::SlurArc,
                          .picture = &ReportPicture(),
                          .sourceRect = {0, 0, 15, 6},
                          .target = {2, 3, 40, 8}}},
        Report{"page_region", [](ScorePage& p) { p.MoveStrip(2, 3, 40, 6, 7, 3); },
               PageOperation{
                   .kind = Kind::MoveRegion, .sourceRect = {2, 3, 40, 6}, .target = {7, 3, 40, 6}}},
        Report{"clear_block", [](ScorePage& p) { p.ClearBlock(4, 5); },
               PageOperation{.kind = Kind::Fill, .target = {4, 5, 20, 40}, .colour = Qt::white}},
        Report{"text",
               [](ScorePage& p) {
                 p.SetFont(10.5, false);
                 p.SetForeColour(Qt::blue);
                 p.SetTextPosition({2.5, 3});
                 p.DrawText("7");
               },
               PageOperation{.kind = Kind::Text,
                             .colour = Qt::blue,
                             .text = "7",
                             .pointSize = 10.5,
                             .bold = false,
                             .position = {2.5, 3}}},
        Report{"load", [](ScorePage& p) { p.LoadImage(ReportPicture()); },
               PageOperation{.kind = Kind::Load,
                             .picture = &ReportPicture(),
                             .target = {0, 0, kWidth, kHeight}}},
        Report{"clear", [](ScorePage& p) { p.Clear(); },
               PageOperation{.kind = Kind::Clear, .target = {0, 0, kWidth, kHeight}}},
        Report{"resize", [](ScorePage& p) { p.Resize(30, 20); },
               PageOperation{.kind = Kind::Resize, .target = {0, 0, 30, 20}}},
        Report{"fill_off_the_page",
               [](ScorePage& p) { p.FillRect(QRect(kWidth, 0, 5, 5), Qt::black); }, std::nullopt},
        Report{"move_onto_nothing", [](ScorePage& p) { p.MoveStrip(0, 0, 5, 5, -9, 0); },
               std::nullopt}),
    [](const testing::TestParamInfo<Report>& info) { return std::string(info.param.name); });

}  // namespace
