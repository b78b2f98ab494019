#pragma once

#include <QObject>
#include <QString>

class QCheckBox;

namespace tarvesh::kit {
class ControlRegistry;
class EventLog;
}  // namespace tarvesh::kit

namespace tarvesh::sound {

// The short sounds of typing, from the "sound" folder beside the program, switched by
// "使用音效" (`Check9`). A sound starts at once and cuts off the one still playing; nothing is
// waited for and nothing is reported.
class SoundPlayer : public QObject {
  Q_OBJECT

 public:
  // With `audible` false the sounds are only recorded, never sent to a device (headless runs).
  SoundPlayer(const QString& dataDir, QWidget* commandColumn, kit::ControlRegistry& controls,
              kit::EventLog& events, bool audible);

  void PlaySoundFile(const QString& name);
  bool Enabled() const;
  QCheckBox* Check9() const { return check9_; }

 private:
  QString folder_;
  QCheckBox* check9_;
  kit::EventLog& events_;
  bool audible_;
};

}  // namespace tarvesh::sound
