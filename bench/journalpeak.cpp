// Types the widest page (16 bars x 240) full, line by line, every key one edit of the page kept
// as an undo stack keeps them, each line justified at its end. bench/report.py measures the
// process's peak memory: the page and its whole edit journal.
#include <QGuiApplication>
#include <cstdio>
#include <vector>

#include "page/geometry.h"
#include "page/pageedit.h"
#include "pagetypist.h"
#include "tune.h"

int main(int argc, char** argv) {
  using namespace tarvesh;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  bench::PageTypist t(bench::BuiltAtlas(), 16, 240);
  // Sixteenths fill a bar of the widest page with room for justification to stretch the line.
  std::vector<int> keys{bench::kSixteenthKey};
  for (int i = 0; i < 16 * 16; ++i) keys.push_back(49 + i % 7);
  std::vector<page::PageEdit> edits;
  size_t pixelBytes = 0;
  while (t.page.CursorTop() + page::kCellHeight <= t.page.Height()) {
    for (int key : keys) {
      t.page.BeginEdit();
      t.Press(key);
      edits.push_back(t.page.EndEdit());
      pixelBytes += edits.back().PixelBytes();
    }
  }
  std::printf("%zu edits, %.1f MiB of kept pixels, last line at %g\n", edits.size(),
              double(pixelBytes) / (1 << 20), double(t.page.CursorTop()));
  return 0;
}
