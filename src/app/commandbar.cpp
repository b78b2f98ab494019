#include "app/commandbar.h"

#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>

#include "kit/controlregistry.h"
#include "kit/pageviewport.h"

namespace tarvesh::app {

namespace {

struct CommandButton {
  int index;
  const char* text;
  int top;
};
constexpr CommandButton kButtons[] = {
    {6, "新建", 48},          {0, "打开", 72},  {1, "保存", 96},  {2, "别存为", 120},
    {3, "批量导出图片", 144}, {7, "选项", 192}, {5, "退出", 216},
};

}  // namespace

CommandBar::CommandBar(const Context& context) : QObject(context.form), context_(context) {
  for (const CommandButton& b : kButtons) {
    auto* button = new QPushButton(QString::fromUtf8(b.text), context_.commandColumn);
    button->setObjectName(kit::IndexedName(QStringLiteral("Command1"), b.index));
    button->setGeometry(8, b.top, 121, 17);
    context_.controls.Add(button);
    command1_[b.index] = button;
    const int index = b.index;
    connect(button, &QPushButton::clicked, this, [this, index] { Run(index); });
  }
  command3_ = new QPushButton(QStringLiteral("关闭"), context_.optionsPanel);
  command3_->setObjectName(QStringLiteral("Command3"));
  command3_->setGeometry(224, 304, 81, 25);
  context_.controls.Add(command3_);
  connect(command3_, &QPushButton::clicked, this, [this] {
    context_.optionsPanel->hide();
    context_.focusPage();
  });

  vscroll1_ = new QScrollBar(Qt::Vertical, context_.form);
  vscroll1_->setObjectName(QStringLiteral("VScroll1"));
  vscroll1_->setGeometry(160, 0, 16, 305);
  vscroll1_->setRange(0, 18);
  vscroll1_->setSingleStep(1);
  vscroll1_->setPageStep(5);
  context_.controls.Add(vscroll1_);
  connect(vscroll1_, &QScrollBar::valueChanged, this, [this] {
    ApplyScroll();
    context_.focusPage();
  });
  connect(context_.view, &kit::PageViewport::Scrolled, this, &CommandBar::FollowView);
}

// The scroll bar's range stays 0..18; its whole range spans the view's, so that its end is the
// page's end at every zoom and window height, and both bars stand at the same place.
void CommandBar::ApplyScroll() {
  context_.view->SetVerticalFraction(double(vscroll1_->value()) / vscroll1_->maximum());
  FollowView();
}

void CommandBar::FollowView() {
  const QSignalBlocker blocker(vscroll1_);
  vscroll1_->setValue(qRound(context_.view->VerticalFraction() * vscroll1_->maximum()));
}

void CommandBar::SetCommandsEnabled(bool enabled) {
  for (auto& [index, button] : command1_) button->setEnabled(enabled);
}

void CommandBar::Run(int command) {
  switch (command) {
    case kNew:
      emit NewRequested();
      break;
    case kOpen:
      emit OpenRequested();
      break;
    case kSave:
    case kSaveAs:
      emit SaveRequested(command == kSaveAs);
      break;
    case kBatchExport:
      emit BatchExportRequested();
      break;
    case kOptions:
      context_.optionsPanel->setVisible(context_.optionsPanel->isHidden());
      if (!context_.optionsPanel->isHidden()) context_.optionsPanel->raise();
      break;
    case kExit:
      emit ExitRequested();
      return;
    default:
      break;
  }
  context_.focusPage();
}

}  // namespace tarvesh::app
