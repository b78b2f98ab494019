// The print page and a PDF page at print resolution, beside what they cost at the page's own
// resolution: reading the page back, and a PDF of the page's pixels.
#include <benchmark/benchmark.h>

#include <QPainter>
#include <QTemporaryDir>

#include "page/slurarc.h"
#include "pagetypist.h"
#include "print/printpage.h"
#include "publish/pageprinter.h"
#include "reading/pagereader.h"
#include "tune.h"

namespace tarvesh::bench {
namespace {

print::PrintPage TunePrintPage() {
  return print::PrintPage(BuiltAtlas(), print::PrintArt::Load(BuiltDataDir()));
}

void SetPrintPage(benchmark::State& bench) {
  print::PrintPage print = TunePrintPage();
  for (auto _ : bench) {
    print.SetFrom(TunePage());
    benchmark::DoNotOptimize(print.Layers().front().Bits().constBits());
  }
}
BENCHMARK(SetPrintPage)->Unit(benchmark::kMillisecond);

// The 64-bar page with a slur over the notes of every bar, drawn as the key L draws one.
const QImage& SlurredTunePage() {
  static const QImage image = [] {
    PageTypist t(BuiltAtlas());
    for (int key : SixtyFourBarTune()) t.Press(key);
    for (const reading::ReadLine& line : reading::PageReader(BuiltAtlas()).Read(t.page.Image())) {
      std::vector<QRect> bar;
      for (const reading::ReadItem& item : line.items) {
        if (item.kind == reading::ItemKind::kNote) bar.push_back(item.box);
        if (item.kind != reading::ItemKind::kBar || bar.size() < 2) continue;
        const QPoint end(bar.back().right() + 1, bar.back().top());
        for (const page::SlurArc& arc :
             page::SlurArc::Between(bar.front().topLeft(), end, t.page.Width()))
          t.page.StretchCopy(BuiltAtlas().SlurArc, page::SlurArc::Source(arc.part), arc.target,
                             page::PictureSource::SlurArc);
        bar.clear();
      }
    }
    return t.page.Image();
  }();
  return image;
}

void SetPrintPageWithSlurs(benchmark::State& bench) {
  print::PrintPage print = TunePrintPage();
  for (auto _ : bench) {
    print.SetFrom(SlurredTunePage());
    benchmark::DoNotOptimize(print.Layers().front().Bits().constBits());
  }
}
BENCHMARK(SetPrintPageWithSlurs)->Unit(benchmark::kMillisecond);

// One page as a PDF at print resolution: the print page set, the sheet written with the
// texts over it, the file finished.
void PdfPageAtPrintResolution(benchmark::State& bench) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("page.pdf"));
  print::PrintPage print = TunePrintPage();
  for (auto _ : bench) {
    print.SetFrom(TunePage());
    publish::PagePrinter sheets(path);
    const bool added = sheets.Add(print, [](QPainter& painter) {
      painter.drawText(QPointF(400, 20), QStringLiteral("标题"));
      painter.drawText(QPointF(96, 60), QStringLiteral("每分钟72拍"));
    });
    if (!added || !sheets.Finish()) bench.SkipWithError("the PDF was not written");
  }
}
BENCHMARK(PdfPageAtPrintResolution)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarvesh::bench
