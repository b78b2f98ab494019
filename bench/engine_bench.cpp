// The engine's figures, each beside its physical floor: the bytes the operation cannot avoid
// moving, moved with plain memmove or plain file writes in the same run.
#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

#include "engine/linescan.h"
#include "page/geometry.h"
#include "page/pagefont.h"
#include "pagetypist.h"
#include "tune.h"

namespace tarvesh::bench {
namespace {

constexpr int kFiveKey = 53;
// Where a quarter note goes in a full line of the default page: the first cell, the middle
// cell, and the last cell before the margin where insert mode still shifts the line.
constexpr int kLineStart = page::kLeftMargin;
constexpr int kLineMiddle = page::kLeftMargin + 40 * page::kWideCell;
constexpr int kLineEnd = page::kLeftMargin + 77 * page::kWideCell;
// A quarter note after a quarter owes half a cell of spacing, so insert mode shifts by this.
constexpr int kQuarterShift = page::kWideCell + page::kWideCell / 2;
// Edits an undo stack holds before it lets the oldest go.
constexpr size_t kUndoLimit = 100;

const QTemporaryDir& TempDir() {
  static const QTemporaryDir dir;
  return dir;
}

// Types keys until the first line holds `bars` full bars, without justifying it.
void TypeBars(PageTypist& typist, const std::vector<int>& keys, int bars) {
  typist.host.settings.justifyOnEnter = false;
  int closed = 0;
  for (int key : keys) {
    const int before = typist.state.BarsInLine;
    typist.Press(key);
    if (typist.state.BarsInLine != before || typist.page.CursorTop() != page::kFirstLineTop)
      ++closed;
    if (closed >= bars || typist.page.CursorTop() != page::kFirstLineTop) break;
  }
  typist.host.settings.justifyOnEnter = true;
}

// The default page with its first line typed full of notes.
PageTypist& FullLine() {
  static PageTypist typist = [] {
    PageTypist t(BuiltAtlas());
    t.host.settings.justifyOnEnter = false;
    t.state.InsertMode = 0;
    while (t.page.CursorTop() == page::kFirstLineTop) t.Press(kFiveKey);
    t.state.InsertMode = 1;
    return t;
  }();
  return typist;
}

// The 40 rows of a line, each moved right by `distance` from `left` on: what insert mode must
// move at the least.
void ShiftStripFloor(QImage& image, int left, int top, int distance) {
  const size_t bytes = size_t(std::max(image.width() - left - distance, 0)) * 4;
  for (int row = 0; row < page::kCellHeight; ++row) {
    uchar* line = image.scanLine(top + row);
    std::memmove(line + (left + distance) * 4, line + left * 4, bytes);
  }
  benchmark::ClobberMemory();
}

void Keystroke(benchmark::State& bench, int left) {
  PageTypist& t = FullLine();
  for (auto _ : bench) {
    // Mid-tune: a quarter note just went before, the bar has room for this one.
    t.state.PrevDurationRow = 0;
    t.state.BarUnits = 0;
    t.page.SetCursor(left, page::kFirstLineTop);
    t.Press(kFiveKey);
  }
}

void KeystrokeFloor(benchmark::State& bench, int left) {
  QImage image = FullLine().page.Image();
  for (auto _ : bench) ShiftStripFloor(image, left, page::kFirstLineTop, kQuarterShift);
}

// The edits an undo stack holds: the newest kUndoLimit, each new one in the place of the
// oldest, which is let go.
class UndoHistory {
 public:
  void Keep(page::PageEdit&& edit) {
    edits_[next_] = std::move(edit);
    next_ = (next_ + 1) % edits_.size();
  }

 private:
  std::vector<page::PageEdit> edits_{kUndoLimit};
  size_t next_ = 0;
};

// The same keystroke as one edit of the page, kept in the undo history.
void KeystrokeJournaled(benchmark::State& bench, int left) {
  PageTypist& t = FullLine();
  UndoHistory history;
  for (auto _ : bench) {
    t.state.PrevDurationRow = 0;
    t.state.BarUnits = 0;
    t.page.SetCursor(left, page::kFirstLineTop);
    t.page.BeginEdit();
    t.Press(kFiveKey);
    history.Keep(t.page.EndEdit());
  }
}

// The tune typed as a user types it, key by key where the line's content ends (insert mode,
// the start-up mode, pushes the blank rest of the line on), with or without each key an edit
// kept in the undo history. Lines end unjustified: justification is measured on its own.
void Typing(benchmark::State& bench, bool journaled) {
  PageTypist t(BuiltAtlas());
  t.host.settings.justifyOnEnter = false;
  const std::vector<int> keys = SixtyFourBarTune();
  UndoHistory history;
  size_t next = 0;
  for (auto _ : bench) {
    if (next == keys.size()) {
      bench.PauseTiming();
      t.Reset();
      history = UndoHistory();
      next = 0;
      bench.ResumeTiming();
    }
    if (journaled) t.page.BeginEdit();
    t.Press(keys[next++]);
    if (journaled) history.Keep(t.page.EndEdit());
  }
}

BENCHMARK_CAPTURE(Keystroke, start, kLineStart);
BENCHMARK_CAPTURE(KeystrokeFloor, start, kLineStart);
BENCHMARK_CAPTURE(Keystroke, middle, kLineMiddle);
BENCHMARK_CAPTURE(KeystrokeFloor, middle, kLineMiddle);
BENCHMARK_CAPTURE(Keystroke, end, kLineEnd);
BENCHMARK_CAPTURE(KeystrokeFloor, end, kLineEnd);
BENCHMARK_CAPTURE(KeystrokeJournaled, start, kLineStart);
BENCHMARK_CAPTURE(KeystrokeJournaled, middle, kLineMiddle);
BENCHMARK_CAPTURE(KeystrokeJournaled, end, kLineEnd);
BENCHMARK_CAPTURE(Typing, plain, false);
BENCHMARK_CAPTURE(Typing, journaled, true);

// The whole tune typed key by key and saved as a BMP picture; per-key median and worst key.
void FullPage(benchmark::State& bench) {
  PageTypist t(BuiltAtlas());
  const std::vector<int> keys = SixtyFourBarTune();
  const QString path = TempDir().filePath(QStringLiteral("tune.bmp"));
  std::vector<double> perKey(keys.size());
  std::vector<double> medians;
  double worst = 0;
  for (auto _ : bench) {
    bench.PauseTiming();
    t.Reset();
    bench.ResumeTiming();
    for (size_t i = 0; i < keys.size(); ++i) {
      const auto start = std::chrono::steady_clock::now();
      t.Press(keys[i]);
      perKey[i] =
          std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
              .count();
    }
    if (!t.page.Image().save(path, "BMP")) bench.SkipWithError("cannot save the page");
    std::vector<double> sorted = perKey;
    std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 2, sorted.end());
    medians.push_back(sorted[sorted.size() / 2]);
    worst = std::max(worst, *std::max_element(perKey.begin(), perKey.end()));
  }
  std::sort(medians.begin(), medians.end());
  bench.counters["keys"] = double(keys.size());
  bench.counters["key_median_us"] = medians[medians.size() / 2];
  bench.counters["key_worst_us"] = worst;
}
BENCHMARK(FullPage)->Unit(benchmark::kMillisecond);

// What typing the tune must move at the least: each key's line shifted from where it went in,
// then the page's bytes written to the file.
void FullPageFloor(benchmark::State& bench) {
  PageTypist t(BuiltAtlas());
  std::vector<QPoint> cursors;
  for (int key : SixtyFourBarTune()) {
    cursors.emplace_back(int(t.page.CursorLeft()), int(t.page.CursorTop()));
    t.Press(key);
  }
  QImage image = t.page.Image();
  QByteArray bmp;
  QBuffer buffer(&bmp);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "BMP");
  const QString path = TempDir().filePath(QStringLiteral("raw.bmp"));
  for (auto _ : bench) {
    for (const QPoint& at : cursors) {
      if (at.y() + page::kCellHeight <= image.height())
        ShiftStripFloor(image, at.x(), at.y(), page::kWideCell);
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bmp) != bmp.size())
      bench.SkipWithError("cannot write");
  }
}
BENCHMARK(FullPageFloor)->Unit(benchmark::kMillisecond);

// A line typed full of bars, not yet justified, and the narrow blanks JustifyLine puts in it.
struct UnjustifiedLine {
  PageTypist typist;
  QImage before;
  int blanks = 0;
};

UnjustifiedLine& LineToJustify(int barsPerLine, int barWidth) {
  static std::map<std::pair<int, int>, std::unique_ptr<UnjustifiedLine>> lines;
  auto& line = lines[{barsPerLine, barWidth}];
  if (line) return *line;
  line.reset(new UnjustifiedLine{PageTypist(BuiltAtlas(), barsPerLine, barWidth), {}, 0});
  PageTypist& t = line->typist;
  if (barsPerLine <= 8) {
    TypeBars(t, SixtyFourBarTune(), barsPerLine);
  } else {
    // Wide bars are filled with sixteenths so the line is long enough to be stretched.
    std::vector<int> keys{kSixteenthKey};
    for (int i = 0; i < 16 * barsPerLine; ++i) keys.push_back(49 + i % 7);
    TypeBars(t, keys, barsPerLine);
  }
  t.state.JustifyTop = page::kFirstLineTop;
  line->before = t.page.Image();
  const int width = t.page.Width();
  const auto endBefore = engine::FindLineEnd(t.page, page::kFirstLineTop, width - 1);
  t.engine.JustifyLine();
  const auto endAfter = engine::FindLineEnd(t.page, page::kFirstLineTop, width - 1);
  if (endBefore && endAfter) line->blanks = (*endAfter - *endBefore) / page::kNarrowCell;
  return *line;
}

void Justify(benchmark::State& bench, int barsPerLine, int barWidth) {
  UnjustifiedLine& line = LineToJustify(barsPerLine, barWidth);
  if (line.blanks <= 0) bench.SkipWithError("the line was not stretched");
  for (auto _ : bench) {
    bench.PauseTiming();
    line.typist.page.LoadImage(line.before);
    bench.ResumeTiming();
    line.typist.engine.JustifyLine();
  }
  bench.counters["blanks"] = line.blanks;
}

// The same justification as one edit of the page, which is let go as an undo history would.
void JustifyJournaled(benchmark::State& bench, int barsPerLine, int barWidth) {
  UnjustifiedLine& line = LineToJustify(barsPerLine, barWidth);
  if (line.blanks <= 0) bench.SkipWithError("the line was not stretched");
  page::ScorePage& page = line.typist.page;
  for (auto _ : bench) {
    bench.PauseTiming();
    page.LoadImage(line.before);
    bench.ResumeTiming();
    page.BeginEdit();
    line.typist.engine.JustifyLine();
    page::PageEdit edit = page.EndEdit();
    benchmark::DoNotOptimize(edit);
  }
}

// The justification's edit taken back, as undo does.
void JustifyUndone(benchmark::State& bench, int barsPerLine, int barWidth) {
  UnjustifiedLine& line = LineToJustify(barsPerLine, barWidth);
  page::ScorePage& page = line.typist.page;
  for (auto _ : bench) {
    bench.PauseTiming();
    page.LoadImage(line.before);
    page.BeginEdit();
    line.typist.engine.JustifyLine();
    page::PageEdit edit = page.EndEdit();
    bench.ResumeTiming();
    page.Revert(edit);
  }
}

// Every narrow blank shifts the rest of the line once: that many strip moves.
void JustifyFloor(benchmark::State& bench, int barsPerLine, int barWidth) {
  UnjustifiedLine& line = LineToJustify(barsPerLine, barWidth);
  QImage image = line.before;
  for (auto _ : bench) {
    for (int i = 0; i < line.blanks; ++i)
      ShiftStripFloor(image, engine::kGapScanStart, page::kFirstLineTop, page::kNarrowCell);
  }
}

BENCHMARK_CAPTURE(Justify, default_8x120, 8, 120)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(JustifyFloor, default_8x120, 8, 120)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Justify, widest_16x240, 16, 240)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(JustifyFloor, widest_16x240, 16, 240)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(JustifyJournaled, widest_16x240, 16, 240)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(JustifyUndone, widest_16x240, 16, 240)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tarvesh::bench

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  tarvesh::page::InstallPageFontSubstitutes();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
