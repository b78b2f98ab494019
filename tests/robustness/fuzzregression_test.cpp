#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include "inputs/fuzzinputs.h"

namespace tarvesh::fuzz {
namespace {

struct Reader {
  const char* name;  // the fuzzer and its folders under fuzz/corpus and fuzz/regressions
  void (*input)(const std::uint8_t*, std::size_t);
};

const Reader kReaders[] = {
    {"script_reader", ScriptReaderInput},
    {"delimited_fields", DelimitedFieldsInput},
    {"page_picture", PagePictureInput},
    {"side_file", SideFileInput},
};

class FuzzRegression : public ::testing::TestWithParam<Reader> {};

// Every seed and every input that once made a reader fail goes through it again.
TEST_P(FuzzRegression, ReplaysSeedsAndFormerFailures) {
  int replayed = 0;
  for (const char* folder : {"corpus", "regressions"}) {
    const QString path = QStringLiteral(TARVESH_FUZZ_DIR "/%1/%2").arg(folder, GetParam().name);
    QDirIterator files(path, QDir::Files);
    while (files.hasNext()) {
      const QString file = files.next();
      SCOPED_TRACE(file.toStdString());
      QFile input(file);
      ASSERT_TRUE(input.open(QIODevice::ReadOnly));
      const QByteArray bytes = input.readAll();
      GetParam().input(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                       std::size_t(bytes.size()));
      ++replayed;
    }
  }
  EXPECT_GT(replayed, 0) << "no seeds for " << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Readers, FuzzRegression, ::testing::ValuesIn(kReaders),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarvesh::fuzz
