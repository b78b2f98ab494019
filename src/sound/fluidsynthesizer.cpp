#include "sound/fluidsynthesizer.h"

#include <fluidsynth.h>

#include <QFileInfo>
#include <QStringList>

namespace tarvesh::sound {

namespace {

// The small General MIDI font first: it loads at once; the large one sounds better.
const QStringList kSoundFonts{QStringLiteral("/usr/share/sounds/sf2/TimGM6mb.sf2"),
                              QStringLiteral("/usr/share/sounds/sf2/FluidR3_GM.sf2"),
                              QStringLiteral("/usr/share/sounds/sf2/default-GM.sf2")};

}  // namespace

struct FluidSynthesizer::Parts {
  fluid_settings_t* settings = nullptr;
  fluid_synth_t* synth = nullptr;
  fluid_audio_driver_t* driver = nullptr;

  ~Parts() {
    if (driver) delete_fluid_audio_driver(driver);
    if (synth) delete_fluid_synth(synth);
    if (settings) delete_fluid_settings(settings);
  }
};

std::unique_ptr<FluidSynthesizer> FluidSynthesizer::Open(QString* error) {
  QString font;
  for (const QString& path : kSoundFonts)
    if (QFileInfo(path).isReadable()) {
      font = path;
      break;
    }
  if (font.isEmpty()) {
    *error = QStringLiteral("找不到音色库（General MIDI 音色库），无法播放。");
    return nullptr;
  }
  auto parts = std::make_unique<Parts>();
  // FluidSynth writes its complaints to the terminal; the user gets one message instead.
  for (int level = FLUID_PANIC; level <= FLUID_DBG; ++level)
    fluid_set_log_function(level, nullptr, nullptr);
  parts->settings = new_fluid_settings();
  if (parts->settings) parts->synth = new_fluid_synth(parts->settings);
  if (!parts->synth ||
      fluid_synth_sfload(parts->synth, font.toLocal8Bit().constData(), 1) == FLUID_FAILED) {
    *error = QStringLiteral("无法载入音色库 %1，无法播放。").arg(font);
    return nullptr;
  }
  parts->driver = new_fluid_audio_driver(parts->settings, parts->synth);
  if (!parts->driver) {
    *error = QStringLiteral("没有可用的音频设备，无法播放。");
    return nullptr;
  }
  return std::unique_ptr<FluidSynthesizer>(new FluidSynthesizer(std::move(parts)));
}

FluidSynthesizer::FluidSynthesizer(std::unique_ptr<Parts> parts) : parts_(std::move(parts)) {}

FluidSynthesizer::~FluidSynthesizer() = default;

void FluidSynthesizer::Program(int channel, int program) {
  fluid_synth_program_change(parts_->synth, channel, program);
}

void FluidSynthesizer::NoteOn(int channel, int pitch, int velocity) {
  fluid_synth_noteon(parts_->synth, channel, pitch, velocity);
}

void FluidSynthesizer::NoteOff(int channel, int pitch) {
  fluid_synth_noteoff(parts_->synth, channel, pitch);
}

void FluidSynthesizer::Silence() {
  fluid_synth_all_notes_off(parts_->synth, -1);
}

}  // namespace tarvesh::sound
