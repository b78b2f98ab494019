// The glyph atlases and the cursor pictures. The engine copies atlas cells pixel for pixel and
// recognises glyphs by probing single rows for exact black, so every stroke here lies on the
// rows and columns the cell geometry reserves for it and nowhere else.
#include "artwork.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

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

// Ink of a hand-set glyph drawn larger: the ink of its pixels interpolated between their centres
// is cut at this level, below one half, so edges run smooth instead of in steps and a stroke
// one pixel wide comes out about 1.4 pixels wide: an engraver's weight of about 0.3 mm on A4.
// A white pixel between two ink pixels stays white at its centre, so strokes never merge.
constexpr double kStrokeLevel = 0.3;
// Dots drawn larger are discs this much wider than their square.
constexpr double kDiscGrowth = 1.15;

// Writes into an image through a cell origin, so drawings are stated in cell coordinates. At a
// scale above 1 every coordinate is multiplied by it: rectangles stay exact (bar lines crisp),
// duration lines gain a quarter of a pixel, dots become discs and hand-set glyphs get smooth
// edges; at scale 1 every stroke is the hand-set pixels. Every call returns the cell, so the
// strokes of one sign read as one chain. A cell given its size keeps every stroke inside it, so
// the smooth edge of a glyph that fills its cell never reaches the next cell.
class Cell {
 public:
  Cell(QImage& image, int x, int y, QRgb ink = qRgb(0, 0, 0), int scale = 1, QSize size = {})
      : image_(image),
        x_(x),
        y_(y),
        ink_(ink),
        scale_(scale),
        inside_(size.isValid()
                    ? QRect(x * scale, y * scale, size.width() * scale, size.height() * scale)
                    : image.rect()) {}

  Cell& Fill(int x, int y, int w, int h) {
    for (int row = y * scale_; row < (y + h) * scale_; ++row)
      for (int col = x * scale_; col < (x + w) * scale_; ++col) Pixel(col, row);
    return *this;
  }
  // A vertical line of width `w` from `top` to `bottom` inclusive.
  Cell& Column(int x, int top, int bottom, int w = 1) { return Fill(x, top, w, bottom - top + 1); }
  Cell& Row(int y, int left, int right) { return Fill(left, y, right - left + 1, 1); }
  // A dot: its square at scale 1, a disc centred on it when larger.
  Cell& Round(int x, int y, int w, int h) {
    if (scale_ == 1) return Fill(x, y, w, h);
    const double cx = (x + w / 2.0) * scale_, cy = (y + h / 2.0) * scale_;
    const double rx = w * scale_ * kDiscGrowth / 2, ry = h * scale_ * kDiscGrowth / 2;
    for (int row = int(cy - ry) - 1; row <= int(cy + ry) + 1; ++row) {
      for (int col = int(cx - rx) - 1; col <= int(cx + rx) + 1; ++col) {
        const double dx = (col + 0.5 - cx) / rx, dy = (row + 0.5 - cy) / ry;
        if (dx * dx + dy * dy <= 1) Pixel(col, row);
      }
    }
    return *this;
  }
  // '#' marks ink; other characters leave the ground.
  Cell& Bitmap(int x, int y, const Glyph& glyph) {
    const auto ink = [&](int col, int row) {
      return row >= 0 && row < int(glyph.size()) && col >= 0 &&
             col < int(std::strlen(glyph[row])) && glyph[row][col] == '#';
    };
    if (scale_ == 1) {
      for (int row = 0; row < int(glyph.size()); ++row)
        for (int col = 0; glyph[row][col] != '\0'; ++col)
          if (ink(col, row)) Pixel(x + col, y + row);
      return *this;
    }
    int width = 0;
    for (const char* line : glyph) width = std::max(width, int(std::strlen(line)));
    // Every pixel of the larger drawing within a glyph pixel of the bitmap's box.
    for (int row = -scale_; row < (int(glyph.size()) + 1) * scale_; ++row) {
      for (int col = -scale_; col < (width + 1) * scale_; ++col) {
        // Position in glyph pixels, measured between pixel centres.
        const double u = (col + 0.5) / scale_ - 0.5, v = (row + 0.5) / scale_ - 0.5;
        const int c = int(std::floor(u)), r = int(std::floor(v));
        const double fu = u - c, fv = v - r;
        const double level = (1 - fv) * ((1 - fu) * ink(c, r) + fu * ink(c + 1, r)) +
                             fv * ((1 - fu) * ink(c, r + 1) + fu * ink(c + 1, r + 1));
        if (level >= kStrokeLevel) Pixel(x * scale_ + col, y * scale_ + row);
      }
    }
    return *this;
  }
  // Duration lines of even weight: a row at scale 1, a quarter of a pixel more when larger.
  Cell& DurationLines(int count, int width) {
    for (int i = 0; i < count; ++i) {
      Row(kDurationLineRows[i], 0, width - 1);
      if (scale_ > 1)
        for (int col = 0; col < width * scale_; ++col)
          for (int extra = 0; extra < scale_ / 4; ++extra)
            Pixel(col, (kDurationLineRows[i] + 1) * scale_ + extra);
    }
    return *this;
  }
  // A bar-like line, rows 4-32: every one must answer the engine's probes of rows 5 and 32.
  Cell& BarLine(int x, int w = 1) { return Column(x, kBarTop, kBarBottom, w); }
  Cell& RepeatDots(int x) {
    for (int row : kRepeatDotRows) Round(x, row, 2, 2);
    return *this;
  }

 private:
  // One pixel of the image at (col, row) from the cell's origin, in the image's own pixels.
  void Pixel(int col, int row) {
    const int px = x_ * scale_ + col, py = y_ * scale_ + row;
    if (image_.valid(px, py) && inside_.contains(px, py)) image_.setPixel(px, py, ink_);
  }

  QImage& image_;
  int x_, y_;
  QRgb ink_;
  int scale_;
  QRect inside_;
};

QImage WhiteImage(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(kWhite);
  return image;
}

// Writes `value` in the ruler's 3 x 5 digits with its top-left corner at (x, y).
void TinyNumber(QImage& image, int x, int y, int value, QRgb colour, int scale) {
  const QString text = QString::number(value);
  Cell cell(image, x, y, colour, scale);
  for (int i = 0; i < text.size(); ++i) cell.Bitmap(4 * i, 0, TinyDigitGlyph(text[i].digitValue()));
}

}  // namespace

QImage DrawPicmode(int scale) {
  QImage image = WhiteImage(kPicmodeWidth * scale, kPicmodeHeight * scale);
  for (int row = 0; row < 4; ++row) {
    for (int column = 0; column <= kDashColumn; ++column) {
      Cell cell(image, column * kWideCell, row * kCellHeight, qRgb(0, 0, 0), scale,
                QSize(kWideCell, kCellHeight));
      cell.DurationLines(row, kWideCell);
      if (column < kDigitColumns) {
        cell.Bitmap(kDigitLeft, kDigitTop, DigitGlyph(column % 7 + 1));
        const int group = column / 7;
        if (group >= 3) cell.Round(kOctaveDotLeft, kDotsAboveNear, 2, 2);
        if (group == 4) cell.Round(kOctaveDotLeft, kDotsAboveFar, 2, 2);
        if (group <= 1) cell.Round(kOctaveDotLeft, kDotsBelowRows[row][0], 2, 2);
        if (group == 0) cell.Round(kOctaveDotLeft, kDotsBelowRows[row][1], 2, 2);
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

QImage DrawPicmode2(int scale) {
  QImage image = WhiteImage(kPicmode2Width * scale, kPicmode2Height * scale);
  const QRgb black = qRgb(0, 0, 0);
  auto wide = [&](int code) {
    return Cell(image, (code - 100) * kWideCell, 0, black, scale, QSize(kWideCell, kCellHeight));
  };
  auto narrow = [&](int code) {
    return Cell(image, (code - 200) * kNarrowCell, kNarrowRowTop, black, scale,
                QSize(kNarrowCell, kCellHeight));
  };

  // Red guides and a numbered ruler for whoever looks at the atlas; no operation copies them,
  // and they stay clear of the listed cells (x < 240 in the wide row, and below the narrow row).
  for (int x = kFirstRedLine; x < kPicmode2Width; x += kWideCell)
    Cell(image, x, 0, kRed, scale).Column(0, 0, kCellHeight - 1);
  Cell ruler(image, 0, kRulerTop, kRed, scale);
  ruler.Row(0, 0, kPicmode2Width - 1);
  for (int x = 0; x < kPicmode2Width; x += kNarrowCell)
    ruler.Column(x, 1, x % kWideCell == 0 ? 3 : 2);
  for (int x = 0, step = 0; x + 12 <= kPicmode2Width; x += kRulerLabelStep, ++step) {
    TinyNumber(image, x + 1, kRulerTop + 6, 100 + 5 * step, kRed, scale);
    TinyNumber(image, x + 1, kRulerTop + 14, 200 + 10 * step, kRed, scale);
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
  wide(115).Round(1, 15, 4, 4);  // augmentation dot
  for (int lines = 0; lines <= 3; ++lines) wide(116 + lines).DurationLines(lines, kWideCell);

  narrow(201).Bitmap(0, kAccidentalTop, NaturalGlyph());
  narrow(202).Bitmap(0, kAccidentalTop, NarrowSharpGlyph());
  narrow(203).Bitmap(0, kAccidentalTop, FlatGlyph());
  for (int lines = 1; lines <= 3; ++lines) narrow(203 + lines).DurationLines(lines, kNarrowCell);
  narrow(207).BarLine(5);
  narrow(208).BarLine(2).BarLine(4);
  narrow(209).Bitmap(2, kNarrowParenTop, NarrowOpenParenGlyph());
  narrow(210).Bitmap(0, kNarrowParenTop, NarrowCloseParenGlyph());
  narrow(211).Round(1, 14, 4, 4);  // small dot
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
