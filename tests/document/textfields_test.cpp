#include <gtest/gtest.h>
#include <QTemporaryDir>

#include "document/textfields.h"

namespace tarvesh::document {
namespace {

struct FieldsCase {
  const char* name;
  QByteArray gbk;
  QStringList fields;
};

TEST(DelimitedFields, SplitsLikeTheDataFilesAreRead) {
  const FieldsCase cases[] = {
      {"comma splits a line", EncodeGbk("快板,慢板\r\n"), {"快板", "慢板"}},
      {"quotes keep a comma", EncodeGbk("\"中速,稍慢\"\r\n行板"), {"中速,稍慢", "行板"}},
      {"blanks before a field are skipped", EncodeGbk("  前奏,   间奏\n"), {"前奏", "间奏"}},
      {"a line end ends a field", EncodeGbk("a\nb\r\nc"), {"a", "b", "c"}},
      {"blank lines hold nothing", EncodeGbk("a\n\n\nb\n"), {"a", "b"}},
      {"a comma before the line end leaves an empty field", EncodeGbk("a,\nb"), {"a", "", "b"}},
      {"text after a closing quote is dropped", EncodeGbk("\"x\"y,z"), {"x", "z"}},
      {"empty text", QByteArray(), {}},
  };
  for (const FieldsCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SplitDelimitedFields(c.gbk), c.fields);
  }
}

TEST(DelimitedFields, MissingFileGivesNoFields) {
  QTemporaryDir dir;
  EXPECT_TRUE(ReadDelimitedFields(dir.filePath("speed.txt")).isEmpty());
}

TEST(Gbk, RoundTripsChineseText) {
  const QString text = QStringLiteral("每分钟72拍 标题");
  const QByteArray bytes = EncodeGbk(text);
  EXPECT_EQ(bytes.size(), 15);  // 7 two-byte characters and one blank
  EXPECT_EQ(DecodeGbk(bytes), text);
}

}  // namespace
}  // namespace tarvesh::document
