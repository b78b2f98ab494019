// The page operations the engine builds on: strip moves that overlap, copies that reach past
// the page's edges, pixel reads outside it, and stretched copies of the slur arc.
#include "page/scorepage.h"

#include <gtest/gtest.h>

#include <QImage>

namespace {

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

ScorePage TaggedPage() {
  ScorePage page(kWidth, kHeight);
  page.LoadImage(TaggedImage(kWidth, kHeight));
  return page;
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

class CopyCellTest : public testing::TestWithParam<Copy> {};

TEST_P(CopyCellTest, CopiesOnlyWhatLiesInsideSourceAndPage) {
  const Copy& c = GetParam();
  ScorePage page = TaggedPage();
  const QImage before = page.Image().copy();
  QImage atlas(30, 12, QImage::Format_RGB32);
  for (int y = 0; y < atlas.height(); ++y)
    for (int x = 0; x < atlas.width(); ++x) atlas.setPixel(x, y, qRgb(200, x, y));
  page.CopyCell(atlas, c.sx, c.sy, c.w, c.h, c.dx, c.dy);
  EXPECT_EQ(page.Image(), ExpectedCopy(before, atlas, c.sx, c.sy, c.w, c.h, c.dx, c.dy));
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

class StretchCopyTest : public testing::TestWithParam<Stretch> {};

TEST_P(StretchCopyTest, TakesTheNearestSourcePixelAndClips) {
  const Stretch& s = GetParam();
  ScorePage page = TaggedPage();
  const QImage before = page.Image().copy();
  QImage source(8, 6, QImage::Format_RGB32);
  for (int y = 0; y < source.height(); ++y)
    for (int x = 0; x < source.width(); ++x) source.setPixel(x, y, qRgb(250, 20 * x, 20 * y));
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

}  // namespace
