#pragma once

#include <QTimer>

namespace tarvesh::kit {

// A window timer. Handlers listen to Tick, which every timeout raises and which a script can
// raise by itself, whether or not the timer runs.
class TimerControl : public QTimer {
  Q_OBJECT

 public:
  TimerControl(const QString& name, int intervalMs, QObject* parent);

 signals:
  void Tick();
};

}  // namespace tarvesh::kit
