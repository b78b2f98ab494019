#include <gtest/gtest.h>
#include <cstring>

#include "document/datsidefile.h"
#include "document/textfields.h"
#include "handblock.h"

namespace tarvesh::document {
namespace {

using Record = DatSideFile::OverlayRecord;

// Bytes placed by hand at the 1-based positions of the side file's table, independent of the
// codec's own offsets.
class HandFile {
 public:
  HandFile& Int16(int position, int value) {
    const char raw[2] = {char(value & 0xff), char((value >> 8) & 0xff)};
    Place(position, QByteArray(raw, 2));
    return *this;
  }
  HandFile& Byte(int position, int value) {
    Place(position, QByteArray(1, char(value)));
    return *this;
  }
  HandFile& Float(int position, float value) {
    char raw[4];
    std::memcpy(raw, &value, 4);  // the test machine is little-endian like the file
    Place(position, QByteArray(raw, 4));
    return *this;
  }
  HandFile& Text(int position, const QByteArray& gbk44) {
    Place(position, gbk44);
    return *this;
  }
  HandFile& Records(int countPosition, int firstPosition, const std::vector<Record>& records) {
    Int16(countPosition, int(records.size()));
    for (size_t i = 0; i < records.size(); ++i) {
      const int at = firstPosition + 6 * int(i);
      Int16(at, records[i].left).Int16(at + 2, records[i].top).Int16(at + 4, records[i].index);
    }
    return *this;
  }
  const QByteArray& Bytes() const { return bytes_; }

 private:
  void Place(int position, const QByteArray& value) {
    const int at = position - 1;
    if (bytes_.size() < at + value.size()) bytes_.resize(at + value.size(), '\0');
    bytes_.replace(at, value.size(), value);
  }
  QByteArray bytes_;
};

QByteArray Padded(const QString& text) {
  QByteArray bytes = EncodeGbk(text);
  bytes.resize(44, ' ');
  return bytes;
}

const std::vector<Record> kTextLabels{{20, 84, 2}, {113, 300, 0}, {-4, 1396, 7}};
const std::vector<Record> kSymbolPictures{{500, 40, 11}, {64, 650, 3}};

// Every stored field with a value unlike its neighbours', so a field read from a wrong offset
// cannot pass.
HandFile EveryField() {
  HandFile f;
  f.Int16(1, 100).Int16(3, 10).Int16(5, 80);
  f.Byte(7, 1).Byte(8, 0).Byte(9, 1).Byte(10, 0);
  f.Byte(21, 4);
  f.Float(31, 1.0f).Float(35, 0.0f).Float(39, 0.5f).Float(43, 1.0f);
  f.Byte(48, 1).Byte(49, 1).Byte(50, 9);
  f.Text(52, Padded(QStringLiteral("春之歌")));
  f.Int16(122, -3);
  f.Records(150, 201, kTextLabels);
  f.Records(152, 501, kSymbolPictures);
  f.Text(154, Padded(QStringLiteral("每分钟96拍")));
  return f;
}

DatSideFile EveryFieldValues() {
  DatSideFile side;
  side.barWidth = 100;
  side.barsPerLine = 10;
  side.lineSpacing = 80;
  side.staffInput = 1;
  side.guideLines = 0;
  side.skipBarLines = 1;
  side.autoNoteSpacing = 0;
  side.staffKey = 4;
  side.noteSpacing = {1.0f, 0.0f, 0.5f, 1.0f};
  side.numerator = 1;
  side.denominator = 1;
  side.key = 9;
  side.title = QStringLiteral("春之歌");
  side.pageNumber = -3;
  side.textLabels = kTextLabels;
  side.symbolPictures = kSymbolPictures;
  side.tempo = QStringLiteral("每分钟96拍");
  return side;
}

void ExpectSameFields(const DatSideFile& a, const DatSideFile& b) {
  EXPECT_EQ(a.barWidth, b.barWidth);
  EXPECT_EQ(a.barsPerLine, b.barsPerLine);
  EXPECT_EQ(a.lineSpacing, b.lineSpacing);
  EXPECT_EQ(a.staffInput, b.staffInput);
  EXPECT_EQ(a.guideLines, b.guideLines);
  EXPECT_EQ(a.skipBarLines, b.skipBarLines);
  EXPECT_EQ(a.autoNoteSpacing, b.autoNoteSpacing);
  EXPECT_EQ(a.staffKey, b.staffKey);
  EXPECT_EQ(a.noteSpacing, b.noteSpacing);
  EXPECT_EQ(a.numerator, b.numerator);
  EXPECT_EQ(a.denominator, b.denominator);
  EXPECT_EQ(a.key, b.key);
  EXPECT_EQ(a.title, b.title);
  EXPECT_EQ(a.pageNumber, b.pageNumber);
  EXPECT_EQ(a.textLabels, b.textLabels);
  EXPECT_EQ(a.symbolPictures, b.symbolPictures);
  EXPECT_EQ(a.tempo, b.tempo);
  EXPECT_EQ(a.credit, b.credit);
  EXPECT_EQ(a.pageNumberPattern, b.pageNumberPattern);
  EXPECT_EQ(a.keptRecords, b.keptRecords);
  EXPECT_EQ(a.extensionDamaged, b.extensionDamaged);
}

// The table of EveryField() at its full size, as a writer leaves it before a block, then `block`.
QByteArray AfterTheTable(const QByteArray& block) {
  QByteArray bytes = EveryField().Bytes();
  bytes.resize(800, '\0');
  return bytes + block;
}

const QString kCredit = QStringLiteral("张三 编曲");
const QString kPattern = QStringLiteral("第 p 页");

TEST(DatSideFile, ReadsEveryFieldFromItsPosition) {
  ExpectSameFields(DatSideFile::Decode(EveryField().Bytes()), EveryFieldValues());
}

TEST(DatSideFile, WritesEveryFieldAtItsPosition) {
  EXPECT_EQ(EveryFieldValues().EncodeOver({}), EveryField().Bytes());
}

TEST(DatSideFile, ReadsTheExtensionBlockAfterTheTableAndNothingWhereThereIsNone) {
  DatSideFile withBlock = EveryFieldValues();
  withBlock.credit = kCredit;
  withBlock.pageNumberPattern = kPattern;
  const struct {
    const char* name;
    QByteArray bytes;
    DatSideFile fields;
  } cases[] = {
      {"a block", AfterTheTable(HandBlock().Text(1, kCredit).Text(2, kPattern).Bytes()), withBlock},
      {"the table only, at its full size", AfterTheTable({}), EveryFieldValues()},
      {"bytes after the table that are no block",
       AfterTheTable(QByteArray(100, '\0') + "TRVX" + HandBlock().Text(1, kCredit).Bytes()),
       EveryFieldValues()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectSameFields(DatSideFile::Decode(c.bytes), c.fields);
  }
}

TEST(DatSideFile, WritesTheExtensionBlockAfterTheTable) {
  DatSideFile side = EveryFieldValues();
  side.credit = kCredit;
  side.pageNumberPattern = kPattern;
  EXPECT_EQ(side.EncodeOver({}),
            AfterTheTable(HandBlock().Text(1, kCredit).Text(2, kPattern).Bytes()));
}

// What a later version stored in the block survives a save by this one, after the fields this
// one writes, and the block then says which version wrote it last.
TEST(DatSideFile, SavingKeepsTheRecordsOfALaterVersion) {
  const QByteArray lyrics("\x05\x00la la", 7);
  const QByteArray older = AfterTheTable(HandBlock()
                                             .Version(4)
                                             .Record(300, 3, lyrics)
                                             .Text(1, QStringLiteral("Morliva 制谱"))
                                             .Record(301, 77, "a kind unknown here")
                                             .Text(2, kPattern)
                                             .Bytes());
  DatSideFile side = DatSideFile::Decode(older);
  EXPECT_EQ(side.credit, QStringLiteral("Morliva 制谱"));
  EXPECT_EQ(side.pageNumberPattern, kPattern);
  EXPECT_EQ(side.keptRecords, (std::vector<ExtensionBlock::Record>{
                                  {300, 3, lyrics}, {301, 77, "a kind unknown here"}}));

  side.credit = kCredit;
  const QByteArray saved = side.EncodeOver(older);
  const QByteArray written = AfterTheTable(HandBlock()
                                               .Text(1, kCredit)
                                               .Text(2, kPattern)
                                               .Record(300, 3, lyrics)
                                               .Record(301, 77, "a kind unknown here")
                                               .Bytes());
  // The new block is a byte shorter: the older file's last byte stays, never read.
  ASSERT_EQ(written.size() + 1, older.size());
  EXPECT_EQ(saved, written + older.right(1));
}

TEST(DatSideFile, ADamagedBlockIsReadAsNoneAndTheTableStillApplies) {
  const QByteArray whole = HandBlock().Text(1, kCredit).Text(2, kPattern).Bytes();
  QByteArray flipped = whole;
  flipped[20] = char(flipped[20] ^ 0x40);
  const struct {
    const char* name;
    QByteArray block;
  } cases[] = {
      {"cut short", whole.chopped(3)},
      {"a changed byte", flipped},
      {"the credit twice", HandBlock().Text(1, kCredit).Text(1, kCredit).Bytes()},
      {"the credit as bytes", HandBlock().Record(1, 3, "abc").Bytes()},
  };
  DatSideFile tableOnly = EveryFieldValues();
  tableOnly.extensionDamaged = true;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const QByteArray damaged = AfterTheTable(c.block);
    ExpectSameFields(DatSideFile::Decode(damaged), tableOnly);

    // A save without block fields leaves the damaged bytes alone; one with them writes a whole
    // block over them, and the file stays as long as it was.
    EXPECT_EQ(EveryFieldValues().EncodeOver(damaged), damaged);
    DatSideFile side = EveryFieldValues();
    side.credit = QStringLiteral("编曲");
    const QByteArray written = side.EncodeOver(damaged);
    EXPECT_GE(written.size(), 800 + c.block.size());
    side.extensionDamaged = false;
    ExpectSameFields(DatSideFile::Decode(written), side);
  }
}

TEST(DatSideFile, WritingOverAnOlderFileKeepsItsBytesBeyondTheNewRecords) {
  // An older file with five text labels and a byte far beyond anything written.
  HandFile older = EveryField();
  older.Records(150, 201, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}, {13, 14, 15}});
  older.Byte(900, 0x5a);

  DatSideFile newer = EveryFieldValues();
  newer.textLabels = std::vector<Record>{{30, 40, 1}};
  const QByteArray bytes = newer.EncodeOver(older.Bytes());

  HandFile expected = older;
  expected.Records(150, 201, {{30, 40, 1}});
  EXPECT_EQ(bytes, expected.Bytes());
  EXPECT_EQ(DatSideFile::Decode(bytes).textLabels, std::vector<Record>({{30, 40, 1}}));
}

TEST(DatSideFile, TextFieldsHoldFortyFourBytesOfWholeCharacters) {
  const QString thirty = QString(30, QChar(0x6b4c));  // 歌
  const struct {
    const char* name;
    QString text;
    QByteArray stored;
    QString readBack;
  } cases[] = {
      {"30 Chinese characters keep 22", thirty, EncodeGbk(QString(22, QChar(0x6b4c))),
       QString(22, QChar(0x6b4c))},
      {"a long ASCII title keeps 44", QString(50, u'x'), QByteArray(44, 'x'), QString(44, u'x')},
      {"a character cut at byte 44 is dropped whole", QStringLiteral("a") + thirty,
       "a" + EncodeGbk(QString(21, QChar(0x6b4c))) + " ",
       QStringLiteral("a") + QString(21, QChar(0x6b4c))},
      {"spaces around come back trimmed", QStringLiteral("  标题  "),
       Padded(QStringLiteral("  标题")), QStringLiteral("标题")},
      {"empty", QString(), QByteArray(44, ' '), QString()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const QByteArray stored = DatSideFile::EncodeText(c.text);
    ASSERT_EQ(stored.size(), 44);
    EXPECT_EQ(stored.left(c.stored.size()), c.stored);
    EXPECT_EQ(stored.mid(c.stored.size()), QByteArray(44 - c.stored.size(), ' '));
    EXPECT_EQ(DatSideFile::DecodeText(stored), c.readBack);
  }
}

TEST(DatSideFile, DamagedFilesGiveWhatTheyReallyHold) {
  QByteArray garbage(800, '\0');
  for (int i = 0; i < garbage.size(); ++i) garbage[i] = char((i * 7919 + 13) % 251);
  const struct {
    const char* name;
    QByteArray bytes;
    bool hasPageNumber;
    std::optional<size_t> textLabels;  // records read, nullopt: no count
    std::optional<size_t> symbolPictures;
  } cases[] = {
      {"empty", {}, false, std::nullopt, std::nullopt},
      {"cut inside the page number", EveryField().Bytes().left(122), false, std::nullopt,
       std::nullopt},
      {"cut inside the third text label", EveryField().Bytes().left(215), true, 2, 0},
      {"a count of 32767 reads the records present",
       HandFile(EveryField()).Int16(150, 32767).Bytes().left(500), true, 50, 0},
      {"a negative count reads none", HandFile(EveryField()).Int16(152, -5).Bytes(), true, 3, 0},
      {"garbage with negative counts", garbage, true, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const DatSideFile side = DatSideFile::Decode(c.bytes);
    EXPECT_EQ(side.pageNumber.has_value(), c.hasPageNumber);
    ASSERT_EQ(side.textLabels.has_value(), c.textLabels.has_value());
    if (c.textLabels) {
      EXPECT_EQ(side.textLabels->size(), *c.textLabels);
    }
    ASSERT_EQ(side.symbolPictures.has_value(), c.symbolPictures.has_value());
    if (c.symbolPictures) {
      EXPECT_EQ(side.symbolPictures->size(), *c.symbolPictures);
    }
  }
}

TEST(DatSideFile, NegativeIndexesAreReadAsStored) {
  const QByteArray bytes = HandFile().Records(150, 201, {{5, 6, -1}, {7, 8, -32768}}).Bytes();
  EXPECT_EQ(DatSideFile::Decode(bytes).textLabels,
            std::vector<Record>({{5, 6, -1}, {7, 8, -32768}}));
}

TEST(DatSideFile, AnEmptyFileHoldsNoFields) {
  const DatSideFile side = DatSideFile::Decode({});
  EXPECT_FALSE(side.barWidth);
  EXPECT_FALSE(side.title);
  EXPECT_FALSE(side.textLabels);
}

TEST(DatSideFile, SidePathFollowsThePicturePath) {
  const struct {
    const char* picture;
    const char* side;
  } cases[] = {
      {"/scores/song.bmp", "/scores/song.dat"},   {"/scores/song.BMP", "/scores/song.dat"},
      {"/scores/song", "/scores/song.dat"},  // no letters of the name are cut off
      {"/scores.v1/song", "/scores.v1/song.dat"}, {"/scores/song.jpeg", "/scores/song.jpeg.dat"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.picture);
    EXPECT_EQ(DatSideFile::PathFor(QString::fromUtf8(c.picture)), QString::fromUtf8(c.side));
  }
}

}  // namespace
}  // namespace tarvesh::document
