#include <gtest/gtest.h>

#include "document/extensionblock.h"
#include "handblock.h"

namespace tarvesh::document {
namespace {

using State = ExtensionBlock::State;
using Record = ExtensionBlock::Record;

TEST(ExtensionBlock, ChecksumIsCrc32) {
  EXPECT_EQ(ExtensionBlock::Crc32("123456789"), 0xCBF43926u);
  EXPECT_EQ(ExtensionBlock::Crc32("6789", ExtensionBlock::Crc32("12345")), 0xCBF43926u);
  EXPECT_EQ(ExtensionBlock::Crc32(""), 0u);
}

TEST(ExtensionBlock, WritesTheLayoutAndReadsItBack) {
  const std::vector<Record> records{
      Record::Text(1, QStringLiteral("张三 编曲")),
      {9, ExtensionBlock::kInteger, HandBlock::Le(7, 4) + HandBlock::Le(0, 4)},
      {40000, 3, QByteArray("\0\xff", 2)},
      {12, 200, "a kind of a later version"},
      Record::Text(2, QString())};
  const QByteArray hand = HandBlock()
                              .Text(1, QStringLiteral("张三 编曲"))
                              .Record(9, 2, HandBlock::Le(7, 4) + HandBlock::Le(0, 4))
                              .Record(40000, 3, QByteArray("\0\xff", 2))
                              .Record(12, 200, "a kind of a later version")
                              .Text(2, QString())
                              .Bytes();
  EXPECT_EQ(ExtensionBlock::Encode(records), hand);
  const ExtensionBlock::Reading read = ExtensionBlock::Decode(hand + "bytes after the block");
  EXPECT_EQ(read.state, State::kRead);
  EXPECT_EQ(read.records, records);
  EXPECT_EQ(read.records[0].AsText(), QStringLiteral("张三 编曲"));
  EXPECT_EQ(read.records[2].AsText(), std::nullopt);
}

TEST(ExtensionBlock, AnythingWrongAfterTheTagIsDamage) {
  const QByteArray whole = HandBlock().Text(1, QStringLiteral("编曲")).Bytes();
  QByteArray flipped = whole;
  flipped[whole.size() - 2] = char(flipped[whole.size() - 2] ^ 0x01);
  QByteArray longer = whole;
  longer[6] = char(longer[6] + 1);  // the length, one byte more than the records
  const struct {
    const char* name;
    QByteArray bytes;
    State state;
  } cases[] = {
      {"nothing", {}, State::kAbsent},
      {"zero bytes, as a table written short leaves them", QByteArray(64, '\0'), State::kAbsent},
      {"another tag", "TRVY" + whole.mid(4), State::kAbsent},
      {"the tag alone", "TRVX", State::kDamaged},
      {"cut in the header", whole.left(10), State::kDamaged},
      {"cut in the records", whole.chopped(1), State::kDamaged},
      {"a flipped bit in a value", flipped, State::kDamaged},
      {"a length that the checksum does not cover", longer + "x", State::kDamaged},
      {"version 0", HandBlock().Version(0).Bytes(), State::kDamaged},
      {"a record header cut by the length", HandBlock().Raw(QByteArray("\x01\x00\x01", 3)).Bytes(),
       State::kDamaged},
      {"a value longer than the records",
       HandBlock().Raw(HandBlock::Le(5, 2) + "\x03" + HandBlock::Le(9, 4) + "abc").Bytes(),
       State::kDamaged},
      {"a text that is no UTF-8", HandBlock().Record(5, 1, "\xe5\xbc").Bytes(), State::kDamaged},
      {"an integer of four bytes",
       HandBlock().Record(5, 2, QByteArray("\x01\x00\x00\x00", 4)).Bytes(), State::kDamaged},
      {"a declared length of 4 GB", "TRVX" + HandBlock::Le(1, 2) + "\xff\xff\xff\xff" + "crc!",
       State::kDamaged},
      {"no records", HandBlock().Bytes(), State::kRead},
      {"a later version", HandBlock().Version(9).Text(1, "x").Bytes(), State::kRead},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ExtensionBlock::Reading read = ExtensionBlock::Decode(c.bytes);
    EXPECT_EQ(read.state, c.state);
    if (c.state != State::kRead) {
      EXPECT_TRUE(read.records.empty());
    }
  }
}

}  // namespace
}  // namespace tarvesh::document
