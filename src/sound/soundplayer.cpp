#include "sound/soundplayer.h"

#include <QCheckBox>
#include <QDir>

#include "kit/controlregistry.h"
#include "kit/eventlog.h"
#include "sound/audiomodule.h"
#include "sound/audiooutputs.h"

namespace tarvesh::sound {

SoundPlayer::SoundPlayer(const QString& dataDir, QWidget* commandColumn,
                         kit::ControlRegistry& controls, kit::EventLog& events, bool audible)
    : QObject(commandColumn),
      folder_(QDir(dataDir).filePath(QStringLiteral("sound"))),
      check9_(new QCheckBox(QStringLiteral("使用音效"), commandColumn)),
      events_(events),
      audible_(audible) {
  check9_->setObjectName(QStringLiteral("Check9"));
  check9_->setGeometry(8, 456, 121, 17);
  check9_->setChecked(true);
  // The switch has no handler to give the focus back, so it never takes it: typing goes on on
  // the page after the sounds are switched.
  check9_->setFocusPolicy(Qt::NoFocus);
  controls.Add(check9_);
}

bool SoundPlayer::Enabled() const {
  return check9_->isChecked();
}

void SoundPlayer::PlaySoundFile(const QString& name) {
  if (!Enabled()) return;
  events_.Add({{"sound", name}});
  if (!audible_) return;
  // Without the sound module the sounds stay unheard, as with a missing file.
  if (AudioOutputs* outputs = AudioModule::Outputs(nullptr))
    outputs->PlayEffect(QDir(folder_).filePath(name));
}

}  // namespace tarvesh::sound
