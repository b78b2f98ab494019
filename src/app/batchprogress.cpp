#include "app/batchprogress.h"

#include <QPushButton>

#include "kit/controlregistry.h"
#include "kit/labelcontrol.h"

namespace tarvesh::app {

namespace {
// The strip of the window under Frame1: x 8..152, y 756..800.
constexpr int kStripLeft = 8;
constexpr int kStripWidth = 145;
constexpr int kTextTop = 757;
constexpr int kTextHeight = 17;
constexpr int kStopTop = 777;
constexpr int kStopWidth = 49;
constexpr int kStopHeight = 21;
}  // namespace

BatchProgress::BatchProgress(QWidget* window, kit::ControlRegistry& controls) : QObject(window) {
  // A fixed width: a long score name is cut at the strip's edge rather than widening it.
  label25_ = new kit::LabelControl(QStringLiteral("Label25"), QString(), window, false);
  label25_->setGeometry(kStripLeft, kTextTop, kStripWidth, kTextHeight);
  command25_ = new QPushButton(QStringLiteral("停止"), window);
  command25_->setObjectName(QStringLiteral("Command25"));
  command25_->setGeometry(kStripLeft, kStopTop, kStopWidth, kStopHeight);
  controls.Add(label25_);
  controls.Add(command25_);
  connect(command25_, &QPushButton::clicked, this, &BatchProgress::StopRequested);
  Hide();
}

void BatchProgress::Show(int number, int total, const QString& name) {
  label25_->SetCaption(QStringLiteral("导出 %1/%2 %3").arg(number).arg(total).arg(name));
  label25_->show();
  command25_->show();
  command25_->raise();
  label25_->raise();
}

void BatchProgress::Hide() {
  label25_->hide();
  command25_->hide();
  label25_->SetCaption(QString());
}

}  // namespace tarvesh::app
