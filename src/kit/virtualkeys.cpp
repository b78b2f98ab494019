#include "kit/virtualkeys.h"

#include <QGuiApplication>
#include <array>
#include <utility>

#include "engine/virtualkey.h"
#include "kit/mousebits.h"

namespace tarvesh::kit {

namespace {

namespace vk = engine::vk;

struct KeyPair {
  int qtKey;
  int virtualKey;
};

// Keys whose virtual key does not depend on the keypad modifier.
constexpr std::array kMainKeys{
    KeyPair{Qt::Key_Backspace, vk::kBackspace},
    KeyPair{Qt::Key_Tab, vk::kTab},
    KeyPair{Qt::Key_Return, vk::kEnter},
    KeyPair{Qt::Key_Enter, vk::kEnter},
    KeyPair{Qt::Key_Shift, vk::kShift},
    KeyPair{Qt::Key_Control, vk::kControl},
    KeyPair{Qt::Key_Alt, vk::kAlt},
    KeyPair{Qt::Key_Pause, vk::kPause},
    KeyPair{Qt::Key_CapsLock, vk::kCapsLock},
    KeyPair{Qt::Key_Escape, vk::kEsc},
    KeyPair{Qt::Key_Space, vk::kSpace},
    KeyPair{Qt::Key_PageUp, vk::kPageUp},
    KeyPair{Qt::Key_PageDown, vk::kPageDown},
    KeyPair{Qt::Key_End, vk::kEnd},
    KeyPair{Qt::Key_Home, vk::kHome},
    KeyPair{Qt::Key_Left, vk::kLeft},
    KeyPair{Qt::Key_Up, vk::kUp},
    KeyPair{Qt::Key_Right, vk::kRight},
    KeyPair{Qt::Key_Down, vk::kDown},
    KeyPair{Qt::Key_Insert, vk::kInsert},
    KeyPair{Qt::Key_Delete, vk::kDelete},
    KeyPair{Qt::Key_Semicolon, vk::kSemicolon},
    KeyPair{Qt::Key_Colon, vk::kSemicolon},
    KeyPair{Qt::Key_Equal, vk::kEqual},
    KeyPair{Qt::Key_Plus, vk::kEqual},
    KeyPair{Qt::Key_Comma, vk::kComma},
    KeyPair{Qt::Key_Less, vk::kComma},
    KeyPair{Qt::Key_Minus, vk::kMinus},
    KeyPair{Qt::Key_Underscore, vk::kMinus},
    KeyPair{Qt::Key_Period, vk::kPeriod},
    KeyPair{Qt::Key_Greater, vk::kPeriod},
    KeyPair{Qt::Key_Slash, vk::kSlash},
    KeyPair{Qt::Key_Question, vk::kSlash},
    KeyPair{Qt::Key_QuoteLeft, vk::kBackquote},
    KeyPair{Qt::Key_AsciiTilde, vk::kBackquote},
    KeyPair{Qt::Key_BracketLeft, vk::kBracketLeft},
    KeyPair{Qt::Key_BraceLeft, vk::kBracketLeft},
    KeyPair{Qt::Key_Backslash, vk::kBackslash},
    KeyPair{Qt::Key_Bar, vk::kBackslash},
    KeyPair{Qt::Key_BracketRight, vk::kBracketRight},
    KeyPair{Qt::Key_BraceRight, vk::kBracketRight},
    KeyPair{Qt::Key_Apostrophe, vk::kQuote},
    KeyPair{Qt::Key_QuoteDbl, vk::kQuote},
    KeyPair{Qt::Key_Exclam, vk::Digit(1)},
    KeyPair{Qt::Key_At, vk::Digit(2)},
    KeyPair{Qt::Key_NumberSign, vk::Digit(3)},
    KeyPair{Qt::Key_Dollar, vk::Digit(4)},
    KeyPair{Qt::Key_Percent, vk::Digit(5)},
    KeyPair{Qt::Key_AsciiCircum, vk::Digit(6)},
    KeyPair{Qt::Key_Ampersand, vk::Digit(7)},
    KeyPair{Qt::Key_Asterisk, vk::Digit(8)},
    KeyPair{Qt::Key_ParenLeft, vk::Digit(9)},
    KeyPair{Qt::Key_ParenRight, vk::Digit(0)},
};

// Keys of the numeric keypad. With Num Lock off the digit keys arrive as editing keys; they are
// read as the digits printed on them, which is what this program uses the keypad for.
constexpr std::array kKeypadKeys{
    KeyPair{Qt::Key_Insert, vk::Pad(0)},
    KeyPair{Qt::Key_End, vk::Pad(1)},
    KeyPair{Qt::Key_Down, vk::Pad(2)},
    KeyPair{Qt::Key_PageDown, vk::Pad(3)},
    KeyPair{Qt::Key_Left, vk::Pad(4)},
    KeyPair{Qt::Key_Clear, vk::Pad(5)},
    KeyPair{Qt::Key_Right, vk::Pad(6)},
    KeyPair{Qt::Key_Home, vk::Pad(7)},
    KeyPair{Qt::Key_Up, vk::Pad(8)},
    KeyPair{Qt::Key_PageUp, vk::Pad(9)},
    KeyPair{Qt::Key_Asterisk, vk::kPadMultiply},
    KeyPair{Qt::Key_Plus, vk::kPadPlus},
    KeyPair{Qt::Key_Minus, vk::kPadMinus},
    KeyPair{Qt::Key_Period, vk::kPadDecimal},
    KeyPair{Qt::Key_Delete, vk::kPadDecimal},
    KeyPair{Qt::Key_Comma, vk::kPadDecimal},
    KeyPair{Qt::Key_Slash, vk::kPadDivide},
    KeyPair{Qt::Key_Enter, vk::kEnter},
};

// X11 key codes of the main block's digit and punctuation keys: the physical key decides,
// whatever character the keyboard layout puts on it.
constexpr std::array kX11Keycodes{
    KeyPair{10, vk::Digit(1)},     KeyPair{11, vk::Digit(2)},      KeyPair{12, vk::Digit(3)},
    KeyPair{13, vk::Digit(4)},     KeyPair{14, vk::Digit(5)},      KeyPair{15, vk::Digit(6)},
    KeyPair{16, vk::Digit(7)},     KeyPair{17, vk::Digit(8)},      KeyPair{18, vk::Digit(9)},
    KeyPair{19, vk::Digit(0)},     KeyPair{20, vk::kMinus},        KeyPair{21, vk::kEqual},
    KeyPair{34, vk::kBracketLeft}, KeyPair{35, vk::kBracketRight}, KeyPair{47, vk::kSemicolon},
    KeyPair{48, vk::kQuote},       KeyPair{49, vk::kBackquote},    KeyPair{51, vk::kBackslash},
    KeyPair{59, vk::kComma},       KeyPair{60, vk::kPeriod},       KeyPair{61, vk::kSlash},
};

template <size_t N>
int Find(const std::array<KeyPair, N>& table, int qtKey) {
  for (const auto& pair : table)
    if (pair.qtKey == qtKey) return pair.virtualKey;
  return 0;
}

}  // namespace

int VirtualKeyOf(const QKeyEvent& event) {
  // Scripts carry the exact virtual key in the event, and no scan code, which every key of a
  // keyboard has. (A key passed on through the page view is no longer spontaneous, so that
  // cannot tell them apart.)
  if (event.nativeScanCode() == 0 && event.nativeVirtualKey() != 0)
    return int(event.nativeVirtualKey());
  const int key = event.key();
  if (event.modifiers() & Qt::KeypadModifier) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return vk::Pad(key - Qt::Key_0);
    if (int vk = Find(kKeypadKeys, key)) return vk;
  }
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return vk::Letter('A') + (key - Qt::Key_A);
  if (QGuiApplication::platformName() == QLatin1String("xcb")) {
    if (int vk = Find(kX11Keycodes, int(event.nativeScanCode()))) return vk;
  }
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return vk::Digit(key - Qt::Key_0);
  if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return vk::F(1) + (key - Qt::Key_F1);
  return Find(kMainKeys, key);
}

std::unique_ptr<QKeyEvent> MakeKeyEvent(QEvent::Type type, int keyCode, int shift) {
  Qt::KeyboardModifiers modifiers = QtModifiers(shift);
  int qtKey = 0;
  if (keyCode >= vk::Digit(0) && keyCode <= vk::Digit(9))
    qtKey = Qt::Key_0 + (keyCode - vk::Digit(0));
  else if (keyCode >= vk::Letter('A') && keyCode <= vk::Letter('Z'))
    qtKey = Qt::Key_A + (keyCode - vk::Letter('A'));
  else if (keyCode >= vk::F(1) && keyCode <= vk::F(12))
    qtKey = Qt::Key_F1 + (keyCode - vk::F(1));
  else if (keyCode >= vk::Pad(0) && keyCode <= vk::Pad(9)) {
    qtKey = Qt::Key_0 + (keyCode - vk::Pad(0));
    modifiers |= Qt::KeypadModifier;
  } else {
    for (const auto& pair : kKeypadKeys)
      if (pair.virtualKey == keyCode && keyCode >= vk::kPadMultiply) {
        qtKey = pair.qtKey;
        modifiers |= Qt::KeypadModifier;
        break;
      }
    if (!qtKey)
      for (const auto& pair : kMainKeys)
        if (pair.virtualKey == keyCode) {
          qtKey = pair.qtKey;
          break;
        }
  }
  // QKeyEvent::modifiers() flips a modifier key's own bit (a press of Shift reads as held
  // Shift); flipping it here first makes the page read back exactly `shift`.
  if (qtKey == Qt::Key_Shift) modifiers ^= Qt::ShiftModifier;
  if (qtKey == Qt::Key_Control) modifiers ^= Qt::ControlModifier;
  if (qtKey == Qt::Key_Alt) modifiers ^= Qt::AltModifier;
  return std::make_unique<QKeyEvent>(type, qtKey ? qtKey : Qt::Key_unknown, modifiers, quint32(0),
                                     quint32(keyCode), quint32(0));
}

}  // namespace tarvesh::kit
