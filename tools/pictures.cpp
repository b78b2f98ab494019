// The staff panel's pictures (staves, clefs, note pictures) and the slur arc.
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <array>
#include <cmath>

#include "artwork.h"

namespace tarvesh::artwork {

namespace {

// Staff geometry: the staff panel turns pointer heights into staff steps of 9 pixels.
constexpr int kStaffWidth = 477;
constexpr int kStaffHeight = 277;
constexpr std::array<int, 5> kStaffLines{100, 118, 136, 154, 172};
constexpr std::array<int, 9> kLedgerLines{10, 28, 46, 64, 82, 190, 208, 226, 244};
constexpr QRgb kLedgerGrey = qRgb(192, 192, 192);
constexpr int kStaffSpace = 18;

// Note pictures: the head sits at (kStaffNoteHeadX, head y); the stem is three and a half
// staff spaces long; a picture is wide enough for three flags.
constexpr int kNoteWidth = 28;
constexpr int kStemLength = 60;
constexpr int kFlagPitch = 9;
constexpr int kStemUpHeight = kStaffNoteHeadYStemUp + 8;
constexpr int kStemDownHeight = kStaffNoteHeadYStemDown + kStemLength + 4;

// The slur arc: flat along row 0 between these columns, falling to rows 13-14 at both ends.
constexpr int kArcWidth = 475;
constexpr int kArcHeight = 15;
constexpr int kArcFlatLeft = 111;
constexpr int kArcFlatRight = 363;
constexpr int kArcThickness = 2;

QImage WhiteImage(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

// Maps every pixel to white, black or one of two greys: the note pictures are stored as GIF
// with that four-colour palette, so the picture in memory matches the file exactly.
void QuantiseToFourGreys(QImage& image) {
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const int grey = qGray(line[x]);
      const int level = grey < 64 ? 0 : grey < 160 ? 128 : grey < 224 ? 192 : 255;
      line[x] = qRgb(level, level, level);
    }
  }
}

// A treble clef curled round the G line (y = 154).
void DrawTrebleClef(QPainter& painter) {
  QPainterPath path;
  path.moveTo(35, 158);
  path.cubicTo(34, 146, 22, 144, 20, 156);
  path.cubicTo(18, 168, 30, 176, 38, 170);
  path.cubicTo(48, 163, 48, 147, 38, 140);
  path.cubicTo(28, 133, 16, 130, 16, 118);
  path.cubicTo(16, 100, 32, 88, 36, 76);
  path.cubicTo(38, 68, 36, 60, 32, 62);
  path.cubicTo(26, 66, 25, 84, 27, 100);
  path.lineTo(34, 192);
  path.cubicTo(35, 204, 26, 208, 20, 202);
  painter.setPen(QPen(Qt::black, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(path);
  painter.setBrush(Qt::black);
  painter.drawEllipse(QPointF(22, 198), 4.5, 4.5);
}

// A bass clef with its dot on the F line (y = 118) and two dots either side of that line.
void DrawBassClef(QPainter& painter) {
  QPainterPath path;
  path.moveTo(16, 116);
  path.cubicTo(14, 104, 24, 99, 31, 100);
  path.cubicTo(42, 101, 47, 110, 46, 122);
  path.cubicTo(45, 142, 32, 158, 14, 168);
  painter.setPen(QPen(Qt::black, 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(path);
  painter.setPen(Qt::NoPen);
  painter.setBrush(Qt::black);
  painter.drawEllipse(QPointF(19, 117), 5, 5);
  painter.drawEllipse(QPointF(54, 109), 2.5, 2.5);
  painter.drawEllipse(QPointF(54, 127), 2.5, 2.5);
}

}  // namespace

QImage DrawStaff(int clef) {
  QImage image = WhiteImage(kStaffWidth, kStaffHeight);
  for (int y : kLedgerLines)
    for (int x = 0; x < kStaffWidth; ++x) image.setPixel(x, y, kLedgerGrey);
  {
    // The clef is drawn smooth, but first, so the staff lines above it stay exactly black.
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    if (clef == 0)
      DrawTrebleClef(painter);
    else
      DrawBassClef(painter);
  }
  for (int y : kStaffLines)
    for (int x = 0; x < kStaffWidth; ++x) image.setPixel(x, y, qRgb(0, 0, 0));
  return image;
}

QImage DrawStaffNote(bool stemUp, int row) {
  const int headY = stemUp ? kStaffNoteHeadYStemUp : kStaffNoteHeadYStemDown;
  QImage image = WhiteImage(kNoteWidth, stemUp ? kStemUpHeight : kStemDownHeight);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(Qt::black);

  // A filled head a staff space high, tilted like an engraved one.
  painter.save();
  painter.translate(kStaffNoteHeadX + 0.5, headY + 0.5);
  painter.rotate(-20);
  painter.drawEllipse(QPointF(0, 0), 7.5, 5.2);
  painter.restore();

  // Stem on the right going up, or on the left going down; flags leave its far end and bend
  // back towards the head.
  const double stemX = stemUp ? kStaffNoteHeadX + 6.5 : kStaffNoteHeadX - 6.0;
  const double stemEnd = stemUp ? headY - kStemLength : headY + kStemLength;
  painter.fillRect(QRectF(stemX, std::min<double>(headY, stemEnd), 1.5, std::abs(stemEnd - headY)),
                   Qt::black);
  const double toward = stemUp ? 1 : -1;  // direction from the stem's end back to the head
  for (int flag = 0; flag < row; ++flag) {
    const double y = stemEnd + toward * flag * kFlagPitch;
    QPainterPath path;
    path.moveTo(stemX + 0.75, y);
    path.cubicTo(stemX + 2, y + toward * 7, stemX + 11, y + toward * 9, stemX + 9, y + toward * 20);
    path.cubicTo(stemX + 9, y + toward * 12, stemX + 3, y + toward * 10, stemX + 0.75,
                 y + toward * 8);
    path.closeSubpath();
    painter.drawPath(path);
  }
  painter.end();
  QuantiseToFourGreys(image);
  return image;
}

QImage DrawSlurArc(int scale) {
  const int width = kArcWidth * scale;
  const int height = kArcHeight * scale;
  QImage image = WhiteImage(width, height);
  const int rise = (kArcHeight - kArcThickness) * scale;  // ends at rows 13-14, the top at 0-1
  // The arc's top edge at column x: on each flank, half a parabola and half a quarter
  // ellipse, so the slur leaves its notes steeply, bows evenly and flattens into the straight
  // middle without a kink. A larger picture takes the shape at the middle of each of its
  // columns, measured in columns of the page's picture, and rounds it as that picture does.
  auto top = [&](int x) {
    const double at = (x + 0.5) / scale - 0.5;
    const double flank = std::max(0.0, std::min(at, kArcWidth - 1 - at));
    if (flank >= kArcFlatLeft) return 0;
    const double t = (kArcFlatLeft - flank) / kArcFlatLeft;
    return int(std::lround(rise * (0.5 * t * t + 0.5 * (1 - std::sqrt(1 - t * t)))));
  };
  for (int x = 0; x < width; ++x) {
    // Reach to the edge of the neighbour nearer the middle as well, so steep parts have no
    // gaps and both flanks stay mirror images.
    const int y = top(x);
    const int neighbour = top(x < width / 2 ? x + 1 : x - 1);
    const int first = std::min(y, neighbour);
    const int last = std::max(y, neighbour) + kArcThickness * scale - 1;
    for (int row = first; row <= std::min(last, height - 1); ++row)
      image.setPixel(x, row, qRgb(0, 0, 0));
  }
  return image;
}

}  // namespace tarvesh::artwork
