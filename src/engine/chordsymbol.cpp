#include "engine/chordsymbol.h"

#include <utility>
#include <vector>

#include "engine/glyphengine.h"
#include "engine/linescan.h"
#include "page/chordlayout.h"
#include "page/geometry.h"
#include "page/rounding.h"

namespace tarvesh::engine {

namespace {

using page::RoundHalfEven;
using Layout = page::ChordLayout;

// The eraser mark starts this far left of the anchor, the degree text this far.
constexpr int kEraserOffset = 2;
constexpr int kDegreeOffset = 8;

const QString kEraserMark = QStringLiteral("■");

// A number is written with one blank on either side of its digits.
QString NumberText(int n) {
  return QStringLiteral(" %1 ").arg(n);
}

void MoveTextPosition(page::ScorePage& page, double dx, double dy) {
  page.SetTextPosition(page.TextPosition() + QPointF(dx, dy));
}

}  // namespace

ChordSymbolWriter::ChordSymbolWriter(page::ScorePage& page, const page::EngineState& state,
                                     EngineHost& host)
    : page_(page), state_(state), host_(host) {}

void ChordSymbolWriter::Write(int code) {
  const page::LayoutSettings settings = host_.Settings();
  const float top = page_.CursorTop();
  const int anchor = FindAnchor(RoundHalfEven(top));
  DrawSymbol(code, anchor, top, settings.chordColour);
  MovePastNextBarLine(settings.lineSpacing);
  host_.PlaySoundFile(QStringLiteral("kac.wav"));
}

int ChordSymbolWriter::FindAnchor(int top) const {
  if (state_.ChordAtCursor == 1) return RoundHalfEven(page_.CursorLeft() - 3.0f);
  for (int x = RoundHalfEven(page_.CursorLeft()); x >= page::kLeftMargin; --x) {
    if (IsBarLineAt(page_, x, top)) return x;
  }
  return kDefaultAnchor;
}

void ChordSymbolWriter::DrawEraserMark(int anchor, float top) {
  // The white mark blanks an earlier symbol at the same place before anything is drawn. Its
  // glyph reaches over the anchor's bar line, which must survive: it is part of the music, and
  // this and later symbols find their bars by its ink in row 32.
  const int left = anchor - kEraserOffset;
  page_.SetTextPosition(QPointF(left, top + Layout::kTextTop));
  page_.SetFont(Layout::kDegreePointSize, true);
  page_.SetForeColour(Qt::white);
  const int lineTop = RoundHalfEven(top);
  std::vector<std::pair<int, QImage>> barLines;
  for (int x = left; x < left + page_.TextWidth(kEraserMark); ++x) {
    if (IsBarLineAt(page_, x, lineTop))
      barLines.emplace_back(x, page_.Image().copy(x, lineTop, 1, page::kCellHeight));
  }
  page_.DrawText(kEraserMark);
  for (const auto& [x, column] : barLines)
    page_.CopyCell(column, 0, 0, 1, page::kCellHeight, x, lineTop,
                   page::PictureSource::PageSnapshot);
}

void ChordSymbolWriter::DrawSymbol(int code, int anchor, float top, const QColor& colour) {
  DrawEraserMark(anchor, top);
  if (code == kRestCode) return;

  const int degree = code % 7;
  page_.SetTextPosition(QPointF(anchor - kDegreeOffset, top + Layout::kTextTop));
  page_.SetForeColour(colour);
  page_.DrawText(NumberText(degree + 1));
  // Each piece continues the run: the text position stands after what was drawn last.
  const auto& held = state_.KeypadHeld;
  if (held[5] == 1) {
    MoveTextPosition(page_, -Layout::kSignBackUp, 0);
    page_.DrawText(QStringLiteral("+"));
  }
  if (held[6] == 1) {
    MoveTextPosition(page_, -Layout::kSignBackUp, 0);
    page_.DrawText(QStringLiteral("-"));
  }

  page_.SetFont(Layout::kFigurePointSize, false);
  MoveTextPosition(page_, -Layout::kFigureBackUp, Layout::kFigureDrop);
  // The small figures stay on one text line, each after the one before, so figures and the
  // quality word follow one another without overlapping.
  for (int figure : {7, 9, 4}) {
    if (held[figure] == 1) {
      MoveTextPosition(page_, -Layout::kSmallFigureBackUp, 0);
      page_.DrawText(NumberText(figure));
    }
  }
  if (held[8] == 1 || held[9] == 1) {
    const bool minor = degree == 0 || degree == 3 || degree == 4;
    page_.DrawText(minor ? QStringLiteral("MIN") : QStringLiteral("MAX"));
  }
}

void ChordSymbolWriter::MovePastNextBarLine(int lineSpacing) {
  const int width = page_.Width();
  const int top = RoundHalfEven(page_.CursorTop());
  const int last = RoundHalfEven(static_cast<double>(width));
  for (int x = RoundHalfEven(page_.CursorLeft()); x <= last; ++x) {
    if (!IsBarLineAt(page_, x, top)) continue;
    // The start of the grid cell after the bar line's own grid cell.
    const int left = (x - page::kLeftMargin) / page::kNarrowCell * page::kNarrowCell +
                     page::kLeftMargin + page::kNarrowCell;
    if (left > width - kRightEdgeReserve) {
      page_.SetCursor(kNextLineLeft, page_.CursorTop() + lineSpacing);
    } else {
      page_.SetCursorLeft(left);
    }
    return;
  }
}

}  // namespace tarvesh::engine
