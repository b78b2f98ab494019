#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <vector>

namespace tarvesh::kit {

// Every named control of the window, found by the name the program gives it ("Picture1",
// "Label2(4)", "Timer2"), in creation order.
class ControlRegistry {
 public:
  // Registers `control` under its object name.
  void Add(QObject* control);
  QObject* Find(const QString& name) const { return byName_.value(name); }
  template <typename T>
  T* Get(const QString& name) const {
    return qobject_cast<T*>(Find(name));
  }
  const std::vector<QObject*>& All() const { return ordered_; }

 private:
  QHash<QString, QObject*> byName_;
  std::vector<QObject*> ordered_;
};

// "Label2(4)" for the element 4 of the control array Label2.
QString IndexedName(const QString& array, int index);

}  // namespace tarvesh::kit
