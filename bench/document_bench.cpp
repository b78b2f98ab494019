// Saving and opening a typed page document (picture and side file) against writing and reading
// the same bytes raw.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <cstring>

#include "document/datsidefile.h"
#include "document/scorefiles.h"
#include "pagetypist.h"
#include "tune.h"

namespace tarvesh::bench {
namespace {

struct TypedDocument {
  QTemporaryDir dir;
  PageTypist typist{BuiltAtlas()};
  document::DatSideFile side;
  QString picturePath;
  QString sidePath;
  QString rawPicturePath;
  QString rawSidePath;
  QByteArray pictureBytes;
  QByteArray sideBytes;

  TypedDocument() {
    for (int key : SixtyFourBarTune()) typist.Press(key);
    side.barWidth = 120;
    side.barsPerLine = 8;
    side.lineSpacing = 60;
    side.title = QStringLiteral("欢乐颂");
    side.tempo = QStringLiteral("每分钟72拍");
    side.pageNumber = 1;
    side.credit = QStringLiteral("张三 编曲");
    side.pageNumberPattern = QStringLiteral("< p >");
    side.textLabels = std::vector<document::DatSideFile::OverlayRecord>(3, {100, 200, 1});
    side.symbolPictures = std::vector<document::DatSideFile::OverlayRecord>(2, {300, 400, 0});
    picturePath = dir.filePath(QStringLiteral("tune.bmp"));
    sidePath = document::DatSideFile::PathFor(picturePath);
    rawPicturePath = dir.filePath(QStringLiteral("raw.bmp"));
    rawSidePath = dir.filePath(QStringLiteral("raw.dat"));
    document::ScoreFiles(picturePath).Save(typist.page.Image(), side.EncodeOver({}));
    pictureBytes = ReadAll(picturePath);
    sideBytes = ReadAll(sidePath);
    WriteAll(rawPicturePath, pictureBytes);
    WriteAll(rawSidePath, sideBytes);
  }

  static QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  // The bytes written at `path`; `synced` also waits until the disk holds them.
  static bool WriteAll(const QString& path, const QByteArray& bytes, bool synced = false) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) return false;
    return !synced || (file.flush() && ::fdatasync(file.handle()) == 0);
  }
  qint64 Bytes() const { return pictureBytes.size() + sideBytes.size(); }
};

TypedDocument& Typed() {
  static TypedDocument typed;
  return typed;
}

void SaveDocument(benchmark::State& bench) {
  TypedDocument& t = Typed();
  for (auto _ : bench) {
    if (document::ScoreFiles(t.picturePath).Save(t.typist.page.Image(), t.side.EncodeOver({})))
      bench.SkipWithError("cannot save");
  }
  bench.SetBytesProcessed(bench.iterations() * t.Bytes());
}

// The floor of saving: both files' bytes written; `synced`, the floor of a save that is never
// lost: written and held on the disk.
void SaveDocumentFloor(benchmark::State& bench, bool synced) {
  TypedDocument& t = Typed();
  for (auto _ : bench) {
    if (!TypedDocument::WriteAll(t.rawPicturePath, t.pictureBytes, synced) ||
        !TypedDocument::WriteAll(t.rawSidePath, t.sideBytes, synced))
      bench.SkipWithError("cannot write");
  }
  bench.SetBytesProcessed(bench.iterations() * t.Bytes());
}

void OpenDocument(benchmark::State& bench) {
  TypedDocument& t = Typed();
  for (auto _ : bench) {
    const auto read = document::ScoreFiles(t.picturePath).Read(nullptr);
    if (!read) bench.SkipWithError("cannot load");
    t.typist.page.LoadRows(read->picture.Rows());
    benchmark::DoNotOptimize(document::DatSideFile::Decode(read->side));
  }
  bench.SetBytesProcessed(bench.iterations() * t.Bytes());
}

// The floor of opening: both files' bytes read, and as many bytes put in the page.
void OpenDocumentFloor(benchmark::State& bench) {
  TypedDocument& t = Typed();
  QImage target(t.typist.page.Image().size(), QImage::Format_RGB32);
  for (auto _ : bench) {
    const QByteArray picture = TypedDocument::ReadAll(t.rawPicturePath);
    benchmark::DoNotOptimize(TypedDocument::ReadAll(t.rawSidePath));
    std::memcpy(target.bits(), picture.constData(),
                std::min<size_t>(size_t(picture.size()), size_t(target.sizeInBytes())));
    benchmark::ClobberMemory();
  }
  bench.SetBytesProcessed(bench.iterations() * t.Bytes());
}

BENCHMARK(SaveDocument)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SaveDocumentFloor, written, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SaveDocumentFloor, synced, true)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenDocument)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenDocumentFloor)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarvesh::bench
