#include "reading/inkcomponents.h"

#include <numeric>

namespace tarvesh::reading {

namespace {

int Root(std::vector<int>& parent, int i) {
  while (parent[i] != i) {
    parent[i] = parent[parent[i]];
    i = parent[i];
  }
  return i;
}

void Join(std::vector<int>& parent, int a, int b) {
  a = Root(parent, a);
  b = Root(parent, b);
  if (a == b) return;
  // The smaller index stays the root, so pieces come out in the order of their first run.
  if (a < b) {
    parent[b] = a;
  } else {
    parent[a] = b;
  }
}

}  // namespace

std::vector<InkComponent> FindComponents(const std::vector<InkRun>& runs,
                                         const std::vector<int>& rowStarts) {
  std::vector<int> parent(runs.size());
  std::iota(parent.begin(), parent.end(), 0);
  const int rows = int(rowStarts.size()) - 1;
  for (int y = 1; y < rows; ++y) {
    int a = rowStarts[y - 1];
    const int aEnd = rowStarts[y];
    for (int b = rowStarts[y]; b < rowStarts[y + 1]; ++b) {
      // Runs of the row above that end left of this one (corners touch) never touch a later one.
      while (a < aEnd && runs[a].x1 < runs[b].x0) ++a;
      for (int k = a; k < aEnd && runs[k].x0 <= runs[b].x1; ++k) Join(parent, k, b);
    }
  }
  std::vector<int> index(runs.size(), -1);
  std::vector<InkComponent> components;
  for (int i = 0; i < int(runs.size()); ++i) {
    const int root = Root(parent, i);
    if (index[root] < 0) {
      index[root] = int(components.size());
      components.emplace_back();
    }
    InkComponent& c = components[index[root]];
    const InkRun& run = runs[i];
    c.box = c.box.united(QRect(run.x0, run.y, run.x1 - run.x0, 1));
    c.pixels += run.x1 - run.x0;
    c.runs.push_back(i);
  }
  return components;
}

}  // namespace tarvesh::reading
