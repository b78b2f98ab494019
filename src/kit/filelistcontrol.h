#pragma once

#include <QListWidget>

namespace tarvesh::kit {

// A list of the files of one folder that match a pattern, sorted by name.
class FileListControl : public QListWidget {
  Q_OBJECT

 public:
  FileListControl(const QString& name, QWidget* parent, const QString& pattern);

  // Points the list at `folder` and reads it again; a missing folder lists nothing.
  void SetPath(const QString& folder);
  QString Path() const { return path_; }
  QString Pattern() const { return pattern_; }
  QStringList Files() const { return files_; }

 private:
  QString path_;
  QString pattern_;
  QStringList files_;
};

}  // namespace tarvesh::kit
