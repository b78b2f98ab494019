#include "app/playbackcommands.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QJsonObject>
#include <QPushButton>
#include <array>
#include <cmath>

#include "document/safefile.h"
#include "engine/virtualkey.h"
#include "kit/controlregistry.h"
#include "kit/dialogs.h"
#include "kit/eventlog.h"
#include "page/scorepage.h"
#include "playback/midifile.h"
#include "playback/performance.h"
#include "score/scoredocument.h"
#include "sound/audiomodule.h"
#include "sound/audiooutputs.h"

namespace tarvesh::app {

namespace {

constexpr QRect kPlayBox(64, 488, 65, 25);
constexpr QRect kInstrumentBox(80, 560, 49, 20);
constexpr QRect kExportBox(72, 584, 57, 17);

struct Instrument {
  const char16_t* name;
  int program;  // General MIDI, from 0
};
constexpr std::array<Instrument, 5> kInstruments{{{u"钢琴", 0},
                                                  {u"长笛", 73},
                                                  {u"小提琴", 40},
                                                  {u"人声", 52},  // Choir Aahs
                                                  {u"打击乐", playback::kPercussionKit}}};

// The reading's line and item the cursor stands at: the first item at or right of the cursor on
// its line, else the first item of the lines below.
std::pair<int, int> ItemAt(const std::vector<reading::ReadLine>& lines, float left, float top) {
  for (int l = 0; l < static_cast<int>(lines.size()); ++l) {
    if (lines[l].top < top) continue;
    if (lines[l].top > top) return {l, 0};
    const auto& items = lines[l].items;
    for (int i = 0; i < static_cast<int>(items.size()); ++i)
      if (items[i].box.left() >= left) return {l, i};
  }
  return {static_cast<int>(lines.size()), 0};
}

}  // namespace

PlaybackCommands::PlaybackCommands(const Context& context)
    : QObject(context.form), context_(context) {
  command20_ = new QPushButton(QStringLiteral("播放"), context_.commandColumn);
  command20_->setObjectName(QStringLiteral("Command20"));
  command20_->setGeometry(kPlayBox);
  context_.controls.Add(command20_);
  combo5_ = new QComboBox(context_.commandColumn);
  combo5_->setObjectName(QStringLiteral("Combo5"));
  combo5_->setGeometry(kInstrumentBox);
  for (const Instrument& instrument : kInstruments)
    combo5_->addItem(QString::fromUtf16(instrument.name));
  combo5_->setCurrentIndex(0);
  context_.controls.Add(combo5_);
  command21_ = new QPushButton(QStringLiteral("导出MIDI"), context_.commandColumn);
  command21_->setObjectName(QStringLiteral("Command21"));
  command21_->setGeometry(kExportBox);
  QFont small = command21_->font();
  small.setPointSizeF(small.pointSizeF() * 0.8);
  command21_->setFont(small);
  command21_->setToolTip(command21_->text());
  context_.controls.Add(command21_);

  // The mark of the item sounding lies over the page, never on it; blue, apart from the orange
  // of a bar whose beats do not add up.
  marker_ = new QFrame(context_.canvas);
  marker_->setFrameShape(QFrame::Box);
  marker_->setStyleSheet(QStringLiteral("border: 2px solid #1e78e6; background: transparent;"));
  marker_->setAttribute(Qt::WA_TransparentForMouseEvents);
  marker_->hide();

  connect(command20_, &QPushButton::clicked, this, [this] {
    if (!Stop()) Play();
    context_.focusPage();
  });
  connect(command21_, &QPushButton::clicked, this, [this] {
    ExportMidi();
    context_.focusPage();
  });
  connect(combo5_, &QComboBox::currentIndexChanged, this, [this] { context_.focusPage(); });
  connect(&player_, &playback::Player::Sounding, this, &PlaybackCommands::MarkSounding);
  connect(&player_, &playback::Player::Stopped, this, [this] { marker_->hide(); });
}

PlaybackCommands::~PlaybackCommands() {
  player_.Stop();
}

int PlaybackCommands::Program() const {
  const int index = combo5_->currentIndex();
  return index >= 0 ? kInstruments[static_cast<size_t>(index)].program : 0;
}

bool PlaybackCommands::CommandKey(int keyCode, int shift) {
  if (keyCode != engine::vk::kEnter || shift != engine::vk::kCtrlBit) return false;
  Play();
  return true;
}

void PlaybackCommands::Play() {
  player_.Stop();
  if (context_.audible && !synth_) {
    QString error;
    if (sound::AudioOutputs* outputs = sound::AudioModule::Outputs(&error))
      synth_ = outputs->OpenSynth(&error);
    if (!synth_) {
      context_.dialogs.Message(error, QStringLiteral("提示"));
      return;
    }
  }
  player_.SetSynth(synth_.get());
  lines_ = context_.read();
  const playback::Performance performance(lines_, playback::ScoreHead::Of(context_.document));
  const auto [line, item] = ItemAt(lines_, context_.page.CursorLeft(), context_.page.CursorTop());
  std::vector<playback::TimedNote> notes = performance.From(line, item);
  const int program = Program();
  for (const playback::TimedNote& note : notes) {
    QJsonObject event{{"play", note.pitch},
                      {"at", qint64(std::lround(performance.Milliseconds(note.start)))},
                      {"length", qint64(std::lround(performance.Milliseconds(note.length)))}};
    if (playback::ChannelOf(note, program) == playback::kPercussionChannel - 1)
      event.insert(QStringLiteral("channel"), playback::kPercussionChannel);
    context_.events.Add(event);
  }
  if (notes.empty()) return;
  player_.Start(std::move(notes), performance.Milliseconds(1), program);
}

bool PlaybackCommands::Stop() {
  if (!player_.Playing()) return false;
  player_.Stop();
  return true;
}

void PlaybackCommands::MarkSounding(int line, int item) {
  if (line < 0 || line >= static_cast<int>(lines_.size()) || item < 0 ||
      item >= static_cast<int>(lines_[line].items.size()))
    return;
  marker_->setGeometry(lines_[line].items[item].box.adjusted(-2, -2, 2, 2));
  marker_->show();
  marker_->raise();
}

void PlaybackCommands::ExportMidi() {
  const QString path = context_.document.Path();
  const QString proposed = path.isEmpty()
                               ? QStringLiteral("乐谱.mid")
                               : QFileInfo(path).dir().filePath(QFileInfo(path).completeBaseName() +
                                                                QStringLiteral(".mid"));
  const auto target = context_.dialogs.SaveFile(QStringLiteral("导出MIDI"),
                                                QStringLiteral("MIDI 文件(*.mid)|*.mid"), proposed);
  if (!target) return;
  const playback::Performance performance(context_.read(),
                                          playback::ScoreHead::Of(context_.document));
  if (const auto failed =
          document::WriteFileSafely(*target, playback::MidiFile::Write(performance, Program())))
    context_.dialogs.Failure(failed->Told(QStringLiteral("无法导出MIDI")), QStringLiteral("提示"));
}

}  // namespace tarvesh::app
