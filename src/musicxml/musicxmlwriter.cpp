#include "musicxml/musicxmlwriter.h"

#include <QXmlStreamWriter>
#include <algorithm>
#include <array>
#include <optional>

#include "lyrics/lyricsheet.h"
#include "musicxml/keyspelling.h"

namespace tarvesh::musicxml {

namespace {

using reading::BarKind;
using reading::ItemKind;

// A note or rest as the page writes it, before it is cut into note values.
struct Sound {
  const reading::ReadItem* item;
  int dots = 0;
  int dashes = 0;
  bool tieStart = false;
  bool tieStop = false;
  // An arc starts on this sound, or ends on it or on what holds it.
  bool slurStart = false;
  bool slurEnd = false;
  // Only the dashes and dots after a bar line that hold the sound before it: the item's own
  // value sounded in the measure before.
  bool held = false;
  // The syllable of each verse sung on it, as the lyrics keep it ("-" ending a word's part).
  std::array<QString, lyrics::kVerseRows> words{};
};

// What stands in a measure, in order: a sound, or a chord symbol over the next sound.
struct Entry {
  std::optional<Sound> sound;
  QString chord;
};

struct Measure {
  std::vector<Entry> entries;
  BarKind right = BarKind::kNone;
  bool repeatStart = false;
  bool newSystem = false;

  bool HasSounds() const {
    for (const Entry& e : entries)
      if (e.sound) return true;
    return false;
  }
};

// One written note value: its type name and dots.
struct Piece {
  int value;  // 1 whole, 2 half, 4 quarter, 8 eighth ...
  int dots;
};

int Length(const Piece& piece) {
  const int plain = 4 * MusicXmlWriter::kDivisions / piece.value;
  int length = plain;
  for (int d = 1; d <= piece.dots; ++d) length += plain >> d;
  return length;
}

const char* TypeName(int value) {
  switch (value) {
    case 1:
      return "whole";
    case 2:
      return "half";
    case 4:
      return "quarter";
    case 8:
      return "eighth";
    case 16:
      return "16th";
    case 32:
      return "32nd";
    default:
      return "64th";
  }
}

// Quarters as the fewest tied note values, longest first.
void AddQuarters(int quarters, std::vector<Piece>& pieces) {
  static constexpr std::array<std::pair<int, Piece>, 4> kFits{
      {{4, {1, 0}}, {3, {2, 1}}, {2, {2, 0}}, {1, {4, 0}}}};
  while (quarters > 0) {
    for (const auto& [count, piece] : kFits) {
      if (count <= quarters) {
        pieces.push_back(piece);
        quarters -= count;
        break;
      }
    }
  }
}

std::vector<Piece> PiecesOf(const Sound& sound) {
  const int value = sound.item->duration > 0 ? sound.item->duration : 4;
  std::vector<Piece> pieces;
  if (sound.held) {
    // A first dot is half the value, a second a quarter of it: one dotted piece of half the value.
    if (sound.dots > 0) pieces.push_back({value * 2, std::min(sound.dots, 2) - 1});
    AddQuarters(sound.dashes, pieces);
  } else if (value == 4 && sound.dots == 0 && sound.dashes > 0) {
    AddQuarters(1 + sound.dashes, pieces);
  } else {
    pieces.push_back({value, std::min(sound.dots, 2)});
    AddQuarters(sound.dashes, pieces);
  }
  return pieces;
}

const char* BarStyle(BarKind kind) {
  switch (kind) {
    case BarKind::kDouble:
      return "light-light";
    case BarKind::kFinal:
    case BarKind::kRepeatEnd:
      return "light-heavy";
    default:
      return nullptr;
  }
}

int Strength(BarKind kind) {
  return kind == BarKind::kSingle || kind == BarKind::kNone ? 0 : 1;
}

// Cuts the lines into measures at their bar lines.
std::vector<Measure> MeasuresOf(const std::vector<reading::ReadLine>& lines,
                                const lyrics::LyricSheet& words) {
  std::vector<Measure> measures(1);
  auto lastIn = [](Measure& measure) -> Sound* {
    for (auto e = measure.entries.rbegin(); e != measure.entries.rend(); ++e)
      if (e->sound) return &*e->sound;
    return nullptr;
  };
  // The sound a dash or dot holds: the last of the measure, else, right after a bar line, a sound
  // of its own tied from the last sound of the measures before.
  auto holder = [&]() -> Sound* {
    if (Sound* s = lastIn(measures.back())) return s;
    for (auto m = measures.rbegin() + 1; m < measures.rend(); ++m) {
      Sound* before = lastIn(*m);
      if (!before) continue;
      Sound held{before->item};
      held.held = true;
      if (before->item->kind != ItemKind::kRest) before->tieStart = held.tieStop = true;
      measures.back().entries.push_back({held, {}});
      return &*measures.back().entries.back().sound;
    }
    return nullptr;
  };
  bool firstLine = true;
  for (const reading::ReadLine& line : lines) {
    if (!firstLine && measures.back().entries.empty()) measures.back().newSystem = true;
    firstLine = false;
    const lyrics::LyricLine* lineWords = words.LineAt(line.top);
    for (size_t at = 0; at < line.items.size(); ++at) {
      const reading::ReadItem& item = line.items[at];
      switch (item.kind) {
        case ItemKind::kNote:
        case ItemKind::kRest:
        case ItemKind::kPercussion: {
          Sound sound{&item};
          sound.slurStart = item.slurStart;
          sound.slurEnd = item.slurEnd;
          if (lineWords)
            for (int row = 0; row < lyrics::kVerseRows; ++row) {
              const lyrics::VerseRow& verse = lineWords->rows[size_t(row)];
              for (const lyrics::Syllable& syllable : verse.syllables)
                if (syllable.item == int(at))
                  // A verse number leads its row's first syllable, as staff editors show it.
                  sound.words[size_t(row)] =
                      &syllable == &verse.syllables.front() && !verse.number.isEmpty()
                          ? verse.number + QLatin1Char(' ') + syllable.text
                          : syllable.text;
            }
          measures.back().entries.push_back({sound, {}});
          break;
        }
        case ItemKind::kDot:
        case ItemKind::kDash:
          if (Sound* s = holder()) {
            ++(item.kind == ItemKind::kDot ? s->dots : s->dashes);
            // An arc may end on the dash or dot that holds a note.
            if (item.slurEnd && !s->slurStart) s->slurEnd = true;
          }
          break;
        case ItemKind::kChord:
          measures.back().entries.push_back({std::nullopt, item.text});
          break;
        case ItemKind::kBar: {
          Measure& current = measures.back();
          const bool empty = !current.HasSounds();
          if (item.bar == BarKind::kRepeatStart) {
            if (!empty) {
              if (current.right == BarKind::kNone) current.right = BarKind::kSingle;
              measures.emplace_back();
            }
            measures.back().repeatStart = true;
          } else if (empty && !current.repeatStart && measures.size() > 1) {
            // A bar line right after another, as at the start of a line: the stronger one
            // closes the measure before.
            Measure& before = measures[measures.size() - 2];
            if (Strength(item.bar) > Strength(before.right)) before.right = item.bar;
          } else {
            current.right = item.bar;
            measures.emplace_back();
          }
          break;
        }
        default:
          break;
      }
    }
  }
  if (!measures.back().HasSounds()) {
    // Chord symbols after the last bar line still belong to the last measure.
    std::vector<Entry> left = std::move(measures.back().entries);
    if (measures.size() > 1) {
      measures.pop_back();
      for (Entry& e : left) measures.back().entries.push_back(std::move(e));
    } else {
      measures.back().entries = std::move(left);
    }
  }
  return measures;
}

// Keeps the arcs whose both ends were read: an arc over a line end shows neither end on the
// page's lines, so its start would stay open.
void PairArcs(std::vector<Measure>& measures) {
  Sound* open = nullptr;
  for (Measure& m : measures) {
    for (Entry& e : m.entries) {
      if (!e.sound) continue;
      Sound& s = *e.sound;
      if (s.slurEnd && !open) s.slurEnd = false;
      if (s.slurEnd) open = nullptr;
      if (s.slurStart) {
        if (open) open->slurStart = false;
        open = &s;
      }
    }
  }
  if (open) open->slurStart = false;
}

// An arc from a note to the next note of the same pitch is a tie.
void FindTies(std::vector<Measure>& measures, const KeySpelling& key) {
  Sound* before = nullptr;
  for (Measure& m : measures) {
    for (Entry& e : m.entries) {
      if (!e.sound) continue;
      Sound& s = *e.sound;
      if (before && before->item->kind == ItemKind::kNote && s.item->kind == ItemKind::kNote &&
          before->slurStart && s.slurEnd) {
        const auto p = [&key](const reading::ReadItem* i) {
          return key.PitchOf(i->degree, i->octave, i->accidental).Midi();
        };
        if (p(before->item) == p(s.item)) {
          before->tieStart = true;
          s.tieStop = true;
        }
      }
      before = &s;
    }
  }
}

const char* AccidentalName(int alter) {
  switch (alter) {
    case 2:
      return "double-sharp";
    case 1:
      return "sharp";
    case -1:
      return "flat";
    case -2:
      return "flat-flat";
    default:
      return "natural";
  }
}

void WriteHarmony(QXmlStreamWriter& xml, const QString& text, const KeySpelling& key) {
  if (text.isEmpty() || text[0] < u'1' || text[0] > u'7') return;
  const StaffPitch root = key.PitchOf(text[0].digitValue(), 0, reading::Accidental::kNone);
  QString kind = QStringLiteral("major");
  if (text.contains(QLatin1String("MIN")) || text.contains(u'-'))
    kind = QStringLiteral("minor");
  else if (text.contains(QLatin1String("MAX")))
    kind = QStringLiteral("major-seventh");
  else if (text.contains(u'+'))
    kind = QStringLiteral("augmented");
  else if (text.contains(u'7'))
    kind = QStringLiteral("dominant");
  xml.writeStartElement(QStringLiteral("harmony"));
  xml.writeStartElement(QStringLiteral("root"));
  xml.writeTextElement(QStringLiteral("root-step"), QString(QChar(root.step)));
  if (root.alter != 0)
    xml.writeTextElement(QStringLiteral("root-alter"), QString::number(root.alter));
  xml.writeEndElement();
  xml.writeStartElement(QStringLiteral("kind"));
  xml.writeAttribute(QStringLiteral("text"), text);
  xml.writeCharacters(kind);
  xml.writeEndElement();
  xml.writeEndElement();
}

// A verse's syllable under a note: its part of the word (a word's parts end in "-" but its last),
// so `continues` carries whether the verse's last syllable went on into this one.
void WriteLyric(QXmlStreamWriter& xml, int verse, const QString& syllable, bool& continues) {
  const bool goesOn = syllable.endsWith(QLatin1Char('-'));
  const char* syllabic = continues ? (goesOn ? "middle" : "end") : (goesOn ? "begin" : "single");
  continues = goesOn;
  xml.writeStartElement(QStringLiteral("lyric"));
  xml.writeAttribute(QStringLiteral("number"), QString::number(verse + 1));
  xml.writeTextElement(QStringLiteral("syllabic"), QLatin1String(syllabic));
  xml.writeTextElement(QStringLiteral("text"), goesOn ? syllable.chopped(1) : syllable);
  xml.writeEndElement();
}

// `continues`: for each verse, whether its last syllable went on into the next.
void WriteSound(QXmlStreamWriter& xml, const Sound& sound, const KeySpelling& key,
                std::array<bool, lyrics::kVerseRows>& continues) {
  const reading::ReadItem& item = *sound.item;
  const std::vector<Piece> pieces = PiecesOf(sound);
  const bool note = item.kind != ItemKind::kRest;
  for (size_t i = 0; i < pieces.size(); ++i) {
    const Piece& piece = pieces[i];
    const bool first = i == 0;
    const bool lastPiece = i + 1 == pieces.size();
    const bool tieStop = note && (!first || sound.tieStop);
    const bool tieStart = note && (!lastPiece || sound.tieStart);
    xml.writeStartElement(QStringLiteral("note"));
    StaffPitch pitch;
    if (item.kind == ItemKind::kNote) {
      pitch = key.PitchOf(item.degree, item.octave, item.accidental);
      xml.writeStartElement(QStringLiteral("pitch"));
      xml.writeTextElement(QStringLiteral("step"), QString(QChar(pitch.step)));
      if (pitch.alter != 0)
        xml.writeTextElement(QStringLiteral("alter"), QString::number(pitch.alter));
      xml.writeTextElement(QStringLiteral("octave"), QString::number(pitch.octave));
      xml.writeEndElement();
    } else if (item.kind == ItemKind::kPercussion) {
      xml.writeStartElement(QStringLiteral("unpitched"));
      xml.writeTextElement(QStringLiteral("display-step"), QStringLiteral("C"));
      xml.writeTextElement(QStringLiteral("display-octave"), QStringLiteral("5"));
      xml.writeEndElement();
    } else {
      xml.writeEmptyElement(QStringLiteral("rest"));
    }
    xml.writeTextElement(QStringLiteral("duration"), QString::number(Length(piece)));
    if (tieStop) {
      xml.writeEmptyElement(QStringLiteral("tie"));
      xml.writeAttribute(QStringLiteral("type"), QStringLiteral("stop"));
    }
    if (tieStart) {
      xml.writeEmptyElement(QStringLiteral("tie"));
      xml.writeAttribute(QStringLiteral("type"), QStringLiteral("start"));
    }
    xml.writeTextElement(QStringLiteral("voice"), QStringLiteral("1"));
    xml.writeTextElement(QStringLiteral("type"), QLatin1String(TypeName(piece.value)));
    for (int d = 0; d < piece.dots; ++d) xml.writeEmptyElement(QStringLiteral("dot"));
    if (first && !sound.held && item.kind == ItemKind::kNote &&
        item.accidental != reading::Accidental::kNone)
      xml.writeTextElement(QStringLiteral("accidental"),
                           QLatin1String(AccidentalName(pitch.alter)));
    const bool slurStart = lastPiece && sound.slurStart && !sound.tieStart;
    const bool slurStop = lastPiece && sound.slurEnd && !sound.tieStop;
    if (tieStop || tieStart || slurStart || slurStop) {
      xml.writeStartElement(QStringLiteral("notations"));
      if (tieStop) {
        xml.writeEmptyElement(QStringLiteral("tied"));
        xml.writeAttribute(QStringLiteral("type"), QStringLiteral("stop"));
      }
      if (tieStart) {
        xml.writeEmptyElement(QStringLiteral("tied"));
        xml.writeAttribute(QStringLiteral("type"), QStringLiteral("start"));
      }
      if (slurStop) {
        xml.writeEmptyElement(QStringLiteral("slur"));
        xml.writeAttribute(QStringLiteral("type"), QStringLiteral("stop"));
        xml.writeAttribute(QStringLiteral("number"), QStringLiteral("1"));
      }
      if (slurStart) {
        xml.writeEmptyElement(QStringLiteral("slur"));
        xml.writeAttribute(QStringLiteral("type"), QStringLiteral("start"));
        xml.writeAttribute(QStringLiteral("number"), QStringLiteral("1"));
      }
      xml.writeEndElement();
    }
    if (first)
      for (int verse = 0; verse < lyrics::kVerseRows; ++verse)
        if (!sound.words[verse].isEmpty())
          WriteLyric(xml, verse, sound.words[verse], continues[verse]);
    xml.writeEndElement();
  }
}

int MeasureLength(const Measure& measure) {
  int length = 0;
  for (const Entry& e : measure.entries)
    if (e.sound)
      for (const Piece& p : PiecesOf(*e.sound)) length += Length(p);
  return length;
}

void WriteBarline(QXmlStreamWriter& xml, bool left, BarKind kind) {
  const char* style = left ? "heavy-light" : BarStyle(kind);
  if (!style) return;
  xml.writeStartElement(QStringLiteral("barline"));
  xml.writeAttribute(QStringLiteral("location"),
                     left ? QStringLiteral("left") : QStringLiteral("right"));
  xml.writeTextElement(QStringLiteral("bar-style"), QLatin1String(style));
  if (left || kind == BarKind::kRepeatEnd) {
    xml.writeEmptyElement(QStringLiteral("repeat"));
    xml.writeAttribute(QStringLiteral("direction"),
                       left ? QStringLiteral("forward") : QStringLiteral("backward"));
  }
  xml.writeEndElement();
}

void WriteHead(QXmlStreamWriter& xml, const ScoreHeader& header) {
  xml.writeStartElement(QStringLiteral("work"));
  xml.writeTextElement(QStringLiteral("work-title"), header.title);
  xml.writeEndElement();
  xml.writeStartElement(QStringLiteral("identification"));
  if (!header.composer.isEmpty()) {
    xml.writeStartElement(QStringLiteral("creator"));
    xml.writeAttribute(QStringLiteral("type"), QStringLiteral("composer"));
    xml.writeCharacters(header.composer);
    xml.writeEndElement();
  }
  xml.writeStartElement(QStringLiteral("encoding"));
  xml.writeTextElement(QStringLiteral("software"), QStringLiteral("Tarvesh"));
  xml.writeEndElement();
  xml.writeEndElement();
  const std::array<std::pair<const char*, QString>, 2> credits{
      {{"title", header.title}, {"composer", header.composer}}};
  for (const auto& [type, words] : credits) {
    if (words.isEmpty()) continue;
    xml.writeStartElement(QStringLiteral("credit"));
    xml.writeAttribute(QStringLiteral("page"), QStringLiteral("1"));
    xml.writeTextElement(QStringLiteral("credit-type"), QLatin1String(type));
    xml.writeTextElement(QStringLiteral("credit-words"), words);
    xml.writeEndElement();
  }
  xml.writeStartElement(QStringLiteral("part-list"));
  xml.writeStartElement(QStringLiteral("score-part"));
  xml.writeAttribute(QStringLiteral("id"), QStringLiteral("P1"));
  xml.writeTextElement(QStringLiteral("part-name"), QStringLiteral("Melody"));
  xml.writeEndElement();
  xml.writeEndElement();
}

void WriteAttributes(QXmlStreamWriter& xml, const ScoreHeader& header, const KeySpelling& key) {
  xml.writeStartElement(QStringLiteral("attributes"));
  xml.writeTextElement(QStringLiteral("divisions"), QString::number(MusicXmlWriter::kDivisions));
  xml.writeStartElement(QStringLiteral("key"));
  xml.writeTextElement(QStringLiteral("fifths"), QString::number(key.Fifths()));
  xml.writeTextElement(QStringLiteral("mode"), QStringLiteral("major"));
  xml.writeEndElement();
  xml.writeStartElement(QStringLiteral("time"));
  xml.writeTextElement(QStringLiteral("beats"), QString::number(header.beats));
  xml.writeTextElement(QStringLiteral("beat-type"), QString::number(header.beatType));
  xml.writeEndElement();
  xml.writeEndElement();
  if (header.tempo <= 0) return;
  xml.writeStartElement(QStringLiteral("direction"));
  xml.writeAttribute(QStringLiteral("placement"), QStringLiteral("above"));
  xml.writeStartElement(QStringLiteral("direction-type"));
  xml.writeStartElement(QStringLiteral("metronome"));
  xml.writeTextElement(QStringLiteral("beat-unit"), QStringLiteral("quarter"));
  xml.writeTextElement(QStringLiteral("per-minute"), QString::number(header.tempo));
  xml.writeEndElement();
  xml.writeEndElement();
  xml.writeEmptyElement(QStringLiteral("sound"));
  xml.writeAttribute(QStringLiteral("tempo"), QString::number(header.tempo));
  xml.writeEndElement();
}

}  // namespace

QByteArray MusicXmlWriter::Write(const std::vector<reading::ReadLine>& lines,
                                 const ScoreHeader& header, const lyrics::LyricSheet& words) {
  const KeySpelling key = KeySpelling::ForKey(header.key).value_or(*KeySpelling::ForKey("C"));
  std::vector<Measure> measures = MeasuresOf(lines, words);
  PairArcs(measures);
  FindTies(measures, key);

  QByteArray out;
  QXmlStreamWriter xml(&out);
  xml.setAutoFormatting(true);
  xml.setAutoFormattingIndent(2);
  xml.writeStartDocument();
  xml.writeDTD(QStringLiteral(
      "<!DOCTYPE score-partwise PUBLIC \"-//Recordare//DTD MusicXML 4.0 Partwise//EN\" "
      "\"http://www.musicxml.org/dtds/partwise.dtd\">"));
  xml.writeStartElement(QStringLiteral("score-partwise"));
  xml.writeAttribute(QStringLiteral("version"), QStringLiteral("4.0"));
  WriteHead(xml, header);
  xml.writeStartElement(QStringLiteral("part"));
  xml.writeAttribute(QStringLiteral("id"), QStringLiteral("P1"));
  const int fullBar = 4 * kDivisions * header.beats / std::max(header.beatType, 1);
  // A first bar shorter than the time signature is a pickup, numbered 0 as staff editors do.
  const bool pickup = measures.size() > 1 && measures.front().HasSounds() &&
                      MeasureLength(measures.front()) < fullBar;
  std::array<bool, lyrics::kVerseRows> continues{};
  for (size_t m = 0; m < measures.size(); ++m) {
    const Measure& measure = measures[m];
    xml.writeStartElement(QStringLiteral("measure"));
    xml.writeAttribute(QStringLiteral("number"), QString::number(int(m) + (pickup ? 0 : 1)));
    if (m == 0 && pickup) xml.writeAttribute(QStringLiteral("implicit"), QStringLiteral("yes"));
    if (measure.newSystem) {
      xml.writeEmptyElement(QStringLiteral("print"));
      xml.writeAttribute(QStringLiteral("new-system"), QStringLiteral("yes"));
    }
    if (measure.repeatStart) WriteBarline(xml, true, BarKind::kRepeatStart);
    if (m == 0) WriteAttributes(xml, header, key);
    for (const Entry& e : measure.entries) {
      if (e.sound)
        WriteSound(xml, *e.sound, key, continues);
      else
        WriteHarmony(xml, e.chord, key);
    }
    WriteBarline(xml, false, measure.right);
    xml.writeEndElement();
  }
  xml.writeEndElement();
  xml.writeEndElement();
  xml.writeEndDocument();
  return out;
}

}  // namespace tarvesh::musicxml
