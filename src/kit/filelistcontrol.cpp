#include "kit/filelistcontrol.h"

#include "document/folders.h"

namespace tarvesh::kit {

FileListControl::FileListControl(const QString& name, QWidget* parent, const QString& pattern)
    : QListWidget(parent), pattern_(pattern) {
  setObjectName(name);
}

void FileListControl::SetPath(const QString& folder) {
  path_ = folder;
  files_ = document::FilesIn(folder, pattern_);
  clear();
  addItems(files_);
}

}  // namespace tarvesh::kit
