// The three feedback sounds, synthesised: short, soft and easy to tell apart while typing.
#include <QtEndian>
#include <cmath>
#include <numbers>
#include <vector>

#include "artwork.h"

namespace tarvesh::artwork {

namespace {

constexpr int kSampleRate = 44100;
constexpr double kTwoPi = 2 * std::numbers::pi;

// A sum of decaying sine partials: frequency ratio to the fundamental, amplitude, and the
// time in seconds in which the partial falls to 1/e.
struct Partial {
  double ratio;
  double amplitude;
  double decay;
};

// Adds a struck tone starting at `start` seconds. A 3 ms attack keeps the onset from clicking.
void AddTone(std::vector<double>& samples, double start, double frequency,
             std::initializer_list<Partial> partials) {
  const size_t first = size_t(start * kSampleRate);
  for (size_t i = first; i < samples.size(); ++i) {
    const double t = double(i - first) / kSampleRate;
    const double attack = std::min(1.0, t / 0.003);
    double value = 0;
    for (const Partial& p : partials)
      value += p.amplitude * std::exp(-t / p.decay) * std::sin(kTwoPi * frequency * p.ratio * t);
    samples[i] += attack * value;
  }
}

// Fades the last `seconds` to silence so the file ends without a click.
void FadeOut(std::vector<double>& samples, double seconds) {
  const size_t n = std::min(samples.size(), size_t(seconds * kSampleRate));
  for (size_t i = 0; i < n; ++i) samples[samples.size() - 1 - i] *= double(i) / double(n);
}

QByteArray Wav(const std::vector<double>& samples, double peak) {
  double loudest = 1e-9;
  for (double s : samples) loudest = std::max(loudest, std::abs(s));
  const double gain = peak * 32767 / loudest;

  const quint32 dataBytes = quint32(samples.size() * 2);
  QByteArray wav;
  auto u32 = [&](quint32 v) {
    const quint32 le = qToLittleEndian(v);
    wav.append(reinterpret_cast<const char*>(&le), 4);
  };
  auto u16 = [&](quint16 v) {
    const quint16 le = qToLittleEndian(v);
    wav.append(reinterpret_cast<const char*>(&le), 2);
  };
  wav.append("RIFF");
  u32(36 + dataBytes);
  wav.append("WAVEfmt ");
  u32(16);  // format chunk size
  u16(1);   // PCM
  u16(1);   // mono
  u32(kSampleRate);
  u32(kSampleRate * 2);  // bytes per second
  u16(2);                // bytes per frame
  u16(16);               // bits per sample
  wav.append("data");
  u32(dataBytes);
  for (double s : samples) u16(quint16(qint16(std::lround(s * gain))));
  return wav;
}

std::vector<double> Silence(double seconds) {
  return std::vector<double>(size_t(seconds * kSampleRate), 0.0);
}

}  // namespace

QByteArray MakeClickSound() {
  // A muted wooden tick: a high, very short tone over a lower body.
  std::vector<double> samples = Silence(0.040);
  AddTone(samples, 0, 1800, {{1.0, 1.0, 0.004}, {2.3, 0.4, 0.002}});
  AddTone(samples, 0, 620, {{1.0, 0.6, 0.010}});
  FadeOut(samples, 0.005);
  return Wav(samples, 0.35);
}

QByteArray MakeBarChimeSound() {
  // A small bell on A6 with the slightly inharmonic upper partials of a struck bar.
  std::vector<double> samples = Silence(0.300);
  AddTone(samples, 0, 1760,
          {{1.0, 1.0, 0.110}, {2.76, 0.35, 0.050}, {5.40, 0.15, 0.025}, {0.5, 0.2, 0.120}});
  FadeOut(samples, 0.030);
  return Wav(samples, 0.45);
}

QByteArray MakeNewLineSound() {
  // Two soft notes a fifth apart, C6 then G6, like a carriage reaching the next line.
  std::vector<double> samples = Silence(0.350);
  AddTone(samples, 0, 1046.5, {{1.0, 1.0, 0.070}, {2.0, 0.25, 0.035}, {3.0, 0.1, 0.020}});
  AddTone(samples, 0.110, 1568.0, {{1.0, 1.0, 0.090}, {2.0, 0.25, 0.045}, {3.0, 0.1, 0.025}});
  FadeOut(samples, 0.030);
  return Wav(samples, 0.45);
}

}  // namespace tarvesh::artwork
