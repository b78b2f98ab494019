#include "app/windowenginehost.h"

#include "score/scoredocument.h"
#include "sound/soundplayer.h"

namespace tarvesh::app {

page::LayoutSettings WindowEngineHost::Settings() const {
  return document_.Settings();
}

void WindowEngineHost::PlaySoundFile(const QString& name) {
  sound_.PlaySoundFile(name);
}

}  // namespace tarvesh::app
