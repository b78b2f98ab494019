#include <gtest/gtest.h>

#include <unistd.h>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <cstdio>

#include "app/form1.h"
#include "app/script/scripteddialogs.h"
#include "app/script/scriptrunner.h"
#include "app/statedump.h"
#include "robustness/soakdialogs.h"
#include "robustness/soakscript.h"

// A small quarantine keeps freed memory from counting as growth in a sanitizer build; the
// environment's ASAN_OPTIONS still win.
extern "C" const char* __asan_default_options() {
  return "quarantine_size_mb=16";
}

namespace tarvesh::robustness {
namespace {

constexpr int kChunk = 1000;
// Resident memory may wander this much above what the first chunks needed.
constexpr long kMemorySlackBytes = 48L << 20;

long ResidentBytes() {
  QFile statm(QStringLiteral("/proc/self/statm"));
  if (!statm.open(QIODevice::ReadOnly)) return 0;
  const QList<QByteArray> fields = statm.readAll().split(' ');
  return fields.size() > 1 ? fields[1].toLong() * sysconf(_SC_PAGESIZE) : 0;
}

int FromEnvironment(const char* name, int fallback) {
  bool ok = false;
  const int value = qEnvironmentVariableIntValue(name, &ok);
  return ok && value > 0 ? value : fallback;
}

// TARVESH_SOAK_EVENTS (default 5,000) random actions from seed TARVESH_SOAK_SEED (default 1)
// on a real window: every step runs, and after the first page of work memory stays flat. It is
// measured with the window at rest after every thousand actions (see SoakScript), so what it
// holds then is the same each time and any growth is memory kept that is no longer needed.
TEST(Soak, RandomActionsAcrossEveryToolRunAndMemoryStaysFlat) {
  const int events = FromEnvironment("TARVESH_SOAK_EVENTS", 5000);
  const auto seed = std::uint32_t(FromEnvironment("TARVESH_SOAK_SEED", 1));
  QTemporaryDir scores;
  SoakDialogs answers(seed, scores.path());
  app::ScriptedDialogs unused;
  auto atlas = page::GlyphAtlas::Load(QStringLiteral(TARVESH_DATA_DIR), nullptr);
  ASSERT_TRUE(atlas);
  app::Form1::Options options;
  options.dataDir = QStringLiteral(TARVESH_DATA_DIR);
  options.screen = QSize(1024, 768);
  options.audible = false;
  // As in the interactive window, no event log: a long session must not grow one.
  options.keepEvents = false;
  // The undo journal fills up to its bound and then drops its oldest steps; a small bound shows
  // within the soak that it stays there.
  options.journalBytes = size_t(8) << 20;
  app::Form1 form(options, std::move(*atlas), answers);
  form.show();

  QJsonObject controls = app::DumpWindow(form)[QStringLiteral("controls")].toObject();
  controls.remove(QStringLiteral("File2"));  // the batch's own list changes under the soak
  SoakScript soak(seed, controls);
  QTemporaryDir work;
  const QString path = work.filePath(QStringLiteral("soak.tvs"));
  const int chunks = std::max(1, events / kChunk);
  const int firstPage = std::max(1, chunks / 10);
  long baseline = 0;
  long highest = 0;
  for (int chunk = 0; chunk < chunks; ++chunk) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(soak.Next(kChunk).toUtf8());
    file.close();
    QString error;
    QTextStream errors(&error);
    ASSERT_EQ(app::RunScript(form, unused, path, errors), 0)
        << "chunk " << chunk << " of seed " << seed << ": " << error.toStdString();
    ASSERT_FALSE(form.ExitRequested());
    const long resident = ResidentBytes();
    if (chunk < firstPage) {
      baseline = std::max(baseline, resident);
    } else {
      highest = std::max(highest, resident);
    }
  }
  std::printf(
      "soak: %d actions from seed %u; resident after the first page %ld MiB, highest "
      "after it %ld MiB\n",
      chunks * kChunk, seed, baseline >> 20, highest >> 20);
  EXPECT_LE(highest, baseline + kMemorySlackBytes)
      << "first page " << (baseline >> 20) << " MiB, later " << (highest >> 20) << " MiB";
}

}  // namespace
}  // namespace tarvesh::robustness
