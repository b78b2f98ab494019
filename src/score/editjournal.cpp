#include "score/editjournal.h"

#include <algorithm>

namespace tarvesh::score {

namespace {
// What one edit's bookkeeping costs besides its pixels, and a copy of the document's contents.
constexpr size_t kStepBytes = sizeof(page::PageEdit) + 2 * sizeof(page::EngineState) + 64;
constexpr size_t kContentsBytes = sizeof(ScoreDocument::Held);
}  // namespace

EditJournal::EditJournal(ScoreDocument& document, size_t mostBytes, QObject* parent)
    : QObject(parent), document_(document), mostBytes_(mostBytes) {}

EditJournal::Contents EditJournal::TakeContents() {
  ScoreDocument::Held now = document_.Take();
  if (!known_ || !(*known_ == now)) known_ = std::make_shared<const ScoreDocument::Held>(now);
  return known_;
}

void EditJournal::Begin(const QString& name) {
  if (depth_++ > 0) return;
  open_ = Step();
  open_.name = name;
  open_.stateBefore = document_.State();
  open_.before = TakeContents();
  document_.Page().BeginEdit();
  if (companion_) companion_->Opened(justClosed_);
  justClosed_ = false;
}

void EditJournal::End() {
  if (depth_ == 0 || --depth_ > 0) return;
  open_.page = document_.Page().EndEdit();
  open_.stateAfter = document_.State();
  open_.after = TakeContents();
  open_.beside = companion_ ? companion_->Closed() : nullptr;
  open_.alters = document_.Page().ChangedBy(open_.page);
  if (!open_.alters && open_.before != open_.after) {
    ScoreDocument::Held pathAside = *open_.before;
    pathAside.path = open_.after->path;
    open_.alters = !(pathAside == *open_.after);
  }
  const bool changed = open_.alters || open_.page.MovesCursorOrPen() ||
                       open_.stateBefore != open_.stateAfter || open_.before != open_.after ||
                       open_.beside;
  if (!changed) return;
  const bool alters = open_.alters;
  const bool wasRedoable = CanRedo();
  while (steps_.size() > done_) {
    bytes_ -= steps_.back().bytes;
    steps_.pop_back();
  }
  open_.serial = ++serials_;
  open_.bytes = kStepBytes + open_.page.PixelBytes() +
                (open_.before != open_.after ? kContentsBytes : 0) +
                (open_.beside ? open_.beside->Bytes() : 0);
  bytes_ += open_.bytes;
  steps_.push_back(std::move(open_));
  ++done_;
  while (bytes_ > mostBytes_ && steps_.size() > 1) DropOldest();
  if (done_ == 1 || wasRedoable) emit Changed();
  if (alters) emit Altered();
}

void EditJournal::Abandon() {
  if (depth_ == 0) return;
  depth_ = 0;
  page::PageEdit page = document_.Page().EndEdit();
  document_.Page().Revert(page);
  const std::shared_ptr<Beside> beside = companion_ ? companion_->Closed() : nullptr;
  Put(open_.stateBefore, open_.before, true);
  if (beside) beside->Undo();
  open_ = Step();
}

void EditJournal::Cut(const QString& name) {
  const int depth = depth_;
  while (depth_ > 0) End();
  justClosed_ = depth > 0;
  for (int i = 0; i < std::max(depth, 1); ++i) Begin(name);
}

void EditJournal::DropOldest() {
  const Step& oldest = steps_.front();
  if (oldest.alters) floor_ = oldest.serial;
  bytes_ -= oldest.bytes;
  steps_.pop_front();
  --done_;
}

quint64 EditJournal::Version() const {
  for (size_t i = done_; i > 0; --i)
    if (steps_[i - 1].alters) return steps_[i - 1].serial;
  return floor_;
}

QString EditJournal::UndoName() const {
  return CanUndo() ? steps_[done_ - 1].name : QString();
}

QString EditJournal::RedoName() const {
  return CanRedo() ? steps_[done_].name : QString();
}

void EditJournal::Put(const page::EngineState& state, const Contents& contents, bool withPath) {
  Contents put = contents;
  if (!withPath && contents->path != document_.Path()) {
    auto kept = std::make_shared<ScoreDocument::Held>(*contents);
    kept->path = document_.Path();
    put = std::move(kept);
  }
  // The contents first: their views announce note spacings the engine state also holds.
  document_.Restore(*put);
  document_.State() = state;
  known_ = put;
}

bool EditJournal::Undo() {
  if (IsOpen() || !CanUndo()) return false;
  Step& step = steps_[done_ - 1];
  if (!document_.Page().Revert(step.page)) return false;
  Put(step.stateBefore, step.before, step.before->path != step.after->path);
  if (step.beside) step.beside->Undo();
  --done_;
  const bool alters = step.alters;
  emit Changed();
  if (alters) emit Altered();
  return true;
}

bool EditJournal::Redo() {
  if (IsOpen() || !CanRedo()) return false;
  Step& step = steps_[done_];
  if (!document_.Page().Reapply(step.page)) return false;
  Put(step.stateAfter, step.after, step.before->path != step.after->path);
  if (step.beside) step.beside->Redo();
  ++done_;
  const bool alters = step.alters;
  emit Changed();
  if (alters) emit Altered();
  return true;
}

void EditJournal::Clear() {
  const bool had = !steps_.empty();
  const bool modified = IsModified();
  steps_.clear();
  done_ = 0;
  bytes_ = 0;
  floor_ = ++serials_;
  if (!modified) MarkUnmodified();
  if (had) emit Changed();
}

}  // namespace tarvesh::score
