#include "lyrics/itemfollow.h"

#include <algorithm>

namespace tarvesh::lyrics {

namespace {

// A match of music is worth more than every hint of place together.
constexpr int kMatchWorth = 1 << 16;

int MatchWorth(const NoteItem& before, const NoteItem& after, int editLeft) {
  if (!before.SameMusic(after)) return -1;
  const bool stayed = before.left == after.left;
  const bool untouched = before.left < editLeft;
  return kMatchWorth + (stayed == untouched ? 1 : 0);
}

}  // namespace

std::vector<int> FollowItems(const std::vector<NoteItem>& before,
                             const std::vector<NoteItem>& after, int editLeft) {
  const size_t n = before.size();
  const size_t m = after.size();
  // best[i][j]: the most the items from i of `before` and from j of `after` can be worth.
  std::vector<int> best((n + 1) * (m + 1), 0);
  auto at = [m](size_t i, size_t j) { return i * (m + 1) + j; };
  for (size_t i = n; i-- > 0;) {
    for (size_t j = m; j-- > 0;) {
      int value = std::max(best[at(i + 1, j)], best[at(i, j + 1)]);
      const int worth = MatchWorth(before[i], after[j], editLeft);
      if (worth > 0) value = std::max(value, worth + best[at(i + 1, j + 1)]);
      best[at(i, j)] = value;
    }
  }

  std::vector<int> to(n, -1);
  // Items between two matches that changed in place follow one for one.
  auto followGap = [&to](size_t fromI, size_t i, size_t fromJ, size_t j) {
    for (size_t k = 0; fromI + k < i && fromJ + k < j; ++k) to[fromI + k] = int(fromJ + k);
  };
  size_t i = 0, j = 0, gapI = 0, gapJ = 0;
  while (i < n && j < m) {
    const int worth = MatchWorth(before[i], after[j], editLeft);
    if (worth > 0 && best[at(i, j)] == worth + best[at(i + 1, j + 1)]) {
      followGap(gapI, i, gapJ, j);
      to[i] = int(j);
      gapI = ++i;
      gapJ = ++j;
    } else if (best[at(i + 1, j)] >= best[at(i, j + 1)]) {
      ++i;
    } else {
      ++j;
    }
  }
  followGap(gapI, n, gapJ, m);
  return to;
}

}  // namespace tarvesh::lyrics
