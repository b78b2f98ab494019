#include "app/commandbar.h"

#include <QPushButton>
#include <QScrollBar>

#include "kit/controlregistry.h"

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
// Each step of the scroll bar moves the page by this many pixels.
constexpr int kScrollStep = 100;

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
}

void CommandBar::ApplyScroll() {
  context_.canvas->move(context_.canvas->x(), -kScrollStep * vscroll1_->value());
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
