// A symbol picture over a print page is drawn from its print picture, the namesake in the print
// folder exactly kPrintScale times its size; any other picture there, or none, leaves the page's
// own picture, as the window shows it.
#include "score/pagecomposer.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QPainter>
#include <QTemporaryDir>

#include "page/guiapplication.h"
#include "print/printart.h"

namespace tarvesh::score {
namespace {

constexpr int k = print::kPrintScale;
const QPoint kAt(300, 400);

// A picture whose every pixel tells its place, so a picture scaled up shows as one.
QImage Checkers(QSize size) {
  QImage image(size, QImage::Format_RGB32);
  for (int y = 0; y < size.height(); ++y)
    for (int x = 0; x < size.width(); ++x)
      image.setPixel(x, y, (x + y) % 2 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
  return image;
}

struct PrintPictureCase {
  const char* name;
  int scale;  // of the picture in the print folder; 0: none there
  bool fromPrintPicture;
};

void PrintTo(const PrintPictureCase& c, std::ostream* os) {
  *os << c.name;
}

class PrintSymbols : public ::testing::TestWithParam<PrintPictureCase> {
 protected:
  PrintSymbols() { page::testing::EnsureGuiApplication(); }

  // The symbol picture's place drawn k times as large, as a print sheet draws it.
  QImage DrawnLarge(const PageComposer::Options& options) {
    QImage drawn(small.size() * k, QImage::Format_RGB32);
    drawn.fill(Qt::white);
    QPainter painter(&drawn);
    painter.scale(k, k);
    painter.translate(-kAt);
    PageComposer().DrawOver(painter, document, options);
    return drawn;
  }

  QTemporaryDir dir;
  const QImage small = Checkers(QSize(10, 6));
  ScoreDocument document;
};

TEST_P(PrintSymbols, APictureIsDrawnFromItsPrintPictureOnlyWhenThatIsExactlyLarger) {
  ASSERT_TRUE(QDir(dir.path()).mkpath("sik") && QDir(dir.path()).mkpath("print"));
  const QString picture = dir.filePath("sik/sign.bmp");
  ASSERT_TRUE(small.save(picture));
  const QImage large = Checkers(small.size() * std::max(GetParam().scale, 1));
  if (GetParam().scale) {
    ASSERT_TRUE(large.save(dir.filePath("print/sign.bmp")));
  }
  document.AddOverlay(ScoreDocument::OverlayKind::kSymbolPicture, kAt, 0, picture);

  PageComposer::Options print;
  print.printSymbols = dir.filePath("print");
  const QImage shown = DrawnLarge(PageComposer::Options());
  ASSERT_NE(shown, large);
  EXPECT_EQ(DrawnLarge(print), GetParam().fromPrintPicture ? large : shown);
}

INSTANTIATE_TEST_SUITE_P(Print, PrintSymbols,
                         ::testing::Values(PrintPictureCase{"ExactlyLarger", k, true},
                                           PrintPictureCase{"OfAnotherSize", k / 2, false},
                                           PrintPictureCase{"None", 0, false}),
                         [](const ::testing::TestParamInfo<PrintPictureCase>& info) {
                           return info.param.name;
                         });

}  // namespace
}  // namespace tarvesh::score
