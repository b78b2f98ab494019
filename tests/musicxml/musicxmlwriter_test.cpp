#include "musicxml/musicxmlwriter.h"

#include <gtest/gtest.h>
#include <QXmlStreamReader>

#include "lyrics/lyricsheet.h"
#include "musicxml/importtyping.h"
#include "musicxml/keyspelling.h"
#include "musicxml/musicxmlreader.h"

namespace tarvesh::musicxml {
namespace {

using reading::Accidental;
using reading::BarKind;
using reading::ItemKind;
using reading::ReadItem;

ReadItem Note(int degree, int octave = 0, int duration = 4, Accidental accidental = {}) {
  ReadItem item;
  item.kind = ItemKind::kNote;
  item.degree = degree;
  item.octave = octave;
  item.duration = duration;
  item.accidental = accidental;
  return item;
}
ReadItem Rest(int duration = 4) {
  ReadItem item;
  item.kind = ItemKind::kRest;
  item.duration = duration;
  return item;
}
ReadItem Of(ItemKind kind) {
  ReadItem item;
  item.kind = kind;
  return item;
}
ReadItem Bar(BarKind bar = BarKind::kSingle) {
  ReadItem item = Of(ItemKind::kBar);
  item.bar = bar;
  return item;
}
ReadItem Slurred(ReadItem item, bool start) {
  (start ? item.slurStart : item.slurEnd) = true;
  return item;
}

// The music of a written file in short: a note as its pitch ("F#4", "r" for a rest) and type
// letter (w h q e s t), a "." a dot, "~" a tie started, "(" and ")" a slur started and stopped;
// "|" ends a measure, "||" a double bar, "|]" a final bar, ":|" and "|:" repeats; a leading
// "0:" marks a pickup measure.
QString Summary(const QByteArray& xml) {
  QXmlStreamReader r(xml);
  QStringList out;
  QString note;
  while (!r.atEnd()) {
    r.readNext();
    if (r.hasError()) return QStringLiteral("XML error: ") + r.errorString();
    const auto name = r.name();
    if (r.isStartElement()) {
      if (name == u"measure" && r.attributes().value(QLatin1String("implicit")) == u"yes")
        out << "0:";
      if (name == u"note") note.clear();
      if (name == u"rest") note += 'r';
      if (name == u"step") note += r.readElementText();
      if (name == u"alter") note += r.readElementText().toInt() > 0 ? "#" : "b";
      if (name == u"octave") note += r.readElementText();
      if (name == u"type")
        note += ':' + r.readElementText().left(1).replace('1', 's').replace('3', 't');
      if (name == u"dot") note += '.';
      if (name == u"tied" && r.attributes().value(QLatin1String("type")) == u"start") note += '~';
      if (name == u"slur")
        note += r.attributes().value(QLatin1String("type")) == u"start" ? QStringLiteral("(")
                                                                        : QStringLiteral(")");
      if (name == u"bar-style") {
        const QString style = r.readElementText();
        out << (style == u"light-light" ? "||" : style == u"heavy-light" ? "|:" : "|]");
      }
      if (name == u"repeat" && r.attributes().value(QLatin1String("direction")) == u"backward")
        out.back() = ":|";
    } else if (r.isEndElement()) {
      if (name == u"note") out << note;
      if (name == u"measure" && !out.isEmpty() && !out.back().startsWith('|') &&
          !out.back().endsWith('|'))
        out << "|";
    }
  }
  return out.join(' ');
}

struct Case {
  const char* what;
  const char* key;
  std::vector<ReadItem> items;
  const char* music;
};

class WriterTest : public testing::TestWithParam<Case> {};

TEST_P(WriterTest, WritesTheMusicOfThePage) {
  ScoreHeader header;
  header.key = QString::fromLatin1(GetParam().key);
  const QByteArray xml = MusicXmlWriter::Write({{96, GetParam().items}}, header);
  EXPECT_EQ(Summary(xml), QString::fromLatin1(GetParam().music)) << xml.constData();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WriterTest,
    testing::Values(
        Case{"degrees in D",
             "D",
             {Note(1), Note(3), Note(7, -1), Note(1, 1)},
             "D4:q F#4:q C#4:q D5:q |"},
        // A sharp raises the key's degree: #4 in E flat is A natural, b7 is D flat.
        Case{"accidentals in bE",
             "bE",
             {Note(4), Note(4, 0, 4, Accidental::kSharp), Note(7, 0, 4, Accidental::kFlat),
              Note(3, 0, 4, Accidental::kNatural)},
             "Ab4:q A4:q Db5:q G4:q |"},
        Case{"dashes make longer values and ties",
             "C",
             {Note(1), Of(ItemKind::kDash), Of(ItemKind::kDash), Of(ItemKind::kDash), Bar(),
              Note(2), Of(ItemKind::kDash), Of(ItemKind::kDash), Note(3), Bar(), Note(5),
              Of(ItemKind::kDash), Of(ItemKind::kDash), Of(ItemKind::kDash), Of(ItemKind::kDash)},
             "C4:w | D4:h. E4:q | G4:w~ G4:q |"},
        // A half note typed on the last beat: the engine puts the bar line before its dash. The
        // dash and a dot after a bar line were once dropped, leaving the measure short.
        Case{"held over the bar line",
             "C",
             {Note(1), Note(2), Note(3), Note(4, 0, 4, Accidental::kSharp), Bar(),
              Of(ItemKind::kDash), Note(5), Note(6), Note(7, 0, 8), Bar(), Of(ItemKind::kDot),
              Note(1, 1, 16), Note(2, 1, 8), Note(3, 1, 2), Rest(), Bar(), Of(ItemKind::kDash),
              Note(3)},
             "C4:q D4:q E4:q F#4:q~ | F#4:q G4:q A4:q B4:e~ | B4:s C5:s D5:e E5:h r:q | r:q E4:q "
             "|"},
        Case{"dots",
             "C",
             {Note(1, 0, 8), Of(ItemKind::kDot), Note(2, 0, 16), Note(3), Of(ItemKind::kDot),
              Of(ItemKind::kDot), Rest(32), Note(6, 0, 32), Rest(8), Of(ItemKind::kDot)},
             "C4:e. D4:s E4:q.. r:t A4:t r:e. |"},
        // An arc over two notes of one pitch is a tie, over different pitches a slur.
        Case{"ties and slurs",
             "G",
             {Slurred(Note(1), true), Bar(), Slurred(Note(1), false), Slurred(Note(2), true),
              Note(3), Slurred(Note(4), false)},
             "0: G4:q~ | G4:q A4:q( B4:q C5:q) |"},
        Case{"bar lines and repeats",
             "C",
             {Bar(BarKind::kRepeatStart),
              Note(1),
              Note(2),
              Note(3),
              Note(4),
              Bar(),
              Note(5),
              Note(5),
              Note(5),
              Note(5),
              Bar(BarKind::kRepeatEnd),
              Note(1),
              Note(1),
              Note(1),
              Note(1),
              Bar(BarKind::kDouble),
              Note(3),
              Note(3),
              Note(3),
              Note(3),
              Bar(BarKind::kFinal)},
             "|: C4:q D4:q E4:q F4:q | G4:q G4:q G4:q G4:q :| C4:q C4:q C4:q C4:q || E4:q E4:q "
             "E4:q E4:q |]"},
        Case{"pickup bar",
             "C",
             {Note(5), Bar(), Note(1), Note(2), Note(3), Note(4)},
             "0: G4:q | C4:q D4:q E4:q F4:q |"}),
    [](const auto& info) {
      std::string name = info.param.what;
      for (char& c : name)
        if (!isalnum(static_cast<unsigned char>(c))) c = '_';
      return name;
    });

TEST(WriterTest, HeadTextsAreEscapedAndCarried) {
  ScoreHeader header;
  header.title = QStringLiteral("茉莉 <花> & \"叶\"");
  header.composer = QStringLiteral("民歌");
  header.key = QStringLiteral("bB");
  header.beats = 6;
  header.beatType = 8;
  header.tempo = 96;
  const QByteArray xml = MusicXmlWriter::Write({}, header);
  QXmlStreamReader r(xml);
  QStringList seen;
  while (!r.atEnd()) {
    if (r.readNext() != QXmlStreamReader::StartElement) continue;
    const auto name = r.name();
    if (name == u"work-title" || name == u"creator" || name == u"fifths" || name == u"beats" ||
        name == u"beat-type" || name == u"per-minute")
      seen << name.toString() + '=' + r.readElementText();
    if (name == u"sound")
      seen << "tempo=" + r.attributes().value(QLatin1String("tempo")).toString();
  }
  EXPECT_FALSE(r.hasError()) << r.errorString().toStdString();
  EXPECT_EQ(seen.join(' '),
            QStringLiteral("work-title=茉莉 <花> & \"叶\" creator=民歌 fifths=-2 beats=6 "
                           "beat-type=8 per-minute=96 tempo=96"));
}

// Two lines with words in three verses, one numbered: a rest and a held note between them.
struct Sung {
  std::vector<reading::ReadLine> lines{{96,
                                        {Note(1), Note(2), Bar(), Note(3), Rest(), Note(5, 0, 4),
                                         Of(ItemKind::kDash), Of(ItemKind::kDash)}},
                                       {200, {Note(6), Bar(BarKind::kFinal)}}};
  lyrics::LyricSheet words;

  Sung() {
    const struct {
      int line, row, item;
      const char* text;
    } syllables[] = {{0, 0, 0, "茉-"}, {0, 0, 1, "莉"},  {0, 1, 0, "Hal-"}, {0, 1, 1, "le-"},
                     {0, 1, 3, "lu-"}, {1, 1, 0, "jah"}, {0, 0, 5, "花"},   {0, 3, 5, "x"}};
    for (const auto& s : syllables) {
      const reading::ReadLine& line = lines[size_t(s.line)];
      const std::vector<lyrics::NoteItem> items = lyrics::NoteItems(line);
      EXPECT_TRUE(words.SetSyllable(line.top, items, s.row, s.item, QString::fromUtf8(s.text)));
      if (s.line == 0 && s.row == 1) {
        EXPECT_TRUE(words.SetNumber(line.top, items, 1, "2."));
      }
    }
  }
};

// Each verse's syllables go under their notes as numbered lyrics; a word's parts ("-" ending all
// but its last) are told apart across bar lines and lines, and a note cut into tied values
// carries its syllable once.
TEST(WriterTest, WordsUnderNotesBecomeLyrics) {
  const Sung sung;
  QXmlStreamReader r(MusicXmlWriter::Write(sung.lines, ScoreHeader{}, sung.words));
  QStringList notes;
  while (!r.atEnd()) {
    if (r.readNext() != QXmlStreamReader::StartElement) continue;
    if (r.name() == u"note") notes << QString();
    if (r.name() == u"lyric")
      notes.back() += ' ' + r.attributes().value(QLatin1String("number")).toString();
    if (r.name() == u"syllabic" || r.name() == u"text") notes.back() += ':' + r.readElementText();
  }
  EXPECT_FALSE(r.hasError()) << r.errorString().toStdString();
  // 5 - - is a dotted half: one note, one syllable.
  EXPECT_EQ(notes.join('|'),
            QStringLiteral(" 1:begin:茉 2:begin:2. Hal| 1:end:莉 2:middle:le| 2:middle:lu||"
                           " 1:single:花 4:single:x| 2:end:jah"));
}

// Words written out come back in under the same notes of the same page.
TEST(WriterTest, LyricsReadBackUnderTheSameNotes) {
  const Sung sung;
  auto read = MusicXmlReader::Read(MusicXmlWriter::Write(sung.lines, ScoreHeader{}, sung.words));
  ASSERT_TRUE(std::holds_alternative<ImportedScore>(read));
  EXPECT_EQ(ImportTyping::WordsOn(std::get<ImportedScore>(read), sung.lines, lyrics::LyricSheet()),
            sung.words);
}

// Every key spells its degrees as a major scale with the key signature's alterations.
TEST(KeySpellingTest, EveryKeySpellsAMajorScale) {
  const std::array<int, 7> steps{0, 2, 4, 5, 7, 9, 11};
  for (const char* name : {"C", "bD", "D", "bE", "E", "F", "bG", "G", "bA", "A", "bB", "B"}) {
    const auto key = KeySpelling::ForKey(QString::fromLatin1(name));
    ASSERT_TRUE(key) << name;
    const int tonic = key->PitchOf(1, 0, Accidental::kNone).Midi();
    EXPECT_GE(tonic, 60) << name;
    EXPECT_LT(tonic, 72) << name;
    for (int degree = 1; degree <= 7; ++degree) {
      const StaffPitch pitch = key->PitchOf(degree, 0, Accidental::kNone);
      EXPECT_EQ(pitch.Midi() - tonic, steps[size_t(degree - 1)]) << name << " " << degree;
      EXPECT_EQ(pitch.alter, key->KeyAlter(pitch.step)) << name << " " << degree;
      EXPECT_EQ(key->PitchOf(degree, -1, Accidental::kNone).Midi(), pitch.Midi() - 12);
    }
  }
  EXPECT_FALSE(KeySpelling::ForKey(QStringLiteral("H")));
}

}  // namespace
}  // namespace tarvesh::musicxml
