#pragma once

#include <QObject>
#include <QString>

class QPushButton;
class QWidget;

namespace tarvesh::kit {
class ControlRegistry;
class LabelControl;
}  // namespace tarvesh::kit

namespace tarvesh::app {

// What a running batch export shows in the strip of the window under the command column: the
// progress text Label25 ("导出 3/10 c.bmp") and the button Command25 "停止". Both are hidden
// while no batch runs.
class BatchProgress : public QObject {
  Q_OBJECT

 public:
  BatchProgress(QWidget* window, kit::ControlRegistry& controls);

  // Shows the strip with score `number` of `total` in work.
  void Show(int number, int total, const QString& name);
  void Hide();

 signals:
  // Command25 was pressed.
  void StopRequested();

 private:
  kit::LabelControl* label25_;
  QPushButton* command25_;
};

}  // namespace tarvesh::app
