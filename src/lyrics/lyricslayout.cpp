#include "lyrics/lyricslayout.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <climits>
#include <cmath>

#include "lyrics/syllablestarts.h"
#include "page/geometry.h"
#include "page/rounding.h"

namespace tarvesh::lyrics {

namespace {

const QString kHyphen = QStringLiteral("-");
// A one-character syllable's box, for the cursor where the next one goes.
const QString kSlotSample = QStringLiteral("字");
constexpr int kLeastGap = 2;

// A syllable that carries its word on to the next one: "Glo-", never a lone "-".
bool CarriesOn(const QString& text) {
  return text.size() > 1 && text.endsWith(kHyphen);
}

}  // namespace

LyricsLayout::LyricsLayout(const LyricSheet& sheet) : sheet_(sheet), font_(sheet.FontFamily()) {
  font_.setPixelSize(page::RoundHalfEven(sheet.FontPoints() * 96.0 / 72.0));
  font_.setStyleStrategy(QFont::NoAntialias);
  const QFontMetrics metrics(font_);
  rowHeight_ = metrics.height() + kRowGap;
  ascent_ = metrics.ascent();
  gap_ = std::max(kLeastGap, font_.pixelSize() / 4);
  hyphenWidth_ = metrics.horizontalAdvance(kHyphen);
}

int LyricsLayout::RowTop(int lineTop, int row) const {
  return lineTop + page::kCellHeight + kRowsBelow + row * rowHeight_;
}

int LyricsLayout::SpacingFor(int rows) const {
  return page::kCellHeight + kRowsBelow + rows * rowHeight_;
}

QRect LyricsLayout::Centred(double centre, int top, const QString& text) const {
  const int width = QFontMetrics(font_).horizontalAdvance(text);
  return QRect(int(std::floor(centre - width / 2.0 + 0.5)), top, width, rowHeight_ - kRowGap);
}

QRect LyricsLayout::SlotBox(const NoteItem& item, int lineTop, int row) const {
  return Centred(item.Centre(), RowTop(lineTop, row), kSlotSample);
}

std::vector<LyricsLayout::Placed> LyricsLayout::Place() const {
  std::vector<Placed> placed;
  for (const LyricLine& line : sheet_.Lines()) {
    for (int r = 0; r < kVerseRows; ++r) {
      const VerseRow& row = line.rows[size_t(r)];
      const int top = RowTop(line.top, r);
      std::vector<Placed> syllables;
      for (const Syllable& s : row.syllables) {
        const QString shown = CarriesOn(s.text) ? s.text.chopped(1) : s.text;
        syllables.push_back({Kind::kSyllable, line.top, r, s.item, shown,
                             Centred(line.items[size_t(s.item)].Centre(), top, shown)});
      }
      if (!row.number.isEmpty()) {
        const int firstLeft = !syllables.empty()    ? syllables.front().box.left()
                              : !line.items.empty() ? line.items.front().left
                                                    : page::kLeftMargin;
        const int width = QFontMetrics(font_).horizontalAdvance(row.number);
        // Never past the page's left edge, though it then comes closer to the syllable.
        const int left = std::max(kNumberInset, firstLeft - kNumberGap - width);
        placed.push_back({Kind::kNumber, line.top, r, -1, row.number,
                          QRect(left, top, width, rowHeight_ - kRowGap)});
      }
      const std::vector<int> starts = SyllableStarts(line.items);
      for (size_t i = 0; i < syllables.size(); ++i) {
        placed.push_back(syllables[i]);
        if (!CarriesOn(row.syllables[i].text)) {
          const int nextLeft = i + 1 < syllables.size() ? syllables[i + 1].box.left() : INT_MAX;
          if (auto extender = Extender(line, starts, syllables[i], nextLeft))
            placed.push_back(*extender);
          continue;
        }
        const int from = syllables[i].box.right() + 1;
        const double centre = i + 1 < syllables.size() ? (from + syllables[i + 1].box.left()) / 2.0
                                                       : from + kNumberGap + hyphenWidth_ / 2.0;
        placed.push_back({Kind::kHyphen, line.top, r, syllables[i].item, kHyphen,
                          Centred(centre, top, kHyphen)});
      }
    }
  }
  return placed;
}

std::optional<LyricsLayout::Placed> LyricsLayout::Extender(const LyricLine& line,
                                                           const std::vector<int>& starts,
                                                           const Placed& syllable,
                                                           int nextLeft) const {
  if (syllable.text.isEmpty() || IsOwnSyllable(syllable.text.toUcs4().back())) return std::nullopt;
  const auto next = std::upper_bound(starts.begin(), starts.end(), syllable.item);
  const int end = next == starts.end() ? int(line.items.size()) : *next;
  // The last note the syllable is sung on.
  int last = -1;
  for (int i = syllable.item + 1; i < end; ++i)
    if (line.items[size_t(i)].kind == reading::ItemKind::kNote) last = i;
  if (last < 0) return std::nullopt;
  const NoteItem& note = line.items[size_t(last)];
  const int left = syllable.box.right() + 1 + gap_;
  const int right = std::min(note.left + note.width, nextLeft - gap_);
  if (right - left < gap_) return std::nullopt;
  return Placed{Kind::kExtender, syllable.lineTop,
                syllable.row,    syllable.item,
                QString(),       QRect(left, syllable.box.top() + ascent_, right - left, 1)};
}

void LyricsLayout::Draw(QPainter& painter) const {
  painter.setFont(font_);
  painter.setPen(Qt::black);
  for (const Placed& p : Place()) {
    if (p.kind == Kind::kExtender)
      painter.fillRect(p.box, Qt::black);
    else
      painter.drawText(QPoint(p.box.left(), p.box.top() + ascent_), p.text);
  }
}

}  // namespace tarvesh::lyrics
