#include "input/keyhandler.h"

#include "engine/glyphengine.h"
#include "engine/virtualkey.h"
#include "input/slurmarks.h"
#include "kit/cursorview.h"
#include "kit/windowstate.h"
#include "overlays/entrymodes.h"
#include "overlays/overlaypools.h"
#include "page/enginestate.h"
#include "page/geometry.h"
#include "page/scorepage.h"

namespace tarvesh::input {

namespace {

using namespace engine::vk;

// Where the keypad plus and minus keys are held in KeypadHeld.
constexpr int kPlusHeld = 5;
constexpr int kMinusHeld = 6;
// Down stops moving the cursor once its top has reached this.
constexpr int kLowestTop = 2000;

}  // namespace

KeyHandler::KeyHandler(const Context& context) : QObject(nullptr), context_(context) {}

void KeyHandler::KeyDown(int keyCode, int shift) {
  // With Ctrl or Alt a key is a command and never a glyph; the arrows keep their Ctrl steps.
  const bool arrow = keyCode >= kLeft && keyCode <= kDown;
  if ((shift & (kCtrlBit | kAltBit)) != 0 && !arrow) {
    context_.commandKey(keyCode, shift);
    return;
  }
  auto& state = context_.state;
  switch (keyCode) {
    case Letter('G'):
      state.ChordAtCursor = 1;
      return;
    case Letter('K'):
      context_.modes.ToggleNoteMode();
      return;
    case Letter('P'):
      context_.showNewTitlePanel();
      return;
    case Letter('L'):
      context_.slurs.MarkOrDraw(context_.engine.NoteEndBeforeAutoBarLine());
      return;
    case kDelete:
      context_.overlays.HideSelectedOverlay();
      return;
    case Letter('F'):
      if (context_.overlays.PrepareOverlayPlacement(overlays::OverlayPools::Kind::kSymbolPicture))
        context_.openSymbolPanel();
      return;
    case Letter('D'):
      if (context_.overlays.PrepareOverlayPlacement(overlays::OverlayPools::Kind::kTextLabel))
        context_.openTextLabelPanel();
      return;
    case kEnter:
      context_.engine.EndLine();
      return;
    case kInsert:
      context_.modes.ToggleInsert();
      return;
    case kEsc:
      if (!context_.stopPlaying()) NextEnabledDuration();
      return;
    case kPageUp:
      context_.modes.SelectDuration(std::max(state.CurrentDurationRow - 1, 0));
      return;
    case kPageDown:
      context_.modes.SelectDuration(std::min(state.CurrentDurationRow + 1, 3));
      return;
    case Pad(4):
    case Pad(7):
    case Pad(8):
    case Pad(9):
      state.KeypadHeld[keyCode - Pad(0)] = 1;
      return;
    case kPadPlus:
      state.KeypadHeld[kPlusHeld] = 1;
      return;
    case kPadMinus:
      state.KeypadHeld[kMinusHeld] = 1;
      return;
    case kLeft:
    case kUp:
    case kRight:
    case kDown:
      ArrowKey(keyCode, shift);
      return;
    case Letter('S'):
      context_.modes.ToggleHalfWidth();
      return;
    default:
      break;
  }
  if (keyCode >= Pad(0) && keyCode <= Pad(3)) {
    context_.modes.SelectDuration(keyCode - Pad(0));
    return;
  }
  const int code = context_.engine.KeyToGlyphCode(keyCode);
  if (code > 0) context_.engine.PlaceGlyph(code, state.CurrentDurationRow);
}

void KeyHandler::KeyUp(int keyCode, int) {
  auto& state = context_.state;
  switch (keyCode) {
    case Letter('G'):
      state.ChordAtCursor = 0;
      break;
    case Pad(4):
    case Pad(7):
    case Pad(8):
    case Pad(9):
      state.KeypadHeld[keyCode - Pad(0)] = 0;
      break;
    case kPadPlus:
      state.KeypadHeld[kPlusHeld] = 0;
      break;
    case kPadMinus:
      state.KeypadHeld[kMinusHeld] = 0;
      break;
    default:
      break;
  }
}

void KeyHandler::NextEnabledDuration() {
  int row = context_.state.CurrentDurationRow;
  // The first step is always taken; with one switch on the search comes back to it.
  for (int step = 0; step < 4; ++step) {
    row = (row + 1) % 4;
    if (context_.durationSwitch(row)) break;
  }
  context_.modes.SelectDuration(row);
}

void KeyHandler::ArrowKey(int keyCode, int shift) {
  if (context_.window.SelectedOverlay >= 0) {
    const int step = shift == 1 ? 1 : shift == 2 ? 60 : 6;
    using Direction = overlays::OverlayPools::Direction;
    const Direction direction = keyCode == kLeft    ? Direction::kLeft
                                : keyCode == kUp    ? Direction::kUp
                                : keyCode == kRight ? Direction::kRight
                                                    : Direction::kDown;
    context_.overlays.NudgeSelectedOverlay(direction, step);
    return;
  }
  auto& state = context_.state;
  // Stepping right keeps the note spacing the last note owes.
  const int owed = state.PrevDurationRow;
  state.ForgetLastPlaced();
  if (keyCode == kRight) state.PrevDurationRow = owed;
  state.BarUnits = 0;
  if (keyCode == kUp || keyCode == kDown) state.BarsInLine = 0;
  context_.cursor.RestartBlink();

  page::ScorePage& page = context_.page;
  const float step = state.HalfWidthMode != 0 ? page::kNarrowCell : page::kWideCell;
  const int spacing = context_.lineSpacing();
  float left = page.CursorLeft();
  float top = page.CursorTop();
  switch (keyCode) {
    case kLeft:
      left -= step;
      if (left < page::kLeftMargin) {
        if (top > page::kFirstLineTop) {
          top -= spacing;
          left = float(page.Width() - page::kWrapInset);
          if (top < page::kFirstLineTop) top = page::kFirstLineTop;
        } else {
          left = page::kLeftMargin;
        }
      }
      page.SetCursor(left, top);
      break;
    case kUp:
      if (top > page::kFirstLineTop) top -= spacing;
      if (top < page::kFirstLineTop) top = page::kFirstLineTop;
      page.SetCursor(left, top);
      break;
    case kRight:
      page.SetCursor(left + step, top);
      context_.engine.WrapCursorIfPastMargin();
      break;
    case kDown:
      if (top < kLowestTop) page.SetCursor(left, top + spacing);
      break;
    default:
      break;
  }
}

}  // namespace tarvesh::input
