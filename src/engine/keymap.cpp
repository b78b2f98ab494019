#include "engine/keymap.h"

namespace tarvesh::engine {

KeyGlyph LookUpKey(int keyCode, bool halfWidth) {
  // Digit keys 1-8: plain 1-7, then the 1 above. F1-F12 run on from that high 1.
  if (keyCode >= 49 && keyCode <= 56) return {keyCode - 35, 0};
  if (keyCode >= 112 && keyCode <= 123) return {keyCode - 91, 0};
  switch (keyCode) {
    // The letter row Q..U holds the low octave.
    case 81:
      return {7, 0};
    case 87:
      return {8, 0};
    case 69:
      return {9, 0};
    case 82:
      return {10, 0};
    case 84:
      return {11, 0};
    case 89:
      return {12, 0};
    case 85:
      return {13, 0};
    case 73:
      return {14, 0};
    case 79:
      return {35, 0};
    // Percussion syllables.
    case 90:
      return {36, 0};
    case 88:
      return {37, 0};
    case 67:
      return {38, 0};
    case 86:
      return {39, 0};
    case 66:
      return {40, 0};
    case 189:
    case 192:
      return {41, 0};
    case 72:
    case 65:
      return {101, 0};
    case 219:
      return {102, 0};
    case 221:
      return {103, 0};
    case 220:
      return {104, 0};
    case 222:
      return {105, 0};
    case 190:
      return {115, 0};
    case 78:
      return {201, kAccidentalBand};
    case 77:
      return {202, kAccidentalBand};
    case 188:
      return {203, kAccidentalBand};
    case 32:
      return {halfWidth ? 200 : 100, 0};
    case 57:
      return {halfWidth ? 209 : 113, 0};
    case 48:
      return {halfWidth ? 210 : 114, 0};
    case 8:
      return {999, 0};
    default:
      return {0, 0};
  }
}

}  // namespace tarvesh::engine
