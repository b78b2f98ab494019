// The print page is the page drawn again at print resolution: scaled back down it shows the
// page's own ink, it is the same page however the pixels came (typed, saved and opened, an older
// picture), and it draws glyphs from their print art, not as enlarged pixels.
#include <QPainter>
#include <QTemporaryDir>

#include "artwork.h"
#include "document/pagepicture.h"
#include "page/guiapplication.h"
#include "page/slurarc.h"
#include "print/printpage.h"
#include "reading/readingfixture.h"

namespace tarvesh::print {
namespace {

constexpr int k = kPrintScale;

PrintArt TestArt() {
  return {artwork::DrawPicmode(k), artwork::DrawPicmode2(k), artwork::DrawSlurArc(k)};
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
                 {artwork::DrawPicmode2(), artwork::DrawPicmode2(k)},
                 {artwork::DrawSlurArc(), artwork::DrawSlurArc(k)}};
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

// The symbol pictures for print: every picture of the page's folder under the same name, exactly
// k times its size, the same shape.
TEST(PrintArt, EverySymbolPictureHasAPrintPictureOfTheSameShape) {
  page::testing::EnsureGuiApplication();
  const std::vector<artwork::SymbolPicture> page = artwork::DrawSymbolPictures();
  const std::vector<artwork::SymbolPicture> large = artwork::DrawSymbolPictures(k);
  ASSERT_EQ(large.size(), page.size());
  for (size_t i = 0; i < page.size(); ++i) {
    SCOPED_TRACE(page[i].fileName.toStdString());
    EXPECT_EQ(large[i].fileName, page[i].fileName);
    ASSERT_EQ(large[i].image.size(), page[i].image.size() * k);
    const auto wrong = Disagreements(page[i].image, large[i].image);
    EXPECT_TRUE(wrong.empty()) << Where(wrong);
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

// Slurs drawn as the key L draws them, from the middle of one note to the middle of another, over
// a typed page: a slur's notes by line and by index among the line's notes, from its end when
// negative.
struct SlurCase {
  const char* name;
  struct Span {
    int line1, note1, line2, note2;
  };
  std::vector<Span> slurs;
  // Whether the reading tells every arc drawn; arcs run together are told none.
  bool told;
};

void PrintTo(const SlurCase& c, std::ostream* os) {
  *os << c.name;
}

std::string Describe(const std::vector<page::SlurArc>& arcs) {
  std::string text;
  for (const page::SlurArc& arc : arcs) {
    const QRect& r = arc.target;
    text += std::to_string(int(arc.part)) + " at " + std::to_string(r.x()) + ", " +
            std::to_string(r.y()) + " " + std::to_string(r.width()) + " x " +
            std::to_string(r.height()) + "; ";
  }
  return text;
}

class SlurPrint : public reading::testing::TypedPage,
                  public ::testing::WithParamInterface<SlurCase> {
 protected:
  // The notes' cells on line `line` of the page read back.
  QRect NoteCell(const std::vector<reading::ReadLine>& lines, int line, int note) const {
    std::vector<QRect> cells;
    for (const reading::ReadItem& item : lines.at(size_t(line)).items)
      if (item.kind == reading::ItemKind::kNote) cells.push_back(item.box);
    return cells.at(size_t(note < 0 ? int(cells.size()) + note : note));
  }

  // Draws the case's slurs; returns their arcs.
  std::vector<page::SlurArc> DrawSlurs() {
    const std::vector<reading::ReadLine> lines = ReadPage();
    std::vector<page::SlurArc> drawn;
    for (const SlurCase::Span& span : GetParam().slurs) {
      const QRect first = NoteCell(lines, span.line1, span.note1);
      const QRect last = NoteCell(lines, span.line2, span.note2);
      for (const page::SlurArc& arc :
           page::SlurArc::Between(first.topLeft(), QPoint(last.right() + 1, last.top()), Width())) {
        page.StretchCopy(Atlas().SlurArc, page::SlurArc::Source(arc.part), arc.target,
                         page::PictureSource::SlurArc);
        drawn.push_back(arc);
      }
    }
    return drawn;
  }
};

TEST_P(SlurPrint, ArcsAreDrawnFromTheirPrintArtAndAgreeWithThePage) {
  for (int i = 0; i < 40; ++i) Note(14 + i % 7, 0);
  const std::vector<page::SlurArc> drawn = DrawSlurs();
  ASSERT_FALSE(drawn.empty());
  const QImage typed = page.Image().copy();

  // The rectangle each arc was stretched over comes back from its ink and its line.
  const std::vector<page::SlurArc> told = reader.Make(typed).arcs;
  EXPECT_EQ(Describe(told), Describe(GetParam().told ? drawn : std::vector<page::SlurArc>{}));

  PrintPage print(Atlas(), TestArt());
  print.SetFrom(typed);
  const QImage large = print.Region(typed.rect());
  const auto wrong = Disagreements(typed, large);
  EXPECT_TRUE(wrong.empty()) << wrong.size() << " pixels: " << Where(wrong);
  // Over a told arc the print page is the arc's print art stretched, not its pixels enlarged.
  for (const page::SlurArc& arc : told) {
    const QImage art = arc.Stretched(artwork::DrawSlurArc(k), k);
    const QPoint corner = arc.target.topLeft() * k;
    int differ = 0;
    for (int y = 0; y < art.height(); ++y)
      for (int x = 0; x < art.width(); ++x)
        differ += IsInk(art, x, y) != IsInk(large, corner.x() + x, corner.y() + y);
    EXPECT_EQ(differ, 0) << Describe({arc});
  }
  // Without print art the arcs are enlarged, and the page still agrees.
  const auto enlarged = Disagreements(typed, [&] {
    PrintPage plain(Atlas(), std::nullopt);
    plain.SetFrom(typed);
    return plain.Region(typed.rect());
  }());
  EXPECT_TRUE(enlarged.empty()) << enlarged.size() << " pixels: " << Where(enlarged);
}

INSTANTIATE_TEST_SUITE_P(
    Print, SlurPrint,
    ::testing::Values(SlurCase{"OverTwoNotes", {{0, 0, 0, 1}}, true},
                      SlurCase{"OverThreeBars", {{0, 1, 0, 12}}, true},
                      SlurCase{"OverTheWholeLine", {{0, 0, 0, -1}}, true},
                      SlurCase{"TwoOnALine", {{0, 0, 0, 2}, {0, 4, 0, 7}}, true},
                      SlurCase{"WrappedOntoTheNextLine", {{0, -3, 1, 2}}, true},
                      SlurCase{"ATieInsideASlur", {{0, 2, 0, 9}, {0, 4, 0, 5}}, false}),
    [](const ::testing::TestParamInfo<SlurCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarvesh::print
