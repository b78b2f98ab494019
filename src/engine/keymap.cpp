#include "engine/keymap.h"

#include "engine/virtualkey.h"

namespace tarvesh::engine {

KeyGlyph LookUpKey(int keyCode, bool halfWidth) {
  // Digit keys 1-8: plain 1-7, then the 1 above. F1-F12 run on from that high 1.
  if (keyCode >= vk::Digit(1) && keyCode <= vk::Digit(8)) return {keyCode - vk::Digit(1) + 14, 0};
  if (keyCode >= vk::F(1) && keyCode <= vk::F(12)) return {keyCode - vk::F(1) + 21, 0};
  switch (keyCode) {
    // The letter row Q..U holds the low octave.
    case vk::Letter('Q'):
      return {7, 0};
    case vk::Letter('W'):
      return {8, 0};
    case vk::Letter('E'):
      return {9, 0};
    case vk::Letter('R'):
      return {10, 0};
    case vk::Letter('T'):
      return {11, 0};
    case vk::Letter('Y'):
      return {12, 0};
    case vk::Letter('U'):
      return {13, 0};
    case vk::Letter('I'):
      return {14, 0};
    case vk::Letter('O'):
      return {35, 0};
    // Percussion syllables.
    case vk::Letter('Z'):
      return {36, 0};
    case vk::Letter('X'):
      return {37, 0};
    case vk::Letter('C'):
      return {38, 0};
    case vk::Letter('V'):
      return {39, 0};
    case vk::Letter('B'):
      return {40, 0};
    case vk::kMinus:
    case vk::kBackquote:
      return {41, 0};
    case vk::Letter('H'):
    case vk::Letter('A'):
      return {101, 0};
    case vk::kBracketLeft:
      return {102, 0};
    case vk::kBracketRight:
      return {103, 0};
    case vk::kBackslash:
      return {104, 0};
    case vk::kQuote:
      return {105, 0};
    case vk::kPeriod:
      return {115, 0};
    case vk::Letter('N'):
      return {201, kAccidentalBand};
    case vk::Letter('M'):
      return {202, kAccidentalBand};
    case vk::kComma:
      return {203, kAccidentalBand};
    case vk::kSpace:
      return {halfWidth ? 200 : 100, 0};
    case vk::Digit(9):
      return {halfWidth ? 209 : 113, 0};
    case vk::Digit(0):
      return {halfWidth ? 210 : 114, 0};
    case vk::kBackspace:
      return {999, 0};
    default:
      return {0, 0};
  }
}

}  // namespace tarvesh::engine
