// Reading a page back, beside its floor: one pass over every pixel of the page; and what playback
// and the MIDI export add to the reading.
#include <benchmark/benchmark.h>

#include <QImage>

#include "pagetypist.h"
#include "playback/midifile.h"
#include "playback/performance.h"
#include "reading/pagereader.h"

namespace tarvesh::bench {
namespace {

void ReadPage(benchmark::State& bench) {
  const reading::PageReader reader(BuiltAtlas());
  const QImage& image = TunePage();
  int items = 0;
  for (auto _ : bench) {
    const std::vector<reading::ReadLine> lines = reader.Read(image);
    items = 0;
    for (const reading::ReadLine& line : lines) items += int(line.items.size());
    benchmark::DoNotOptimize(items);
  }
  if (items == 0) bench.SkipWithError("nothing read on the tune's page");
  bench.counters["items"] = items;
}
BENCHMARK(ReadPage)->Unit(benchmark::kMillisecond);

// What 播放 does before the first note sounds: the page read back, timed, and cut at the cursor
// (the tune's second line).
void PlayPage(benchmark::State& bench) {
  const reading::PageReader reader(BuiltAtlas());
  const QImage& image = TunePage();
  size_t notes = 0;
  for (auto _ : bench) {
    const playback::Performance performance(reader.Read(image), playback::ScoreHead{});
    notes = performance.From(1, 0).size();
    benchmark::DoNotOptimize(notes);
  }
  if (notes == 0) bench.SkipWithError("nothing to play on the tune's page");
  bench.counters["notes"] = double(notes);
}
BENCHMARK(PlayPage)->Unit(benchmark::kMillisecond);

// 导出MIDI without the file: the page read back, timed and written as MIDI bytes.
void MidiOfPage(benchmark::State& bench) {
  const reading::PageReader reader(BuiltAtlas());
  const QImage& image = TunePage();
  for (auto _ : bench) {
    const playback::Performance performance(reader.Read(image), playback::ScoreHead{});
    benchmark::DoNotOptimize(playback::MidiFile::Write(performance, 0));
  }
}
BENCHMARK(MidiOfPage)->Unit(benchmark::kMillisecond);

// Every pixel looked at once: what any reading of the page costs at the least.
void ReadPageFloor(benchmark::State& bench) {
  const QImage& image = TunePage();
  for (auto _ : bench) {
    const int width = image.width();
    const int height = image.height();
    quint32 dark = 0;
    for (int y = 0; y < height; ++y) {
      const auto* row = reinterpret_cast<const quint32*>(image.constScanLine(y));
      for (int x = 0; x < width; ++x) dark |= ~row[x];
    }
    benchmark::DoNotOptimize(dark);
  }
}
BENCHMARK(ReadPageFloor)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarvesh::bench
