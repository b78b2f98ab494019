#include "print/printpage.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cstdlib>
#include <map>

#include "page/pagefont.h"

namespace tarvesh::print {

namespace {

constexpr int k = kPrintScale;
constexpr QRgb kWhiteRgb = 0x00ffffffu;
// Colours beyond this many on one page share the layer of the nearest colour.
constexpr size_t kMostLayers = 16;
// A duration line drawn larger is as heavy as the print art draws it: a quarter of a pixel more.
constexpr int kLineWeight = k + k / 4;

bool IsPaper(QRgb pixel) {
  return (pixel & 0x00ffffffu) == kWhiteRgb;
}

int ColourDistance(QRgb a, QRgb b) {
  return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
         std::abs(qBlue(a) - qBlue(b));
}

// `text` drawn without smoothing from its text position, in the page font at `scale` times its
// size, as black on white; `origin` is where the text position lies in the picture.
QImage TextPicture(const reading::PageMake::Text& text, int scale, QPoint* origin) {
  QFont font = page::PageFont(text.pointSize, text.bold);
  font.setPixelSize(font.pixelSize() * scale);
  const QFontMetrics metrics(font);
  const int margin = 4 * scale;
  QImage picture(metrics.horizontalAdvance(text.text) + 2 * margin, metrics.height() + 2 * margin,
                 QImage::Format_RGB32);
  picture.fill(Qt::white);
  {
    QPainter painter(&picture);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QPointF(margin, margin + metrics.ascent()), text.text);
  }
  *origin = QPoint(margin, margin);
  return picture;
}

}  // namespace

PrintPage::PrintPage(const page::GlyphAtlas& atlas, std::optional<PrintArt> art)
    : atlas_(atlas), reader_(atlas) {
  if (art) {
    noteArt_ = InkLayer::InkOf(art->Picmode);
    signArt_ = InkLayer::InkOf(art->Picmode2);
    arcArt_ = art->SlurArc;
    hasArt_ = true;
  }
}

InkLayer& PrintPage::LayerFor(QRgb colour) {
  colour |= 0xff000000u;
  for (InkLayer& layer : layers_)
    if (layer.Colour().rgb() == colour) return layer;
  if (layers_.size() < kMostLayers) {
    layers_.emplace_back(QColor::fromRgb(colour), pageSize_ * k);
    return layers_.back();
  }
  return *std::min_element(layers_.begin(), layers_.end(), [&](const auto& a, const auto& b) {
    return ColourDistance(a.Colour().rgb(), colour) < ColourDistance(b.Colour().rgb(), colour);
  });
}

void PrintPage::SetFrom(const QImage& source) {
  const QImage page = source.convertToFormat(QImage::Format_RGB32);
  pageSize_ = page.size();
  layers_.clear();
  layers_.emplace_back(Qt::black, pageSize_ * k);
  const int width = page.width();
  // Page pixels whose ink something drawn larger already shows.
  std::vector<uchar> covered(size_t(width) * page.height(), 0);

  const reading::PageMake make = reader_.Make(page);
  if (hasArt_) {
    for (const reading::PageMake::Stamp& stamp : make.stamps) {
      const bool notes = stamp.atlas == page::PictureSource::NoteAtlas;
      LayArt(notes ? noteArt_ : signArt_, notes ? atlas_.Picmode : atlas_.Picmode2, stamp.cell,
             stamp.at, page, covered);
    }
    for (const page::SlurArc& arc : make.arcs) {
      const QImage small = arc.Stretched(atlas_.SlurArc, 1);
      LayArt(InkLayer::InkOf(arc.Stretched(arcArt_, k)), small, small.rect(), arc.target.topLeft(),
             page, covered);
    }
    for (const QRect& line : make.lines) {
      layers_.front().Fill(QRect(line.x() * k, line.y() * k, line.width() * k, kLineWeight));
      for (int x = line.left(); x <= line.right(); ++x) covered[size_t(line.y()) * width + x] = 1;
    }
  }
  for (const reading::PageMake::Text& text : make.texts) SetText(text, page, covered);

  // What is left, by colour, enlarged with smooth edges.
  std::map<QRgb, std::pair<std::vector<uchar>, QRect>> rest;
  for (int y = 0; y < page.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(page.constScanLine(y));
    for (int x = 0; x < width; ++x) {
      if (IsPaper(row[x]) || covered[size_t(y) * width + x]) continue;
      auto& [mask, bounds] = rest[row[x] | 0xff000000u];
      if (mask.empty()) mask.assign(covered.size(), 0);
      mask[size_t(y) * width + x] = 1;
      bounds |= QRect(x, y, 1, 1);
    }
  }
  for (const auto& [colour, ink] : rest) Enlarge(ink.first, ink.second, LayerFor(colour));
}

void PrintPage::LayArt(const QImage& art, const QImage& small, const QRect& from, QPoint at,
                       const QImage& page, std::vector<uchar>& covered) {
  layers_.front().LayIn(art, QRect(from.topLeft() * k, from.size() * k), at * k);
  const QRect onPage = QRect(at, from.size()) & page.rect();
  for (int y = onPage.top(); y <= onPage.bottom(); ++y) {
    const auto* ink = reinterpret_cast<const QRgb*>(small.constScanLine(from.y() + y - at.y()));
    const auto* row = reinterpret_cast<const QRgb*>(page.constScanLine(y));
    for (int x = onPage.left(); x <= onPage.right(); ++x)
      if (!IsPaper(ink[from.x() + x - at.x()]) && !IsPaper(row[x]))
        covered[size_t(y) * page.width() + x] = 1;
  }
}

void PrintPage::SetText(const reading::PageMake::Text& text, const QImage& page,
                        std::vector<uchar>& covered) {
  QPoint origin;
  const QImage small = TextPicture(text, 1, &origin);
  const QPoint shift = text.position.toPoint() - origin;
  std::optional<QRgb> colour;
  for (int y = 0; y < small.height(); ++y) {
    for (int x = 0; x < small.width(); ++x) {
      const QPoint at = shift + QPoint(x, y);
      if (IsPaper(small.pixel(x, y)) || !page.valid(at) || IsPaper(page.pixel(at))) continue;
      if (!colour) colour = page.pixel(at);
      covered[size_t(at.y()) * page.width() + at.x()] = 1;
    }
  }
  if (!colour) return;
  InkLayer& layer = LayerFor(*colour);
  const QImage large = TextPicture(text, k, &origin);
  const QPoint largeShift = text.position.toPoint() * k - origin;
  for (int y = 0; y < large.height(); ++y)
    for (int x = 0; x < large.width(); ++x)
      if (!IsPaper(large.pixel(x, y))) layer.Set(largeShift.x() + x, largeShift.y() + y);
}

void PrintPage::Enlarge(const std::vector<uchar>& mask, const QRect& bounds,
                        InkLayer& layer) const {
  const int width = pageSize_.width(), height = pageSize_.height();
  const auto ink = [&](int x, int y) -> int {
    return x >= 0 && y >= 0 && x < width && y < height && mask[size_t(y) * width + x];
  };
  // Between the centres of four neighbouring page pixels the ink is interpolated, and the larger
  // pixel is ink where it reaches one half: an edge keeps its place, a step becomes a slope.
  for (int cy = bounds.top() - 1; cy <= bounds.bottom(); ++cy) {
    for (int cx = bounds.left() - 1; cx <= bounds.right(); ++cx) {
      const int a = ink(cx, cy), b = ink(cx + 1, cy), c = ink(cx, cy + 1), d = ink(cx + 1, cy + 1);
      const int sum = a + b + c + d;
      if (sum == 0) continue;
      const int left = cx * k + k / 2, top = cy * k + k / 2;
      if (sum == 4) {
        layer.Fill(QRect(left, top, k, k));
        continue;
      }
      for (int j = 0; j < k; ++j) {
        const double fy = (j + 0.5) / k;
        for (int i = 0; i < k; ++i) {
          const double fx = (i + 0.5) / k;
          const double level = (1 - fy) * ((1 - fx) * a + fx * b) + fy * ((1 - fx) * c + fx * d);
          if (level >= 0.5) layer.Set(left + i, top + j);
        }
      }
    }
  }
}

QImage PrintPage::Region(const QRect& pageRect) const {
  const QRect area = pageRect & QRect(QPoint(0, 0), pageSize_);
  QImage region(area.size() * k, QImage::Format_RGB32);
  region.fill(Qt::white);
  const QPoint origin = area.topLeft() * k;
  for (const InkLayer& layer : layers_) {
    const QRect inked = layer.Inked() & QRect(origin, region.size());
    const QRgb colour = layer.Colour().rgb();
    for (int y = inked.top(); y <= inked.bottom(); ++y) {
      auto* out = reinterpret_cast<QRgb*>(region.scanLine(y - origin.y()));
      for (int x = inked.left(); x <= inked.right(); ++x)
        if (layer.Test(x, y)) out[x - origin.x()] = colour;
    }
  }
  return region;
}

}  // namespace tarvesh::print
