#pragma once

#include <QString>
#include <QStringList>

namespace tarvesh::sound {

class AudioOutputs;

// The sound libraries (Qt Multimedia, FluidSynth and the sound servers and codecs they bring)
// are loaded the first time something sounds, not when the window opens.
class AudioModule {
 public:
  // The module's outputs, loaded on the first call from the first of Places() that holds it;
  // null with `error` saying why when it cannot be loaded (asked again, the answer is the same).
  static AudioOutputs* Outputs(QString* error);
  // The module's file in the program's own folder (a build folder), then in the installed
  // library folder at the same place relative to bin/.
  static QStringList Places(const QString& programDir);
};

}  // namespace tarvesh::sound
