#pragma once

#include <QObject>
#include <QPixmap>
#include <array>
#include <functional>

class QWidget;

namespace tarvesh::page {
class ScorePage;
}

namespace tarvesh::kit {
class ControlRegistry;
class Dialogs;
class ImageControl;
class LabelControl;
struct WindowState;
}  // namespace tarvesh::kit

namespace tarvesh::overlays {

// The objects lying over the page: 50 text labels `Label7` and 50 symbol pictures `Ima`, their
// counters and the one selection they share. Deleting only hides an object; its slot stays
// taken until the pools are cleared or refilled.
class OverlayPools : public QObject {
  Q_OBJECT

 public:
  static constexpr int kSlots = 50;
  // Selection values from here on name symbol pictures.
  static constexpr int kPictureBase = 50;
  enum class Kind { kTextLabel, kSymbolPicture };
  enum class Direction { kLeft, kUp, kRight, kDown };

  OverlayPools(kit::WindowState& window, page::ScorePage& page, kit::Dialogs& dialogs,
               QWidget* canvas, kit::ControlRegistry& controls, std::function<void()> focusPage);

  // Sets the anchor at the cursor for a new object of `kind`; false when its pool is full.
  bool PrepareOverlayPlacement(Kind kind);
  void AddTextLabel(const QString& text, int phraseIndex);
  void AddSymbolPicture(const QPixmap& picture, int pictureIndex, const QString& file);
  void SelectTextLabel(int slot);
  void SelectSymbolPicture(int slot);
  void ClearOverlaySelection();
  void HideSelectedOverlay();
  void NudgeSelectedOverlay(Direction direction, int step);
  void ClearAllOverlays();

  kit::LabelControl* TextLabel(int slot) const { return label7_[slot]; }
  kit::ImageControl* SymbolPicture(int slot) const { return ima_[slot]; }
  // Start-up: symbol pictures flat and hidden, nothing selected.
  void Reset();

 private:
  void Unhighlight();

  kit::WindowState& window_;
  page::ScorePage& page_;
  kit::Dialogs& dialogs_;
  std::function<void()> focusPage_;
  std::array<kit::LabelControl*, kSlots> label7_{};
  std::array<kit::ImageControl*, kSlots> ima_{};
};

}  // namespace tarvesh::overlays
