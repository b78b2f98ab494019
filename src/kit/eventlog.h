#pragma once

#include <QJsonArray>
#include <QJsonObject>

namespace tarvesh::kit {

// What the window has let a person hear or see since start-up: sounds started, beeps, message
// boxes, input boxes and dialogs, in order.
class EventLog {
 public:
  void Add(const QJsonObject& event) { events_.append(event); }
  const QJsonArray& Events() const { return events_; }

 private:
  QJsonArray events_;
};

}  // namespace tarvesh::kit
