#pragma once

namespace tarvesh::kit {

// Where controls wait out of sight while they are not used: the pickers and the atlas pictures
// far above the window, the work pictures below it, the eraser picture above it, the export
// picture right of it, and the eraser mark just off the page's corner.
inline constexpr int kParkedAbove = -5000;
inline constexpr int kParkedBelow = 5000;
inline constexpr int kParkedEraserTop = -2000;
inline constexpr int kParkedRight = 10000;
inline constexpr int kParkedMark = -999;

}  // namespace tarvesh::kit
