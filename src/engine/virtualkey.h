#pragma once

namespace tarvesh::engine::vk {

// The virtual-key codes keys arrive with, wherever they come from (the keyboard, the staff panel,
// a script). Letters and the main block's digits are their ASCII codes.
inline constexpr int kBackspace = 8;
inline constexpr int kTab = 9;
inline constexpr int kEnter = 13;
inline constexpr int kShift = 16;
inline constexpr int kControl = 17;
inline constexpr int kAlt = 18;
inline constexpr int kPause = 19;
inline constexpr int kCapsLock = 20;
inline constexpr int kEsc = 27;
inline constexpr int kSpace = 32;
inline constexpr int kPageUp = 33;
inline constexpr int kPageDown = 34;
inline constexpr int kEnd = 35;
inline constexpr int kHome = 36;
inline constexpr int kLeft = 37;
inline constexpr int kUp = 38;
inline constexpr int kRight = 39;
inline constexpr int kDown = 40;
inline constexpr int kInsert = 45;
inline constexpr int kDelete = 46;
inline constexpr int kPadMultiply = 106;
inline constexpr int kPadPlus = 107;
inline constexpr int kPadMinus = 109;
inline constexpr int kPadDecimal = 110;
inline constexpr int kPadDivide = 111;
inline constexpr int kSemicolon = 186;
inline constexpr int kEqual = 187;
inline constexpr int kComma = 188;
inline constexpr int kMinus = 189;
inline constexpr int kPeriod = 190;
inline constexpr int kSlash = 191;
inline constexpr int kBackquote = 192;
inline constexpr int kBracketLeft = 219;
inline constexpr int kBackslash = 220;
inline constexpr int kBracketRight = 221;
inline constexpr int kQuote = 222;

// The shift bits a key or a mouse event carries.
inline constexpr int kShiftBit = 1;
inline constexpr int kCtrlBit = 2;
inline constexpr int kAltBit = 4;

constexpr int Letter(char upper) {
  return upper;
}
constexpr int Digit(int digit) {
  return '0' + digit;
}
constexpr int Pad(int digit) {
  return 96 + digit;
}
constexpr int F(int n) {
  return 111 + n;
}

}  // namespace tarvesh::engine::vk
