#include "kit/timercontrol.h"

namespace tarvesh::kit {

TimerControl::TimerControl(const QString& name, int intervalMs, QObject* parent) : QTimer(parent) {
  setObjectName(name);
  setInterval(intervalMs);
  connect(this, &QTimer::timeout, this, &TimerControl::Tick);
}

}  // namespace tarvesh::kit
