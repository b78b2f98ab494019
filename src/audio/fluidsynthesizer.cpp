#include "audio/fluidsynthesizer.h"

#include <fluidsynth.h>

#include <QFileInfo>
#include <QStringList>
#include <array>

namespace tarvesh::audio {

namespace {

// The small General MIDI font first: it loads at once; the large one sounds better.
const QStringList kSoundFonts{QStringLiteral("/usr/share/sounds/sf2/TimGM6mb.sf2"),
                              QStringLiteral("/usr/share/sounds/sf2/FluidR3_GM.sf2"),
                              QStringLiteral("/usr/share/sounds/sf2/default-GM.sf2")};

constexpr double kGain = 1.0;

// PulseAudio first: desktops (PipeWire ones too) play through it, sharing the device; ALSA where
// no sound server runs. JACK is left out: its library may start a server that takes the device
// from every other program.
constexpr std::array<const char*, 2> kAudioDrivers{"pulseaudio", "alsa"};

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
    *error =
        QStringLiteral("找不到 General MIDI 音色库，无法播放。请安装软件包 timgm6mb-soundfont。");
    return nullptr;
  }
  auto parts = std::make_unique<Parts>();
  // FluidSynth writes its complaints to the terminal; the user gets one message instead.
  for (int level = FLUID_PANIC; level <= FLUID_DBG; ++level)
    fluid_set_log_function(level, nullptr, nullptr);
  parts->settings = new_fluid_settings();
  if (parts->settings) {
    // FluidSynth's own gain (0.2) leaves a melody about 30 dB below full scale.
    fluid_settings_setnum(parts->settings, "synth.gain", kGain);
    parts->synth = new_fluid_synth(parts->settings);
  }
  if (!parts->synth ||
      fluid_synth_sfload(parts->synth, font.toLocal8Bit().constData(), 1) == FLUID_FAILED) {
    *error = QStringLiteral("无法载入音色库 %1，无法播放。").arg(font);
    return nullptr;
  }
  for (const char* driver : kAudioDrivers) {
    if (fluid_settings_setstr(parts->settings, "audio.driver", driver) == FLUID_OK)
      parts->driver = new_fluid_audio_driver(parts->settings, parts->synth);
    if (parts->driver) break;
  }
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

}  // namespace tarvesh::audio
