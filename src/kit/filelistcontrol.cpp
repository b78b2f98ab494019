#include "kit/filelistcontrol.h"

#include <QDir>

namespace tarvesh::kit {

FileListControl::FileListControl(const QString& name, QWidget* parent, const QString& pattern)
    : QListWidget(parent), pattern_(pattern) {
  setObjectName(name);
}

void FileListControl::SetPath(const QString& folder) {
  path_ = folder;
  const QDir dir(folder);
  files_ = dir.exists() ? dir.entryList({pattern_}, QDir::Files, QDir::Name | QDir::IgnoreCase)
                        : QStringList();
  clear();
  addItems(files_);
}

}  // namespace tarvesh::kit
