#include "app/script/scriptrunner.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEventLoop>
#include <QFile>
#include <QInputMethodEvent>
#include <QJsonDocument>
#include <QListWidget>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimer>
#include <cmath>
#include <functional>
#include <map>

#include "app/editseam.h"
#include "app/form1.h"
#include "app/playbackcommands.h"
#include "app/script/scripteddialogs.h"
#include "app/script/scriptparser.h"
#include "app/statedump.h"
#include "app/zoombox.h"
#include "document/pagepicture.h"
#include "document/safefile.h"
#include "engine/virtualkey.h"
#include "kit/imagecontrol.h"
#include "kit/labelcontrol.h"
#include "kit/mousebits.h"
#include "kit/pagecanvas.h"
#include "kit/pageviewport.h"
#include "kit/picturebox.h"
#include "kit/timercontrol.h"
#include "kit/virtualkeys.h"

namespace tarvesh::app {

namespace {

// A step that cannot run; the message goes to the user with the line.
struct StepError {
  QString message;
};

class Runner {
 public:
  Runner(Form1& form, ScriptedDialogs& dialogs) : form_(form), dialogs_(dialogs) {}

  void Run(const QStringList& words);

 private:
  using Step = void (Runner::*)(const QStringList&);
  static const std::map<QString, std::pair<Step, int>>& Steps();

  static int Int(const QString& word);
  static double Number(const QString& word);
  QObject* Control(const QString& name) const;
  QWidget* Widget(const QString& name) const;
  kit::MouseEvents* MouseOf(const QString& name) const;

  void Key(const QStringList& w);
  void KeyDown(const QStringList& w);
  void KeyUp(const QStringList& w);
  void Text(const QStringList& w);
  void Undo(const QStringList&) { PressShortcut(engine::vk::Letter('Z')); }
  void Redo(const QStringList&) { PressShortcut(engine::vk::Letter('Y')); }
  void Play(const QStringList&) { PressShortcut(engine::vk::kEnter); }
  // The play button pressed while playing; nothing when nothing plays.
  void Stop(const QStringList&);
  // Ctrl with the key `keyCode`, pressed and released.
  void PressShortcut(int keyCode);
  void SendKey(QEvent::Type type, const QStringList& w);
  void MouseDown(const QStringList& w) { SendMouse(QEvent::MouseButtonPress, w); }
  void MouseMove(const QStringList& w) { SendMouse(QEvent::MouseMove, w); }
  void MouseUp(const QStringList& w) { SendMouse(QEvent::MouseButtonRelease, w); }
  void SendMouse(QEvent::Type type, const QStringList& w);
  void Click(const QStringList& w);
  void DblClick(const QStringList& w);
  void Select(const QStringList& w);
  void Set(const QStringList& w);
  void Tick(const QStringList& w);
  void Wait(const QStringList& w);
  void Answer(const QStringList& w) { dialogs_.QueueInput(w[1]); }
  void AnswerCancel(const QStringList&) { dialogs_.QueueInput(std::nullopt); }
  void File(const QStringList& w) { dialogs_.QueueFile(w[1]); }
  void FileCancel(const QStringList&) { dialogs_.QueueFile(std::nullopt); }
  void Reply(const QStringList& w);
  void Colour(const QStringList& w);
  void ColourCancel(const QStringList&) { dialogs_.QueueColour(std::nullopt); }
  void SaveBitmap(const QStringList& w) { SaveImage(form_.Page().Image(), w[1]); }
  void SaveView(const QStringList& w) { SaveImage(form_.PageView(), w[1]); }
  void SaveImage(const QImage& image, const QString& path);
  void Dump(const QStringList& w);
  void Zoom(const QStringList& w);

  Form1& form_;
  ScriptedDialogs& dialogs_;
};

const std::map<QString, std::pair<Runner::Step, int>>& Runner::Steps() {
  // Step name -> handler and the least number of words, the step name included.
  static const std::map<QString, std::pair<Step, int>> steps{
      {"key", {&Runner::Key, 2}},
      {"keydown", {&Runner::KeyDown, 2}},
      {"keyup", {&Runner::KeyUp, 2}},
      {"text", {&Runner::Text, 2}},
      {"undo", {&Runner::Undo, 1}},
      {"redo", {&Runner::Redo, 1}},
      {"play", {&Runner::Play, 1}},
      {"stop", {&Runner::Stop, 1}},
      {"mousedown", {&Runner::MouseDown, 6}},
      {"mousemove", {&Runner::MouseMove, 6}},
      {"mouseup", {&Runner::MouseUp, 6}},
      {"click", {&Runner::Click, 2}},
      {"dblclick", {&Runner::DblClick, 2}},
      {"select", {&Runner::Select, 3}},
      {"set", {&Runner::Set, 3}},
      {"tick", {&Runner::Tick, 2}},
      {"wait", {&Runner::Wait, 2}},
      {"answer", {&Runner::Answer, 2}},
      {"answer-cancel", {&Runner::AnswerCancel, 1}},
      {"file", {&Runner::File, 2}},
      {"file-cancel", {&Runner::FileCancel, 1}},
      {"reply", {&Runner::Reply, 2}},
      {"color", {&Runner::Colour, 4}},
      {"color-cancel", {&Runner::ColourCancel, 1}},
      {"save-bitmap", {&Runner::SaveBitmap, 2}},
      {"save-view", {&Runner::SaveView, 2}},
      {"dump", {&Runner::Dump, 2}},
      {"zoom", {&Runner::Zoom, 2}},
  };
  return steps;
}

void Runner::Run(const QStringList& words) {
  const auto found = Steps().find(words[0]);
  if (found == Steps().end()) throw StepError{QStringLiteral("unknown step \"%1\"").arg(words[0])};
  if (words.size() < found->second.second)
    throw StepError{QStringLiteral("step \"%1\" needs more words").arg(words[0])};
  (this->*found->second.first)(words);
}

int Runner::Int(const QString& word) {
  bool ok = false;
  const int value = word.toInt(&ok);
  if (!ok) throw StepError{QStringLiteral("bad number \"%1\"").arg(word)};
  return value;
}

double Runner::Number(const QString& word) {
  bool ok = false;
  const double value = word.toDouble(&ok);
  // nan and inf are no positions; the controls clamp finite ones to themselves.
  if (!ok || !std::isfinite(value)) throw StepError{QStringLiteral("bad number \"%1\"").arg(word)};
  return value;
}

QObject* Runner::Control(const QString& name) const {
  QObject* control = form_.Controls().Find(name);
  if (!control) throw StepError{QStringLiteral("unknown control \"%1\"").arg(name)};
  return control;
}

QWidget* Runner::Widget(const QString& name) const {
  auto* widget = qobject_cast<QWidget*>(Control(name));
  if (!widget) throw StepError{QStringLiteral("\"%1\" takes no mouse or key events").arg(name)};
  return widget;
}

kit::MouseEvents* Runner::MouseOf(const QString& name) const {
  QObject* control = Control(name);
  if (auto* label = qobject_cast<kit::LabelControl*>(control)) return label->Mouse();
  if (auto* image = qobject_cast<kit::ImageControl*>(control)) return image->Mouse();
  if (auto* picture = qobject_cast<kit::PictureBox*>(control)) return picture->Mouse();
  if (auto* canvas = qobject_cast<kit::PageCanvas*>(control)) return canvas->Mouse();
  return nullptr;
}

void Runner::SendKey(QEvent::Type type, const QStringList& w) {
  const int keyCode = Int(w[1]);
  const int shift = w.size() > 2 ? Int(w[2]) : 0;
  const auto event = kit::MakeKeyEvent(type, keyCode, shift);
  QCoreApplication::sendEvent(form_.Canvas(), event.get());
}

void Runner::Key(const QStringList& w) {
  SendKey(QEvent::KeyPress, w);
  SendKey(QEvent::KeyRelease, w);
}
void Runner::PressShortcut(int keyCode) {
  const QStringList w{QString(), QString::number(keyCode), QString::number(engine::vk::kCtrlBit)};
  Key(w);
}

void Runner::Stop(const QStringList&) {
  if (form_.Playback().Playing()) Click({QString(), QStringLiteral("Command20")});
}

void Runner::Text(const QStringList& w) {
  // The control with the keyboard focus takes it; headless, no control has the focus, and the
  // page is the one that would.
  QWidget* focused = QApplication::focusWidget();
  if (!focused || !(focused == &form_ || form_.isAncestorOf(focused))) focused = form_.Canvas();
  QInputMethodEvent commit;
  commit.setCommitString(w[1]);
  QCoreApplication::sendEvent(focused, &commit);
}

void Runner::KeyDown(const QStringList& w) {
  SendKey(QEvent::KeyPress, w);
}
void Runner::KeyUp(const QStringList& w) {
  SendKey(QEvent::KeyRelease, w);
}

void Runner::SendMouse(QEvent::Type type, const QStringList& w) {
  QWidget* widget = Widget(w[1]);
  const int buttons = Int(w[2]);
  const int shift = Int(w[3]);
  const QPointF at(Number(w[4]), Number(w[5]));
  const Qt::MouseButtons held = kit::QtButtons(buttons);
  // A press or release is of one button: the lowest one given.
  Qt::MouseButton button = Qt::NoButton;
  for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton})
    if (held & b) {
      button = b;
      break;
    }
  if (type != QEvent::MouseMove && button == Qt::NoButton)
    throw StepError{QStringLiteral("a press or release needs a button")};
  const Qt::MouseButton eventButton = type == QEvent::MouseMove ? Qt::NoButton : button;
  const Qt::MouseButtons eventButtons =
      type == QEvent::MouseButtonRelease ? (held & ~Qt::MouseButtons(button)) : held;
  QMouseEvent event(type, at, widget->mapToGlobal(at), eventButton, eventButtons,
                    kit::QtModifiers(shift));
  QCoreApplication::sendEvent(widget, &event);
}

void Runner::Click(const QStringList& w) {
  QObject* control = Control(w[1]);
  if (auto* button = qobject_cast<QAbstractButton*>(control)) {
    button->click();
  } else if (kit::MouseEvents* mouse = MouseOf(w[1])) {
    emit mouse->Click();
  } else {
    throw StepError{QStringLiteral("\"%1\" cannot be clicked").arg(w[1])};
  }
}

void Runner::DblClick(const QStringList& w) {
  QObject* control = Control(w[1]);
  if (auto* list = qobject_cast<QListWidget*>(control)) {
    if (QListWidgetItem* item = list->currentItem()) emit list->itemDoubleClicked(item);
  } else if (kit::MouseEvents* mouse = MouseOf(w[1])) {
    emit mouse->DblClick();
  } else {
    throw StepError{QStringLiteral("\"%1\" cannot be double-clicked").arg(w[1])};
  }
}

void Runner::Select(const QStringList& w) {
  QObject* control = Control(w[1]);
  const int index = Int(w[2]);
  if (auto* combo = qobject_cast<QComboBox*>(control)) {
    if (index < 0 || index >= combo->count())
      throw StepError{QStringLiteral("no entry %1 in \"%2\"").arg(index).arg(w[1])};
    combo->setCurrentIndex(index);
  } else if (auto* list = qobject_cast<QListWidget*>(control)) {
    if (index < 0 || index >= list->count())
      throw StepError{QStringLiteral("no entry %1 in \"%2\"").arg(index).arg(w[1])};
    list->setCurrentRow(index);
  } else {
    throw StepError{QStringLiteral("\"%1\" is not a list").arg(w[1])};
  }
}

void Runner::Set(const QStringList& w) {
  QObject* control = Control(w[1]);
  const int value = Int(w[2]);
  if (auto* slider = qobject_cast<QScrollBar*>(control)) {
    if (value < slider->minimum() || value > slider->maximum())
      throw StepError{QStringLiteral("%1 is outside the range of \"%2\"").arg(value).arg(w[1])};
    slider->setValue(value);
  } else if (auto* check = qobject_cast<QCheckBox*>(control)) {
    if (value != 0 && value != 1) throw StepError{QStringLiteral("a check box takes 0 or 1")};
    check->setChecked(value == 1);
  } else {
    throw StepError{QStringLiteral("\"%1\" has no value to set").arg(w[1])};
  }
}

void Runner::Tick(const QStringList& w) {
  auto* timer = qobject_cast<kit::TimerControl*>(Control(w[1]));
  if (!timer) throw StepError{QStringLiteral("\"%1\" is not a timer").arg(w[1])};
  const int times = w.size() > 2 ? Int(w[2]) : 1;
  for (int i = 0; i < times && !form_.ExitRequested(); ++i) emit timer->Tick();
}

void Runner::Wait(const QStringList& w) {
  const int ms = Int(w[1]);
  QEventLoop loop;
  QTimer::singleShot(std::max(ms, 0), &loop, &QEventLoop::quit);
  loop.exec();
}

void Runner::Reply(const QStringList& w) {
  using Choice = kit::Dialogs::Choice;
  static const std::map<QString, Choice> kReplies{
      {"yes", Choice::kYes}, {"no", Choice::kNo}, {"cancel", Choice::kCancel}};
  const auto reply = kReplies.find(w[1]);
  if (reply == kReplies.end()) throw StepError{QStringLiteral("reply takes yes, no or cancel")};
  dialogs_.QueueReply(reply->second);
}

void Runner::Colour(const QStringList& w) {
  const int r = Int(w[1]), g = Int(w[2]), b = Int(w[3]);
  for (int c : {r, g, b})
    if (c < 0 || c > 255) throw StepError{QStringLiteral("a colour part lies in 0..255")};
  dialogs_.QueueColour(QColor(r, g, b));
}

void Runner::SaveImage(const QImage& image, const QString& path) {
  const char* format = path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive) ? "PNG" : "BMP";
  if (const auto failed = document::WriteImageFile(image, path, format))
    throw StepError{QStringLiteral("cannot write %1").arg(failed->TerminalText())};
}

void Runner::Dump(const QStringList& w) {
  const QByteArray json = QJsonDocument(DumpWindow(form_)).toJson(QJsonDocument::Indented);
  if (w[1] == QLatin1String("-")) {
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly)) throw StepError{QStringLiteral("cannot write")};
    out.write(json);
    return;
  }
  if (const auto failed = document::WriteFileSafely(w[1], json))
    throw StepError{QStringLiteral("cannot write %1").arg(failed->TerminalText())};
}

void Runner::Zoom(const QStringList& w) {
  const int percent = Int(w[1]);
  if (percent < kit::PageViewport::kMinZoom || percent > kit::PageViewport::kMaxZoom)
    throw StepError{QStringLiteral("zoom takes a percentage from %1 to %2")
                        .arg(kit::PageViewport::kMinZoom)
                        .arg(kit::PageViewport::kMaxZoom)};
  form_.Zoom().Choose(percent);
}

}  // namespace

int RunScript(Form1& form, ScriptedDialogs& dialogs, const QString& path, QTextStream& errors) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    errors << path << ":0: cannot read the script\n";
    return 1;
  }
  QString error;
  int errorLine = 0;
  const auto steps = ParseScript(QString::fromUtf8(file.readAll()), &error, &errorLine);
  if (!steps) {
    errors << path << ':' << errorLine << ": " << error << '\n';
    return 1;
  }
  Runner runner(form, dialogs);
  for (const ScriptStep& step : *steps) {
    try {
      runner.Run(step.words);
      // A step that delivers no event of its own (a click, a selection) ends a step of the undo
      // journal too, unless a key or button is still held; a pointer passing by ends nothing.
      if (step.words[0] != QLatin1String("mousemove")) form.Seam().Settle();
    } catch (const StepError& e) {
      errors << path << ':' << step.line << ": " << e.message << '\n';
      return 1;
    }
    const QString failure = dialogs.TakeFailure();
    if (!failure.isEmpty()) {
      errors << path << ':' << step.line << ": " << failure << '\n';
      return 1;
    }
    if (form.ExitRequested()) break;
  }
  return 0;
}

}  // namespace tarvesh::app
