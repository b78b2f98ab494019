#include "playback/player.h"

#include <algorithm>

namespace tarvesh::playback {

namespace {
constexpr int kStepMs = 5;
constexpr int kMelodyChannel = 0;
constexpr int kDrumChannel = kPercussionChannel - 1;
}  // namespace

Player::Player(QObject* parent) : QObject(parent) {
  timer_.setTimerType(Qt::PreciseTimer);
  timer_.setInterval(kStepMs);
  connect(&timer_, &QTimer::timeout, this, &Player::Advance);
}

Player::~Player() {
  if (synth_ && Playing()) synth_->Silence();
}

int Player::ChannelOf(const TimedNote& note) const {
  return note.percussion || drumsOnly_ ? kDrumChannel : kMelodyChannel;
}

void Player::Start(std::vector<TimedNote> notes, double msPerTick, int program) {
  Stop();
  notes_ = std::move(notes);
  msPerTick_ = msPerTick;
  drumsOnly_ = program < 0;
  next_ = 0;
  sounding_.clear();
  if (notes_.empty()) return;
  if (synth_ && !drumsOnly_) synth_->Program(kMelodyChannel, program);
  clock_.start();
  timer_.start();
  Advance();
}

void Player::Stop() {
  if (!Playing()) return;
  timer_.stop();
  if (synth_) synth_->Silence();
  sounding_.clear();
  emit Stopped();
}

void Player::Advance() {
  const double now = static_cast<double>(clock_.elapsed());
  // Ends first, so a note struck again at the moment the last one ends sounds again.
  std::erase_if(sounding_, [&](size_t i) {
    const TimedNote& note = notes_[i];
    if ((note.start + note.length) * msPerTick_ > now) return false;
    if (synth_) synth_->NoteOff(ChannelOf(note), note.pitch);
    return true;
  });
  while (next_ < notes_.size() && notes_[next_].start * msPerTick_ <= now) {
    const TimedNote& note = notes_[next_];
    if (synth_) synth_->NoteOn(ChannelOf(note), note.pitch, note.velocity);
    sounding_.push_back(next_);
    emit Sounding(note.line, note.item);
    ++next_;
  }
  if (next_ == notes_.size() && sounding_.empty()) Stop();
}

}  // namespace tarvesh::playback
