#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtMath>
#include <cerrno>

#include "app/printpdf.h"
#include "app/windowharness.h"
#include "document/faultycalls.h"
#include "document/pagepicture.h"
#include "document/usefilecalls.h"
#include "print/printpage.h"
#include "publish/folderexport.h"

namespace tarvesh::testing {
namespace {

const QString kA4 = QStringLiteral("0 0 595 842");

QImage Picture(const QString& path) {
  const auto picture = document::LoadPagePicture(path);
  return picture ? picture->convertToFormat(QImage::Format_RGB32) : QImage();
}

class Printing : public ::testing::Test {
 protected:
  // Runs `script` with "DIR" standing for the test's folder; the script must succeed.
  void Run(QString script) {
    script.replace(QStringLiteral("DIR"), dir.path());
    ASSERT_EQ(window.Run(script), 0) << window.LastError().toStdString();
  }
  QString Path(const QString& name) const { return dir.filePath(name); }
  QJsonObject LastEvent(const QString& key) {
    const QJsonArray events = window.Dump()["events"].toArray();
    for (auto it = events.end(); it != events.begin();) {
      const QJsonObject event = (--it)->toObject();
      if (event.contains(key)) return event;
    }
    return {};
  }
  // Three scores in DIR/scores, each telling itself apart: a has a text label, b a wider
  // page, c no side file (it keeps the settings of the score opened before it).
  void WriteScores() {
    ASSERT_TRUE(QDir(dir.path()).mkpath("scores"));
    Run(R"(key 49
select List1 0
click Command5
file "DIR/scores/a.bmp"
click Command1(2)
click Command1(6)
set HScroll2(1) 10
key 50
key 50
file "DIR/scores/b.bmp"
click Command1(2)
click Command1(6)
key 51
file "DIR/scores/c.bmp"
click Command1(2)
)");
    ASSERT_TRUE(QFile::remove(Path("scores/c.dat")));
  }
  // The window's batch export of DIR/scores; returns its export folder.
  QString WindowBatch() {
    Run("file \"DIR/scores/a.bmp\"\nclick Command1(3)\ntick Timer2 13\n");
    return Path(QStringLiteral("scores/导出 ") + window.State()["BatchStamp"].toString());
  }

  QTemporaryDir dir;
  WindowHarness window;
};

// Text of the PDF as pdftotext extracts it.
QString PdfText(const QString& path) {
  QProcess process;
  process.start(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
  process.waitForFinished(60000);
  return QString::fromUtf8(process.readAllStandardOutput());
}

// The resolution of every image of a PDF, "x-ppi y-ppi", as pdfimages lists them.
QStringList PdfImagePpi(const QString& path) {
  QProcess process;
  process.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), path});
  process.waitForFinished(60000);
  QStringList ppi;
  const QStringList lines = QString::fromUtf8(process.readAllStandardOutput()).split('\n');
  for (const QString& line : lines.mid(2)) {
    const QStringList fields = line.simplified().split(' ');
    if (fields.size() > 13) ppi << fields[12] + " " + fields[13];
  }
  return ppi;
}

// The resolution of a page W pixels wide drawn at print resolution across A4 inside its
// margins, as pdfimages rounds it.
QString PageImagePpi(int width) {
  const QString ppi = QString::number(qRound(print::kPrintScale * width * 25.4 / (210 - 2 * 12)));
  return ppi + " " + ppi;
}

// The PDF's first page rendered at `dpi` as a grey picture.
QImage PdfRaster(const QString& path, int dpi) {
  QTemporaryDir dir;
  QProcess process;
  process.start(QStringLiteral("pdftoppm"),
                {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-gray"),
                 QStringLiteral("-singlefile"), path, dir.filePath(QStringLiteral("page"))});
  process.waitForFinished(60000);
  return QImage(dir.filePath(QStringLiteral("page.pgm"))).convertToFormat(QImage::Format_RGB32);
}

TEST_F(Printing, PdfAndPrintCarryThePrintPageWithItsTextsOnA4InsideTheMargins) {
  Run(R"(key 53
key 54
select List1 0
click Command5
file "DIR/page.pdf"
click Command17
file "DIR/printed.pdf"
click Command16
)");
  const QImage bitmap = window.Form().Document().Page().Image();
  EXPECT_EQ(LastEvent("dialog")["dialog"].toString(), "打印");
  const QJsonArray events = window.Dump()["events"].toArray();
  const QJsonObject pdfDialog = events[events.size() - 2].toObject();
  EXPECT_EQ(pdfDialog["dialog"].toString(), "导出PDF");
  EXPECT_EQ(pdfDialog["filter"].toString(), "PDF(*.pdf)|*.pdf");

  for (const char* name : {"page.pdf", "printed.pdf"}) {
    SCOPED_TRACE(name);
    const PrintPdf pdf(Path(name));
    ASSERT_TRUE(pdf.Valid());
    EXPECT_EQ(pdf.PageObjects(), 1);
    ASSERT_EQ(pdf.Pages().size(), 1u);
    const PrintPdf::Page& page = pdf.Pages()[0];
    EXPECT_EQ(page.mediaBox, kA4);
    EXPECT_EQ(page.filter, "FlateDecode");
    // The print page's black ink, paper around it left out, at k times the page's resolution.
    const print::InkLayer& black = window.Form().PrintPage().Layers().front();
    const QRect inked = black.Inked();
    const QPoint corner(inked.left() & ~7, inked.top());
    ASSERT_EQ(page.image.size(), QSize(inked.right() + 1 - corner.x(), inked.height()));
    int differ = 0;
    for (int y = 0; y < page.image.height(); ++y)
      for (int x = 0; x < page.image.width(); ++x)
        differ +=
            (qGray(page.image.pixel(x, y)) < 128) != black.Test(corner.x() + x, corner.y() + y);
    EXPECT_EQ(differ, 0);
    EXPECT_EQ(PdfImagePpi(Path(name)), QStringList{PageImagePpi(bitmap.width())});
    // The head of the page is text.
    const QString text = PdfText(Path(name));
    EXPECT_TRUE(text.contains("标题")) << text.toStdString();
    EXPECT_TRUE(text.contains("每分钟72拍")) << text.toStdString();
  }
  // Nothing lies within 12 mm of the paper's edges, where printers clip.
  const QImage sheet = PdfRaster(Path("page.pdf"), 72);
  ASSERT_EQ(sheet.size(), QSize(595, 842));
  const int margin = qFloor(12 / 25.4 * 72);
  int inked = 0, outside = 0;
  for (int y = 0; y < sheet.height(); ++y)
    for (int x = 0; x < sheet.width(); ++x) {
      if (qGray(sheet.pixel(x, y)) > 200) continue;
      ++inked;
      if (!QRect(margin, margin, 595 - 2 * margin, 842 - 2 * margin).contains(x, y)) ++outside;
    }
  EXPECT_GT(inked, 0);
  EXPECT_EQ(outside, 0);
}

// A symbol picture goes into a PDF drawn for print: its picture has the page's resolution, from
// the window and from the command line alike.
TEST_F(Printing, ASymbolPictureGoesIntoThePdfAtPrintResolution) {
  ASSERT_TRUE(QDir(dir.path()).mkpath("scores"));
  Run(R"(key 53
key 70
select File1 0
click Command8
file "DIR/scores/a.bmp"
click Command1(2)
file "DIR/page.pdf"
click Command17
)");
  const QString ppi = PageImagePpi(window.Form().Document().Page().Image().width());
  EXPECT_EQ(PdfImagePpi(Path("page.pdf")), (QStringList{ppi, ppi}));
  const ProcessResult result =
      RunTarvesh({"--export", Path("scores"), "--format", "pdf", "--out", Path("cli")});
  ASSERT_EQ(result.status, 0) << result.errors.toStdString();
  EXPECT_EQ(PdfImagePpi(Path("cli/cli.pdf")), (QStringList{ppi, ppi}));
}

TEST_F(Printing, PrintAndPdfDialogsOnlyActWhenAnswered) {
  Run("key 53\nfile-cancel\nclick Command16\nfile-cancel\nclick Command17\n");
  EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
  EXPECT_EQ(window.Run("click Command16\n"), 1);
  EXPECT_TRUE(window.LastError().contains("no queued answer")) << window.LastError().toStdString();
}

TEST_F(Printing, AnExistingPdfIsReplacedOnlyWhenTheUserSaysSo) {
  QFile old(Path("page.pdf"));
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("keep me");
  old.close();
  // A name without the extension gets it.
  Run("key 53\nfile \"DIR/page\"\nreply no\nclick Command17\n");
  EXPECT_EQ(PrintPdf(Path("page.pdf")).Valid(), false);
  Run("file \"DIR/page.pdf\"\nreply yes\nclick Command17\n");
  EXPECT_EQ(PrintPdf(Path("page.pdf")).Pages().size(), 1u);
}

TEST_F(Printing, APdfThatCannotBeWrittenIsReported) {
  EXPECT_EQ(
      window.Run("key 53\nfile \"" + Path("no-such-folder/page.pdf") + "\"\nclick Command17\n"), 1);
  EXPECT_TRUE(window.LastError().contains("文件或文件夹不存在"))
      << window.LastError().toStdString();
  EXPECT_TRUE(LastEvent("message")["message"].toString().startsWith("无法保存文件"));
}

// A PDF cut short by a full disk once replaced the old one without a word.
TEST_F(Printing, APdfCutShortByAFullDiskKeepsTheOldOne) {
  Run("key 53\nfile \"DIR/page.pdf\"\nclick Command17\n");
  const QByteArray old = [&] {
    QFile file(Path("page.pdf"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }();
  {
    // A PDF of a page reaches the disk in one write.
    document::FaultyCalls full(QStringLiteral(".pdf"));
    full.DiskFullAt(0);
    const document::UseFileCalls use(&full);
    EXPECT_EQ(window.Run("file \"" + Path("page.pdf") + "\"\nreply yes\nclick Command17\n"), 1);
    EXPECT_TRUE(window.LastError().contains("磁盘空间不足")) << window.LastError().toStdString();
    QFile file(Path("page.pdf"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), old);
  }
}

TEST_F(Printing, BatchExportAlsoWritesOnePdfInTheOrderOfTheList) {
  WriteScores();
  Run("file \"DIR/scores/a.bmp\"\nclick Command1(3)\n");
  EXPECT_FALSE(window.Control("Command16")["enabled"].toBool());
  EXPECT_FALSE(window.Control("Command17")["enabled"].toBool());
  Run("tick Timer2 13\n");
  EXPECT_TRUE(window.Control("Command16")["enabled"].toBool());
  const QString folder =
      Path(QStringLiteral("scores/导出 ") + window.State()["BatchStamp"].toString());
  const PrintPdf pdf(folder + "/" + QDir(folder).dirName() + ".pdf");
  ASSERT_TRUE(pdf.Valid());
  ASSERT_EQ(pdf.Pages().size(), 3u);
  // Each page from its picture's print page: at k times the picture's resolution.
  const char* names[] = {"a.bmp", "b.bmp", "c.bmp"};
  QStringList ppi;
  for (size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(names[i]);
    EXPECT_EQ(pdf.Pages()[i].mediaBox, kA4);
    ppi << PageImagePpi(Picture(folder + "/" + names[i]).width());
  }
  EXPECT_EQ(PdfImagePpi(folder + "/" + QDir(folder).dirName() + ".pdf"), ppi);
}

TEST_F(Printing, CommandLineExportEqualsTheWindowsBatchAndPrintsPdfAndPngAtPrintResolution) {
  WriteScores();
  const QString batch = WindowBatch();
  const QStringList names{"a", "b", "c"};
  const QString bmp = Path("cli-bmp");
  ProcessResult result = RunTarvesh(
      {"--export", Path("scores"), "--format", "bmp", "--out", bmp, "--screen", "1024x768"});
  ASSERT_EQ(result.status, 0) << result.errors.toStdString();
  EXPECT_EQ(result.errors.count('\n'), 4) << result.errors.toStdString();
  std::vector<QSize> pageSizes;
  for (const QString& name : names) {
    SCOPED_TRACE(name.toStdString());
    const QImage expected = Picture(batch + "/" + name + ".bmp");
    ASSERT_FALSE(expected.isNull());
    EXPECT_EQ(Picture(bmp + "/" + name + ".bmp"), expected);
    pageSizes.push_back(expected.size());
  }

  // PNG: the A4 sheet at the resolution asked for, 300 dpi unless told.
  const struct {
    QStringList dpi;
    QSize sheet;
  } sheets[] = {{{}, QSize(2480, 3508)}, {{"--dpi", "150"}, QSize(1240, 1754)}};
  for (const auto& c : sheets) {
    const QString out = Path("cli-png" + c.dpi.join(""));
    result = RunTarvesh(QStringList{"--export", Path("scores"), "--format", "png", "--out", out} +
                        c.dpi);
    ASSERT_EQ(result.status, 0) << result.errors.toStdString();
    for (const QString& name : names) {
      const QImage sheet(out + "/" + name + ".png");
      EXPECT_EQ(sheet.size(), c.sheet) << name.toStdString();
      EXPECT_FALSE(sheet.allGray() && sheet.pixel(sheet.width() / 2, sheet.height() / 2) == 0);
    }
  }

  const QString out = Path("cli-pdf");
  result = RunTarvesh(
      {"--export", Path("scores"), "--format", "pdf", "--out", out, "--screen", "1024x768"});
  ASSERT_EQ(result.status, 0) << result.errors.toStdString();
  EXPECT_EQ(QDir(out).entryList(QDir::Files), QStringList{"cli-pdf.pdf"});
  const PrintPdf pdf(out + "/cli-pdf.pdf");
  ASSERT_EQ(pdf.Pages().size(), 3u);
  QStringList ppi;
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(pdf.Pages()[i].mediaBox, kA4);
    ppi << PageImagePpi(pageSizes[i].width());
  }
  EXPECT_EQ(PdfImagePpi(out + "/cli-pdf.pdf"), ppi);
  const QString text = PdfText(out + "/cli-pdf.pdf");
  EXPECT_EQ(text.count("每分钟72拍"), 3) << text.toStdString();
}

TEST_F(Printing, CommandLineExportWithoutAScreenSizeKeepsTheWholePage) {
  WriteScores();
  // Into the folder's own "导出 HHMMSS", like the window's batch.
  const ProcessResult result = RunTarvesh({"--export", Path("scores")});
  ASSERT_EQ(result.status, 0) << result.errors.toStdString();
  const QStringList exports = QDir(Path("scores")).entryList({"导出 *"}, QDir::Dirs);
  ASSERT_EQ(exports.size(), 1);
  Run("file \"DIR/scores/a.bmp\"\nclick Command1(0)\n");
  EXPECT_EQ(Picture(Path("scores/" + exports[0] + "/a.bmp")), window.Form().PageView());
}

TEST_F(Printing, ADamagedScoreIsReportedAndSkipped) {
  WriteScores();
  QFile bad(Path("scores/bad.bmp"));
  ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
  bad.write(QByteArray(500, char(0x33)));
  bad.close();
  const QString out = Path("out");
  const ProcessResult result =
      RunTarvesh({"--export", Path("scores"), "--out", out, "--format", "pdf"});
  EXPECT_EQ(result.status, 1);
  EXPECT_TRUE(result.errors.contains("bad.bmp: cannot be read")) << result.errors.toStdString();
  EXPECT_EQ(PrintPdf(out + "/out.pdf").Pages().size(), 3u);
}

// An export once created empty side files beside the scores that lacked one.
TEST_F(Printing, CommandLineExportWritesNothingIntoTheScoreFolder) {
  WriteScores();
  const QStringList before = QDir(Path("scores")).entryList(QDir::AllEntries | QDir::Hidden);
  ASSERT_FALSE(before.contains("c.dat"));
  const ProcessResult result = RunTarvesh({"--export", Path("scores"), "--out", Path("out")});
  ASSERT_EQ(result.status, 0) << result.errors.toStdString();
  EXPECT_EQ(QDir(Path("scores")).entryList(QDir::AllEntries | QDir::Hidden), before);
}

// A FIFO named like a side file once made an export wait for ever.
TEST_F(Printing, CommandLineExportSkipsAScoreWhoseSideFileIsAFifo) {
  WriteScores();
  ASSERT_TRUE(QFile::copy(Path("scores/a.bmp"), Path("scores/d.bmp")));
  ASSERT_EQ(::mkfifo(QFile::encodeName(Path("scores/d.dat")).constData(), 0600), 0);
  const ProcessResult result = RunTarvesh({"--export", Path("scores"), "--out", Path("out")});
  EXPECT_EQ(result.status, 1);
  EXPECT_TRUE(result.errors.contains("d.bmp: cannot be read (" + Path("scores/d.dat") +
                                     ": is not a regular file), skipped"))
      << result.errors.toStdString();
  EXPECT_EQ(QDir(Path("out")).entryList(QDir::Files), QStringList({"a.bmp", "b.bmp", "c.bmp"}));
}

// An unreadable score folder once exported "0 of 0" and exited 0; a PDF cut short by a full
// disk exited 0 as well.
TEST_F(Printing, CommandLineExportFailsOnAFolderItCannotReadOrAPdfItCannotWrite) {
  WriteScores();
  auto exportTo = [&](const QString& format, const QString& out, QString* errors) {
    QTextStream err(errors);
    const auto atlas = page::GlyphAtlas::Load(TARVESH_DATA_DIR, nullptr);
    publish::FolderExport::Request request{Path("scores"), format, out, TARVESH_DATA_DIR};
    request.atlas = &*atlas;
    return publish::FolderExport::Run(request, err);
  };
  {
    document::FaultyCalls locked(QStringLiteral("scores"));
    locked.FailAt(document::FaultyCalls::kOpenForReading, 0, EACCES);
    const document::UseFileCalls use(&locked);
    QString errors;
    EXPECT_EQ(exportTo("bmp", Path("out"), &errors), 1);
    EXPECT_TRUE(errors.contains(Path("scores") + ": Permission denied")) << errors.toStdString();
    EXPECT_FALSE(QFileInfo::exists(Path("out")));
  }
  {
    document::FaultyCalls full(QStringLiteral(".pdf"));
    full.DiskFullAt(0);
    const document::UseFileCalls use(&full);
    QString errors;
    EXPECT_EQ(exportTo("pdf", Path("pdf"), &errors), 1);
    EXPECT_TRUE(errors.contains("pdf.pdf: No space left on device")) << errors.toStdString();
    EXPECT_EQ(QDir(Path("pdf")).entryList(QDir::Files | QDir::Hidden), QStringList());
  }
  if (::geteuid() != 0) {
    ASSERT_TRUE(QFile::setPermissions(Path("scores"), QFile::WriteOwner));
    const ProcessResult result = RunTarvesh({"--export", Path("scores"), "--out", Path("out")});
    QFile::setPermissions(Path("scores"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(result.errors.contains("Permission denied")) << result.errors.toStdString();
  }
}

TEST(ExportCommandLine, RefusesWhatItCannotDo) {
  struct Case {
    QStringList args;
    const char* says;
  };
  const Case cases[] = {
      {{"--export", "x", "--format", "gif"}, "--format takes"},
      {{"--export", "x", "--format", "png", "--dpi", "50"}, "--dpi takes a number from 72"},
      {{"--export", "x", "--format", "png", "--dpi", "many"}, "--dpi takes a number"},
      {{"--export", "x", "--dpi", "300"}, "--dpi is for --format png"},
      {{"--out", "y"}, "are for --export"},
      {{"--format", "pdf"}, "are for --export"},
      {{"--export", "x", "--script", "s"}, "cannot be used together"},
      {{"--export", "x", "--show"}, "--show is for --script"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.join(' ').toStdString());
    const ProcessResult result = RunTarvesh(c.args);
    EXPECT_EQ(result.status, 2);
    EXPECT_TRUE(result.errors.contains(c.says)) << result.errors.toStdString();
  }
  QTemporaryDir dir;
  const ProcessResult same = RunTarvesh({"--export", dir.path(), "--out", dir.path()});
  EXPECT_EQ(same.status, 1);
  EXPECT_TRUE(same.errors.contains("would replace the scores")) << same.errors.toStdString();
}

}  // namespace
}  // namespace tarvesh::testing
