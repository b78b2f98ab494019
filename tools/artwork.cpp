// The glyph atlases and the cursor pictures. The engine copies atlas cells pixel for pixel and
// recognises glyphs by probing single rows for exact black, so every stroke here lies on the
// rows and columns the cell geometry reserves for it and nowhere else.
#include "artwork.h"

#include <array>

#include "bitmaps.h"

namespace tarvesh::artwork {

namespace {

constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr QRgb kRed = qRgb(255, 0, 0);
constexpr QRgb kCursorTeal = qRgb(0, 64, 64);

// Cell geometry shared by both atlases.
constexpr int kWideCell = 12;
constexpr int kNarrowCell = 6;
constexpr int kCellHeight = 40;
constexpr std::array<int, 3> kDurationLineRows{26, 28, 30};

// Picmode.
constexpr int kPicmodeWidth = 508;
constexpr int kPicmodeHeight = 160;
constexpr int kDigitColumns = 35;  // five octave groups of seven digits
constexpr int kRestColumn = 35;
constexpr int kFirstSyllableColumn = 36;  // 冬 X 仓 次 板
constexpr int kCrossColumn = 37;
constexpr int kDashColumn = 41;
constexpr int kDigitLeft = 2;  // digit bodies: columns 2-9, rows 10-23
constexpr int kDigitTop = 10;
constexpr int kSyllableTop = 9;    // syllables: 14 rows inside rows 8-23
constexpr int kOctaveDotLeft = 5;  // 2 x 2 dots at columns 5-6
constexpr int kDotsAboveNear = 6;  // the dot nearer the digit
constexpr int kDotsAboveFar = 3;
// Rows of the first and second dot below the digit, per duration row: they move down so they
// stay under the lowest duration line.
constexpr std::array<std::array<int, 2>, 4> kDotsBelowRows{
    {{26, 29}, {29, 32}, {31, 34}, {33, 36}}};
constexpr int kDashRow = 15;  // rows 15-16

// Picmode2.
constexpr int kPicmode2Width = 821;
constexpr int kPicmode2Height = 115;
constexpr int kNarrowRowTop = 40;
constexpr int kBarTop = 4;  // every bar-like line spans rows 4-32
constexpr int kBarBottom = 32;
constexpr std::array<int, 2> kRepeatDotRows{12, 21};  // 2 x 2 dots at rows 12-13 and 21-22
constexpr int kAccidentalTop = 6;    // rows 6-18: in the band 3-18, clear of the row-5 probe
constexpr int kWideParenTop = 10;    // rows 10-23
constexpr int kNarrowParenTop = 9;   // rows 9-22
constexpr int kFirstRedLine = 240;   // red guides in the wide row
constexpr int kRulerTop = 80;        // red ruler rows 80-83
constexpr int kRulerLabelStep = 60;  // five wide or ten narrow cells

// Writes into an image through a cell origin, so drawings are stated in cell coordinates.
// Every call returns the cell, so the strokes of one sign read as one chain.
class Cell {
 public:
  Cell(QImage& image, int x, int y, QRgb ink = qRgb(0, 0, 0))
      : image_(image), x_(x), y_(y), ink_(ink) {}

  Cell& Dot(int x, int y) {
    const int px = x_ + x, py = y_ + y;
    if (image_.valid(px, py)) image_.setPixel(px, py, ink_);
    return *this;
  }
  Cell& Fill(int x, int y, int w, int h) {
    for (int row = y; row < y + h; ++row)
      for (int col = x; col < x + w; ++col) Dot(col, row);
    return *this;
  }
  // A vertical line of width `w` from `top` to `bottom` inclusive.
  Cell& Column(int x, int top, int bottom, int w = 1) { return Fill(x, top, w, bottom - top + 1); }
  Cell& Row(int y, int left, int right) { return Fill(left, y, right - left + 1, 1); }
  // '#' marks ink; other characters leave the ground.
  Cell& Bitmap(int x, int y, const Glyph& glyph) {
    for (int row = 0; row < int(glyph.size()); ++row)
      for (int col = 0; glyph[row][col] != '\0'; ++col)
        if (glyph[row][col] == '#') Dot(x + col, y + row);
    return *this;
  }
  Cell& DurationLines(int count, int width) {
    for (int i = 0; i < count; ++i) Row(kDurationLineRows[i], 0, width - 1);
    return *this;
  }
  // A bar-like line, rows 4-32: every one must answer the engine's probes of rows 5 and 32.
  Cell& BarLine(int x, int w = 1) { return Column(x, kBarTop, kBarBottom, w); }
  Cell& RepeatDots(int x) {
    for (int row : kRepeatDotRows) Fill(x, row, 2, 2);
    return *this;
  }

 private:
  QImage& image_;
  int x_, y_;
  QRgb ink_;
};

QImage WhiteImage(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(kWhite);
  return image;
}

// Writes `value` in the ruler's 3 x 5 digits with its top-left corner at (x, y).
void TinyNumber(QImage& image, int x, int y, int value, QRgb colour) {
  const QString text = QString::number(value);
  Cell cell(image, x, y, colour);
  for (int i = 0; i < text.size(); ++i) cell.Bitmap(4 * i, 0, TinyDigitGlyph(text[i].digitValue()));
}

}  // namespace

QImage DrawPicmode() {
  QImage image = WhiteImage(kPicmodeWidth, kPicmodeHeight);
  for (int row = 0; row < 4; ++row) {
    for (int column = 0; column <= kDashColumn; ++column) {
      Cell cell(image, column * kWideCell, row * kCellHeight);
      cell.DurationLines(row, kWideCell);
      if (column < kDigitColumns) {
        cell.Bitmap(kDigitLeft, kDigitTop, DigitGlyph(column % 7 + 1));
        const int group = column / 7;
        if (group >= 3) cell.Fill(kOctaveDotLeft, kDotsAboveNear, 2, 2);
        if (group == 4) cell.Fill(kOctaveDotLeft, kDotsAboveFar, 2, 2);
        if (group <= 1) cell.Fill(kOctaveDotLeft, kDotsBelowRows[row][0], 2, 2);
        if (group == 0) cell.Fill(kOctaveDotLeft, kDotsBelowRows[row][1], 2, 2);
      } else if (column == kRestColumn) {
        cell.Bitmap(kDigitLeft, kDigitTop, DigitGlyph(0));
      } else if (column == kCrossColumn) {
        cell.Bitmap(kDigitLeft, kSyllableTop, CrossGlyph());
      } else if (column < kDashColumn) {
        const int syllable = column - kFirstSyllableColumn - (column > kCrossColumn ? 1 : 0);
        cell.Bitmap(0, kSyllableTop, SyllableGlyph(syllable));
      } else {
        cell.Fill(0, kDashRow, kWideCell, 2);
      }
    }
  }
  return image;
}

QImage DrawPicmode2() {
  QImage image = WhiteImage(kPicmode2Width, kPicmode2Height);
  auto wide = [&](int code) { return Cell(image, (code - 100) * kWideCell, 0); };
  auto narrow = [&](int code) { return Cell(image, (code - 200) * kNarrowCell, kNarrowRowTop); };

  // Red guides and a numbered ruler for whoever looks at the atlas; no operation copies them,
  // and they stay clear of the listed cells (x < 240 in the wide row, and below the narrow row).
  for (int x = kFirstRedLine; x < kPicmode2Width; x += kWideCell)
    Cell(image, x, 0, kRed).Column(0, 0, kCellHeight - 1);
  Cell ruler(image, 0, kRulerTop, kRed);
  ruler.Row(0, 0, kPicmode2Width - 1);
  for (int x = 0; x < kPicmode2Width; x += kNarrowCell)
    ruler.Column(x, 1, x % kWideCell == 0 ? 3 : 2);
  for (int x = 0, step = 0; x + 12 <= kPicmode2Width; x += kRulerLabelStep, ++step) {
    TinyNumber(image, x + 1, kRulerTop + 6, 100 + 5 * step, kRed);
    TinyNumber(image, x + 1, kRulerTop + 14, 200 + 10 * step, kRed);
  }

  wide(101).BarLine(7);
  wide(102).BarLine(2, 3).BarLine(7).RepeatDots(9);  // repeat start
  wide(103).RepeatDots(2).BarLine(5).BarLine(8, 3);  // repeat end
  wide(104).BarLine(3).BarLine(6, 3);                // final bar line
  wide(105).BarLine(5).BarLine(8);                   // double bar line
  wide(106).Bitmap(4, kAccidentalTop, NaturalGlyph());
  wide(107).Bitmap(3, kAccidentalTop, SharpGlyph());
  wide(108).Bitmap(4, kAccidentalTop, FlatGlyph());
  wide(112).Fill(1, 16, 11, 2);  // dash
  wide(113).Bitmap(5, kWideParenTop, WideOpenParenGlyph());
  wide(114).Bitmap(5, kWideParenTop, WideCloseParenGlyph());
  wide(115).Fill(1, 15, 4, 4);  // augmentation dot
  for (int lines = 0; lines <= 3; ++lines) wide(116 + lines).DurationLines(lines, kWideCell);

  narrow(201).Bitmap(0, kAccidentalTop, NaturalGlyph());
  narrow(202).Bitmap(0, kAccidentalTop, NarrowSharpGlyph());
  narrow(203).Bitmap(0, kAccidentalTop, FlatGlyph());
  for (int lines = 1; lines <= 3; ++lines) narrow(203 + lines).DurationLines(lines, kNarrowCell);
  narrow(207).BarLine(5);
  narrow(208).BarLine(2).BarLine(4);
  narrow(209).Bitmap(2, kNarrowParenTop, NarrowOpenParenGlyph());
  narrow(210).Bitmap(0, kNarrowParenTop, NarrowCloseParenGlyph());
  narrow(211).Fill(1, 14, 4, 4);  // small dot
  // Pieces that put the narrow repeat and final signs together: 212 is the thick stroke
  // (207 then 212 is a final bar line), 213 the thin line and dots after it in a repeat start
  // (212 213), 214 the dots and thin line before it in a repeat end (214 212).
  narrow(212).BarLine(1, 3);
  narrow(213).BarLine(1).RepeatDots(3);
  narrow(214).RepeatDots(1).BarLine(4);
  return image;
}

QImage DrawCursor() {
  QImage image(13, kCellHeight, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  Cell(image, 4, 9, kCursorTeal).Bitmap(0, 0, QuestionGlyph());
  return image;
}

QImage DrawDurationCursor(int row) {
  QImage image = WhiteImage(13, kCellHeight);
  Cell cell(image, 0, 0, kCursorTeal);
  cell.Bitmap(4, 9, QuestionGlyph());
  for (int i = 0; i < row && i < 3; ++i) cell.Row(kDurationLineRows[i], 3, 11);
  return image;
}

}  // namespace tarvesh::artwork
