// A folder exported from the scores' documents alone, in a program that has no QApplication and
// does not link Qt Widgets: what lies over the page comes out on the page pictures, and a score
// without a side file keeps the settings of the score exported before it.
#include "publish/folderexport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "document/pagepicture.h"
#include "page/geometry.h"
#include "page/glyphatlas.h"
#include "page/guiapplication.h"
#include "page/pagelayout.h"
#include "publish/pageprinter.h"
#include "score/scoredocument.h"
#include "score/scorefile.h"

namespace tarvesh::publish {
namespace {

using score::ScoreDocument;

bool HasInk(const QImage& image, const QRect& area) {
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (image.pixelColor(x, y) != Qt::white) return true;
  return false;
}

class Export : public ::testing::Test {
 protected:
  // Where the wide score's symbol picture, the first of the data folder's (26 x 16), lies.
  static constexpr QPoint kSymbolAt{500, 400};

  Export() { page::testing::EnsureGuiApplication(); }

  // A score with a wide page, a title, a text label, a symbol picture and ink of its own.
  void SaveWideScore(const QString& name) {
    ScoreDocument document;
    document.Set(ScoreDocument::kBarsPerLine, 10);
    document.LayOut();
    document.Page().FillRect(QRect(100, 200, 30, 12), Qt::black);
    document.SetText(ScoreDocument::kTitle, QStringLiteral("茉莉花"));
    document.AddOverlay(ScoreDocument::OverlayKind::kTextLabel, QPoint(300, 400), 0,
                        QStringLiteral("前奏"));
    document.AddOverlay(ScoreDocument::OverlayKind::kSymbolPicture, kSymbolAt, 0,
                        QDir(TARVESH_DATA_DIR).filePath(QStringLiteral("s/sik/01fermata.bmp")));
    document.SetPath(dir.filePath("scores/" + name));
    score::ScoreFile file;
    ASSERT_EQ(file.Save(document), std::nullopt);
  }
  // A bare picture without a side file.
  void SaveBarePicture(const QString& name) {
    QImage picture(400, 300, QImage::Format_RGB32);
    picture.fill(Qt::white);
    ASSERT_EQ(document::WritePagePicture(picture, dir.filePath("scores/" + name)), std::nullopt);
  }
  int Run(const QString& format, QString* errors) {
    QTextStream err(errors);
    const auto atlas = page::GlyphAtlas::Load(TARVESH_DATA_DIR, nullptr);
    FolderExport::Request request{dir.filePath("scores"), format, dir.filePath("out"),
                                  TARVESH_DATA_DIR};
    request.atlas = &*atlas;
    return FolderExport::Run(request, err);
  }

  QTemporaryDir dir;
  // MusicXML reads the pages back with the glyphs.
  const std::optional<page::GlyphAtlas> atlas = page::GlyphAtlas::Load(TARVESH_DATA_DIR, nullptr);
};

TEST_F(Export, ComposesEveryScoreWithoutAWindow) {
  ASSERT_TRUE(QDir(dir.path()).mkpath("scores"));
  SaveBarePicture("a.bmp");
  SaveWideScore("b.bmp");
  QString errors;
  ASSERT_EQ(Run("bmp", &errors), 0) << errors.toStdString();

  const auto a = document::LoadPagePicture(dir.filePath("out/a.bmp"));
  const auto b = document::LoadPagePicture(dir.filePath("out/b.bmp"));
  ASSERT_TRUE(a && b);
  const int wide = page::ComputePageLayout(120, 10, 60).width;
  ASSERT_EQ(b->width(), wide);
  EXPECT_TRUE(HasInk(*b, QRect(100, 200, 30, 12))) << "the page's own ink";
  EXPECT_TRUE(HasInk(*b, QRect(0, 8, wide, 21))) << "the title";
  EXPECT_TRUE(HasInk(*b, QRect(300, 400, 40, 20))) << "the text label";
  EXPECT_TRUE(HasInk(*b, QRect(kSymbolAt, QSize(26, 16)))) << "the symbol picture";
  // The list is taken from its end, so a comes after b and keeps b's wider page.
  EXPECT_EQ(a->width(), wide);
  EXPECT_FALSE(HasInk(*a, QRect(100, 200, 30, 12)));
  EXPECT_TRUE(errors.contains("exported 2 of 2 scores")) << errors.toStdString();
}

// The scores are composed in the order of the list, each with the settings it would have had
// opened last first: a score that cannot be read hands none of its own on, though its side file
// reads well and only its picture's rows are cut short.
TEST_F(Export, AScoreThatCannotBeReadHandsNoSettingsOn) {
  ASSERT_TRUE(QDir(dir.path()).mkpath("scores"));
  SaveBarePicture("a.bmp");
  {
    ScoreDocument document;
    document.Set(ScoreDocument::kBarsPerLine, 14);
    document.LayOut();
    document.SetPath(dir.filePath("scores/b.bmp"));
    score::ScoreFile file;
    ASSERT_EQ(file.Save(document), std::nullopt);
    QFile picture(document.Path());
    ASSERT_TRUE(picture.resize(picture.size() - 100));
  }
  SaveWideScore("c.bmp");
  QString errors;
  EXPECT_EQ(Run("bmp", &errors), 1) << errors.toStdString();
  EXPECT_TRUE(errors.contains("b.bmp: cannot be read")) << errors.toStdString();
  const auto a = document::LoadPagePicture(dir.filePath("out/a.bmp"));
  ASSERT_TRUE(a);
  EXPECT_EQ(a->width(), page::ComputePageLayout(120, 10, 60).width);
  EXPECT_FALSE(QFileInfo::exists(dir.filePath("out/b.bmp")));
  EXPECT_LT(errors.indexOf("a.bmp"), errors.indexOf("b.bmp")) << "told in the list's order";
}

TEST_F(Export, APdfHoldsOnePagePerScore) {
  ASSERT_TRUE(QDir(dir.path()).mkpath("scores"));
  SaveWideScore("a.bmp");
  SaveWideScore("b.bmp");
  QString errors;
  ASSERT_EQ(Run("pdf", &errors), 0) << errors.toStdString();
  EXPECT_TRUE(QFileInfo(FolderExport::PdfPathFor(dir.filePath("out"))).size() > 0);
  EXPECT_TRUE(errors.contains("PDF of 2 pages")) << errors.toStdString();
}

// The PNG sheets once showed the head, the labels and the pictures over the page scaled by the
// sheet's resolution over 96 dpi, off their places or off the sheet.
TEST_F(Export, APngSheetShowsWhatLiesOverThePageInItsPlace) {
  ASSERT_TRUE(QDir(dir.path()).mkpath("scores"));
  SaveWideScore("b.bmp");
  QString errors;
  ASSERT_EQ(Run("png", &errors), 0) << errors.toStdString();
  const QImage sheet(dir.filePath("out/b.png"));
  ASSERT_FALSE(sheet.isNull());
  const double perMm = FolderExport::kDefaultDpi / 25.4;
  const double margin = PagePrinter::kMarginMm * perMm;
  const int width = page::ComputePageLayout(120, 10, 60).width;
  const QRectF placed =
      PagePrinter::PlaceOnSheet(QSizeF(width, page::PageHeightFor(width)),
                                QRectF(sheet.rect()).adjusted(margin, margin, -margin, -margin));
  const double scale = placed.width() / width;
  const auto onSheet = [&](const QRect& onPage) {
    return QRectF(placed.topLeft() + QPointF(onPage.topLeft()) * scale,
                  QSizeF(onPage.size()) * scale)
        .toAlignedRect();
  };
  EXPECT_TRUE(HasInk(sheet, onSheet(QRect(100, 200, 30, 12)))) << "the page's own ink";
  EXPECT_TRUE(HasInk(sheet, onSheet(QRect(0, 8, width, 21)))) << "the title";
  EXPECT_TRUE(HasInk(sheet, onSheet(QRect(300, 400, 40, 20)))) << "the text label";
  EXPECT_TRUE(HasInk(sheet, onSheet(QRect(kSymbolAt, QSize(26, 16))))) << "the symbol picture";
}

TEST_F(Export, MusicXmlReadsEveryPageBackAsMusic) {
  ASSERT_TRUE(QDir(dir.path()).mkpath("scores"));
  SaveWideScore("b.bmp");
  QString errors;
  ASSERT_EQ(Run("musicxml", &errors), 0) << errors.toStdString();
  QFile file(dir.filePath("out/b.musicxml"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray xml = file.readAll();
  EXPECT_TRUE(xml.contains("<score-partwise version=\"4.0\">"));
  EXPECT_TRUE(xml.contains(QStringLiteral("<work-title>茉莉花</work-title>").toUtf8()));
}

}  // namespace
}  // namespace tarvesh::publish
