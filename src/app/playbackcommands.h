#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

#include "playback/player.h"
#include "reading/readline.h"

class QComboBox;
class QFrame;
class QPushButton;
class QWidget;

namespace tarvesh::kit {
class ControlRegistry;
class Dialogs;
class EventLog;
}  // namespace tarvesh::kit
namespace tarvesh::page {
class ScorePage;
}
namespace tarvesh::score {
class ScoreDocument;
}

namespace tarvesh::app {

// Hearing the score: 播放 (`Command20`) and Ctrl+Enter play from the item at the cursor through
// the synthesizer with the instrument of `Combo5`, marking the item sounding on screen; the
// button again, an edit or Esc stop it. 导出MIDI (`Command21`) writes the score as a MIDI file.
// Every note played is recorded as a `play` event; in scripts nothing sounds.
class PlaybackCommands : public QObject {
  Q_OBJECT

 public:
  struct Context {
    kit::ControlRegistry& controls;
    kit::Dialogs& dialogs;
    kit::EventLog& events;
    score::ScoreDocument& document;
    page::ScorePage& page;
    QWidget* form;
    QWidget* commandColumn;
    QWidget* canvas;
    // The page read back as music.
    std::function<std::vector<reading::ReadLine>()> read;
    std::function<void()> focusPage;
    // False in scripts: the notes are recorded and kept in time, never sounded.
    bool audible;
  };

  explicit PlaybackCommands(const Context& context);
  ~PlaybackCommands() override;

  // Starts playing from the item at the cursor (again, when playing).
  void Play();
  // Stops playing; false when nothing was playing.
  bool Stop();
  bool Playing() const { return player_.Playing(); }
  // A key with Ctrl or Alt: true when it was playback's (Ctrl+Enter).
  bool CommandKey(int keyCode, int shift);
  void ExportMidi();

 private:
  // The General MIDI program of the chosen instrument; negative for the percussion kit.
  int Program() const;
  void MarkSounding(int line, int item);

  Context context_;
  playback::Player player_;
  std::unique_ptr<playback::Synth> synth_;
  // The reading being played, to find the boxes of the items sounding.
  std::vector<reading::ReadLine> lines_;
  QPushButton* command20_;
  QComboBox* combo5_;
  QPushButton* command21_;
  QFrame* marker_;
};

}  // namespace tarvesh::app
