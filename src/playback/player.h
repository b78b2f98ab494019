#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <vector>

#include "playback/synth.h"
#include "playback/timednote.h"

namespace tarvesh::playback {

// Plays timed notes on a synthesizer as the clock goes, telling which item sounds. Without a
// synthesizer it keeps the same time and tells the same items, silently.
class Player : public QObject {
  Q_OBJECT

 public:
  explicit Player(QObject* parent = nullptr);
  ~Player() override;

  // `synth` may be null; it must outlive the playing.
  void SetSynth(Synth* synth) { synth_ = synth; }
  // Plays `notes` (in time order, from tick 0) at `msPerTick`, the melody with `program` (see
  // ChannelOf).
  void Start(std::vector<TimedNote> notes, double msPerTick, int program);
  void Stop();
  bool Playing() const { return playing_; }

 signals:
  // The item of the reading whose note has just started.
  void Sounding(int line, int item);
  // Playing has ended, by itself or stopped.
  void Stopped();

 private:
  // Starts and ends what is due, then waits for the next start or end.
  void Advance();

  Synth* synth_ = nullptr;
  bool playing_ = false;
  QTimer timer_;
  QElapsedTimer clock_;
  std::vector<TimedNote> notes_;
  double msPerTick_ = 1;
  int program_ = 0;
  size_t next_ = 0;
  // Notes sounding, by index, to be ended.
  std::vector<size_t> sounding_;
};

}  // namespace tarvesh::playback
