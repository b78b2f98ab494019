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

OverlayPools::OverlayPools(kit::WindowState& window, page::ScorePage& page, kit::Dialogs& dialogs,
                           QWidget* canvas, kit::ControlRegistry& controls,
                           std::function<void()> focusPage)
    : QObject(canvas),
      window_(window),
      page_(page),
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
}

void OverlayPools::Reset() {
  for (auto* image : ima_) {
    image->SetBorder(false);
    image->hide();
  }
  window_.SelectedOverlay = -1;
}

bool OverlayPools::PrepareOverlayPlacement(Kind kind) {
  const int count = kind == Kind::kTextLabel ? window_.TextLabelCount : window_.SymbolPictureCount;
  if (count >= kSlots) return false;
  window_.OverlayAnchorX = page::RoundHalfEven(page_.CursorLeft());
  window_.OverlayAnchorY = page::RoundHalfEven(page_.CursorTop() - kAnchorRise);
  return true;
}

void OverlayPools::AddTextLabel(const QString& text, int phraseIndex) {
  const int i = window_.TextLabelCount;
  if (i < 0 || i >= kSlots) return;
  kit::LabelControl* label = label7_[i];
  label->move(window_.OverlayAnchorX, window_.OverlayAnchorY);
  label->SetCaption(text);
  label->show();
  label->setProperty("tag", QString::number(phraseIndex));
  window_.TextLabelCount = i + 1;
}

void OverlayPools::AddSymbolPicture(const QPixmap& picture, int pictureIndex, const QString& file) {
  const int i = window_.SymbolPictureCount;
  if (i < 0 || i >= kSlots) return;
  kit::ImageControl* image = ima_[i];
  image->move(window_.OverlayAnchorX, window_.OverlayAnchorY);
  image->SetPicture(picture, file);
  image->show();
  image->setProperty("tag", QString::number(pictureIndex));
  window_.SymbolPictureCount = i + 1;
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

void OverlayPools::HideSelectedOverlay() {
  const int selected = window_.SelectedOverlay;
  if (selected < 0) return;
  if (selected < kPictureBase)
    label7_[selected]->hide();
  else
    ima_[selected - kPictureBase]->hide();
  dialogs_.Beep();
}

void OverlayPools::NudgeSelectedOverlay(Direction direction, int step) {
  const int selected = window_.SelectedOverlay;
  if (selected < 0) return;
  QWidget* object = selected < kPictureBase ? static_cast<QWidget*>(label7_[selected])
                                            : static_cast<QWidget*>(ima_[selected - kPictureBase]);
  QPoint at = object->pos();
  switch (direction) {
    case Direction::kLeft:
      if (at.x() > kNudgeLimit) at.rx() -= step;
      break;
    case Direction::kUp:
      if (at.y() > kNudgeLimit) at.ry() -= step;
      break;
    case Direction::kRight:
      if (at.x() < page_.Width()) at.rx() += step;
      break;
    case Direction::kDown:
      if (at.y() < page_.Height()) at.ry() += step;
      break;
  }
  object->move(at);
}

void OverlayPools::ClearAllOverlays() {
  for (auto* image : ima_) image->hide();
  for (auto* label : label7_) label->hide();
  window_.SymbolPictureCount = 0;
  window_.TextLabelCount = 0;
}

}  // namespace tarvesh::overlays
