// The symbol pictures of the folder s/sik: signs a score needs that the atlases cannot stamp.
// They are laid over the page as they are, so each is cut to pure black on white with a small
// white margin; the file names number them in the order the chooser should list them.
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <functional>
#include <utility>

#include "artwork.h"

namespace tarvesh::artwork {

namespace {

constexpr int kMargin = 2;
constexpr int kInkThreshold = 140;  // grey levels below this become ink

QImage Threshold(const QImage& drawn) {
  QImage image(drawn.size(), QImage::Format_RGB32);
  for (int y = 0; y < drawn.height(); ++y)
    for (int x = 0; x < drawn.width(); ++x)
      image.setPixel(
          x, y, qGray(drawn.pixel(x, y)) < kInkThreshold ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
  return image;
}

// A symbol's shape: what it paints on a w x h picture.
struct Drawing {
  int w, h;
  std::function<void(QPainter&)> paint;
};

// Draws `drawing` smoothed on a white picture `scale` times its size, then cuts it to black and
// white: at every scale the same shape.
QImage Draw(const Drawing& drawing, int scale) {
  QImage drawn(drawing.w * scale, drawing.h * scale, QImage::Format_RGB32);
  drawn.fill(Qt::white);
  QPainter painter(&drawn);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(scale, scale);
  painter.setPen(QPen(Qt::black, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  drawing.paint(painter);
  painter.end();
  return Threshold(drawn);
}

QFont SerifFont(int pixelSize, bool bold, bool italic) {
  QFont font(QStringLiteral("DejaVu Serif"));
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  font.setItalic(italic);
  return font;
}

// A text in a serif face, sized to its ink with the margin around it.
Drawing Text(const QString& text, int pixelSize, bool bold, bool italic = true) {
  const QFont font = SerifFont(pixelSize, bold, italic);
  const QRect ink = QFontMetrics(font).tightBoundingRect(text);
  return {ink.width() + 2 * kMargin + 1, ink.height() + 2 * kMargin + 1, [=](QPainter& p) {
            p.setFont(font);
            p.drawText(QPointF(kMargin - ink.left(), kMargin - ink.top()), text);
          }};
}

Drawing Fermata() {
  return {26, 16, [](QPainter& p) {
            p.setPen(QPen(Qt::black, 2.2));
            p.drawArc(QRectF(3, 3, 20, 20), 0, 180 * 16);
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::black);
            p.drawEllipse(QPointF(13, 11.5), 2.2, 2.2);
          }};
}

Drawing BreathMark() {
  return {14, 14, [](QPainter& p) {
            p.setPen(QPen(Qt::black, 1.8));
            p.drawLine(QPointF(2.5, 2.5), QPointF(7, 11.5));
            p.drawLine(QPointF(7, 11.5), QPointF(11.5, 2.5));
          }};
}

Drawing Segno() {
  return {24, 30, [](QPainter& p) {
            QPainterPath s;
            s.moveTo(16, 7);
            s.cubicTo(14, 3, 6, 3, 6, 9);
            s.cubicTo(6, 14, 18, 15, 18, 21);
            s.cubicTo(18, 27, 9, 27, 7, 23);
            p.setPen(QPen(Qt::black, 2.4, Qt::SolidLine, Qt::RoundCap));
            p.drawPath(s);
            p.setPen(QPen(Qt::black, 1.5));
            p.drawLine(QPointF(4, 25), QPointF(20, 5));
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::black);
            p.drawEllipse(QPointF(5, 13), 1.8, 1.8);
            p.drawEllipse(QPointF(19, 16), 1.8, 1.8);
          }};
}

Drawing Coda() {
  return {28, 30, [](QPainter& p) {
            p.setPen(QPen(Qt::black, 2.0));
            p.drawEllipse(QRectF(7, 7, 14, 16));
            p.setPen(QPen(Qt::black, 1.4));
            p.drawLine(QPointF(14, 2), QPointF(14, 28));
            p.drawLine(QPointF(2, 15), QPointF(26, 15));
          }};
}

Drawing Hairpin(bool opening) {
  return {52, 16, [opening](QPainter& p) {
            const QPointF point(opening ? 3 : 49, 8);
            const double open = opening ? 49 : 3;
            p.setPen(QPen(Qt::black, 1.3));
            p.drawLine(point, QPointF(open, 2.5));
            p.drawLine(point, QPointF(open, 13.5));
          }};
}

Drawing Accent() {
  return {14, 11, [](QPainter& p) {
            p.setPen(QPen(Qt::black, 1.6));
            p.drawLine(QPointF(2.5, 2.5), QPointF(11.5, 5.5));
            p.drawLine(QPointF(11.5, 5.5), QPointF(2.5, 8.5));
          }};
}

// The staccato wedge that Jianpu writes above a note.
Drawing Staccato() {
  return {9, 12, [](QPainter& p) {
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::black);
            p.drawPolygon(QPolygonF({QPointF(2, 2), QPointF(7, 2), QPointF(4.5, 10)}));
          }};
}

Drawing Tenuto() {
  return {16, 6, [](QPainter& p) { p.fillRect(QRectF(2, 2, 12, 2), Qt::black); }};
}

Drawing PedalRelease() {
  return {16, 16, [](QPainter& p) {
            p.setPen(QPen(Qt::black, 1.5));
            p.drawEllipse(QPointF(8, 8), 2.6, 2.6);
            for (int i = 0; i < 8; ++i) {
              QLineF spoke(QPointF(8, 8), QPointF(8, 1.5));
              spoke.setAngle(90 + 45 * i);
              spoke.setLength(6.5);
              p.drawLine(QLineF(spoke.pointAt(0.55), spoke.p2()));
            }
          }};
}

// A first or second ending: the bracket over the bars and its number.
Drawing Volta(int number) {
  return {60, 20, [number](QPainter& p) {
            p.setPen(QPen(Qt::black, 1.2, Qt::SolidLine, Qt::FlatCap));
            p.drawLine(QPointF(2.5, 19), QPointF(2.5, 2.5));
            p.drawLine(QPointF(2.5, 2.5), QPointF(58, 2.5));
            p.setFont(SerifFont(12, true, false));
            p.drawText(QPointF(6, 15), QString::number(number) + QLatin1Char('.'));
          }};
}

}  // namespace

std::vector<SymbolPicture> DrawSymbolPictures(int scale) {
  const auto name = [](const char* text) { return QString::fromLatin1(text); };
  const std::pair<QString, Drawing> drawings[] = {
      {name("01fermata.bmp"), Fermata()},
      {name("02breath.bmp"), BreathMark()},
      {name("03accent.bmp"), Accent()},
      {name("04staccato.bmp"), Staccato()},
      {name("05tenuto.bmp"), Tenuto()},
      {name("06trill.bmp"), Text(QStringLiteral("tr"), 18, true)},
      {name("07pp.bmp"), Text(QStringLiteral("pp"), 20, true)},
      {name("08p.bmp"), Text(QStringLiteral("p"), 20, true)},
      {name("09mp.bmp"), Text(QStringLiteral("mp"), 20, true)},
      {name("10mf.bmp"), Text(QStringLiteral("mf"), 20, true)},
      {name("11f.bmp"), Text(QStringLiteral("f"), 20, true)},
      {name("12ff.bmp"), Text(QStringLiteral("ff"), 20, true)},
      {name("13sf.bmp"), Text(QStringLiteral("sf"), 20, true)},
      {name("14crescendo.bmp"), Hairpin(true)},
      {name("15diminuendo.bmp"), Hairpin(false)},
      {name("16cresc.bmp"), Text(QStringLiteral("cresc."), 15, false)},
      {name("17dim.bmp"), Text(QStringLiteral("dim."), 15, false)},
      {name("18rit.bmp"), Text(QStringLiteral("rit."), 15, false)},
      {name("19rall.bmp"), Text(QStringLiteral("rall."), 15, false)},
      {name("20atempo.bmp"), Text(QStringLiteral("a tempo"), 14, false)},
      {name("21segno.bmp"), Segno()},
      {name("22coda.bmp"), Coda()},
      {name("23dc.bmp"), Text(QStringLiteral("D.C."), 16, true, false)},
      {name("24ds.bmp"), Text(QStringLiteral("D.S."), 16, true, false)},
      {name("25fine.bmp"), Text(QStringLiteral("Fine"), 16, true)},
      {name("26volta1.bmp"), Volta(1)},
      {name("27volta2.bmp"), Volta(2)},
      {name("28pedal.bmp"), Text(QStringLiteral("Ped."), 17, true)},
      {name("29release.bmp"), PedalRelease()},
  };
  std::vector<SymbolPicture> pictures;
  for (const auto& [fileName, drawing] : drawings)
    pictures.push_back({fileName, Draw(drawing, scale)});
  return pictures;
}

}  // namespace tarvesh::artwork
