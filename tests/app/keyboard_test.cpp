#include <gtest/gtest.h>
#include <QJsonArray>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include "app/windowharness.h"
#include "kit/pagecanvas.h"

namespace tarvesh::testing {
namespace {

struct Stroke {
  int keyCode;
  int shift;
  bool operator==(const Stroke&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Stroke& s) {
  return out << "(" << s.keyCode << ", " << s.shift << ")";
}

// Records what reaches the page's key handler.
class StrokeLog {
 public:
  explicit StrokeLog(kit::PageCanvas* canvas) {
    QObject::connect(canvas, &kit::PageCanvas::KeyDown, &context_, [this](int key, int shift) {
      downs.append({key, shift});
    });
    QObject::connect(canvas, &kit::PageCanvas::KeyUp, &context_, [this](int key, int shift) {
      ups.append({key, shift});
    });
  }
  QList<Stroke> downs, ups;

  // The strokes other than those of Shift, Ctrl and Alt themselves, which a keyboard sends
  // around a key held with them and which the handler passes by.
  static QList<Stroke> WithoutModifierKeys(const QList<Stroke>& strokes) {
    QList<Stroke> keys;
    for (const Stroke& s : strokes)
      if (s.keyCode < 16 || s.keyCode > 18) keys.append(s);
    return keys;
  }

 private:
  QObject context_;
};

struct RealKeyCase {
  Qt::Key key;
  Qt::KeyboardModifiers modifiers;
  int keyCode;
  int shift;
};

constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;
constexpr Qt::KeyboardModifiers kShift = Qt::ShiftModifier;
constexpr Qt::KeyboardModifiers kPad = Qt::KeypadModifier;

// Keys as a keyboard delivers them, with the character the layout gives (Shift+1 arrives as
// "!"), and the key code the handler must see: the key's own, whatever is held with it.
const RealKeyCase kRealKeys[] = {
    {Qt::Key_5, kNone, 53, 0},
    {Qt::Key_Percent, kShift, 53, 1},
    {Qt::Key_Exclam, kShift, 49, 1},
    {Qt::Key_At, kShift, 50, 1},
    {Qt::Key_Asterisk, kShift, 56, 1},
    {Qt::Key_ParenLeft, kShift, 57, 1},
    {Qt::Key_ParenRight, kShift, 48, 1},
    {Qt::Key_5, Qt::ControlModifier, 53, 2},
    {Qt::Key_5, Qt::AltModifier, 53, 4},
    {Qt::Key_Q, kNone, 81, 0},
    {Qt::Key_Q, kShift, 81, 1},
    {Qt::Key_F1, kNone, 112, 0},
    {Qt::Key_F12, kNone, 123, 0},
    {Qt::Key_Space, kNone, 32, 0},
    {Qt::Key_Backspace, kNone, 8, 0},
    {Qt::Key_Return, kNone, 13, 0},
    {Qt::Key_Escape, kNone, 27, 0},
    {Qt::Key_PageUp, kNone, 33, 0},
    {Qt::Key_PageDown, kNone, 34, 0},
    {Qt::Key_Insert, kNone, 45, 0},
    {Qt::Key_Delete, kNone, 46, 0},
    {Qt::Key_Left, kNone, 37, 0},
    {Qt::Key_Right, Qt::ControlModifier, 39, 2},
    {Qt::Key_Right, kShift | Qt::ControlModifier, 39, 3},
    {Qt::Key_Up, kShift, 38, 1},
    {Qt::Key_Down, kNone, 40, 0},
    {Qt::Key_Minus, kNone, 189, 0},
    {Qt::Key_Underscore, kShift, 189, 1},
    {Qt::Key_QuoteLeft, kNone, 192, 0},
    {Qt::Key_AsciiTilde, kShift, 192, 1},
    {Qt::Key_BracketLeft, kNone, 219, 0},
    {Qt::Key_BraceRight, kShift, 221, 1},
    {Qt::Key_Backslash, kNone, 220, 0},
    {Qt::Key_Apostrophe, kNone, 222, 0},
    {Qt::Key_QuoteDbl, kShift, 222, 1},
    {Qt::Key_Period, kNone, 190, 0},
    {Qt::Key_Comma, kNone, 188, 0},
    {Qt::Key_Less, kShift, 188, 1},
    // The numeric keypad, Num Lock on.
    {Qt::Key_0, kPad, 96, 0},
    {Qt::Key_2, kPad, 98, 0},
    {Qt::Key_7, kPad, 103, 0},
    {Qt::Key_Plus, kPad, 107, 0},
    {Qt::Key_Minus, kPad, 109, 0},
    {Qt::Key_Asterisk, kPad, 106, 0},
    {Qt::Key_Slash, kPad, 111, 0},
    {Qt::Key_Period, kPad, 110, 0},
    {Qt::Key_Enter, kPad, 13, 0},
    // Num Lock off: the keys still count as the digits printed on them.
    {Qt::Key_Insert, kPad, 96, 0},
    {Qt::Key_End, kPad, 97, 0},
    {Qt::Key_Left, kPad, 100, 0},
    {Qt::Key_Clear, kPad, 101, 0},
    {Qt::Key_Home, kPad, 103, 0},
};

// A key pressed on the keyboard reaches the handler with its key code and shift bits, on its
// press and on its release.
TEST(Keyboard, RealKeysReachTheHandlerAsTheirKeyCodes) {
  WindowHarness w;
  kit::PageCanvas* canvas = w.Form().Canvas();
  for (const RealKeyCase& c : kRealKeys) {
    SCOPED_TRACE(::testing::Message() << "Qt key 0x" << std::hex << c.key);
    StrokeLog log(canvas);
    QTest::keyClick(canvas, c.key, c.modifiers);
    const QList<Stroke> expected{{c.keyCode, c.shift}};
    EXPECT_EQ(StrokeLog::WithoutModifierKeys(log.downs), expected);
    EXPECT_EQ(StrokeLog::WithoutModifierKeys(log.ups), expected);
    // Close whatever panel the key opened, so the next key has the page to itself.
    ASSERT_EQ(w.Run("click Command6\nclick Command9\nclick Command12\n"), 0);
  }
}

// Typing on the keyboard does to the window exactly what the script step `key` does.
TEST(Keyboard, RealKeysDoWhatScriptedKeysDo) {
  for (const RealKeyCase& c : kRealKeys) {
    SCOPED_TRACE(::testing::Message() << "key " << c.keyCode << " " << c.shift);
    // Two notes before the key, so that the arrows and the erase have something to act on.
    const QString setup = "key 53\nkey 53\n";
    WindowHarness typed;
    ASSERT_EQ(typed.Run(setup), 0);
    QTest::keyClick(typed.Form().Canvas(), c.key, c.modifiers);
    WindowHarness scripted;
    ASSERT_EQ(scripted.Run(setup + QStringLiteral("key %1 %2\n").arg(c.keyCode).arg(c.shift)), 0);
    EXPECT_EQ(typed.Form().Page().Image(), scripted.Form().Page().Image());
    EXPECT_EQ(typed.Dump(), scripted.Dump());
  }
}

// Switching the sounds with the mouse leaves the keyboard on the page (the check box once kept
// the focus, and the notes typed next were lost).
TEST(Keyboard, SoundSwitchLeavesTheKeysOnThePage) {
  WindowHarness w;
  kit::PageCanvas* canvas = w.Form().Canvas();
  // The page keeps the keys inside the active window's view of it.
  w.Form().activateWindow();
  QCoreApplication::processEvents();
  w.Form().FocusPage();
  ASSERT_TRUE(canvas->hasFocus());
  auto* check9 = qobject_cast<QWidget*>(w.Form().Controls().Find(QStringLiteral("Check9")));
  ASSERT_TRUE(check9);
  QTest::mouseClick(check9, Qt::LeftButton, Qt::NoModifier, QPoint(5, 8));
  EXPECT_EQ(w.Control("Check9")["value"].toInt(), 0);
  EXPECT_TRUE(canvas->hasFocus());
}

// Every key code a script names arrives as that key code, with exactly its shift bits (a
// scripted press of Shift itself once arrived with the Shift bit set).
TEST(Keyboard, ScriptedKeysArriveUnchanged) {
  WindowHarness w;
  StrokeLog log(w.Form().Canvas());
  QString script;
  QList<Stroke> sent;
  for (int keyCode = 0; keyCode < 256; ++keyCode) {
    const int shift = keyCode % 8;
    // Ctrl+Shift+S is Save as: its file dialog is cancelled.
    if (keyCode == 'S') script += "file-cancel\n";
    script += QStringLiteral("keydown %1 %2\nkeyup %1 %2\n").arg(keyCode).arg(shift);
    sent.append({keyCode, shift});
  }
  ASSERT_EQ(w.Run(script), 0) << w.LastError().toStdString();
  EXPECT_EQ(log.downs, sent);
  EXPECT_EQ(log.ups, sent);
}

// A held key repeats its press; the releases of the repeats are not releases of the key, so G
// stays held for the chord symbols until it is really let go.
TEST(Keyboard, HeldKeyStaysHeldThroughAutoRepeat) {
  WindowHarness w;
  kit::PageCanvas* canvas = w.Form().Canvas();
  StrokeLog log(canvas);
  QTest::keyPress(canvas, Qt::Key_G);
  for (int i = 0; i < 3; ++i) {
    QKeyEvent repeatUp(QEvent::KeyRelease, Qt::Key_G, Qt::NoModifier, QStringLiteral("g"), true);
    QKeyEvent repeatDown(QEvent::KeyPress, Qt::Key_G, Qt::NoModifier, QStringLiteral("g"), true);
    log.ups.clear();
    QCoreApplication::sendEvent(canvas, &repeatUp);
    QCoreApplication::sendEvent(canvas, &repeatDown);
    EXPECT_TRUE(log.ups.isEmpty());
    EXPECT_EQ(w.State()["ChordAtCursor"].toInt(), 1);
  }
  QTest::keyRelease(canvas, Qt::Key_G);
  EXPECT_EQ(w.State()["ChordAtCursor"].toInt(), 0);
  EXPECT_EQ(log.downs.size(), 4);
}

// With Ctrl or Alt a letter or a digit is a command or nothing: it never stamps a glyph nor
// moves the cursor. The shortcuts' own dialogs are cancelled; Ctrl+N, which clears the page,
// the undo keys Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z, and Ctrl+L, which switches lyrics mode, have
// tests of their own.
TEST(Keyboard, CtrlAndAltKeysNeverStamp) {
  WindowHarness w;
  ASSERT_EQ(w.Run("key 53\nkey 54\n"), 0);
  const QImage before = w.Form().Page().Image().copy();
  const QJsonObject state = w.Dump()["state"].toObject();
  const QJsonObject cursor = w.Dump()["cursor"].toObject();
  QString script;
  QList<int> codes;
  for (int c = 'A'; c <= 'Z'; ++c) codes << c;
  for (int c = '0'; c <= '9'; ++c) codes << c;
  for (const int shift : {2, 4, 6}) {
    for (const int code : codes) {
      if (shift == 2 && QByteArray("NZYL").contains(char(code))) continue;
      if (shift == 2 && QByteArray("OSPE").contains(char(code))) script += "file-cancel\n";
      script += QStringLiteral("key %1 %2\n").arg(code).arg(shift);
    }
  }
  ASSERT_EQ(w.Run(script), 0) << w.LastError().toStdString();
  EXPECT_EQ(w.Form().Page().Image(), before);
  EXPECT_EQ(w.Dump()["state"].toObject(), state);
  EXPECT_EQ(w.Dump()["cursor"].toObject(), cursor);
}

struct ShortcutCase {
  const char* name;
  const char* script;  // "DIR" stands for a scratch folder
  const char* dialog;  // the last dialog shown, "" for none
};

// The shortcuts of every editor press the command they name.
TEST(Keyboard, ShortcutsPressTheirCommands) {
  const ShortcutCase cases[] = {
      {"Ctrl+O opens", "file-cancel\nkey 79 2\n", "打开"},
      {"Ctrl+S saves a new score as", "file-cancel\nkey 83 2\n", "保存"},
      {"Ctrl+Shift+S saves as", "file-cancel\nkey 83 3\n", "保存"},
      {"Ctrl+P prints", "file-cancel\nkey 80 2\n", "打印"},
      {"Ctrl+E exports a PDF", "file-cancel\nkey 69 2\n", "导出PDF"},
      {"Ctrl+S saves a named score without asking",
       "file \"DIR/a.bmp\"\nclick Command1(2)\nkey 53\nkey 83 2\n", "保存"},
  };
  for (const ShortcutCase& c : cases) {
    SCOPED_TRACE(c.name);
    QTemporaryDir dir;
    WindowHarness w;
    const QString script = QString::fromUtf8(c.script).replace("DIR", dir.path());
    ASSERT_EQ(w.Run(script), 0) << w.LastError().toStdString();
    QString last;
    int dialogs = 0;
    for (const QJsonValue event : w.Dump()["events"].toArray()) {
      if (!event.toObject().contains("dialog")) continue;
      last = event.toObject()["dialog"].toString();
      ++dialogs;
    }
    EXPECT_EQ(last, QString::fromUtf8(c.dialog));
    EXPECT_EQ(dialogs, 1);
  }

  // Ctrl+N makes a new score.
  WindowHarness w;
  ASSERT_EQ(w.Run("key 53\nkey 78 2\n"), 0);
  EXPECT_EQ(w.Form().Page().Image(), WindowHarness().Form().Page().Image());
}

}  // namespace
}  // namespace tarvesh::testing
