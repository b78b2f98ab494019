#include "reading/chordreader.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <bit>

#include "page/chordlayout.h"
#include "page/pagefont.h"

namespace tarvesh::reading {

namespace {

using page::ChordLayout;

constexpr int kSignBackUp = ChordLayout::kSignBackUp;
constexpr int kFigureBackUp = ChordLayout::kFigureBackUp;
constexpr int kSmallFigureBackUp = ChordLayout::kSmallFigureBackUp;
// Band rows of the degree's and the figures' text tops.
constexpr int kDegreeRow = ChordLayout::kTextTop - ChordReader::kBandTop;
constexpr int kFigureRow = kDegreeRow + ChordLayout::kFigureDrop;
// Room around a drawn text for strokes that reach past its cell.
constexpr int kMargin = 8;

QString NumberText(int n) {
  return QStringLiteral(" %1 ").arg(n);
}

}  // namespace

ChordReader::ChordReader() {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
  const double big = ChordLayout::kDegreePointSize;
  const double small = ChordLayout::kFigurePointSize;
  for (int degree = 1; degree <= 7; ++degree)
    degrees_.push_back(Draw(NumberText(degree), big, true, kDegreeRow));
  plus_ = Draw(QStringLiteral("+"), big, true, kDegreeRow);
  minus_ = Draw(QStringLiteral("-"), big, true, kDegreeRow);
  for (int figure : {7, 9, 4})
    figures_.push_back(Draw(NumberText(figure), small, false, kFigureRow));
  min_ = Draw(QStringLiteral("MIN"), small, false, kFigureRow);
  max_ = Draw(QStringLiteral("MAX"), small, false, kFigureRow);
}

ChordReader::Text ChordReader::Draw(const QString& text, double pointSize, bool bold, int row) {
  const QFont font = page::PageFont(pointSize, bold);
  const QFontMetrics metrics(font);
  Text drawn;
  drawn.text = text.trimmed();
  drawn.drawn = text;
  drawn.pointSize = pointSize;
  drawn.bold = bold;
  drawn.row = row;
  drawn.advance = metrics.horizontalAdvance(text);
  QImage image(drawn.advance + 2 * kMargin, metrics.height() + 2 * kMargin, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QPointF(kMargin, kMargin + metrics.ascent()), text);
  }
  int first = -1;
  for (int x = 0; x < image.width(); ++x) {
    ColumnMask column = 0;
    for (int y = 0; y < image.height(); ++y) {
      const int bandRow = y - kMargin + row;
      if (bandRow < 0 || bandRow >= kWindowRows) continue;
      if ((image.pixel(x, y) & 0x00ffffffu) != 0x00ffffffu) column |= ColumnMask{1} << bandRow;
    }
    if (column == 0 && first < 0) continue;
    if (first < 0) first = x;
    drawn.columns.push_back(column);
    drawn.inkCount += std::popcount(column);
  }
  while (!drawn.columns.empty() && drawn.columns.back() == 0) drawn.columns.pop_back();
  drawn.dx = first - kMargin;
  return drawn;
}

bool ChordReader::Covers(const std::vector<ColumnMask>& band, const Text& text, int x) const {
  if (text.columns.empty()) return false;
  const int left = x + text.dx;
  if (left < 0 || left + int(text.columns.size()) > int(band.size())) return false;
  for (size_t i = 0; i < text.columns.size(); ++i)
    if ((band[left + i] & text.columns[i]) != text.columns[i]) return false;
  return true;
}

std::vector<ChordReader::Chord> ChordReader::Read(const std::vector<ColumnMask>& band,
                                                  int lineTop) const {
  struct Found {
    int degree;
    int x;
  };
  std::vector<Found> found;
  for (int d = 0; d < int(degrees_.size()); ++d) {
    const Text& text = degrees_[d];
    for (int x = -text.dx; x + text.dx + int(text.columns.size()) <= int(band.size()); ++x)
      if (Covers(band, text, x)) found.push_back({d, x});
  }
  // The digit with the most ink first: a smaller one can lie inside a larger one's strokes.
  std::stable_sort(found.begin(), found.end(), [&](const Found& a, const Found& b) {
    return degrees_[a.degree].inkCount > degrees_[b.degree].inkCount;
  });
  std::vector<ColumnMask> taken(band.size(), 0);
  std::vector<Chord> chords;
  for (const Found& f : found) {
    const Text& degree = degrees_[f.degree];
    const int left = f.x + degree.dx;
    bool free = true;
    for (size_t i = 0; i < degree.columns.size() && free; ++i)
      free = (taken[left + i] & degree.columns[i]) == 0;
    if (!free) continue;

    Chord chord;
    chord.item.kind = ItemKind::kChord;
    chord.left = band.size();
    int right = 0;
    std::vector<std::pair<int, const Text*>> pieces{{f.x, &degree}};
    int x = f.x + degree.advance;
    for (const Text* sign : {&plus_, &minus_}) {
      if (!Covers(band, *sign, x - kSignBackUp)) continue;
      pieces.push_back({x - kSignBackUp, sign});
      x += sign->advance - kSignBackUp;
    }
    x -= kFigureBackUp;
    for (const Text& figure : figures_) {
      if (!Covers(band, figure, x - kSmallFigureBackUp)) continue;
      pieces.push_back({x - kSmallFigureBackUp, &figure});
      x += figure.advance - kSmallFigureBackUp;
    }
    const bool minor = f.degree == 0 || f.degree == 3 || f.degree == 4;
    const Text& quality = minor ? min_ : max_;
    if (Covers(band, quality, x)) pieces.push_back({x, &quality});

    int top = kWindowRows, bottom = -1;
    for (const auto& [at, text] : pieces) {
      chord.item.text += text->text;
      chord.texts.push_back(
          {text->drawn, text->pointSize, text->bold, QPointF(at, lineTop + kBandTop + text->row)});
      const int from = at + text->dx;
      chord.left = std::min(chord.left, from);
      right = std::max(right, from + int(text->columns.size()));
      for (size_t i = 0; i < text->columns.size(); ++i) {
        taken[from + i] |= text->columns[i];
        top = std::min(top, std::countr_zero(text->columns[i] | (ColumnMask{1} << 63)));
        if (text->columns[i]) bottom = std::max(bottom, 63 - std::countl_zero(text->columns[i]));
      }
    }
    chord.footprint.assign(size_t(right - chord.left), 0);
    for (const auto& [at, text] : pieces)
      for (size_t i = 0; i < text->columns.size(); ++i)
        chord.footprint[at + text->dx - chord.left + i] |= text->columns[i];
    chord.item.box =
        QRect(chord.left, lineTop + kBandTop + top, right - chord.left, bottom - top + 1);
    chords.push_back(std::move(chord));
  }
  return chords;
}

}  // namespace tarvesh::reading
