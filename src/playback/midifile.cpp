#include "playback/midifile.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace tarvesh::playback {

namespace {

struct Event {
  int tick;
  QByteArray bytes;
};

void AppendNumber(QByteArray& out, quint32 value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.append(static_cast<char>((value >> (8 * i)) & 0xff));
}

void AppendVariable(QByteArray& out, quint32 value) {
  QByteArray reversed;
  reversed.append(static_cast<char>(value & 0x7f));
  while (value >>= 7) reversed.append(static_cast<char>((value & 0x7f) | 0x80));
  std::reverse(reversed.begin(), reversed.end());
  out.append(reversed);
}

QByteArray Meta(int type, const QByteArray& data) {
  QByteArray bytes;
  bytes.append(static_cast<char>(0xff));
  bytes.append(static_cast<char>(type));
  AppendVariable(bytes, static_cast<quint32>(data.size()));
  return bytes + data;
}

QByteArray Channel(int status, int channel, int first, int second = -1) {
  QByteArray bytes;
  bytes.append(static_cast<char>(status | channel));
  bytes.append(static_cast<char>(first));
  if (second >= 0) bytes.append(static_cast<char>(second));
  return bytes;
}

// A track chunk of `events`, ordered by tick (stable: what comes first at a tick stays first),
// closed by end of track.
QByteArray Track(std::vector<Event> events, int endTick) {
  std::stable_sort(events.begin(), events.end(),
                   [](const Event& a, const Event& b) { return a.tick < b.tick; });
  QByteArray body;
  int tick = 0;
  for (const Event& event : events) {
    AppendVariable(body, static_cast<quint32>(event.tick - tick));
    body.append(event.bytes);
    tick = event.tick;
  }
  AppendVariable(body, static_cast<quint32>(std::max(0, endTick - tick)));
  body.append(Meta(0x2f, {}));
  QByteArray chunk("MTrk");
  AppendNumber(chunk, static_cast<quint32>(body.size()), 4);
  return chunk + body;
}

}  // namespace

QByteArray MidiFile::Write(const Performance& performance, int program) {
  const ScoreHead& head = performance.Head();
  QByteArray tempo;
  AppendNumber(tempo, static_cast<quint32>(std::lround(60'000'000.0 / head.quartersPerMinute)), 3);
  QByteArray time;
  time.append(static_cast<char>(head.beatsPerBar));
  time.append(static_cast<char>(std::log2(head.beatUnit)));
  time.append(static_cast<char>(24 * 4 / head.beatUnit));  // MIDI clocks a beat
  time.append(static_cast<char>(8));                       // 32nd notes a quarter
  QByteArray key;
  key.append(static_cast<char>(head.fifths));
  key.append(static_cast<char>(0));  // major
  const std::vector<Event> conductor{
      {0, Meta(0x51, tempo)}, {0, Meta(0x58, time)}, {0, Meta(0x59, key)}};

  std::vector<Event> notes;
  if (program != kPercussionKit) notes.push_back({0, Channel(0xc0, 0, program)});
  // A note's end comes before a note starting at the same tick, so repeated pitches sound twice.
  std::vector<Event> offs;
  std::vector<Event> ons;
  for (const TimedNote& note : performance.Notes()) {
    const int channel = ChannelOf(note, program);
    ons.push_back({note.start, Channel(0x90, channel, note.pitch, note.velocity)});
    offs.push_back({note.start + note.length, Channel(0x80, channel, note.pitch, 0)});
  }
  std::stable_sort(offs.begin(), offs.end(),
                   [](const Event& a, const Event& b) { return a.tick < b.tick; });
  size_t off = 0;
  for (const Event& on : ons) {
    while (off < offs.size() && offs[off].tick <= on.tick) notes.push_back(offs[off++]);
    notes.push_back(on);
  }
  notes.insert(notes.end(), offs.begin() + static_cast<std::ptrdiff_t>(off), offs.end());

  QByteArray file("MThd");
  AppendNumber(file, 6, 4);
  AppendNumber(file, 1, 2);  // type 1
  AppendNumber(file, 2, 2);  // tracks
  AppendNumber(file, kTicksPerQuarter, 2);
  file.append(Track(conductor, 0));
  file.append(Track(notes, performance.End()));
  return file;
}

}  // namespace tarvesh::playback
