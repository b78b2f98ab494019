// Reading the page back: typing is the oracle. What the keys put on a page, the reader gives back
// in order, also from the page as saved and opened; ink that is not music never reads as notes.
#include <QPainter>
#include <QPainterPath>
#include <QTemporaryDir>
#include <algorithm>

#include "artwork.h"
#include "document/pagepicture.h"
#include "engine/virtualkey.h"
#include "reading/barcount.h"
#include "readingfixture.h"

namespace tarvesh::reading::testing {
namespace {

namespace vk = engine::vk;
using engine::testing::EngineTest;

struct ScoreCase {
  const char* name;
  unsigned seed;
  // Changes the layout before typing.
  void (*setUp)(page::LayoutSettings&, page::EngineState&);
};

class RandomScore : public TypedPage, public ::testing::WithParamInterface<ScoreCase> {};

TEST_P(RandomScore, ReadsBackWhatWasTypedAlsoAfterSaveAndOpen) {
  GetParam().setUp(host.settings, state);
  TypeRandomScore(GetParam().seed, 140);
  const std::vector<ReadLine> lines = ReadPage();
  EXPECT_EQ(Describe(lines), Typed());
  for (const ReadLine& line : lines) {
    EXPECT_EQ((line.top - kTop) % host.settings.lineSpacing, 0) << "line at " << line.top;
    for (size_t i = 1; i < line.items.size(); ++i)
      EXPECT_GE(line.items[i].box.left(), line.items[i - 1].box.right() + 1)
          << "items overlap on the line at " << line.top;
  }

  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("score.bmp"));
  ASSERT_FALSE(document::WritePagePicture(page.Image(), path));
  const auto opened = document::LoadPagePicture(path);
  ASSERT_TRUE(opened);
  EXPECT_EQ(reader.Read(*opened), lines);
}

INSTANTIATE_TEST_SUITE_P(
    Reading, RandomScore,
    ::testing::Values(
        ScoreCase{"DefaultLayout", 1, [](page::LayoutSettings&, page::EngineState&) {}},
        ScoreCase{"AnotherSeed", 7, [](page::LayoutSettings&, page::EngineState&) {}},
        // Without spacing or beat gaps every glyph touches the next.
        ScoreCase{"NoSpacing", 3,
                  [](page::LayoutSettings& s, page::EngineState& e) {
                    s.autoBeatSplit = false;
                    e.NoteSpacing = {};
                  }},
        ScoreCase{"WideSpacingWholeCellGaps", 4,
                  [](page::LayoutSettings& s, page::EngineState& e) {
                    s.beatGap = 1;
                    e.NoteSpacing[0] = 1;
                    e.NoteSpacing[2] = 0.5f;
                  }},
        ScoreCase{"ThreeFourNoJustification", 5,
                  [](page::LayoutSettings& s, page::EngineState& e) {
                    s.justifyOnEnter = false;
                    e.BeatsPerBar = 3;
                  }},
        ScoreCase{"TypedBarLinesOnlyCloseSpacedLines", 6,
                  [](page::LayoutSettings& s, page::EngineState&) {
                    s.autoBarLines = false;
                    s.lineSpacing = 50;
                  }},
        ScoreCase{"FourBarsToTheLine", 8,
                  [](page::LayoutSettings& s, page::EngineState&) { s.barsPerLine = 4; }}),
    [](const auto& info) { return std::string(info.param.name); });

// A few notes and a bar line on the first line, the right part of the line left empty.
class MarkedPage : public TypedPage {
 protected:
  static constexpr int kMarkLeft = 500;

  MarkedPage() {
    for (int key : {vk::Digit(1), vk::Digit(2), vk::Digit(3), vk::Digit(4), vk::Digit(5)})
      Note(engine.KeyToGlyphCode(key), 0);
  }

  // Reads `image` and checks that the notes typed read as typed and that nothing in `mark`
  // reads as a note, a rest or a syllable.
  void ExpectOnlyTypedNotes(const QImage& image, const QRect& mark) const {
    const std::vector<ReadLine> lines = reader.Read(image);
    std::vector<std::string> music;
    for (const ReadLine& line : lines) {
      for (const ReadItem& item : line.items) {
        const bool noteLike = item.kind == ItemKind::kNote || item.kind == ItemKind::kRest ||
                              item.kind == ItemKind::kPercussion;
        if (noteLike) {
          EXPECT_FALSE(item.box.intersects(mark)) << Describe(item);
        }
        if (item.kind != ItemKind::kUnknown && !item.box.intersects(mark))
          music.push_back(Describe(item));
      }
    }
    EXPECT_EQ(music, Typed());
  }
};

TEST_F(MarkedPage, SymbolPicturesReadAsUnknownInkNeverAsNotes) {
  const QImage typed = page.Image();
  for (const artwork::SymbolPicture& picture : artwork::DrawSymbolPictures()) {
    SCOPED_TRACE(picture.fileName.toStdString());
    page.LoadImage(typed);
    // Over the line's cells, where glyphs would be.
    const QRect mark(kMarkLeft, kTop + 4, picture.image.width(), picture.image.height());
    page.CopyCell(picture.image, 0, 0, mark.width(), mark.height(), mark.left(), mark.top());
    ExpectOnlyTypedNotes(page.Image(), mark);
  }
}

TEST_F(MarkedPage, AHandDrawnStrokeReadsAsUnknownInk) {
  QImage image = page.Image();
  QPainterPath stroke(QPointF(kMarkLeft, kTop + 30));
  stroke.cubicTo(kMarkLeft + 40, kTop - 10, kMarkLeft + 60, kTop + 50, kMarkLeft + 120, kTop + 12);
  {
    QPainter painter(&image);
    painter.setPen(QPen(Qt::black, 2));
    painter.drawPath(stroke);
  }
  ExpectOnlyTypedNotes(image, QRect(kMarkLeft - 2, kTop - 12, 126, 64));
  std::vector<ReadLine> lines = reader.Read(image);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_TRUE(std::any_of(lines[0].items.begin(), lines[0].items.end(),
                          [](const ReadItem& item) { return item.kind == ItemKind::kUnknown; }));
}

struct OverwriteCase {
  const char* name;
  int cursorLeft;  // where the 2 is stamped over the line 5 5 5
  std::vector<std::string> items;
};

class Overwrite : public TypedPage, public ::testing::WithParamInterface<OverwriteCase> {};

// Stamping in overwrite mode blanks the whole items the new cell reaches first: no glyph is ever
// stamped over part of another.
TEST_P(Overwrite, ClearsTheWholeItemsTheNewCellReaches) {
  for (int i = 0; i < 3; ++i) Note(engine.KeyToGlyphCode(vk::Digit(5)), 0);
  page.SetCursor(GetParam().cursorLeft, kTop);
  // As a press on the page leaves the state.
  state.ForgetLastPlaced();
  state.BarUnits = 0;
  state.InsertMode = 0;
  Note(engine.KeyToGlyphCode(vk::Digit(2)), 0);
  EXPECT_EQ(Describe(ReadPage()), GetParam().items);
}

INSTANTIATE_TEST_SUITE_P(
    Reading, Overwrite,
    ::testing::Values(
        OverwriteCase{"OnItsCell", 38, {"note 5 0 /4", "note 2 0 /4", "note 5 0 /4"}},
        OverwriteCase{"HalfACellIntoIt", 44, {"note 5 0 /4", "note 2 0 /4", "note 5 0 /4"}},
        OverwriteCase{"OverTheGapIntoTheNext", 50, {"note 5 0 /4", "note 5 0 /4", "note 2 0 /4"}},
        OverwriteCase{"AcrossTwo", 28, {"note 2 0 /4", "note 5 0 /4"}}),
    [](const auto& info) { return std::string(info.param.name); });

struct ChordCase {
  const char* name;
  int degreeKey;
  std::vector<int> held;
  QColor colour;
  const char* text;
};

class ChordUnderBar : public TypedPage, public ::testing::WithParamInterface<ChordCase> {};

TEST_P(ChordUnderBar, ReadsAsTheChordWritten) {
  const ChordCase& c = GetParam();
  for (int i = 0; i < 8; ++i) Note(engine.KeyToGlyphCode(vk::Digit(1 + i % 7)), 1);
  // The first bar's symbol is written after the line's start, the second's after its bar line.
  host.settings.chordColour = c.colour;
  state.NoteMode = 0;
  for (int key : c.held) state.KeypadHeld[key] = 1;
  page.SetCursor(page::kLeftMargin, kTop);
  Place(engine.KeyToGlyphCode(c.degreeKey), 0);
  Place(engine.KeyToGlyphCode(c.degreeKey), 0);

  std::vector<std::string> chords;
  std::vector<std::string> notes;
  const std::vector<ReadLine> lines = ReadPage();
  ASSERT_EQ(lines.size(), 1u);
  for (const ReadItem& item : lines.front().items) {
    if (item.kind == ItemKind::kChord) chords.push_back(Describe(item));
    if (item.kind == ItemKind::kNote) notes.push_back(Describe(item));
  }
  EXPECT_EQ(chords, std::vector<std::string>(2, std::string("chord ") + c.text));
  // The symbol's eraser mark takes underlines away, never a note.
  EXPECT_EQ(notes.size(), 8u);
}

INSTANTIATE_TEST_SUITE_P(
    Reading, ChordUnderBar,
    ::testing::Values(
        ChordCase{"Plain", vk::Digit(5), {}, QColor(255, 0, 0), "5"},
        ChordCase{"SeventhMinor", vk::Digit(2), {7, 8}, QColor(0, 0, 255), "27MAX"},
        ChordCase{"SignsAndFigures", vk::Digit(4), {5, 6, 9, 4}, QColor(255, 0, 0), "4+-94MIN"},
        ChordCase{"Major", vk::Digit(6), {9}, QColor(0, 128, 0), "69MAX"},
        ChordCase{"InBlack", vk::Digit(3), {7}, QColor(0, 0, 0), "37"}),
    [](const auto& info) { return std::string(info.param.name); });

struct BarCase {
  const char* name;
  std::vector<int> keys;
  // For each mark, the degrees of the notes above it.
  std::vector<std::string> marked;
};

class UnevenBars : public TypedPage, public ::testing::WithParamInterface<BarCase> {};

TEST_P(UnevenBars, MarksTheBarsWhoseBeatsDoNotAddUp) {
  for (int key : GetParam().keys) {
    if (key == vk::Letter('H')) {
      Key(key);
    } else {
      Note(engine.KeyToGlyphCode(key), 0);
    }
  }
  const std::vector<ReadLine> lines = ReadPage();
  std::vector<std::string> marked;
  for (const QLine& mark : UnevenBarMarks(lines, UnitsPerBar(4, 4))) {
    std::string degrees;
    for (const ReadLine& line : lines) {
      for (const ReadItem& item : line.items) {
        const bool under = mark.y1() > line.top && mark.y1() <= line.top + page::kCellHeight + 2;
        if (under && item.kind == ItemKind::kNote && item.box.left() >= mark.x1() &&
            item.box.right() <= mark.x2())
          degrees += std::to_string(item.degree);
      }
    }
    marked.push_back(degrees);
  }
  EXPECT_EQ(marked, GetParam().marked);
}

constexpr int kOne = vk::Digit(1);
constexpr int kTwo = vk::Digit(2);
constexpr int kThree = vk::Digit(3);
constexpr int kFour = vk::Digit(4);
constexpr int kBar = vk::Letter('H');

INSTANTIATE_TEST_SUITE_P(
    Reading, UnevenBars,
    ::testing::Values(
        BarCase{"FullBars", {kOne, kOne, kOne, kOne, kTwo, kTwo, kTwo, kTwo}, {}},
        BarCase{"ShortBarClosedByHand", {kOne, kOne, kOne, kOne, kTwo, kTwo, kTwo, kBar}, {"222"}},
        // The page's first bar may be a pickup; the bar being typed is not closed yet.
        BarCase{"PickupAndABarInProgress", {kOne, kBar, kTwo, kTwo, kTwo, kTwo, kThree}, {}},
        BarCase{"OnlyTheShortOneOfThree",
                {kOne, kOne, kOne, kOne, kTwo, kBar, kThree, kThree, kThree, kThree, kFour},
                {"2"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarvesh::reading::testing
