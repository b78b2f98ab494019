#include "kit/controlregistry.h"

namespace tarvesh::kit {

void ControlRegistry::Add(QObject* control) {
  const QString name = control->objectName();
  Q_ASSERT(!name.isEmpty() && !byName_.contains(name));
  byName_.insert(name, control);
  ordered_.push_back(control);
}

QString IndexedName(const QString& array, int index) {
  return QStringLiteral("%1(%2)").arg(array).arg(index);
}

}  // namespace tarvesh::kit
