#include "app/controls/timercontrol.h"

namespace tarvesh::app {

TimerControl::TimerControl(const QString& name, int intervalMs, QObject* parent) : QTimer(parent) {
  setObjectName(name);
  setInterval(intervalMs);
  connect(this, &QTimer::timeout, this, &TimerControl::Tick);
}

}  // namespace tarvesh::app
