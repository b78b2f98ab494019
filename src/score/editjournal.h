#pragma once

#include <QObject>
#include <QString>
#include <cstddef>
#include <deque>
#include <memory>

#include "page/enginestate.h"
#include "page/pageedit.h"
#include "score/scoredocument.h"

namespace tarvesh::score {

// The named edits of a document, as they can be taken back and done again. Every change a user
// makes runs between Begin and End as one edit: the page keeps what its writes overwrote, and
// the document's other contents and the engine state are taken at both ends (shared with the
// edit before when they did not change). An edit that changed nothing is not kept. Past the
// journal's bound (kMostBytes unless told) the oldest edits are dropped.
class EditJournal : public QObject {
  Q_OBJECT

 public:
  static constexpr size_t kMostBytes = size_t(256) << 20;

  explicit EditJournal(ScoreDocument& document, size_t mostBytes = kMostBytes,
                       QObject* parent = nullptr);

  // Opens an edit named `name`. Edits nest: an inner pair belongs to the outermost edit.
  void Begin(const QString& name);
  // Closes the edit; it is kept when it changed anything, and what could be done again is
  // forgotten.
  void End();
  bool IsOpen() const { return depth_ > 0; }

  bool CanUndo() const { return done_ > 0; }
  bool CanRedo() const { return done_ < steps_.size(); }
  // The name of the edit Undo would take back, or Redo do again; empty when none.
  QString UndoName() const;
  QString RedoName() const;
  // Takes the last edit back, or does the last edit taken back again. False when there is none,
  // while an edit is open, or when the page no longer fits the edit.
  bool Undo();
  bool Redo();
  // Forgets every edit.
  void Clear();

  // Bytes the kept edits hold.
  size_t Bytes() const { return bytes_; }

 signals:
  // Something can now (or no longer) be undone or redone.
  void Changed();

 private:
  using Contents = std::shared_ptr<const ScoreDocument::Held>;
  struct Step {
    QString name;
    page::PageEdit page;
    page::EngineState stateBefore;
    page::EngineState stateAfter;
    Contents before;
    Contents after;
    size_t bytes = 0;
  };

  // The document's contents now, shared with `known_` when they did not change.
  Contents TakeContents();
  void Put(const page::EngineState& state, const Contents& contents);
  void DropOldest();

  ScoreDocument& document_;
  const size_t mostBytes_;
  std::deque<Step> steps_;
  size_t done_ = 0;
  size_t bytes_ = 0;
  int depth_ = 0;
  Step open_;
  // The contents last taken or put back.
  Contents known_;
};

}  // namespace tarvesh::score
