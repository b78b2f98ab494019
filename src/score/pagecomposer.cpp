#include "score/pagecomposer.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>

#include "lyrics/lyricslayout.h"
#include "page/pagefont.h"
#include "page/picturefile.h"
#include "print/printart.h"
#include "score/pagehead.h"

namespace tarvesh::score {

namespace {

using Kind = ScoreDocument::OverlayKind;

const QColor kSelectedRed(255, 0, 0);
// A caption is drawn left-aligned and centred vertically in its box unless it says otherwise.
constexpr Qt::Alignment kCaptionAlignment = Qt::AlignLeft | Qt::AlignVCenter;

void DrawCaption(QPainter& painter, const QFont& font, const QColor& colour, const QRect& box,
                 Qt::Alignment alignment, const QString& text) {
  if (text.isEmpty()) return;
  painter.setFont(font);
  painter.setPen(colour);
  painter.drawText(box, int(alignment), text);
}

// A caption in a box of its own size at `at`.
void DrawCaptionAt(QPainter& painter, const QFont& font, const QColor& colour, QPoint at,
                   Qt::Alignment alignment, const QString& text) {
  DrawCaption(painter, font, colour, QRect(at, CaptionSize(font, text)), alignment, text);
}

}  // namespace

QImage PageComposer::Picture(const QString& path) {
  auto found = pictures_.find(path);
  if (found == pictures_.end()) found = pictures_.insert(path, page::ReadPictureFile(path));
  return *found;
}

QImage PageComposer::PrintPicture(const QString& path, QSize size, const Options& options) {
  if (options.printSymbols.isEmpty()) return QImage();
  const QImage large = Picture(QDir(options.printSymbols).filePath(QFileInfo(path).fileName()));
  return large.size() == size * print::kPrintScale ? large : QImage();
}

QImage PageComposer::Compose(const ScoreDocument& document, const Options& options) {
  QImage view = document.Page().Image().copy();
  QPainter painter(&view);
  DrawOver(painter, document, options);
  return view;
}

void PageComposer::DrawOver(QPainter& painter, const ScoreDocument& document,
                            const Options& options) {
  const auto text = [&document](ScoreDocument::HeadText which) { return document.Text(which); };
  const HeadPlacement& placed = document.Placement();
  lyrics::LyricsLayout(document.Lyrics()).Draw(painter);

  const QRect titleBox(kTitleStartBox.topLeft(), QSize(placed.titleWidth, kTitleStartBox.height()));
  if (options.opaqueTitle) painter.fillRect(titleBox, Qt::white);
  DrawCaption(painter, page::PageFont(kTitlePoints, false), Qt::black, titleBox,
              Qt::AlignHCenter | Qt::AlignTop, text(ScoreDocument::kTitle));

  const QFont head = page::PageFont(kHeadPoints, false);
  DrawCaptionAt(painter, head, Qt::black, kKeyPrefixAt, kCaptionAlignment, QStringLiteral("1="));
  DrawCaptionAt(painter, head, Qt::black, kKeyAt, kCaptionAlignment, text(ScoreDocument::kKey));
  DrawCaptionAt(painter, head, Qt::black, kNumeratorAt, kCaptionAlignment,
                text(ScoreDocument::kNumerator));
  DrawCaptionAt(painter, head, Qt::black, kDenominatorAt, kCaptionAlignment,
                text(ScoreDocument::kDenominator));
  DrawCaptionAt(painter, head, Qt::black, QPoint(placed.creditLeft, kCreditTop), kCaptionAlignment,
                text(ScoreDocument::kCredit));
  painter.setPen(Qt::black);
  painter.drawLine(kFractionLine);
  DrawCaptionAt(painter, head, Qt::black, kTempoAt, kCaptionAlignment, text(ScoreDocument::kTempo));
  DrawCaptionAt(painter, page::PageFont(kPageNumberPoints, false), Qt::black, placed.pageNumberAt,
                Qt::AlignHCenter | Qt::AlignTop, text(ScoreDocument::kPageNumberText));

  const auto selected = [&options](Kind kind, int slot) {
    return options.selected && options.selected->first == kind && options.selected->second == slot;
  };
  const QFont labelFont = QGuiApplication::font();
  for (int slot = 0; slot < ScoreDocument::kOverlaySlots; ++slot) {
    const ScoreDocument::Overlay& label = document.OverlayAt(Kind::kTextLabel, slot);
    if (!label.shown) continue;
    DrawCaptionAt(painter, labelFont, selected(Kind::kTextLabel, slot) ? kSelectedRed : Qt::black,
                  label.at, kCaptionAlignment, label.content);
  }
  for (int slot = 0; slot < ScoreDocument::kOverlaySlots; ++slot) {
    const ScoreDocument::Overlay& symbol = document.OverlayAt(Kind::kSymbolPicture, slot);
    if (!symbol.shown || symbol.content.isEmpty()) continue;
    DrawSymbol(painter, symbol, selected(Kind::kSymbolPicture, slot), options);
  }
}

void PageComposer::DrawSymbol(QPainter& painter, const ScoreDocument::Overlay& symbol, bool framed,
                              const Options& options) {
  const QImage picture = Picture(symbol.content);
  if (picture.isNull()) return;
  // A selected picture sits inside a one-pixel black frame.
  const QRect box(symbol.at + (framed ? QPoint(1, 1) : QPoint(0, 0)), picture.size());
  const QImage large = PrintPicture(symbol.content, picture.size(), options);
  if (large.isNull()) {
    painter.drawImage(box.topLeft(), picture);
  } else {
    painter.drawImage(QRectF(box), large);
  }
  if (!framed) return;
  const QRect frame = box.adjusted(-1, -1, 1, 1);
  painter.fillRect(frame.left(), frame.top(), frame.width(), 1, Qt::black);
  painter.fillRect(frame.left(), frame.bottom(), frame.width(), 1, Qt::black);
  painter.fillRect(frame.left(), frame.top(), 1, frame.height(), Qt::black);
  painter.fillRect(frame.right(), frame.top(), 1, frame.height(), Qt::black);
}

}  // namespace tarvesh::score
