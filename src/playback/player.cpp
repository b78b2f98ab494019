#include "playback/player.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tarvesh::playback {

namespace {
constexpr int kMelodyChannel = 0;
}  // namespace

Player::Player(QObject* parent) : QObject(parent) {
  timer_.setTimerType(Qt::PreciseTimer);
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, &Player::Advance);
}

Player::~Player() {
  if (synth_ && Playing()) synth_->Silence();
}

void Player::Start(std::vector<TimedNote> notes, double msPerTick, int program) {
  Stop();
  notes_ = std::move(notes);
  msPerTick_ = msPerTick;
  program_ = program;
  next_ = 0;
  sounding_.clear();
  if (notes_.empty()) return;
  if (synth_ && program_ != kPercussionKit) synth_->Program(kMelodyChannel, program_);
  playing_ = true;
  clock_.start();
  Advance();
}

void Player::Stop() {
  if (!playing_) return;
  playing_ = false;
  timer_.stop();
  if (synth_) synth_->Silence();
  sounding_.clear();
  emit Stopped();
}

void Player::Advance() {
  const double now = static_cast<double>(clock_.elapsed());
  auto endOf = [&](size_t i) { return (notes_[i].start + notes_[i].length) * msPerTick_; };
  // Ends first, so a note struck again at the moment the last one ends sounds again.
  std::erase_if(sounding_, [&](size_t i) {
    if (endOf(i) > now) return false;
    if (synth_) synth_->NoteOff(ChannelOf(notes_[i], program_), notes_[i].pitch);
    return true;
  });
  while (next_ < notes_.size() && notes_[next_].start * msPerTick_ <= now) {
    const TimedNote& note = notes_[next_];
    if (synth_) synth_->NoteOn(ChannelOf(note, program_), note.pitch, note.velocity);
    sounding_.push_back(next_);
    emit Sounding(note.line, note.item);
    ++next_;
  }
  double due = std::numeric_limits<double>::infinity();
  if (next_ < notes_.size()) due = notes_[next_].start * msPerTick_;
  for (const size_t i : sounding_) due = std::min(due, endOf(i));
  if (std::isinf(due)) {
    Stop();
    return;
  }
  timer_.start(static_cast<int>(std::ceil(std::max(0.0, due - now))));
}

}  // namespace tarvesh::playback
