#include "lyrics/lyricline.h"

namespace tarvesh::lyrics {

bool LyricLine::IsEmpty() const {
  for (const VerseRow& row : rows)
    if (!row.IsEmpty()) return false;
  return true;
}

int LyricLine::RowsUsed() const {
  for (int row = kVerseRows; row > 0; --row)
    if (!rows[size_t(row - 1)].IsEmpty()) return row;
  return 0;
}

}  // namespace tarvesh::lyrics
