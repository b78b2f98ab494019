#pragma once

#include <QFont>
#include <QLine>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

namespace tarvesh::score {

// The head of the page and the page number: where each text sits on the page and in which font.
// The window's labels and the composed page both take them from here.
inline constexpr double kHeadPoints = 10.5;
inline constexpr double kTitlePoints = 15.75;
inline constexpr double kPageNumberPoints = 14.25;

// The title is centred in a box as wide as the page; this is its box before the first layout.
inline constexpr QRect kTitleStartBox(0, 8, 769, 21);
inline constexpr QPoint kKeyPrefixAt(16, 48);  // "1="
inline constexpr QPoint kKeyAt(32, 48);
inline constexpr QPoint kNumeratorAt(52, 40);
inline constexpr QPoint kDenominatorAt(52, 56);
inline constexpr QPoint kTempoAt(96, 48);
inline constexpr int kCreditTop = 48;
// The time signature's fraction line, both ends drawn.
inline constexpr QLine kFractionLine(48, 56, 64, 56);
// A layout puts the credit's right edge this far inside the page's, and the page number this
// far above the page's bottom, centred.
inline constexpr int kCreditInset = 32;
inline constexpr int kPageNumberRise = 45;

// Where a layout put the texts that follow the page's size.
struct HeadPlacement {
  int titleWidth = kTitleStartBox.width();
  int creditLeft = 0;
  QPoint pageNumberAt;
  bool operator==(const HeadPlacement&) const = default;
};

// The box a caption of `text` takes in `font`: the text's extent on one line.
QSize CaptionSize(const QFont& font, const QString& text);

}  // namespace tarvesh::score
