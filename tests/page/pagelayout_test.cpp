#include <gtest/gtest.h>

#include "page/pagelayout.h"

namespace tarvesh::page {
namespace {

constexpr BarGrid kStored{120, 8};
constexpr BarGrid kMost{240, 16};

// The page grows for a picture larger than it, bars per line first, then bar width; it never
// shrinks.
TEST(GridHolding, GrowsThePageAsLittleAsThePictureNeeds) {
  const struct {
    const char* name;
    QSize picture;
    std::optional<BarGrid> grid;
  } cases[] = {
      {"the stored page", {988, 1397}, kStored},
      {"a smaller picture", {300, 200}, kStored},
      {"one pixel wider", {989, 1397}, BarGrid{120, 9}},
      {"twelve bars of 120", {1468, 2076}, BarGrid{120, 12}},
      {"one pixel higher than twelve bars", {1468, 2077}, BarGrid{120, 13}},
      {"wider than sixteen bars of 120", {2000, 100}, BarGrid{124, 16}},
      {"the largest page", {3868, 5470}, kMost},
      {"wider than the largest page", {3869, 100}, std::nullopt},
      {"higher than the largest page", {100, 5471}, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(GridHolding(c.picture, kStored, kMost), c.grid);
  }
}

}  // namespace
}  // namespace tarvesh::page
