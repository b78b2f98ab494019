#pragma once

#include <QObject>
#include <QSet>
#include <QString>
#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

#include "kit/controlstate.h"
#include "kit/windowstate.h"
#include "score/editjournal.h"

class QEvent;
class QPushButton;
class QWidget;

namespace tarvesh::kit {
class ControlRegistry;
}

namespace tarvesh::app {

// Every user action passes here on its way into the window, and becomes one step that "撤销"
// (`Command18`, Ctrl+Z) takes back and "重做" (`Command19`, Ctrl+Y, Ctrl+Shift+Z) does again:
// what happened up to the release of the last key or mouse button held (a held key's repeats
// included), or up to the end of a script step that delivers no event. A step keeps the page's
// changed rectangles, the document's contents and engine state, and every control and window
// variable it changed, so taking it back shows the window exactly as it was before.
//
// The journal is always open between actions, so nothing a handler does escapes it. Saving and
// the batch export are no steps: the first only names the file, the second puts everything
// back.
class EditSeam : public QObject {
  Q_OBJECT

 public:
  struct Context {
    score::ScoreDocument& document;
    kit::WindowState& window;
    kit::ControlRegistry& controls;
    QWidget* form;
    QWidget* commandColumn;
    // The cursor's picture: its blinking is no change of anyone's.
    QObject* blinking;
    std::function<void()> focusPage;
    size_t journalBytes;
  };

  explicit EditSeam(const Context& context);
  ~EditSeam() override;

  // Starts the journal with the window as it stands: call once every control exists.
  void Start();

  score::EditJournal& Journal() { return journal_; }
  bool IsModified() const { return journal_.IsModified(); }

  // Ends the step under way, unless a key or mouse button is still held.
  void Settle();
  // Runs `change` outside every step (a save, the batch export), ending the step under way
  // first; what it changes is the start of the next step.
  void Outside(const std::function<void()>& change);
  // While suspended (a batch export runs) no step is kept and nothing is undone; the window as
  // it stands when it resumes is the start of the next step.
  void SetSuspended(bool suspended);
  // The score shown is the one on disk, or a new one: ends the step under way and marks it.
  void MarkUnmodified();
  // Runs before a step ends, so what follows from the step's changes belongs to it.
  void SetBeforeCut(std::function<void()> beforeCut) { beforeCut_ = std::move(beforeCut); }
  // Tells when the window title or the undo buttons may have changed.
  void SetOnChanged(std::function<void()> onChanged) { onChanged_ = std::move(onChanged); }

  void Undo();
  void Redo();

  // Leaves `control` out of every step: a choice that is no part of the score (the instrument
  // playback sounds with), whose change must neither be undone nor end what could be redone.
  // Call before Start.
  void KeepOut(QObject* control) { keptOut_.insert(control); }

 signals:
  // The score shown changed: an action that altered it ended, or was taken back or done again;
  // or the batch export takes the window to show other scores.
  void ScoreChanged();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  class Companion;
  class Controls;

  // Ends the step under way and opens the next.
  void Cut();
  void Changed();
  // Settles once the event under way has been handled.
  void PostSettle();
  bool InWindow(QObject* watched) const;

  Context context_;
  score::EditJournal journal_;
  std::unique_ptr<Companion> companion_;
  QPushButton* undo_;
  QPushButton* redo_;
  // Keys and mouse buttons pressed in the window and not yet released.
  QSet<int> heldKeys_;
  int heldButtons_ = 0;
  bool settlePosted_ = false;
  bool started_ = false;
  bool suspended_ = false;
  QSet<QObject*> keptOut_;
  std::function<void()> onChanged_;
  std::function<void()> beforeCut_;
};

}  // namespace tarvesh::app
