#pragma once

#include <QObject>
#include <functional>

namespace tarvesh::page {
struct EngineState;
class ScorePage;
}  // namespace tarvesh::page

namespace tarvesh::engine {
class GlyphEngine;
}

namespace tarvesh::kit {
class CursorView;
struct WindowState;
}  // namespace tarvesh::kit

namespace tarvesh::overlays {
class EntryModes;
class OverlayPools;
}  // namespace tarvesh::overlays

namespace tarvesh::input {

class SlurMarks;

// The one key handler of the page: every key press and release on `Picture1`, by virtual-key
// code. Most keys become glyphs; the others choose the duration, switch a mode, end the line,
// move the cursor or the selected overlay, or are held as modifiers for chord symbols.
class KeyHandler : public QObject {
  Q_OBJECT

 public:
  struct Context {
    page::ScorePage& page;
    page::EngineState& state;
    kit::WindowState& window;
    engine::GlyphEngine& engine;
    kit::CursorView& cursor;
    overlays::EntryModes& modes;
    overlays::OverlayPools& overlays;
    SlurMarks& slurs;
    std::function<int()> lineSpacing;
    std::function<bool(int)> durationSwitch;   // Check5(row)
    std::function<void()> showNewTitlePanel;   // key P
    std::function<void()> openTextLabelPanel;  // key D, after the anchor is set
    std::function<void()> openSymbolPanel;     // key F, after the anchor is set
    // A key pressed with Ctrl or Alt, other than an arrow: a command shortcut, if any.
    std::function<void(int keyCode, int shift)> commandKey;
    // Esc: stops playback and is nothing else then; false when nothing was playing.
    std::function<bool()> stopPlaying;
  };

  explicit KeyHandler(const Context& context);

  void KeyDown(int keyCode, int shift);
  void KeyUp(int keyCode, int shift);

 private:
  void ArrowKey(int keyCode, int shift);
  void NextEnabledDuration();

  Context context_;
};

}  // namespace tarvesh::input
