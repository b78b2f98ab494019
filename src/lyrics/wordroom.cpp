#include "lyrics/wordroom.h"

#include <QRect>
#include <algorithm>
#include <climits>
#include <tuple>
#include <utility>

#include "engine/justification.h"
#include "lyrics/lyricline.h"
#include "lyrics/lyricslayout.h"
#include "page/geometry.h"
#include "page/scorepage.h"
#include "reading/pagereader.h"

namespace tarvesh::lyrics {

namespace {

constexpr int kStep = page::kNarrowCell;
// A blank run keeps a cell, as between two quarter notes typed one after the other.
constexpr int kLeastBlank = page::kNarrowCell;
constexpr int kWhite = 0xffffff;

int RoundUpToStep(int columns) {
  return (columns + kStep - 1) / kStep * kStep;
}

// Two syllables of a row, on items `from` < `to`, that want `need` more columns between them.
struct Pair {
  int from;
  int to;
  int need;
};

std::vector<Pair> Pairs(const RoomLine& line, int gap, int hyphenRoom) {
  std::vector<Pair> pairs;
  for (const auto& row : line.rows) {
    for (size_t i = 1; i < row.size(); ++i) {
      const RoomSyllable& a = row[i - 1];
      const RoomSyllable& b = row[i];
      if (a.item >= b.item) continue;
      const int wanted = a.carriesOn ? hyphenRoom : gap;
      pairs.push_back({a.item, b.item, wanted - (b.left - a.right)});
    }
  }
  std::sort(pairs.begin(), pairs.end(), [](const Pair& a, const Pair& b) {
    return std::tie(a.to, a.from) < std::tie(b.to, b.from);
  });
  return pairs;
}

// Columns put in (or taken out) between the items of a pair.
int Between(const std::vector<int>& delta, const Pair& pair) {
  int sum = 0;
  for (int k = pair.from; k < pair.to; ++k) sum += delta[size_t(k)];
  return sum;
}

}  // namespace

RoomPlan PlanRoom(const RoomLine& line, int gap, int hyphenRoom) {
  RoomPlan plan;
  const int n = int(line.items.size());
  if (n < 2) return plan;
  std::vector<int> delta(size_t(n - 1), 0);
  const std::vector<Pair> pairs = Pairs(line, gap, hyphenRoom);

  // Left to right, each pair gets what it still lacks, shared out over its blank runs from the
  // right, or before its later note when the notes join.
  for (const Pair& pair : pairs) {
    const int lacking = pair.need - Between(delta, pair);
    if (lacking <= 0) continue;
    std::vector<int> blanks;
    for (int k = pair.from; k < pair.to; ++k)
      if (line.blanks[size_t(k)].width > 0) blanks.push_back(k);
    if (blanks.empty()) blanks.push_back(pair.to - 1);
    const int cells = RoundUpToStep(lacking) / kStep;
    const int count = int(blanks.size());
    for (int i = 0; i < count; ++i) {
      const int share = cells / count + (count - 1 - i < cells % count ? 1 : 0);
      delta[size_t(blanks[size_t(i)])] += share * kStep;
    }
  }

  // What passes the line's limit comes back out of the widest blank runs no pair needs.
  int put = 0;
  for (int d : delta) put += d;
  int excess = line.end + put - std::max(line.limit, line.end);
  std::vector<int> taken;
  while (excess > 0) {
    int best = -1;
    int bestWidth = 0;
    for (int k = 0; k < n - 1; ++k) {
      const int width = line.blanks[size_t(k)].width + delta[size_t(k)];
      if (delta[size_t(k)] > 0 || width - kStep < kLeastBlank || width < bestWidth) continue;
      const bool spare = std::all_of(pairs.begin(), pairs.end(), [&](const Pair& p) {
        return k < p.from || k >= p.to || Between(delta, p) - kStep >= p.need;
      });
      if (spare) {
        best = k;
        bestWidth = width;
      }
    }
    if (best < 0) break;
    delta[size_t(best)] -= kStep;
    excess -= kStep;
    taken.push_back(best);
  }
  // Still too wide: the words crowd, as evenly as the line allows. A cell at a time comes out
  // of the place whose syllables have the most to spare (then the widest, then the later), room
  // put in or blank alike, never a blank's last cell; room made for words typed earlier gives
  // its share too. Blank taken out for more than what is left goes back.
  while (excess > 0) {
    int best = -1;
    std::pair<int, int> bestWorth;  // what the pairs over it spare, its width
    for (int k = 0; k < n - 1; ++k) {
      const int width = line.blanks[size_t(k)].width + delta[size_t(k)];
      if (delta[size_t(k)] <= 0 && width - kStep < kLeastBlank) continue;
      int spare = INT_MAX;
      for (const Pair& p : pairs)
        if (p.from <= k && k < p.to) spare = std::min(spare, Between(delta, p) - p.need);
      const std::pair<int, int> worth{spare, width};
      if (best < 0 || worth >= bestWorth) {
        best = k;
        bestWorth = worth;
      }
    }
    if (best < 0) break;
    delta[size_t(best)] -= kStep;
    excess -= kStep;
    plan.fits = false;
  }
  for (; !taken.empty() && excess + kStep <= 0; taken.pop_back()) {
    delta[size_t(taken.back())] += kStep;
    excess += kStep;
  }

  // Taken out first, so nothing is pushed past the page's edge; then put in, right to left.
  // Each place is on the line as the steps before left it.
  const auto placeOf = [&](int k) {
    const RoomLine::Blank& blank = line.blanks[size_t(k)];
    if (blank.width == 0) return line.items[size_t(k + 1)].left;
    const int taken = std::max(0, -delta[size_t(k)]);
    return blank.left + (blank.width - taken) / 2;
  };
  // Columns taken out left of each place.
  std::vector<int> removedBefore(delta.size(), 0);
  for (size_t k = 1; k < delta.size(); ++k)
    removedBefore[k] = removedBefore[k - 1] + std::max(0, -delta[k - 1]);
  for (int k = n - 2; k >= 0; --k)
    if (delta[size_t(k)] < 0) plan.steps.push_back({placeOf(k), delta[size_t(k)]});
  for (int k = n - 2; k >= 0; --k)
    if (delta[size_t(k)] > 0)
      plan.steps.push_back({placeOf(k) - removedBefore[size_t(k)], delta[size_t(k)]});
  return plan;
}

RoomLine ReadRoom(const page::ScorePage& page, const reading::ReadLine& line,
                  const LyricsLayout& layout, const LyricLine& words) {
  RoomLine room;
  const int top = line.top;
  const QRect band(0, top + page::SlurArc::kBottomDrop, page.Width(),
                   page::kCellHeight - page::SlurArc::kBottomDrop);
  const auto blankColumn = [&](int x) {
    for (int y = band.top(); y <= band.bottom(); ++y)
      if (page.ReadPixel(x, y) != kWhite) return false;
    return true;
  };

  // Items in the line's band, overlapping ones taken as one; each read item's place among them.
  std::vector<std::pair<int, int>> spans;  // left, right; with the read item's index
  std::vector<int> order;
  for (size_t i = 0; i < line.items.size(); ++i) {
    const reading::ReadItem& item = line.items[i];
    // Chord symbols are lifted off while the cells move and put back over their notes.
    if (item.kind == reading::ItemKind::kChord) continue;
    QRect box = item.box;
    if (!item.accidentalBox.isNull()) box |= item.accidentalBox;
    if (!box.intersects(band)) continue;
    spans.push_back({box.left(), box.right() + 1});
    order.push_back(int(i));
  }
  std::vector<int> index(spans.size());
  for (size_t i = 0; i < index.size(); ++i) index[i] = int(i);
  std::sort(index.begin(), index.end(), [&](int a, int b) { return spans[a] < spans[b]; });
  std::vector<int> groupOf(line.items.size(), -1);
  for (int i : index) {
    const auto [left, right] = spans[size_t(i)];
    if (room.items.empty() || left >= room.items.back().right)
      room.items.push_back({left, right});
    else
      room.items.back().right = std::max(room.items.back().right, right);
    groupOf[size_t(order[size_t(i)])] = int(room.items.size()) - 1;
  }

  for (size_t k = 0; k + 1 < room.items.size(); ++k) {
    RoomLine::Blank longest;
    int runLeft = room.items[k].right;
    for (int x = room.items[k].right; x <= room.items[k + 1].left; ++x) {
      if (x < room.items[k + 1].left && blankColumn(x)) continue;
      if (x - runLeft > longest.width) longest = {runLeft, x - runLeft};
      runLeft = x + 1;
    }
    room.blanks.push_back(longest);
  }

  room.rows.resize(kVerseRows);
  std::vector<int> numberWidths(kVerseRows, 0);
  for (const LyricsLayout::Placed& placed : layout.Place()) {
    if (placed.lineTop != top) continue;
    if (placed.kind == LyricsLayout::Kind::kNumber)
      numberWidths[size_t(placed.row)] = placed.box.width();
    if (placed.kind != LyricsLayout::Kind::kSyllable) continue;
    const int group =
        placed.item >= 0 && placed.item < int(groupOf.size()) ? groupOf[size_t(placed.item)] : -1;
    if (group < 0) continue;
    const VerseRow& verse = words.rows[size_t(placed.row)];
    const auto syllable = std::find_if(verse.syllables.begin(), verse.syllables.end(),
                                       [&](const Syllable& s) { return s.item == placed.item; });
    const bool carriesOn = syllable != verse.syllables.end() && syllable->text.size() > 1 &&
                           syllable->text.endsWith(QLatin1Char('-'));
    room.rows[size_t(placed.row)].push_back(
        {group, placed.box.left(), placed.box.right() + 1, carriesOn});
  }

  // A verse number stands inside the page left of its row's first syllable: the line's start is
  // an item of its own with the number over it, and room for the number goes in before the
  // line's first item, never out of the margin.
  if (std::any_of(numberWidths.begin(), numberWidths.end(), [](int w) { return w > 0; }) &&
      !room.items.empty()) {
    room.items.insert(room.items.begin(), {0, 0});
    room.blanks.insert(room.blanks.begin(), {0, 0});
    for (size_t r = 0; r < room.rows.size(); ++r) {
      for (RoomSyllable& s : room.rows[r]) ++s.item;
      const int width = numberWidths[r];
      if (width > 0)
        room.rows[r].insert(room.rows[r].begin(), {0, LyricsLayout::kNumberInset,
                                                   LyricsLayout::kNumberInset + width, false});
    }
  }

  room.end = room.items.empty() ? page::kLeftMargin : room.items.back().right;
  for (int x = page.Width() - 1; x >= room.end; --x) {
    if (!blankColumn(x)) {
      room.end = x + 1;
      break;
    }
  }
  room.limit = page.Width() - engine::kLineEndInset;
  return room;
}

namespace {

// Moves the line's cells for one step and whitens what the step leaves.
void Widen(page::ScorePage& page, int top, const Widening& step) {
  const int width = page.Width();
  const int x = step.x;
  if (step.columns < 0) {
    const int columns = -step.columns;
    page.MoveStrip(x + columns, top, width - x - columns, page::kCellHeight, x, top);
    page.FillRect(QRect(width - columns, top, columns, page::kCellHeight), Qt::white);
    return;
  }
  const int columns = step.columns;
  // Duration lines that cross x run on through the new columns.
  std::vector<int> crossing;
  for (int row = 0; row < page::kDurationLines; ++row) {
    const int y = top + page::kDurationLineRow + row * page::kDurationLineStep;
    bool crosses = true;
    for (int dx = -2; dx < 2 && crosses; ++dx) crosses = page.IsBlack(x + dx, y);
    if (crosses) crossing.push_back(y);
  }
  page.MoveStrip(x, top, width - x - columns, page::kCellHeight, x + columns, top);
  page.FillRect(QRect(x, top, columns, page::kCellHeight), Qt::white);
  for (int y : crossing) page.FillRect(QRect(x, y, columns, 1), Qt::black);
}

}  // namespace

void MakeRoom(page::ScorePage& page, const reading::ReadLine& line, const RoomPlan& plan,
              const std::vector<page::SlurArc>& arcs, const QImage& arcPicture) {
  if (plan.steps.empty()) return;
  const int top = line.top;
  // Chord symbols are lifted off and arcs taken away before the cells move.
  struct Lifted {
    QRect box;
    QImage ink;
  };
  std::vector<Lifted> chords;
  for (const reading::ReadItem& item : line.items) {
    if (item.kind != reading::ItemKind::kChord) continue;
    chords.push_back({item.box, page.Image().copy(item.box)});
    page.FillRect(item.box, Qt::white);
  }
  for (const page::SlurArc& arc : arcs) page.FillRect(arc.target, Qt::white);

  for (const Widening& step : plan.steps) Widen(page, top, step);
  if (int(page.CursorTop()) == top) page.SetCursorLeft(Moved(plan.steps, page.CursorLeft()));

  // An arc's ends lie over its notes' middles; half an arc keeps its end at the line's end or
  // start.
  using Part = page::SlurArc::Part;
  for (const page::SlurArc& arc : arcs) {
    const QRect& was = arc.target;
    const int left = arc.part == Part::kRightHalf ? was.left() : Moved(plan.steps, was.left());
    const int right = arc.part == Part::kLeftHalf ? was.right() : Moved(plan.steps, was.right());
    const page::SlurArc moved = page::SlurArc::Over(arc.part, left, right + 1 - left, top);
    page.StretchCopy(arcPicture, page::SlurArc::Source(arc.part), moved.target,
                     page::PictureSource::SlurArc);
  }
  for (const Lifted& chord : chords) {
    const int left = Moved(plan.steps, chord.box.left());
    page.CopyCell(chord.ink, 0, 0, chord.box.width(), chord.box.height(), left, chord.box.top());
  }
}

RoomPlan MakeRoomForWords(page::ScorePage& page, const reading::PageReader& reader,
                          const QImage& arcPicture, const reading::ReadLine& line,
                          const LyricsLayout& layout, const LyricLine& words) {
  RoomPlan plan =
      PlanRoom(ReadRoom(page, line, layout, words), layout.SyllableGap(), layout.HyphenRoom());
  if (plan.steps.empty()) return plan;
  std::vector<page::SlurArc> arcs;
  for (const page::SlurArc& arc : reader.MakeLineAt(page.Image(), line.top).arcs)
    if (arc.target.bottom() + 1 == line.top + page::SlurArc::kBottomDrop) arcs.push_back(arc);
  MakeRoom(page, line, plan, arcs, arcPicture);
  return plan;
}

}  // namespace tarvesh::lyrics
