// Writes a folder of typed scores for the export figures: scorefolder FOLDER COUNT. Every score
// is the 64-bar tune with a title; every fifth has no side file, so it keeps the settings of the
// score exported before it.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>

#include "document/datsidefile.h"
#include "document/scorefiles.h"
#include "page/pagefont.h"
#include "pagetypist.h"
#include "tune.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s FOLDER COUNT\n", argv[0]);
    return 2;
  }
  using namespace tarvesh;
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  if (!folder.mkpath(QStringLiteral("."))) return 1;
  page::InstallPageFontSubstitutes();
  bench::PageTypist typist(bench::BuiltAtlas());
  for (int key : bench::SixtyFourBarTune()) typist.Press(key);
  document::DatSideFile side;
  side.barWidth = 120;
  side.barsPerLine = 8;
  side.lineSpacing = 60;
  side.tempo = QStringLiteral("每分钟72拍");
  side.credit = QStringLiteral("张三 编曲");
  const int count = std::atoi(argv[2]);
  for (int i = 0; i < count; ++i) {
    const QString path = folder.filePath(QStringLiteral("score%1.bmp").arg(i, 3, 10, QChar(u'0')));
    side.title = QStringLiteral("欢乐颂 %1").arg(i);
    side.pageNumber = i + 1;
    if (document::ScoreFiles(path).Save(typist.page.Image(), side.EncodeOver({}))) return 1;
    if (i % 5 == 4 && !QFile::remove(document::DatSideFile::PathFor(path))) return 1;
  }
  return 0;
}
