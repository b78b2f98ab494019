#include "app/editseam.h"

#include <QApplication>
#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <algorithm>
#include <utility>

#include "kit/controlregistry.h"

namespace tarvesh::app {

namespace {

// The undo buttons' places in the command column, right of the staff key list and the clef.
constexpr QRect kUndoBox(80, 416, 49, 17);
constexpr QRect kRedoBox(80, 440, 49, 17);

using kit::ControlState;
using kit::WindowState;

// The batch export's own variables: it puts the window back itself, so no step keeps them.
WindowState WithBatchOf(WindowState state, const WindowState& batch) {
  state.ExportStep = batch.ExportStep;
  state.BatchStamp = batch.BatchStamp;
  state.PathBeforeBatch = batch.PathBeforeBatch;
  return state;
}

bool IsModifierKey(int key) {
  switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
      return true;
    default:
      return false;
  }
}

}  // namespace

// What a step changed of the controls and the window's variables.
class EditSeam::Controls : public score::EditJournal::Beside {
 public:
  struct Changed {
    size_t control;
    ControlState before;
    ControlState after;
  };

  Controls(const std::vector<QObject*>& controls, const QObject* blinking, WindowState& window,
           std::vector<Changed> changed, const WindowState& windowBefore,
           const WindowState& windowAfter)
      : controls_(controls),
        blinking_(blinking),
        window_(window),
        changed_(std::move(changed)),
        windowBefore_(windowBefore),
        windowAfter_(windowAfter) {}

  void Undo() override {
    for (const Changed& c : changed_) Put(c.control, c.before);
    window_ = WithBatchOf(windowBefore_, window_);
  }
  void Redo() override {
    for (const Changed& c : changed_) Put(c.control, c.after);
    window_ = WithBatchOf(windowAfter_, window_);
  }
  size_t Bytes() const override {
    size_t bytes = sizeof(*this) + changed_.size() * sizeof(Changed);
    for (const Changed& c : changed_)
      bytes += size_t(c.before.text.size() + c.after.text.size()) * sizeof(QChar);
    return bytes;
  }

 private:
  void Put(size_t control, ControlState state) const {
    QObject* object = controls_[control];
    if (object == blinking_) state.visible = !static_cast<QWidget*>(object)->isHidden();
    ControlState::Put(object, state);
  }

  const std::vector<QObject*>& controls_;
  const QObject* blinking_;
  WindowState& window_;
  std::vector<Changed> changed_;
  WindowState windowBefore_;
  WindowState windowAfter_;
};

// Takes the controls and the window's variables when a step opens and when it closes. The state
// at a step's close is the next step's start, so a step costs one look at the window.
class EditSeam::Companion : public score::EditJournal::Companion {
 public:
  Companion(std::vector<QObject*> controls, const QObject* blinking, WindowState& window)
      : controls_(std::move(controls)), blinking_(blinking), window_(window) {
    for (const QObject* control : controls_) kinds_.push_back(ControlState::KindOf(control));
  }

  void Opened(bool continuing) override {
    if (continuing) return;
    Capture(start_);
    windowStart_ = window_;
  }

  std::shared_ptr<score::EditJournal::Beside> Closed() override {
    Capture(now_);
    std::vector<Controls::Changed> changed;
    for (size_t i = 0; i < controls_.size(); ++i)
      if (!(start_[i] == now_[i])) changed.push_back({i, start_[i], now_[i]});
    const WindowState windowNow = window_;
    const bool windowChanged = !(WithBatchOf(windowStart_, windowNow) == windowNow);
    std::shared_ptr<score::EditJournal::Beside> beside;
    if (!changed.empty() || windowChanged)
      beside = std::make_shared<Controls>(controls_, blinking_, window_, std::move(changed),
                                          windowStart_, windowNow);
    std::swap(start_, now_);
    windowStart_ = windowNow;
    return beside;
  }

 private:
  void Capture(std::vector<ControlState>& into) const {
    into.resize(controls_.size());
    for (size_t i = 0; i < controls_.size(); ++i) {
      into[i] = ControlState::Of(controls_[i], kinds_[i]);
      if (controls_[i] == blinking_) into[i].visible = false;
    }
  }

  const std::vector<QObject*> controls_;
  std::vector<ControlState::Kind> kinds_;
  const QObject* blinking_;
  WindowState& window_;
  std::vector<ControlState> start_;
  std::vector<ControlState> now_;
  WindowState windowStart_;
};

EditSeam::EditSeam(const Context& context)
    : QObject(context.form), context_(context), journal_(context.document, context.journalBytes) {
  auto button = [this](const QString& name, const QString& text, const QRect& box) {
    auto* b = new QPushButton(text, context_.commandColumn);
    b->setObjectName(name);
    b->setGeometry(box);
    b->setEnabled(false);
    context_.controls.Add(b);
    return b;
  };
  undo_ = button(QStringLiteral("Command18"), QStringLiteral("撤销"), kUndoBox);
  redo_ = button(QStringLiteral("Command19"), QStringLiteral("重做"), kRedoBox);
  connect(undo_, &QPushButton::clicked, this, [this] {
    Undo();
    context_.focusPage();
  });
  connect(redo_, &QPushButton::clicked, this, [this] {
    Redo();
    context_.focusPage();
  });
  connect(&journal_, &score::EditJournal::Changed, this, &EditSeam::Changed);
  connect(&journal_, &score::EditJournal::Altered, this, &EditSeam::ScoreChanged);
}

EditSeam::~EditSeam() {
  journal_.SetCompanion(nullptr);
}

void EditSeam::Start() {
  // The window itself, the dialogs' memory, the undo buttons and what was kept out follow the
  // journal or nothing; they are no part of a step.
  std::vector<QObject*> controls;
  for (QObject* control : context_.controls.All()) {
    if (control == undo_ || control == redo_ || keptOut_.contains(control)) continue;
    const ControlState::Kind kind = ControlState::KindOf(control);
    if (kind == ControlState::Kind::kWindow || kind == ControlState::Kind::kOther) continue;
    controls.push_back(control);
  }
  companion_ = std::make_unique<Companion>(std::move(controls), context_.blinking, context_.window);
  journal_.SetCompanion(companion_.get());
  journal_.Begin(QString());
  started_ = true;
  qApp->installEventFilter(this);
  Changed();
}

void EditSeam::Cut() {
  if (!started_ || suspended_) return;
  if (beforeCut_) beforeCut_();
  journal_.Cut(QString());
  Changed();
}

void EditSeam::Settle() {
  if (heldKeys_.isEmpty() && heldButtons_ == 0) Cut();
}

void EditSeam::Outside(const std::function<void()>& change) {
  if (!started_ || suspended_) {
    change();
    return;
  }
  journal_.End();
  change();
  journal_.Begin(QString());
  Changed();
}

void EditSeam::SetSuspended(bool suspended) {
  if (!started_ || suspended == suspended_) return;
  if (suspended) {
    journal_.End();
    suspended_ = true;
    emit ScoreChanged();
  } else {
    suspended_ = false;
    journal_.Begin(QString());
  }
  Changed();
}

void EditSeam::MarkUnmodified() {
  Cut();
  journal_.MarkUnmodified();
  Changed();
}

void EditSeam::Undo() {
  if (!started_ || suspended_) return;
  // What changed since the last action ended (a pointer passing over the staff) goes back with
  // the action before it.
  journal_.Abandon();
  journal_.Undo();
  journal_.Begin(QString());
  Changed();
}

void EditSeam::Redo() {
  if (!started_ || suspended_) return;
  journal_.Abandon();
  journal_.Redo();
  journal_.Begin(QString());
  Changed();
}

void EditSeam::Changed() {
  undo_->setEnabled(!suspended_ && journal_.CanUndo());
  redo_->setEnabled(!suspended_ && journal_.CanRedo());
  if (onChanged_) onChanged_();
}

bool EditSeam::InWindow(QObject* watched) const {
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget) return false;
  // The page is shown through a view of the window: its widgets belong to the window too.
  if (const QGraphicsProxyWidget* proxy = widget->window()->graphicsProxyWidget()) {
    if (!proxy->scene()) return false;
    const QList<QGraphicsView*> views = proxy->scene()->views();
    return std::any_of(views.begin(), views.end(),
                       [this](QGraphicsView* view) { return context_.form->isAncestorOf(view); });
  }
  return widget == context_.form || context_.form->isAncestorOf(widget);
}

bool EditSeam::eventFilter(QObject* watched, QEvent* event) {
  // A step ends when the last key or button held in the window is released; what happens
  // before the press (a pointer passing over the staff) belongs to that step too. A release seen
  // again is the same one on its way up to a parent.
  switch (event->type()) {
    case QEvent::KeyPress: {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (!IsModifierKey(key) && InWindow(watched)) heldKeys_.insert(key);
      break;
    }
    case QEvent::KeyRelease: {
      const auto* keyEvent = static_cast<QKeyEvent*>(event);
      if (keyEvent->isAutoRepeat() || !heldKeys_.remove(keyEvent->key())) break;
      PostSettle();
      break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
      if (InWindow(watched)) heldButtons_ |= int(static_cast<QMouseEvent*>(event)->button());
      break;
    case QEvent::MouseButtonRelease: {
      const int button = int(static_cast<QMouseEvent*>(event)->button());
      if (!(heldButtons_ & button)) break;
      heldButtons_ &= ~button;
      PostSettle();
      break;
    }
    case QEvent::InputMethod:
      // A commit of an input method is a step of its own, once no key is held.
      if (InWindow(watched)) PostSettle();
      break;
    case QEvent::ApplicationDeactivate:
      // What was held is released where the window no longer hears it.
      heldKeys_.clear();
      heldButtons_ = 0;
      PostSettle();
      break;
    default:
      break;
  }
  return false;
}

void EditSeam::PostSettle() {
  // After the release is handled: the handler's changes belong to the step it ends.
  if (settlePosted_) return;
  settlePosted_ = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        settlePosted_ = false;
        Settle();
      },
      Qt::QueuedConnection);
}

}  // namespace tarvesh::app
