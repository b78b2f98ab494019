#pragma once

#include <vector>

#include "reading/readitem.h"

namespace tarvesh::reading {

// A line of the page: its top (the top of its 40-pixel cells) and its items, left to right.
struct ReadLine {
  int top = 0;
  std::vector<ReadItem> items;

  bool operator==(const ReadLine&) const = default;
};

}  // namespace tarvesh::reading
