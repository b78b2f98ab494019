#include "overlays/overlaypools.h"

#include "kit/controlregistry.h"
#include "kit/dialogs.h"
#include "kit/imagecontrol.h"
#include "kit/labelcontrol.h"
#include "kit/windowstate.h"
#include "page/rounding.h"
#include "page/scorepage.h"

namespace tarvesh::overlays {

namespace {
const QColor kSelectedRed(255, 0, 0);
constexpr int kNudgeLimit = 8;
constexpr int kAnchorRise = 12;
}  // namespace

OverlayPools::OverlayPools(kit::WindowState& window, score::ScoreDocument& document,
                           kit::Dialogs& dialogs, QWidget* canvas, kit::ControlRegistry& controls,
                           std::function<void()> focusPage)
    : QObject(canvas),
      window_(window),
      document_(document),
      dialogs_(dialogs),
      focusPage_(std::move(focusPage)) {
  for (int i = 0; i < kSlots; ++i) {
    auto* label = new kit::LabelControl(kit::IndexedName(QStringLiteral("Label7"), i),
                                        QStringLiteral("文字"), canvas);
    label->hide();
    controls.Add(label);
    label7_[i] = label;
    connect(label->Mouse(), &kit::MouseEvents::Click, this, [this, i] { SelectTextLabel(i); });
    connect(label->Mouse(), &kit::MouseEvents::MouseUp, this, [this] { focusPage_(); });
  }
  for (int i = 0; i < kSlots; ++i) {
    auto* image = new kit::ImageControl(kit::IndexedName(QStringLiteral("Ima"), i), canvas);
    image->hide();
    controls.Add(image);
    ima_[i] = image;
    connect(image->Mouse(), &kit::MouseEvents::Click, this, [this, i] {
      SelectSymbolPicture(i);
      focusPage_();
    });
  }
  connect(&document_, &score::ScoreDocument::OverlayChanged, this, &OverlayPools::Show);
}

void OverlayPools::Show(Kind kind, int slot) {
  const score::ScoreDocument::Overlay& overlay = document_.OverlayAt(kind, slot);
  QWidget* widget;
  if (kind == Kind::kTextLabel) {
    kit::LabelControl* label = label7_[slot];
    label->SetCaption(overlay.content);
    widget = label;
  } else {
    kit::ImageControl* image = ima_[slot];
    if (loaded_[slot] != overlay.content || overlay.content.isEmpty()) {
      if (overlay.content.isEmpty() || !image->LoadPicture(overlay.content))
        image->SetPicture(QPixmap(), QString());
      loaded_[slot] = overlay.content;
    }
    widget = image;
  }
  widget->move(overlay.at);
  widget->setProperty("tag", QString::number(overlay.index));
  widget->setVisible(overlay.shown);
}

void OverlayPools::Reset() {
  for (auto* image : ima_) {
    image->SetBorder(false);
    image->hide();
  }
  window_.SelectedOverlay = -1;
}

bool OverlayPools::PrepareOverlayPlacement(Kind kind) {
  if (document_.OverlayCount(kind) >= kSlots) return false;
  const page::ScorePage& page = document_.Page();
  window_.OverlayAnchorX = page::RoundHalfEven(page.CursorLeft());
  window_.OverlayAnchorY = page::RoundHalfEven(page.CursorTop() - kAnchorRise);
  return true;
}

void OverlayPools::AddTextLabel(const QString& text, int phraseIndex) {
  document_.AddOverlay(Kind::kTextLabel, QPoint(window_.OverlayAnchorX, window_.OverlayAnchorY),
                       phraseIndex, text);
}

void OverlayPools::AddSymbolPicture(int pictureIndex, const QString& path) {
  document_.AddOverlay(Kind::kSymbolPicture, QPoint(window_.OverlayAnchorX, window_.OverlayAnchorY),
                       pictureIndex, path);
}

void OverlayPools::Unhighlight() {
  const int selected = window_.SelectedOverlay;
  if (selected < 0) return;
  if (selected < kPictureBase) {
    label7_[selected]->SetForeColour(Qt::black);
  } else if (selected - kPictureBase < kSlots) {
    ima_[selected - kPictureBase]->SetBorder(false);
  }
}

void OverlayPools::SelectTextLabel(int slot) {
  Unhighlight();
  window_.SelectedOverlay = slot;
  label7_[slot]->SetForeColour(kSelectedRed);
}

void OverlayPools::SelectSymbolPicture(int slot) {
  Unhighlight();
  window_.SelectedOverlay = slot + kPictureBase;
  ima_[slot]->SetBorder(true);
}

void OverlayPools::ClearOverlaySelection() {
  Unhighlight();
  window_.SelectedOverlay = -1;
}

std::optional<std::pair<OverlayPools::Kind, int>> OverlayPools::Selection() const {
  const int selected = window_.SelectedOverlay;
  if (selected < 0) return std::nullopt;
  if (selected < kPictureBase) return std::pair{Kind::kTextLabel, selected};
  return std::pair{Kind::kSymbolPicture, selected - kPictureBase};
}

void OverlayPools::HideSelectedOverlay() {
  const auto selection = Selection();
  if (!selection) return;
  const auto [kind, slot] = *selection;
  if (slot < kSlots) {
    score::ScoreDocument::Overlay overlay = document_.OverlayAt(kind, slot);
    overlay.shown = false;
    document_.SetOverlay(kind, slot, overlay);
  }
  dialogs_.Beep();
}

void OverlayPools::NudgeSelectedOverlay(Direction direction, int step) {
  const auto selection = Selection();
  if (!selection) return;
  const auto [kind, slot] = *selection;
  if (slot >= kSlots) return;
  score::ScoreDocument::Overlay overlay = document_.OverlayAt(kind, slot);
  QPoint& at = overlay.at;
  const page::ScorePage& page = document_.Page();
  switch (direction) {
    case Direction::kLeft:
      if (at.x() > kNudgeLimit) at.rx() -= step;
      break;
    case Direction::kUp:
      if (at.y() > kNudgeLimit) at.ry() -= step;
      break;
    case Direction::kRight:
      if (at.x() < page.Width()) at.rx() += step;
      break;
    case Direction::kDown:
      if (at.y() < page.Height()) at.ry() += step;
      break;
  }
  document_.SetOverlay(kind, slot, overlay);
}

void OverlayPools::ClearAllOverlays() {
  for (const Kind kind : {Kind::kSymbolPicture, Kind::kTextLabel}) {
    for (int slot = 0; slot < kSlots; ++slot) {
      score::ScoreDocument::Overlay overlay = document_.OverlayAt(kind, slot);
      overlay.shown = false;
      document_.SetOverlay(kind, slot, overlay);
    }
    document_.SetOverlayCount(kind, 0);
  }
}

}  // namespace tarvesh::overlays
