#include "app/zoombox.h"

#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalBlocker>

#include "engine/virtualkey.h"
#include "kit/controlregistry.h"
#include "kit/pageviewport.h"

namespace tarvesh::app {

namespace {

using namespace engine::vk;
using kit::PageViewport;

// Right of "和弦颜色", between the line spacing slider and "显示辅助线": the view's settings.
constexpr QRect kBox(72, 362, 57, 20);

QString PercentText(int percent) {
  return QStringLiteral("%1%").arg(percent);
}

}  // namespace

ZoomBox::ZoomBox(const Context& context)
    : QObject(context.commandColumn),
      context_(context),
      combo6_(new QComboBox(context.commandColumn)) {
  combo6_->setObjectName(QStringLiteral("Combo6"));
  combo6_->setGeometry(kBox);
  combo6_->setEditable(true);
  combo6_->setInsertPolicy(QComboBox::NoInsert);
  combo6_->setToolTip(QStringLiteral("缩放 (Ctrl+滚轮, Ctrl+=, Ctrl+-, Ctrl+0)"));
  for (int step : PageViewport::kSteps) combo6_->addItem(PercentText(step), step);
  Show(context_.view->Zoom());
  context_.controls.Add(combo6_);
  connect(combo6_, &QComboBox::activated, this,
          [this](int index) { Choose(combo6_->itemData(index).toInt()); });
  connect(combo6_->lineEdit(), &QLineEdit::returnPressed, this, &ZoomBox::Typed);
  connect(context_.view, &PageViewport::ZoomChanged, this, &ZoomBox::Show);
}

void ZoomBox::Typed() {
  QString text = combo6_->currentText().trimmed();
  if (text.endsWith(u'%')) text.chop(1);
  bool ok = false;
  const int percent = text.toInt(&ok);
  if (ok) Choose(std::clamp(percent, PageViewport::kMinZoom, PageViewport::kMaxZoom));
  Show(context_.view->Zoom());
  context_.focusPage();
}

void ZoomBox::Choose(int percent) {
  PageViewport* view = context_.view;
  const QPoint cursor = context_.cursorAt();
  // The cursor's place in the viewport, when it is in view.
  const int zoom = view->Zoom();
  const QPoint shown(cursor.x() * zoom / 100 - view->horizontalScrollBar()->value(),
                     cursor.y() * zoom / 100 - view->verticalScrollBar()->value());
  const bool inView = view->viewport()->rect().contains(shown);
  view->SetZoom(percent, inView ? shown : QPoint(0, 0));
  context_.showCursor();
  context_.focusPage();
}

bool ZoomBox::ZoomKey(int keyCode, int shift) {
  if ((shift & kCtrlBit) == 0 || (shift & kAltBit) != 0) return false;
  const int zoom = context_.view->Zoom();
  switch (keyCode) {
    case kEqual:
    case kPadPlus:
      Choose(PageViewport::StepFrom(zoom, 1));
      return true;
    case kMinus:
    case kPadMinus:
      if (shift & kShiftBit) return false;
      Choose(PageViewport::StepFrom(zoom, -1));
      return true;
    case Digit(0):
    case Pad(0):
      if (shift & kShiftBit) return false;
      Choose(100);
      return true;
    default:
      return false;
  }
}

void ZoomBox::Show(int percent) {
  const QSignalBlocker blocker(combo6_);
  const int index = combo6_->findData(percent);
  combo6_->setCurrentIndex(index);
  combo6_->setEditText(PercentText(percent));
}

}  // namespace tarvesh::app
