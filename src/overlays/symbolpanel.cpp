#include "overlays/symbolpanel.h"

#include <QDir>
#include <QGroupBox>
#include <QPushButton>

#include "kit/controlregistry.h"
#include "kit/filelistcontrol.h"
#include "kit/imagecontrol.h"
#include "kit/windowstate.h"
#include "overlays/overlaypools.h"

namespace tarvesh::overlays {

namespace {
constexpr int kPanelDrop = 24;
}

SymbolPanel::SymbolPanel(OverlayPools& pools, kit::WindowState& window, QWidget* canvas,
                         kit::ControlRegistry& controls, std::function<void()> focusPage)
    : QObject(canvas),
      pools_(pools),
      window_(window),
      focusPage_(std::move(focusPage)),
      frame3_(new QGroupBox(QStringLiteral("图片"), canvas)) {
  frame3_->setObjectName(QStringLiteral("Frame3"));
  frame3_->setGeometry(0, 0, kWidth, 449);
  frame3_->setAutoFillBackground(true);
  frame3_->hide();
  controls.Add(frame3_);
  image2_ = new kit::ImageControl(QStringLiteral("Image2"), frame3_);
  image2_->setGeometry(16, 24, 177, 57);
  controls.Add(image2_);
  file1_ = new kit::FileListControl(QStringLiteral("File1"), frame3_, QStringLiteral("*.bmp"));
  file1_->setGeometry(16, 104, 185, 306);
  controls.Add(file1_);
  auto* command8 = new QPushButton(QStringLiteral("确定"), frame3_);
  command8->setObjectName(QStringLiteral("Command8"));
  command8->setGeometry(136, 424, 65, 17);
  controls.Add(command8);
  auto* command9 = new QPushButton(QStringLiteral("取消"), frame3_);
  command9->setObjectName(QStringLiteral("Command9"));
  command9->setGeometry(56, 424, 65, 17);
  controls.Add(command9);

  connect(file1_, &QListWidget::currentRowChanged, this, &SymbolPanel::Preview);
  connect(file1_, &QListWidget::itemDoubleClicked, this, &SymbolPanel::Confirm);
  connect(command8, &QPushButton::clicked, this, &SymbolPanel::Confirm);
  connect(command9, &QPushButton::clicked, this, &SymbolPanel::Cancel);
}

void SymbolPanel::SetFolder(const QString& folder) {
  file1_->SetPath(folder);
}

void SymbolPanel::Open(int pageWidth) {
  int left = window_.OverlayAnchorX;
  if (left > pageWidth - kWidth) left = pageWidth - kWidth;
  frame3_->move(left, window_.OverlayAnchorY + kPanelDrop);
  frame3_->show();
  frame3_->raise();
}

void SymbolPanel::Preview() {
  const int row = file1_->currentRow();
  if (row < 0) return;
  image2_->LoadPicture(QDir(file1_->Path()).filePath(file1_->item(row)->text()));
}

void SymbolPanel::Confirm() {
  const int row = file1_->currentRow();
  if (row < 0) return;
  // A file that cannot be read as a picture places nothing.
  if (image2_->Picture().isNull()) return;
  pools_.AddSymbolPicture(row, QDir(file1_->Path()).filePath(file1_->item(row)->text()));
  Cancel();
}

void SymbolPanel::Cancel() {
  frame3_->hide();
  focusPage_();
}

}  // namespace tarvesh::overlays
