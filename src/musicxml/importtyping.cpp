#include "musicxml/importtyping.h"

#include <QRegularExpression>
#include <algorithm>
#include <array>
#include <bit>
#include <optional>
#include <string_view>
#include <tuple>
#include <utility>

#include "engine/virtualkey.h"
#include "musicxml/keyspelling.h"

namespace tarvesh::musicxml {

namespace {

namespace vk = engine::vk;

const QString kOutOfRange = QStringLiteral("超出音域的音");
const QString kOddValues = QStringLiteral("无法记写的时值");
const QString kOddTime = QStringLiteral("无法设定的拍号");
const QString kFirstMeasure = QStringLiteral("1");

// The low octave's keys, degree 1 to 7.
constexpr std::array<char, 7> kLowRow{'Q', 'W', 'E', 'R', 'T', 'Y', 'U'};
// A semitone above the tonic that no degree of the key spells: the degree and sign typed.
struct Chromatic {
  int degree;
  reading::Accidental sign;
};
constexpr std::array<Chromatic, 12> kChromatic{{{1, reading::Accidental::kNone},
                                                {1, reading::Accidental::kSharp},
                                                {2, reading::Accidental::kNone},
                                                {3, reading::Accidental::kFlat},
                                                {3, reading::Accidental::kNone},
                                                {4, reading::Accidental::kNone},
                                                {4, reading::Accidental::kSharp},
                                                {5, reading::Accidental::kNone},
                                                {5, reading::Accidental::kSharp},
                                                {6, reading::Accidental::kNone},
                                                {7, reading::Accidental::kFlat},
                                                {7, reading::Accidental::kNone}}};

struct Degree {
  int degree;
  int octave;
  reading::Accidental sign;
};

int FloorDiv(int a, int b) {
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// The degree a staff pitch is in `key`: by its letter where the file spells in that key and a
// sharp or flat at most reaches it, else by its sound.
Degree DegreeOf(const StaffPitch& pitch, const KeySpelling& key, bool byLetter) {
  const StaffPitch tonic = key.PitchOf(1, 0, reading::Accidental::kNone);
  static constexpr std::string_view kLetters = "CDEFGAB";
  const int letters = (pitch.octave * 7 + int(kLetters.find(pitch.step))) -
                      (tonic.octave * 7 + int(kLetters.find(tonic.step)));
  Degree d{((letters % 7) + 7) % 7 + 1, FloorDiv(letters, 7), reading::Accidental::kNone};
  const int off = pitch.Midi() - key.PitchOf(d.degree, d.octave, reading::Accidental::kNone).Midi();
  if (byLetter && off == 0) return d;
  if (byLetter && (off == 1 || off == -1)) {
    d.sign = off > 0 ? reading::Accidental::kSharp : reading::Accidental::kFlat;
    return d;
  }
  const int semitones = pitch.Midi() - tonic.Midi();
  const Chromatic& c = kChromatic[size_t(((semitones % 12) + 12) % 12)];
  return {c.degree, FloorDiv(semitones, 12), c.sign};
}

// The key that types `degree` in `octave`; nothing outside the keyboard's octaves.
std::optional<int> DegreeKey(int degree, int octave) {
  switch (octave) {
    case -1:
      return vk::Letter(kLowRow[size_t(degree - 1)]);
    case 0:
      return vk::Digit(degree);
    case 1:
      return vk::F(degree);
    case 2:
      if (degree <= 5) return vk::F(7 + degree);
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

}  // namespace

QString ImportTyping::KeyNamed(int fifths) {
  static const std::array<const char*, 15> kNames{"B", "bG", "bD", "bA", "bE", "bB", "F", "C",
                                                  "G", "D",  "A",  "E",  "B",  "bG", "bD"};
  return QLatin1String(kNames[size_t(std::clamp(fifths, -7, 7) + 7)]);
}

ImportTyping ImportTyping::Of(ImportedScore& score) {
  ImportTyping typing;
  typing.key = KeyNamed(score.fifths);
  const KeySpelling key = *KeySpelling::ForKey(typing.key);
  // The head shows the file's time, else the first time it has with bars as long (12/8 as 6/4,
  // 2/2 as 4/4), so the engine's bar lines fall where the file's do; failing both, 4/4. The
  // file's own numbers are checked before they are multiplied.
  std::optional<std::pair<int, int>> time;
  if (score.beats > 0 && score.beats <= 64 && score.beatType > 0 && score.beatType <= 64) {
    for (const int denominator : {score.beatType, 4, 8}) {
      const int numerator = score.beats * denominator / score.beatType;
      if (!time && (denominator == 4 || denominator == 8) && numerator >= 2 && numerator <= 6 &&
          numerator * score.beatType == score.beats * denominator)
        time = {numerator, denominator};
    }
  }
  if (!time) {
    score.LeaveOut(kOddTime, kFirstMeasure);
  } else {
    std::tie(typing.numerator, typing.denominator) = *time;
    if (typing.denominator != score.beatType)
      score.LeaveOut(QStringLiteral("拍号%1/%2（按%3/%4输入）")
                         .arg(score.beats)
                         .arg(score.beatType)
                         .arg(typing.numerator)
                         .arg(typing.denominator),
                     kFirstMeasure);
  }

  std::vector<int>& keys = typing.keys;
  int row = -1;
  auto useRow = [&](int wanted) {
    if (row == wanted) return;
    keys.push_back(vk::Pad(wanted));
    row = wanted;
  };
  bool arcOpen = false;
  // Each note's duration row (0 quarter .. 3 thirty-second), the quarters a long value takes
  // with dashes or repeated rests, and the dots typed.
  struct Length {
    int row = 0;
    int quarters = 0;
    int dots = 0;
  };
  std::vector<Length> lengths;
  for (const ImportedScore::Note& note : score.notes) {
    Length l;
    l.dots = note.dots;
    if (note.wholeMeasure) {
      l.quarters = std::max(1, typing.numerator * 4 / typing.denominator);
      l.dots = 0;
      if (note.rest && typing.denominator == 8) {
        l.row = 1;
        l.quarters = typing.numerator;
      }
    } else if (note.value <= 2) {
      l.quarters = (note.value == 1 ? 4 : 2);
      l.quarters += l.dots >= 1 ? l.quarters / 2 : 0;
      l.quarters += l.dots >= 2 ? l.quarters / 6 : 0;
      if (l.dots >= 2 && note.value == 2) score.LeaveOut(kOddValues, note.measure);
      l.dots = 0;
    } else {
      l.row = std::countr_zero(unsigned(note.value)) - 2;
    }
    lengths.push_back(l);
  }

  // A shorter value is chosen after an arc is marked, a longer one right after the shorter
  // notes end, as a person goes back to quarters: the cursor stands where a person's does when
  // the arc is marked or drawn.
  for (size_t i = 0; i < score.notes.size(); ++i) {
    const ImportedScore::Note& note = score.notes[i];
    const Length& l = lengths[i];
    typing.noteStarts.push_back(keys.size());
    bool openedHere = false;
    if (!arcOpen && (note.slurStart || note.tieStart)) {
      keys.push_back(vk::Letter('L'));
      arcOpen = openedHere = true;
    }
    useRow(l.row);
    if (note.rest) {
      for (int r = 0; r < std::max(l.quarters, 1); ++r) keys.push_back(vk::Letter('O'));
    } else {
      const bool byLetter = key.Fifths() == score.fifths;
      Degree d = DegreeOf(note.pitch, key, byLetter);
      // A staff's natural is typed as one only where the key leaves the degree unaltered;
      // elsewhere it is the degree's sharp or flat.
      if (byLetter && note.natural && d.sign == reading::Accidental::kNone)
        d.sign = reading::Accidental::kNatural;
      auto degreeKey = DegreeKey(d.degree, d.octave);
      if (!degreeKey) {
        score.LeaveOut(kOutOfRange, note.measure);
        d.octave = std::clamp(d.octave, -1, d.degree <= 5 ? 2 : 1);
        degreeKey = DegreeKey(d.degree, d.octave);
      }
      if (d.sign == reading::Accidental::kSharp) keys.push_back(vk::Letter('M'));
      if (d.sign == reading::Accidental::kFlat) keys.push_back(vk::kComma);
      if (d.sign == reading::Accidental::kNatural) keys.push_back(vk::Letter('N'));
      keys.push_back(*degreeKey);
      for (int q = 1; q < l.quarters; ++q) keys.push_back(vk::kMinus);
    }
    for (int dot = 0; dot < l.dots; ++dot) keys.push_back(vk::kPeriod);
    if (i + 1 < lengths.size() && lengths[i + 1].row < row) useRow(lengths[i + 1].row);
    if (arcOpen && !openedHere && (note.slurStop || note.tieStop)) {
      keys.push_back(vk::Letter('L'));
      arcOpen = false;
    }
    if (note.endsPickup) keys.push_back(vk::Letter('H'));
  }
  return typing;
}

lyrics::LyricSheet ImportTyping::WordsOn(const ImportedScore& score,
                                         const std::vector<reading::ReadLine>& lines,
                                         lyrics::LyricSheet sheet) {
  auto note = score.notes.begin();
  auto nextSung = [&] {
    while (note != score.notes.end() && note->rest) ++note;
    return note != score.notes.end() ? &*note++ : nullptr;
  };
  for (const reading::ReadLine& line : lines) {
    const std::vector<lyrics::NoteItem> items = lyrics::NoteItems(line);
    std::array<lyrics::VerseRow, lyrics::kVerseRows> verses;
    for (size_t at = 0; at < line.items.size(); ++at) {
      if (line.items[at].kind != reading::ItemKind::kNote) continue;
      const ImportedScore::Note* sung = nextSung();
      if (!sung) break;
      for (size_t row = 0; row < verses.size(); ++row) {
        QString word = sung->words[row];
        if (word.isEmpty()) continue;
        // "2. 夜" is verse 2's number before its syllable.
        static const QRegularExpression numbered(QStringLiteral("^(\\d+\\.)\\s+(\\S.*)$"));
        if (const QRegularExpressionMatch m = numbered.match(word); m.hasMatch()) {
          verses[row].number = m.captured(1);
          word = m.captured(2);
        }
        verses[row].syllables.push_back({int(at), word});
      }
    }
    for (size_t row = 0; row < verses.size(); ++row)
      if (!verses[row].IsEmpty()) sheet.SetVerse(line.top, items, int(row), verses[row]);
  }
  return sheet;
}

}  // namespace tarvesh::musicxml
