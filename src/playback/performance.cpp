#include "playback/performance.h"

#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <utility>

namespace tarvesh::playback {

namespace {

using reading::BarKind;
using reading::ItemKind;

// Semitones of the degrees 1-7 above the tonic.
constexpr std::array<int, 7> kDegreeSemitones{0, 2, 4, 5, 7, 9, 11};
constexpr int kDownbeatVelocity = 100;
constexpr int kBeatVelocity = 84;
constexpr int kOffbeatVelocity = 72;

struct Position {
  int line;
  int item;
};

// Items in the order they are played: a repeat end sends the play back to the last start sign
// (or the beginning) once.
std::vector<Position> PlayOrder(const std::vector<reading::ReadLine>& lines) {
  std::vector<Position> items;
  for (int l = 0; l < static_cast<int>(lines.size()); ++l)
    for (int i = 0; i < static_cast<int>(lines[l].items.size()); ++i) items.push_back({l, i});
  std::vector<Position> order;
  std::set<size_t> repeated;
  size_t mark = 0;
  for (size_t i = 0; i < items.size();) {
    order.push_back(items[i]);
    const BarKind bar = lines[items[i].line].items[items[i].item].bar;
    if (bar == BarKind::kRepeatEnd) {
      if (repeated.insert(i).second) {
        i = mark;
        continue;
      }
      mark = i + 1;
    } else if (bar == BarKind::kRepeatStart) {
      mark = i;
    }
    ++i;
  }
  return order;
}

// An arc from the note struck last to a note of the same pitch is a tie: one sound held. The
// same degree without an accidental of its own is the same pitch too, even where a bar line has
// cancelled the first note's accidental: a tie carries it over the bar line.
bool TiedFrom(const std::vector<reading::ReadLine>& lines, const TimedNote& last,
              const reading::ReadItem& item, int pitch) {
  if (last.percussion) return false;
  const reading::ReadItem& from = lines[last.line].items[last.item];
  if (!from.slurStart) return false;
  return last.pitch == pitch || (item.accidental == reading::Accidental::kNone &&
                                 from.degree == item.degree && from.octave == item.octave);
}

int ValueTicks(int duration) {
  return duration > 0 ? kTicksPerWhole / duration : kTicksPerQuarter;
}

}  // namespace

int Performance::PercussionKey(int syllable) {
  // 冬 bass drum, X side stick, 仓 crash cymbal, 次 splash cymbal, 板 wood block.
  static constexpr std::array<int, 5> kKeys{36, 37, 49, 55, 76};
  return syllable >= 0 && syllable < static_cast<int>(kKeys.size()) ? kKeys[syllable] : 38;
}

Performance::Performance(const std::vector<reading::ReadLine>& lines, const ScoreHead& head)
    : head_(head) {
  const int beatTicks = kTicksPerWhole / head.beatUnit;
  int tick = 0;
  int barStart = 0;
  // The note that dashes and dots lengthen; none after a rest.
  int sounding = -1;
  // What the last dot or value added, so a second dot adds half of it.
  int lastAdded = 0;
  // Accidentals met in the bar, by degree and octave: semitones from the natural pitch.
  std::map<std::pair<int, int>, int> held;
  auto velocityAt = [&](int at) {
    const int inBar = at - barStart;
    if (inBar == 0) return kDownbeatVelocity;
    return inBar % beatTicks == 0 ? kBeatVelocity : kOffbeatVelocity;
  };
  for (const Position& at : PlayOrder(lines)) {
    const reading::ReadItem& item = lines[at.line].items[at.item];
    switch (item.kind) {
      case ItemKind::kNote: {
        const int degree = std::clamp(item.degree, 1, 7);
        const std::pair<int, int> key{degree, item.octave};
        switch (item.accidental) {
          case reading::Accidental::kSharp:
            held[key] = 1;
            break;
          case reading::Accidental::kFlat:
            held[key] = -1;
            break;
          case reading::Accidental::kNatural:
            held[key] = 0;
            break;
          case reading::Accidental::kNone:
            break;
        }
        const auto found = held.find(key);
        const int pitch = std::clamp(head.tonic + kDegreeSemitones[degree - 1] + 12 * item.octave +
                                         (found != held.end() ? found->second : 0),
                                     0, 127);
        lastAdded = ValueTicks(item.duration);
        if (item.slurEnd && sounding >= 0 && TiedFrom(lines, notes_[sounding], item, pitch)) {
          notes_[sounding].length += lastAdded;
        } else {
          sounding = static_cast<int>(notes_.size());
          notes_.push_back({pitch, velocityAt(tick), false, tick, lastAdded, at.line, at.item});
        }
        tick += lastAdded;
        break;
      }
      case ItemKind::kPercussion:
        lastAdded = ValueTicks(item.duration);
        sounding = static_cast<int>(notes_.size());
        notes_.push_back({PercussionKey(item.degree), velocityAt(tick), true, tick, lastAdded,
                          at.line, at.item});
        tick += lastAdded;
        break;
      case ItemKind::kRest:
        lastAdded = ValueTicks(item.duration);
        sounding = -1;
        tick += lastAdded;
        break;
      case ItemKind::kDash:
        lastAdded = kTicksPerQuarter;
        if (sounding >= 0) notes_[sounding].length += lastAdded;
        tick += lastAdded;
        break;
      case ItemKind::kDot:
        lastAdded /= 2;
        if (sounding >= 0) notes_[sounding].length += lastAdded;
        tick += lastAdded;
        break;
      case ItemKind::kBar:
        held.clear();
        barStart = tick;
        break;
      case ItemKind::kParen:
      case ItemKind::kChord:
      case ItemKind::kUnknown:
        break;
    }
  }
  end_ = tick;
}

double Performance::Milliseconds(int ticks) const {
  return ticks * 60000.0 / (kTicksPerQuarter * head_.quartersPerMinute);
}

std::vector<TimedNote> Performance::From(int line, int item) const {
  const auto first = std::find_if(notes_.begin(), notes_.end(), [&](const TimedNote& note) {
    return std::pair(note.line, note.item) >= std::pair(line, item);
  });
  if (first == notes_.end()) return notes_;
  std::vector<TimedNote> notes;
  for (const TimedNote& note : notes_) {
    if (note.start < first->start) continue;
    notes.push_back(note);
    notes.back().start -= first->start;
  }
  return notes;
}

}  // namespace tarvesh::playback
