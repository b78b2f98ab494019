#include "sound/audiomodule.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPluginLoader>

#include "sound/audiooutputs.h"

namespace tarvesh::sound {

QStringList AudioModule::Places(const QString& programDir) {
  const QDir program(programDir);
  return {program.filePath(QStringLiteral(TARVESH_AUDIO_MODULE)),
          QDir::cleanPath(
              program.filePath(QStringLiteral(TARVESH_AUDIO_FROM_BIN "/" TARVESH_AUDIO_MODULE)))};
}

AudioOutputs* AudioModule::Outputs(QString* error) {
  struct Loaded {
    AudioOutputs* outputs = nullptr;
    QString error;
  };
  static const Loaded loaded = [] {
    const QStringList places = Places(QCoreApplication::applicationDirPath());
    for (const QString& place : places) {
      if (!QFileInfo::exists(place)) continue;
      // The loader is kept: the module stays loaded for the rest of the run.
      auto* loader = new QPluginLoader(place);
      if (auto* outputs = qobject_cast<AudioOutputs*>(loader->instance()))
        return Loaded{outputs, QString()};
      const QString why = loader->errorString();
      delete loader;
      return Loaded{
          nullptr,
          QStringLiteral("无法载入声音模块 %1：%2").arg(QDir::toNativeSeparators(place), why)};
    }
    return Loaded{nullptr, QStringLiteral("找不到声音模块 %1，安装不完整。")
                               .arg(QDir::toNativeSeparators(places.last()))};
  }();
  if (!loaded.outputs && error) *error = loaded.error;
  return loaded.outputs;
}

}  // namespace tarvesh::sound
