#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <functional>
#include <optional>
#include <utility>

class QWidget;

#include "score/scoredocument.h"

namespace tarvesh::kit {
class ControlRegistry;
class Dialogs;
class ImageControl;
class LabelControl;
struct WindowState;
}  // namespace tarvesh::kit

namespace tarvesh::overlays {

// The objects lying over the page: the document's text labels and symbol pictures shown as 50
// labels `Label7` and 50 pictures `Ima`, and the one selection they share.
class OverlayPools : public QObject {
  Q_OBJECT

 public:
  static constexpr int kSlots = score::ScoreDocument::kOverlaySlots;
  // Selection values from here on name symbol pictures.
  static constexpr int kPictureBase = 50;
  using Kind = score::ScoreDocument::OverlayKind;
  enum class Direction { kLeft, kUp, kRight, kDown };

  OverlayPools(kit::WindowState& window, score::ScoreDocument& document, kit::Dialogs& dialogs,
               QWidget* canvas, kit::ControlRegistry& controls, std::function<void()> focusPage);

  // Sets the anchor at the cursor for a new object of `kind`; false when its pool is full.
  bool PrepareOverlayPlacement(Kind kind);
  void AddTextLabel(const QString& text, int phraseIndex);
  void AddSymbolPicture(int pictureIndex, const QString& path);
  void SelectTextLabel(int slot);
  void SelectSymbolPicture(int slot);
  void ClearOverlaySelection();
  // The selected object's kind and slot; nothing when none is selected.
  std::optional<std::pair<Kind, int>> Selection() const;
  void HideSelectedOverlay();
  void NudgeSelectedOverlay(Direction direction, int step);
  void ClearAllOverlays();

  kit::LabelControl* TextLabel(int slot) const { return label7_[slot]; }
  kit::ImageControl* SymbolPicture(int slot) const { return ima_[slot]; }
  // Start-up: symbol pictures flat and hidden, nothing selected.
  void Reset();

 private:
  void Unhighlight();
  // Shows the document's object in its slot.
  void Show(Kind kind, int slot);

  kit::WindowState& window_;
  score::ScoreDocument& document_;
  kit::Dialogs& dialogs_;
  std::function<void()> focusPage_;
  std::array<kit::LabelControl*, kSlots> label7_{};
  std::array<kit::ImageControl*, kSlots> ima_{};
  // The file each symbol picture was loaded from, so moving one does not read it again.
  std::array<QString, kSlots> loaded_{};
};

}  // namespace tarvesh::overlays
