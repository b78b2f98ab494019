#include "musicxml/musicxmlreader.h"

#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>
#include <algorithm>
#include <array>
#include <memory>
#include <optional>

#include "musicxml/ziplibrary.h"

namespace tarvesh::musicxml {

namespace {

const QString kChords = QStringLiteral("和弦");
const QString kGraceNotes = QStringLiteral("装饰音");
const QString kTuplets = QStringLiteral("连音");
const QString kOtherVoices = QStringLiteral("第二声部");
const QString kKeyChanges = QStringLiteral("调号变化");
const QString kTimeChanges = QStringLiteral("拍号变化");
const QString kOddValues = QStringLiteral("无法记写的时值");

struct Value {
  const char* type;
  int value;
};
constexpr std::array<Value, 6> kValues{
    {{"whole", 1}, {"half", 2}, {"quarter", 4}, {"eighth", 8}, {"16th", 16}, {"32nd", 32}}};

// The note value and dots of `duration` divisions, when one note can write it.
std::optional<std::pair<int, int>> ValueOfLength(int duration, int divisions) {
  for (const Value& v : kValues) {
    const int plain = 4 * divisions / v.value;
    if (plain * v.value != 4 * divisions) continue;
    int length = plain;
    // A dot adds half of what the last added, which must be whole divisions too.
    for (int dots = 0; dots <= 2 && plain % (1 << dots) == 0; ++dots) {
      if (dots > 0) length += plain >> dots;
      if (length == duration) return std::pair{v.value, dots};
    }
  }
  return std::nullopt;
}

// A <note> as it is read, before it is taken or left out.
struct NoteRead {
  ImportedScore::Note note;
  bool grace = false;
  bool cue = false;
  bool chord = false;
  bool tuplet = false;
  bool hasPitch = false;
  QString type;
  int duration = 0;
  QString voice = QStringLiteral("1");
  QString staff = QStringLiteral("1");
  // The lyric being read: its verse row (-1 for one beyond the rows kept), its text so far, and
  // whether its word goes on; and how many lyrics the note had before it.
  int lyricRow = -1;
  QString lyricText;
  bool lyricGoesOn = false;
  int lyrics = 0;
};

class Parser {
 public:
  explicit Parser(const QByteArray& bytes) : xml_(bytes) {}
  std::variant<ImportedScore, QString> Parse();

 private:
  void Start();
  void End();
  void EndNote();
  // A tuplet's notes are left out, but not their time: the group's first note stands for it,
  // as long as the notes so far together once they make a value a note can have.
  void HoldTupletTime(const NoteRead& read);
  // Drops a stand-in whose group ended before its notes made such a value.
  void DropOpenTuplet();
  bool Under(const char* parent) const {
    return path_.size() >= 2 && path_[path_.size() - 2] == QLatin1String(parent);
  }
  bool Within(const char* element) const { return path_.contains(QLatin1String(element)); }

  QXmlStreamReader xml_;
  QStringList path_;
  QString text_;
  ImportedScore score_;
  QString partId_;
  bool inPart_ = false;
  bool partDone_ = false;
  bool keySeen_ = false;
  bool timeSeen_ = false;
  bool firstMeasure_ = true;
  bool pickup_ = false;
  int divisions_ = 1;
  int beats_ = 0;
  int beatType_ = 0;
  QString measure_;
  QString melodyVoice_;
  std::optional<NoteRead> note_;
  // The time of the tuplet notes the last note stands for so far; 0 when no group is open.
  int tupletTime_ = 0;
};

std::variant<ImportedScore, QString> Parser::Parse() {
  bool rootSeen = false;
  while (!xml_.atEnd()) {
    switch (xml_.readNext()) {
      case QXmlStreamReader::StartElement:
        if (!rootSeen) {
          rootSeen = true;
          if (xml_.name() == u"score-timewise")
            return QStringLiteral("只能导入 score-partwise 形式的MusicXML乐谱");
          if (xml_.name() != u"score-partwise") return QStringLiteral("不是MusicXML乐谱");
        }
        path_ << xml_.name().toString();
        if (path_.size() > MusicXmlReader::kMostDepth) return QStringLiteral("文件的层次太深");
        text_.clear();
        Start();
        break;
      case QXmlStreamReader::Characters:
        text_ += xml_.text();
        break;
      case QXmlStreamReader::EndElement:
        End();
        path_.removeLast();
        text_.clear();
        break;
      default:
        break;
    }
  }
  if (xml_.hasError())
    return QStringLiteral("不是完好的XML文件（第%1行：%2）")
        .arg(xml_.lineNumber())
        .arg(xml_.errorString());
  if (!rootSeen) return QStringLiteral("不是MusicXML乐谱");
  if (score_.notes.empty()) return QStringLiteral("乐谱的第一声部中没有音符");
  return score_;
}

void Parser::Start() {
  const auto name = xml_.name();
  const auto attributes = xml_.attributes();
  if (name == u"score-part" && partId_.isEmpty()) {
    partId_ = attributes.value(QLatin1String("id")).toString();
  } else if (name == u"part" && !partDone_ && path_.size() == 2) {
    inPart_ = partId_.isEmpty() || attributes.value(QLatin1String("id")) == partId_;
  } else if (!inPart_) {
    return;
  } else if (name == u"measure") {
    measure_ = attributes.value(QLatin1String("number")).toString();
    pickup_ = firstMeasure_ && attributes.value(QLatin1String("implicit")) == u"yes";
  } else if (name == u"note") {
    note_.emplace();
  } else if (note_ && name == u"grace") {
    note_->grace = true;
  } else if (note_ && name == u"cue") {
    note_->cue = true;
  } else if (note_ && name == u"chord") {
    note_->chord = true;
  } else if (note_ && name == u"time-modification") {
    note_->tuplet = true;
  } else if (note_ && name == u"rest") {
    note_->note.rest = true;
    note_->note.wholeMeasure = attributes.value(QLatin1String("measure")) == u"yes";
  } else if (note_ && name == u"pitch") {
    note_->hasPitch = true;
  } else if (note_ && name == u"dot") {
    ++note_->note.dots;
  } else if (note_ && (name == u"tie" || name == u"tied" || name == u"slur")) {
    const auto type = attributes.value(QLatin1String("type"));
    const bool slur = name == u"slur";
    if (type == u"start") (slur ? note_->note.slurStart : note_->note.tieStart) = true;
    if (type == u"stop") (slur ? note_->note.slurStop : note_->note.tieStop) = true;
  } else if (note_ && name == u"lyric") {
    // Verses by their number; a lyric without one takes the next row.
    bool numbered = false;
    const int number = attributes.value(QLatin1String("number")).toInt(&numbered);
    const int row = numbered ? number - 1 : note_->lyrics;
    note_->lyricRow = row >= 0 && row < lyrics::kVerseRows ? row : -1;
    note_->lyricText.clear();
    note_->lyricGoesOn = false;
    ++note_->lyrics;
  } else if (name == u"sound" && score_.tempo == 0) {
    score_.tempo = qRound(attributes.value(QLatin1String("tempo")).toDouble());
  }
}

void Parser::End() {
  const QString& name = path_.last();
  if (name == u"work-title" || (name == u"movement-title" && score_.title.isEmpty())) {
    score_.title = text_.trimmed();
  } else if (name == u"creator" && Under("identification") && score_.composer.isEmpty()) {
    score_.composer = text_.trimmed();
  } else if (!inPart_) {
    return;
  } else if (name == u"part") {
    inPart_ = false;
    partDone_ = true;
  } else if (name == u"measure") {
    DropOpenTuplet();
    if (pickup_ && !score_.notes.empty()) score_.notes.back().endsPickup = true;
    firstMeasure_ = false;
    pickup_ = false;
  } else if (note_) {
    if (name == u"note") {
      EndNote();
      note_.reset();
    } else if (name == u"step" && !text_.isEmpty()) {
      note_->note.pitch.step = text_.trimmed().at(0).toLatin1();
    } else if (name == u"alter") {
      note_->note.pitch.alter = qRound(text_.toDouble());
    } else if (name == u"octave") {
      note_->note.pitch.octave = text_.toInt();
    } else if (name == u"accidental") {
      note_->note.natural = text_.trimmed() == u"natural";
    } else if (name == u"type") {
      note_->type = text_.trimmed();
    } else if (name == u"duration") {
      note_->duration = text_.toInt();
    } else if (name == u"voice") {
      note_->voice = text_.trimmed();
    } else if (name == u"staff") {
      note_->staff = text_.trimmed();
    } else if (name == u"syllabic" && Under("lyric")) {
      const QString syllabic = text_.trimmed();
      note_->lyricGoesOn = syllabic == u"begin" || syllabic == u"middle";
    } else if (name == u"text" && Under("lyric")) {
      // Parts joined by an elision are sung on one note.
      if (!note_->lyricText.isEmpty()) note_->lyricText += QLatin1Char(' ');
      note_->lyricText += text_.trimmed();
    } else if (name == u"lyric" && note_->lyricRow >= 0 && !note_->lyricText.isEmpty()) {
      note_->note.words[size_t(note_->lyricRow)] =
          note_->lyricText + (note_->lyricGoesOn ? QStringLiteral("-") : QString());
    }
  } else if (name == u"divisions") {
    // Real files divide a quarter a few thousand times at most; more would overflow the lengths.
    divisions_ = std::clamp(text_.toInt(), 1, 1 << 20);
  } else if (name == u"fifths" && Within("key")) {
    const int fifths = std::clamp(text_.toInt(), -7, 7);
    if (!keySeen_) score_.fifths = fifths;
    if (keySeen_ && fifths != score_.fifths) score_.LeaveOut(kKeyChanges, measure_);
    keySeen_ = true;
  } else if (name == u"beats") {
    beats_ = text_.toInt();
  } else if (name == u"beat-type") {
    beatType_ = text_.toInt();
  } else if (name == u"time") {
    if (!timeSeen_) {
      score_.beats = beats_;
      score_.beatType = beatType_;
    } else if (beats_ != score_.beats || beatType_ != score_.beatType) {
      score_.LeaveOut(kTimeChanges, measure_);
    }
    timeSeen_ = true;
  } else if (name == u"per-minute" && score_.tempo == 0) {
    score_.tempo = qRound(text_.toDouble());
  }
}

void Parser::EndNote() {
  NoteRead& read = *note_;
  if (read.cue || read.staff != u"1") return;
  if (melodyVoice_.isEmpty()) melodyVoice_ = read.voice;
  if (read.voice != melodyVoice_) {
    if (!read.note.rest) score_.LeaveOut(kOtherVoices, measure_);
    return;
  }
  if (read.grace) {
    score_.LeaveOut(kGraceNotes, measure_);
    return;
  }
  if (read.chord) {
    // The top note of a chord is the melody's.
    score_.LeaveOut(kChords, measure_);
    if (score_.notes.empty() || !read.hasPitch) return;
    ImportedScore::Note& before = score_.notes.back();
    if (!before.rest && read.note.pitch.Midi() > before.pitch.Midi())
      before.pitch = read.note.pitch;
    return;
  }
  if (read.tuplet) {
    score_.LeaveOut(kTuplets, measure_);
    HoldTupletTime(read);
    return;
  }
  DropOpenTuplet();
  if (!read.note.wholeMeasure) {
    bool known = false;
    for (const Value& v : kValues) {
      if (read.type == QLatin1String(v.type)) {
        read.note.value = v.value;
        known = true;
      }
    }
    if (!known) {
      const auto value = ValueOfLength(read.duration, divisions_);
      if (!value || !read.type.isEmpty()) {
        score_.LeaveOut(kOddValues, measure_);
        return;
      }
      read.note.value = value->first;
      read.note.dots = value->second;
    }
    read.note.dots = std::min(read.note.dots, 2);
  }
  read.note.measure = measure_;
  score_.notes.push_back(read.note);
}

void Parser::HoldTupletTime(const NoteRead& read) {
  // A group longer than four whole notes is a damaged file's.
  if (read.duration <= 0 || read.duration > 16 * divisions_ - tupletTime_) return;
  if (tupletTime_ == 0) {
    ImportedScore::Note standIn = read.note;
    standIn.measure = measure_;
    score_.notes.push_back(standIn);
  } else {
    // An arc that starts and ends inside the group has no span on a single note.
    ImportedScore::Note& standIn = score_.notes.back();
    const auto merge = [](bool& start, bool& stop, bool laterStart, bool laterStop) {
      if (laterStop && start)
        start = false;
      else if (laterStop)
        stop = true;
      if (laterStart) start = true;
    };
    merge(standIn.slurStart, standIn.slurStop, read.note.slurStart, read.note.slurStop);
    merge(standIn.tieStart, standIn.tieStop, read.note.tieStart, read.note.tieStop);
  }
  tupletTime_ += read.duration;
  if (const auto value = ValueOfLength(tupletTime_, divisions_)) {
    score_.notes.back().value = value->first;
    score_.notes.back().dots = value->second;
    tupletTime_ = 0;
  }
}

void Parser::DropOpenTuplet() {
  if (tupletTime_ == 0) return;
  score_.notes.pop_back();
  tupletTime_ = 0;
}

// The bytes of the entry `name` of `zip`; nothing when it is missing, too large or unreadable.
std::optional<QByteArray> ZipEntry(const ZipLibrary& lib, zip_t* zip, const QString& name) {
  zip_stat_t stat;
  lib.statInit(&stat);
  const QByteArray utf8 = name.toUtf8();
  if (lib.stat(zip, utf8.constData(), 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE) ||
      stat.size > quint64(MusicXmlReader::kMostBytes))
    return std::nullopt;
  zip_file_t* file = lib.fopen(zip, utf8.constData(), 0);
  if (!file) return std::nullopt;
  QByteArray bytes(qsizetype(stat.size), Qt::Uninitialized);
  const zip_int64_t read = lib.fread(file, bytes.data(), stat.size);
  lib.fclose(file);
  if (read != zip_int64_t(stat.size)) return std::nullopt;
  return bytes;
}

// The score a compressed MusicXML file holds: the root file its container names, else its first
// ".musicxml" or ".xml" entry outside META-INF.
std::variant<QByteArray, QString> Unzip(const QString& path) {
  QString unloaded;
  const ZipLibrary* lib = ZipLibrary::Get(&unloaded);
  if (!lib) return unloaded;
  int error = 0;
  const auto discard = [lib](zip_t* zip) { lib->discard(zip); };
  std::unique_ptr<zip_t, decltype(discard)> zip(
      lib->open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error), discard);
  if (!zip) return QStringLiteral("不是完好的压缩文件");
  QString root;
  if (const auto container = ZipEntry(*lib, zip.get(), QStringLiteral("META-INF/container.xml"))) {
    QXmlStreamReader xml(*container);
    while (!xml.atEnd() && root.isEmpty())
      if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"rootfile")
        root = xml.attributes().value(QLatin1String("full-path")).toString();
  }
  const zip_int64_t entries = lib->entries(zip.get(), 0);
  for (zip_int64_t i = 0; i < entries && root.isEmpty(); ++i) {
    const QString name = QString::fromUtf8(lib->name(zip.get(), zip_uint64_t(i), 0));
    if (!name.startsWith(QLatin1String("META-INF/")) &&
        (name.endsWith(QLatin1String(".musicxml")) || name.endsWith(QLatin1String(".xml"))))
      root = name;
  }
  if (root.isEmpty()) return QStringLiteral("压缩文件中没有乐谱");
  if (const auto bytes = ZipEntry(*lib, zip.get(), root)) return *bytes;
  return QStringLiteral("压缩文件中的乐谱无法读取或太大");
}

}  // namespace

std::variant<ImportedScore, QString> MusicXmlReader::Read(const QByteArray& bytes) {
  if (bytes.size() > kMostBytes) return QStringLiteral("文件太大");
  if (bytes.trimmed().isEmpty()) return QStringLiteral("文件是空的");
  Parser parser(bytes);
  return parser.Parse();
}

std::variant<ImportedScore, QString> MusicXmlReader::ReadFile(const QString& path) {
  const QFileInfo info(path);
  if (!info.exists()) return QStringLiteral("文件不存在");
  // A folder or a pipe is no score, and opening a pipe would wait for a writer.
  if (!info.isFile()) return QStringLiteral("不是普通文件");
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return QStringLiteral("无法读取文件");
  if (file.size() > kMostBytes) return QStringLiteral("文件太大");
  const QByteArray head = file.peek(4);
  if (!head.startsWith("PK\x03\x04")) return Read(file.readAll());
  file.close();
  auto unzipped = Unzip(path);
  if (auto* message = std::get_if<QString>(&unzipped)) return *message;
  return Read(std::get<QByteArray>(unzipped));
}

}  // namespace tarvesh::musicxml
