// The print page is the page drawn again at print resolution: scaled back down it shows the
// page's own ink, it is the same page however the pixels came (typed, saved and opened, an older
// picture), and it draws glyphs from their print art, not as enlarged pixels.
#include <QPainter>
#include <QTemporaryDir>

#include "artwork.h"
#include "document/pagepicture.h"
#include "print/printpage.h"
#include "reading/readingfixture.h"

namespace tarvesh::print {
namespace {

constexpr int k = kPrintScale;

PrintArt TestArt() {
  return {artwork::DrawPicmode(k), artwork::DrawPicmode2(k)};
}

bool IsInk(const QImage& image, int x, int y) {
  return image.valid(x, y) && (image.pixel(x, y) & 0x00ffffffu) != 0x00ffffffu;
}

// Whether at least half of the k x k block of `large` over page pixel (x, y) is ink.
bool MostlyInk(const QImage& large, int x, int y) {
  int ink = 0;
  for (int j = 0; j < k; ++j)
    for (int i = 0; i < k; ++i) ink += IsInk(large, x * k + i, y * k + j);
  return 2 * ink >= k * k;
}

// A pixel on the edge of a glyph: one of its eight neighbours differs from it.
bool OnAnEdge(const QImage& page, int x, int y) {
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx)
      if (IsInk(page, x + dx, y + dy) != IsInk(page, x, y)) return true;
  return false;
}

// Page pixels where `large` scaled down to the page disagrees with the page away from every edge.
std::vector<QPoint> Disagreements(const QImage& page, const QImage& large) {
  std::vector<QPoint> wrong;
  for (int y = 0; y < page.height(); ++y)
    for (int x = 0; x < page.width(); ++x)
      if (MostlyInk(large, x, y) != IsInk(page, x, y) && !OnAnEdge(page, x, y))
        wrong.push_back({x, y});
  return wrong;
}

std::string Where(const std::vector<QPoint>& points) {
  std::string text;
  for (size_t i = 0; i < points.size() && i < 8; ++i)
    text += "(" + std::to_string(points[i].x()) + ", " + std::to_string(points[i].y()) + ") ";
  return text;
}

TEST(PrintArt, ScaledDownIsThePageAtlas) {
  const struct {
    QImage page, large;
  } atlases[] = {{artwork::DrawPicmode(), artwork::DrawPicmode(k)},
                 {artwork::DrawPicmode2(), artwork::DrawPicmode2(k)}};
  for (const auto& atlas : atlases) {
    ASSERT_EQ(atlas.large.size(), atlas.page.size() * k);
    const auto wrong = Disagreements(atlas.page, atlas.large);
    EXPECT_TRUE(wrong.empty()) << Where(wrong);
    for (int y = 0; y < atlas.large.height(); ++y)
      for (int x = 0; x < atlas.large.width(); ++x) {
        const QRgb pixel = atlas.large.pixel(x, y) & 0x00ffffffu;
        if (pixel != 0 && pixel != 0x00ffffffu && pixel != 0x00ff0000u)
          FAIL() << "a grey at " << x << ", " << y;
      }
  }
}

// Print art once spilt the smooth edge of a syllable filling its cell into the dash's cell next
// to it, so every dash printed with specks beside it.
TEST(PrintArt, EveryCellKeepsItsInkInsideItsOwnPageCell) {
  const struct {
    QImage page, large;
    QRect cells;  // the cells' area in the page atlas
    int width;
  } atlases[] = {{artwork::DrawPicmode(), artwork::DrawPicmode(k), QRect(0, 0, 42 * 12, 160), 12},
                 {artwork::DrawPicmode2(), artwork::DrawPicmode2(k), QRect(0, 0, 20 * 12, 40), 12},
                 {artwork::DrawPicmode2(), artwork::DrawPicmode2(k), QRect(0, 40, 15 * 6, 40), 6}};
  for (const auto& atlas : atlases) {
    for (int top = atlas.cells.top(); top < atlas.cells.bottom(); top += page::kCellHeight) {
      for (int left = atlas.cells.left(); left < atlas.cells.right(); left += atlas.width) {
        const QRect cell(left, top, atlas.width, page::kCellHeight);
        const QImage small = atlas.page.copy(cell);
        const QImage large = atlas.large.copy(QRect(cell.topLeft() * k, cell.size() * k));
        // Every print pixel lies on a page pixel with ink, or beside one, within the cell.
        for (int y = 0; y < large.height(); ++y)
          for (int x = 0; x < large.width(); ++x)
            if (IsInk(large, x, y) && !IsInk(small, x / k, y / k) && !OnAnEdge(small, x / k, y / k))
              FAIL() << "ink at " << x << ", " << y << " of the cell at " << left << ", " << top;
      }
    }
  }
}

class RandomPrintPage : public reading::testing::TypedPage,
                        public ::testing::WithParamInterface<unsigned> {
 protected:
  QImage PrintOf(const QImage& picture, std::optional<PrintArt> art = TestArt()) {
    PrintPage print(Atlas(), std::move(art));
    print.SetFrom(picture);
    return print.Region(picture.rect());
  }
};

TEST_P(RandomPrintPage, ScaledDownAgreesWithThePageAndComesBackFromItsPictures) {
  TypeRandomScore(GetParam(), 140);
  const QImage typed = page.Image().copy();
  const QImage print = PrintOf(typed);
  ASSERT_EQ(print.size(), typed.size() * k);
  const auto wrong = Disagreements(typed, print);
  EXPECT_TRUE(wrong.empty()) << wrong.size() << " pixels: " << Where(wrong);

  // Saved and opened, and as a picture an older version wrote with Qt's own writer.
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString saved = dir.filePath(QStringLiteral("score.bmp"));
  ASSERT_FALSE(document::WritePagePicture(typed, saved));
  const auto opened = document::LoadPagePicture(saved);
  ASSERT_TRUE(opened);
  EXPECT_EQ(PrintOf(*opened), print);
  const QString older = dir.filePath(QStringLiteral("older.bmp"));
  ASSERT_TRUE(typed.convertToFormat(QImage::Format_RGB888).save(older, "BMP"));
  EXPECT_EQ(PrintOf(QImage(older)), print);

  // Without print art every glyph is enlarged, and the page still agrees.
  const auto enlarged = Disagreements(typed, PrintOf(typed, std::nullopt));
  EXPECT_TRUE(enlarged.empty()) << enlarged.size() << " pixels: " << Where(enlarged);
}

INSTANTIATE_TEST_SUITE_P(Print, RandomPrintPage, ::testing::Values(1u, 7u, 23u));

class PrintPageOf : public reading::testing::TypedPage {};

TEST_F(PrintPageOf, AGlyphIsItsPrintArtNotItsPixelsEnlarged) {
  Note(18, 1);  // an eighth 5 with its duration line
  const QImage art = artwork::DrawPicmode(k);
  PrintPage print(Atlas(), TestArt());
  print.SetFrom(page.Image());
  const QImage cell =
      print.Region(QRect(page::kLeftMargin, kTop, page::kWideCell, page::kCellHeight));
  const QImage expected =
      art.copy(QRect(18 * page::kWideCell * k, page::kCellHeight * k, cell.width(), cell.height()));
  EXPECT_EQ(cell, expected);
}

// A page a person drew elsewhere: its strokes are enlarged with smooth edges, so a diagonal
// step of one page pixel is not a step of k print pixels.
TEST_F(PrintPageOf, InkWithoutArtIsEnlargedWithSmoothEdges) {
  QImage drawn(40, 40, QImage::Format_RGB32);
  drawn.fill(Qt::white);
  for (int i = 5; i < 30; ++i) drawn.setPixel(i, i, qRgb(0, 0, 0));
  PrintPage print(Atlas(), TestArt());
  print.SetFrom(drawn);
  const QImage large = print.Region(drawn.rect());
  EXPECT_TRUE(Disagreements(drawn, large).empty());
  // The outer corner of a step stays white; the middle of the stroke is ink.
  const int at = 15 * k;
  EXPECT_TRUE(IsInk(large, at + k / 2, at + k / 2));
  EXPECT_FALSE(IsInk(large, at + k - 1, at));
  EXPECT_FALSE(IsInk(large, at, at + k - 1));
}

TEST_F(PrintPageOf, ColouredInkKeepsItsColour) {
  QImage drawn(40, 40, QImage::Format_RGB32);
  drawn.fill(Qt::white);
  QPainter(&drawn).fillRect(10, 10, 6, 6, QColor(255, 0, 0));
  PrintPage print(Atlas(), TestArt());
  print.SetFrom(drawn);
  ASSERT_EQ(print.Layers().size(), 2u);
  EXPECT_EQ(print.Layers()[1].Colour(), QColor(255, 0, 0));
  EXPECT_EQ(print.Region(drawn.rect()).pixel(12 * k, 12 * k), qRgb(255, 0, 0));
}

}  // namespace
}  // namespace tarvesh::print
