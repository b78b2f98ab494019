#pragma once

#include <QImage>
#include <algorithm>
#include <vector>

#include "page/slurarc.h"
#include "reading/readline.h"

namespace tarvesh::page {
class ScorePage;
}
namespace tarvesh::reading {
class PageReader;
}

namespace tarvesh::lyrics {

class LyricsLayout;
struct LyricLine;

// Room for the words of a line, as a songbook gives it: where two syllables of a row would come
// closer than the layout's syllable gap, the notes under them stand further apart, and the line
// takes the room back from its widest blank runs so it still ends inside the page.
//
// The line is seen as its items (stamped cells, with a note's accidental) and the runs of blank
// columns between them. Room goes into the blank runs between the two syllables' notes, shared
// out so bar lines keep to the middle; between notes joined by duration lines, which have no
// blank run, it goes in before the later note and the lines that cross there run on through it.
// Room changes by whole narrow cells, so every gap keeps its place on the cell grid.
struct RoomItem {
  int left = 0;
  int right = 0;  // one past the item's last column
};

struct RoomSyllable {
  int item = 0;  // among RoomLine::items
  int left = 0;
  int right = 0;  // one past the box's last column
  bool carriesOn = false;
};

struct RoomLine {
  std::vector<RoomItem> items;
  // Between item k and item k + 1: the longest run of blank columns, its left and width (0 when
  // the items join).
  struct Blank {
    int left = 0;
    int width = 0;
  };
  std::vector<Blank> blanks;
  std::vector<std::vector<RoomSyllable>> rows;
  int end = 0;    // one past the line's last ink
  int limit = 0;  // the line must not end past this
};

// One change of the line's width at x: columns > 0 put in, < 0 take out blank columns. The
// changes apply in order, each at x on the line as the changes before it left it.
struct Widening {
  int x = 0;
  int columns = 0;
  bool operator==(const Widening&) const = default;
};

struct RoomPlan {
  std::vector<Widening> steps;
  // False when the page is too narrow for the words: they crowd evenly along the line.
  bool fits = true;
};

// The least room that parts every two syllables of a row by `gap` pixels, or by `hyphenRoom`
// when the first one's word goes on.
RoomPlan PlanRoom(const RoomLine& line, int gap, int hyphenRoom);

// The line at `line.top` with the words `words` drawn by `layout`, as PlanRoom sees it. The
// rows an arc reaches into at the top of the cells count as blank.
RoomLine ReadRoom(const page::ScorePage& page, const reading::ReadLine& line,
                  const LyricsLayout& layout, const LyricLine& words);

// Where column x of the line (a cell's column or the cursor's place) stands after `steps`.
template <class Column>
Column Moved(const std::vector<Widening>& steps, Column x) {
  for (const Widening& step : steps) {
    if (x < Column(step.x)) continue;
    x = step.columns > 0 ? x + Column(step.columns)
                         : std::max(Column(step.x), x + Column(step.columns));
  }
  return x;
}

// Carries out `plan` on `line`: its cells move, its arcs (`arcs`, stretched from `arcPicture`)
// are drawn again between their notes' new places, its chord symbols move with the notes under
// them, and the cursor stays with what it stood before.
void MakeRoom(page::ScorePage& page, const reading::ReadLine& line, const RoomPlan& plan,
              const std::vector<page::SlurArc>& arcs, const QImage& arcPicture);

// Plans and makes the room the words under `line` (as the whole page reads it) need.
RoomPlan MakeRoomForWords(page::ScorePage& page, const reading::PageReader& reader,
                          const QImage& arcPicture, const reading::ReadLine& line,
                          const LyricsLayout& layout, const LyricLine& words);

}  // namespace tarvesh::lyrics
