#include "kit/virtualkeys.h"

#include <QGuiApplication>
#include <array>
#include <utility>

#include "kit/mousebits.h"

namespace tarvesh::kit {

namespace {

struct KeyPair {
  int qtKey;
  int virtualKey;
};

// Keys whose virtual key does not depend on the keypad modifier.
constexpr std::array kMainKeys{
    KeyPair{Qt::Key_Backspace, 8},    KeyPair{Qt::Key_Tab, 9},
    KeyPair{Qt::Key_Return, 13},      KeyPair{Qt::Key_Enter, 13},
    KeyPair{Qt::Key_Shift, 16},       KeyPair{Qt::Key_Control, 17},
    KeyPair{Qt::Key_Alt, 18},         KeyPair{Qt::Key_Pause, 19},
    KeyPair{Qt::Key_CapsLock, 20},    KeyPair{Qt::Key_Escape, 27},
    KeyPair{Qt::Key_Space, 32},       KeyPair{Qt::Key_PageUp, 33},
    KeyPair{Qt::Key_PageDown, 34},    KeyPair{Qt::Key_End, 35},
    KeyPair{Qt::Key_Home, 36},        KeyPair{Qt::Key_Left, 37},
    KeyPair{Qt::Key_Up, 38},          KeyPair{Qt::Key_Right, 39},
    KeyPair{Qt::Key_Down, 40},        KeyPair{Qt::Key_Insert, 45},
    KeyPair{Qt::Key_Delete, 46},      KeyPair{Qt::Key_Semicolon, 186},
    KeyPair{Qt::Key_Colon, 186},      KeyPair{Qt::Key_Equal, 187},
    KeyPair{Qt::Key_Plus, 187},       KeyPair{Qt::Key_Comma, 188},
    KeyPair{Qt::Key_Less, 188},       KeyPair{Qt::Key_Minus, 189},
    KeyPair{Qt::Key_Underscore, 189}, KeyPair{Qt::Key_Period, 190},
    KeyPair{Qt::Key_Greater, 190},    KeyPair{Qt::Key_Slash, 191},
    KeyPair{Qt::Key_Question, 191},   KeyPair{Qt::Key_QuoteLeft, 192},
    KeyPair{Qt::Key_AsciiTilde, 192}, KeyPair{Qt::Key_BracketLeft, 219},
    KeyPair{Qt::Key_BraceLeft, 219},  KeyPair{Qt::Key_Backslash, 220},
    KeyPair{Qt::Key_Bar, 220},        KeyPair{Qt::Key_BracketRight, 221},
    KeyPair{Qt::Key_BraceRight, 221}, KeyPair{Qt::Key_Apostrophe, 222},
    KeyPair{Qt::Key_QuoteDbl, 222},   KeyPair{Qt::Key_Exclam, 49},
    KeyPair{Qt::Key_At, 50},          KeyPair{Qt::Key_NumberSign, 51},
    KeyPair{Qt::Key_Dollar, 52},      KeyPair{Qt::Key_Percent, 53},
    KeyPair{Qt::Key_AsciiCircum, 54}, KeyPair{Qt::Key_Ampersand, 55},
    KeyPair{Qt::Key_Asterisk, 56},    KeyPair{Qt::Key_ParenLeft, 57},
    KeyPair{Qt::Key_ParenRight, 48},
};

// Keys of the numeric keypad. With Num Lock off the digit keys arrive as editing keys; they are
// read as the digits printed on them, which is what this program uses the keypad for.
constexpr std::array kKeypadKeys{
    KeyPair{Qt::Key_Insert, 96},   KeyPair{Qt::Key_End, 97},       KeyPair{Qt::Key_Down, 98},
    KeyPair{Qt::Key_PageDown, 99}, KeyPair{Qt::Key_Left, 100},     KeyPair{Qt::Key_Clear, 101},
    KeyPair{Qt::Key_Right, 102},   KeyPair{Qt::Key_Home, 103},     KeyPair{Qt::Key_Up, 104},
    KeyPair{Qt::Key_PageUp, 105},  KeyPair{Qt::Key_Asterisk, 106}, KeyPair{Qt::Key_Plus, 107},
    KeyPair{Qt::Key_Minus, 109},   KeyPair{Qt::Key_Period, 110},   KeyPair{Qt::Key_Delete, 110},
    KeyPair{Qt::Key_Comma, 110},   KeyPair{Qt::Key_Slash, 111},    KeyPair{Qt::Key_Enter, 13},
};

// X11 key codes of the main block's digit and punctuation keys: the physical key decides,
// whatever character the keyboard layout puts on it.
constexpr std::array kX11Keycodes{
    KeyPair{10, 49},  KeyPair{11, 50},  KeyPair{12, 51},  KeyPair{13, 52},  KeyPair{14, 53},
    KeyPair{15, 54},  KeyPair{16, 55},  KeyPair{17, 56},  KeyPair{18, 57},  KeyPair{19, 48},
    KeyPair{20, 189}, KeyPair{21, 187}, KeyPair{34, 219}, KeyPair{35, 221}, KeyPair{47, 186},
    KeyPair{48, 222}, KeyPair{49, 192}, KeyPair{51, 220}, KeyPair{59, 188}, KeyPair{60, 190},
    KeyPair{61, 191},
};

template <size_t N>
int Find(const std::array<KeyPair, N>& table, int qtKey) {
  for (const auto& pair : table)
    if (pair.qtKey == qtKey) return pair.virtualKey;
  return 0;
}

}  // namespace

int VirtualKeyOf(const QKeyEvent& event) {
  // Scripts carry the exact virtual key in the event.
  if (!event.spontaneous() && event.nativeVirtualKey() != 0) return int(event.nativeVirtualKey());
  const int key = event.key();
  if (event.modifiers() & Qt::KeypadModifier) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return 96 + (key - Qt::Key_0);
    if (int vk = Find(kKeypadKeys, key)) return vk;
  }
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return 65 + (key - Qt::Key_A);
  if (QGuiApplication::platformName() == QLatin1String("xcb")) {
    if (int vk = Find(kX11Keycodes, int(event.nativeScanCode()))) return vk;
  }
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return 48 + (key - Qt::Key_0);
  if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return 112 + (key - Qt::Key_F1);
  return Find(kMainKeys, key);
}

std::unique_ptr<QKeyEvent> MakeKeyEvent(QEvent::Type type, int keyCode, int shift) {
  Qt::KeyboardModifiers modifiers = QtModifiers(shift);
  int qtKey = 0;
  if (keyCode >= 48 && keyCode <= 57)
    qtKey = Qt::Key_0 + (keyCode - 48);
  else if (keyCode >= 65 && keyCode <= 90)
    qtKey = Qt::Key_A + (keyCode - 65);
  else if (keyCode >= 112 && keyCode <= 123)
    qtKey = Qt::Key_F1 + (keyCode - 112);
  else if (keyCode >= 96 && keyCode <= 105) {
    qtKey = Qt::Key_0 + (keyCode - 96);
    modifiers |= Qt::KeypadModifier;
  } else {
    for (const auto& pair : kKeypadKeys)
      if (pair.virtualKey == keyCode && keyCode >= 106) {
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
