#include "lyrics/lyricsheet.h"

#include <algorithm>

#include "lyrics/itemfollow.h"
#include "page/pagefont.h"

namespace tarvesh::lyrics {

LyricSheet::LyricSheet() : fontFamily_(page::kPageFontFamily) {}

const LyricLine* LyricSheet::LineAt(int top) const {
  for (const LyricLine& line : lines_)
    if (line.top == top) return &line;
  return nullptr;
}

int LyricSheet::RowsUsed() const {
  int rows = 0;
  for (const LyricLine& line : lines_) rows = std::max(rows, line.RowsUsed());
  return rows;
}

LyricLine& LyricSheet::LineFor(int top, const std::vector<NoteItem>& items) {
  auto at = std::lower_bound(lines_.begin(), lines_.end(), top,
                             [](const LyricLine& line, int t) { return line.top < t; });
  if (at != lines_.end() && at->top == top) return *at;
  LyricLine line;
  line.top = top;
  line.items = items;
  return *lines_.insert(at, std::move(line));
}

void LyricSheet::DropIfEmpty(int top) {
  std::erase_if(lines_, [top](const LyricLine& line) { return line.top == top && line.IsEmpty(); });
}

bool LyricSheet::SetSyllable(int top, const std::vector<NoteItem>& items, int row, int item,
                             const QString& text) {
  if (row < 0 || row >= kVerseRows || item < 0 || item >= int(items.size())) return false;
  LyricLine& line = LineFor(top, items);
  line.items = items;
  std::vector<Syllable>& syllables = line.rows[size_t(row)].syllables;
  auto at = std::lower_bound(syllables.begin(), syllables.end(), item,
                             [](const Syllable& s, int i) { return s.item < i; });
  if (at != syllables.end() && at->item == item) {
    if (text.isEmpty())
      syllables.erase(at);
    else
      at->text = text;
  } else if (!text.isEmpty()) {
    syllables.insert(at, Syllable{item, text});
  }
  DropIfEmpty(top);
  return true;
}

bool LyricSheet::SetVerse(int top, const std::vector<NoteItem>& items, int row, VerseRow verse) {
  if (row < 0 || row >= kVerseRows) return false;
  int last = -1;
  for (const Syllable& s : verse.syllables) {
    if (s.text.isEmpty() || s.item <= last || s.item >= int(items.size())) return false;
    last = s.item;
  }
  LyricLine& line = LineFor(top, items);
  line.items = items;
  line.rows[size_t(row)] = std::move(verse);
  DropIfEmpty(top);
  return true;
}

bool LyricSheet::SetNumber(int top, const std::vector<NoteItem>& items, int row,
                           const QString& number) {
  if (row < 0 || row >= kVerseRows) return false;
  LyricLine& line = LineFor(top, items);
  line.items = items;
  line.rows[size_t(row)].number = number;
  DropIfEmpty(top);
  return true;
}

bool LyricSheet::Follow(int top, const std::vector<NoteItem>& items, int editLeft) {
  auto line = std::find_if(lines_.begin(), lines_.end(),
                           [top](const LyricLine& l) { return l.top == top; });
  if (line == lines_.end() || line->items == items) return false;
  const std::vector<int> to = FollowItems(line->items, items, editLeft);
  for (VerseRow& row : line->rows) {
    std::vector<Syllable> kept;
    for (Syllable syllable : row.syllables) {
      const int now = to[size_t(syllable.item)];
      if (now < 0 || items[size_t(now)].kind != reading::ItemKind::kNote) continue;
      syllable.item = now;
      kept.push_back(std::move(syllable));
    }
    row.syllables = std::move(kept);
  }
  line->items = items;
  // A line whose notes are all gone loses its verse numbers too.
  if (items.empty())
    lines_.erase(line);
  else
    DropIfEmpty(top);
  return true;
}

bool LyricSheet::SetFont(const QString& family, double points) {
  if (family.isEmpty() || !(points >= kLeastPoints && points <= kMostPoints)) return false;
  fontFamily_ = family;
  fontPoints_ = points;
  return true;
}

void LyricSheet::SetLines(std::vector<LyricLine> lines) {
  std::erase_if(lines, [](const LyricLine& line) { return line.IsEmpty(); });
  std::sort(lines.begin(), lines.end(),
            [](const LyricLine& a, const LyricLine& b) { return a.top < b.top; });
  lines_ = std::move(lines);
}

}  // namespace tarvesh::lyrics
