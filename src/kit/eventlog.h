#pragma once

#include <QJsonArray>
#include <QJsonObject>

namespace tarvesh::kit {

// What the window has let a person hear or see since start-up: sounds started, beeps, message
// boxes, input boxes and dialogs, in order. Kept only where a dump can ask for it (a script
// run); elsewhere it keeps nothing, so a long session costs no memory for it.
class EventLog {
 public:
  explicit EventLog(bool kept) : kept_(kept) {}

  void Add(const QJsonObject& event) {
    if (kept_) events_.append(event);
  }
  const QJsonArray& Events() const { return events_; }

 private:
  bool kept_;
  QJsonArray events_;
};

}  // namespace tarvesh::kit
