#pragma once

#include <QObject>
#include <QString>
#include <cstddef>
#include <deque>
#include <memory>
#include <set>
#include <utility>

#include "page/enginestate.h"
#include "page/pageedit.h"
#include "score/scoredocument.h"

namespace tarvesh::score {

// The named edits of a document, as they can be taken back and done again. Every change a user
// makes runs between Begin and End as one edit: the page keeps what its writes overwrote, and
// the document's other contents and the engine state are taken at both ends (shared with the
// edit before when they did not change). An edit that changed nothing is not kept. Past the
// journal's bound (kMostBytes unless told) the oldest edits are dropped.
//
// The document's path is the file's, not the score's: a save that moves it is no edit, and only
// an edit that changed it (an open, a new score) takes it back.
class EditJournal : public QObject {
  Q_OBJECT

 public:
  static constexpr size_t kMostBytes = size_t(256) << 20;

  // What an edit changed beside the document (the window around it), to be taken back after the
  // document's own contents and done again after them.
  class Beside {
   public:
    virtual ~Beside() = default;
    virtual void Undo() = 0;
    virtual void Redo() = 0;
    virtual size_t Bytes() const = 0;
  };
  // Keeps what lies beside the document: told when an edit opens, asked when it closes.
  class Companion {
   public:
    virtual ~Companion() = default;
    // An edit opens; `continuing` when the edit before closed just now, nothing in between.
    virtual void Opened(bool continuing) = 0;
    // The edit closes: what changed beside the document since it opened, null for nothing.
    virtual std::shared_ptr<Beside> Closed() = 0;
  };

  explicit EditJournal(ScoreDocument& document, size_t mostBytes = kMostBytes,
                       QObject* parent = nullptr);

  // Must outlive the journal, or be taken away first (null).
  void SetCompanion(Companion* companion) { companion_ = companion; }

  // Opens an edit named `name`. Edits nest: an inner pair belongs to the outermost edit.
  void Begin(const QString& name);
  // Closes the edit; it is kept when it changed anything, and what could be done again is
  // forgotten.
  void End();
  // Closes the outermost edit and takes back what it changed, keeping nothing: what could be done
  // again stays so.
  void Abandon();
  // Closes the outermost edit and opens the next one, named `name`, with nothing in between.
  void Cut(const QString& name);
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

  // Whether the score differs from the one on disk at its path (or, without a path, from a new
  // score): an edit that wrote the page or changed the document (its path aside) lies between
  // the score shown and the one last saved, opened or made new there.
  bool IsModified() const { return !unmodified_.contains({Version(), document_.Path()}); }
  // The score as it stands is the one on disk at its path (saved or opened), or a new one.
  void MarkUnmodified() { unmodified_.insert({Version(), document_.Path()}); }

  // Bytes the kept edits hold.
  size_t Bytes() const { return bytes_; }

 signals:
  // Something can now (or no longer) be undone or redone.
  void Changed();
  // The score itself changed: an edit that altered it was kept, taken back or done again.
  void Altered();

 private:
  using Contents = std::shared_ptr<const ScoreDocument::Held>;
  struct Step {
    QString name;
    page::PageEdit page;
    page::EngineState stateBefore;
    page::EngineState stateAfter;
    Contents before;
    Contents after;
    std::shared_ptr<Beside> beside;
    // Changed the score itself, not only the cursor, the engine's modes or the window; numbered
    // so a saved score is known again after undo and redo.
    bool alters = false;
    quint64 serial = 0;
    size_t bytes = 0;
  };

  // The document's contents now, shared with `known_` when they did not change.
  Contents TakeContents();
  // Puts the contents back; the path only when the edit taken back or done again moved it.
  void Put(const page::EngineState& state, const Contents& contents, bool withPath);
  void DropOldest();
  // The serial of the last score-changing edit done, naming the score as it stands.
  quint64 Version() const;

  ScoreDocument& document_;
  const size_t mostBytes_;
  std::deque<Step> steps_;
  size_t done_ = 0;
  size_t bytes_ = 0;
  int depth_ = 0;
  Step open_;
  // The contents last taken or put back.
  Contents known_;
  Companion* companion_ = nullptr;
  bool justClosed_ = false;
  quint64 serials_ = 0;
  // The version before the oldest edit kept.
  quint64 floor_ = 0;
  // The versions known to be as on disk, each with the path it is at.
  std::set<std::pair<quint64, QString>> unmodified_{{0, QString()}};
};

}  // namespace tarvesh::score
