#include "overlays/textlabelpanel.h"

#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>

#include "kit/controlregistry.h"
#include "kit/windowstate.h"
#include "overlays/overlaypools.h"

namespace tarvesh::overlays {

namespace {
// The panel opens this far below the anchor, which is 12 pixels above the cursor's top.
constexpr int kPanelDrop = 24;
}  // namespace

TextLabelPanel::TextLabelPanel(OverlayPools& pools, kit::WindowState& window, QWidget* canvas,
                               kit::ControlRegistry& controls, std::function<void()> focusPage)
    : QObject(canvas),
      pools_(pools),
      window_(window),
      focusPage_(std::move(focusPage)),
      frame2_(new QGroupBox(QStringLiteral("插入文字编辑"), canvas)),
      list1_(new QListWidget(frame2_)) {
  frame2_->setObjectName(QStringLiteral("Frame2"));
  frame2_->setGeometry(104, 184, kWidth, 401);
  frame2_->setAutoFillBackground(true);
  frame2_->hide();
  controls.Add(frame2_);
  list1_->setObjectName(QStringLiteral("List1"));
  list1_->setGeometry(8, 16, 249, 352);
  controls.Add(list1_);
  auto* command5 = new QPushButton(QStringLiteral("确定"), frame2_);
  command5->setObjectName(QStringLiteral("Command5"));
  command5->setGeometry(176, 376, 73, 17);
  controls.Add(command5);
  auto* command6 = new QPushButton(QStringLiteral("取消"), frame2_);
  command6->setObjectName(QStringLiteral("Command6"));
  command6->setGeometry(80, 376, 73, 17);
  controls.Add(command6);

  connect(command5, &QPushButton::clicked, this, &TextLabelPanel::Confirm);
  connect(list1_, &QListWidget::itemDoubleClicked, this, &TextLabelPanel::Confirm);
  connect(command6, &QPushButton::clicked, this, &TextLabelPanel::Cancel);
}

void TextLabelPanel::AddPhrases(const QStringList& phrases) {
  list1_->addItems(phrases);
}

void TextLabelPanel::Open(int pageWidth) {
  int left = window_.OverlayAnchorX;
  if (left > pageWidth - kWidth) left = pageWidth - kWidth;
  frame2_->move(left, window_.OverlayAnchorY + kPanelDrop);
  frame2_->show();
  frame2_->raise();
}

void TextLabelPanel::Confirm() {
  const int row = list1_->currentRow();
  if (row < 0) return;
  pools_.AddTextLabel(list1_->item(row)->text(), row);
  Cancel();
}

void TextLabelPanel::Cancel() {
  frame2_->hide();
  focusPage_();
}

}  // namespace tarvesh::overlays
