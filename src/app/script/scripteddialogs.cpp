#include "app/script/scripteddialogs.h"

#include <QPrinter>

namespace tarvesh::app {

QString ScriptedDialogs::TakeFailure() {
  return std::exchange(failure_, QString());
}

template <typename T>
T ScriptedDialogs::Take(std::deque<T>& queue, const QString& what, T cancelled) {
  if (queue.empty()) {
    if (failure_.isEmpty()) failure_ = what + QStringLiteral(" opened with no queued answer");
    return cancelled;
  }
  T answer = std::move(queue.front());
  queue.pop_front();
  return answer;
}

std::optional<QString> ScriptedDialogs::InputBox(const QString& prompt, const QString&,
                                                 const QString&) {
  return Take(inputs_, QStringLiteral("input box \"%1\"").arg(prompt), {}).Value();
}

std::optional<QString> ScriptedDialogs::OpenFile(const QString& title, const QString&,
                                                 const QString&) {
  return Take(files_, QStringLiteral("file dialog \"%1\"").arg(title), {}).Value();
}

std::optional<QString> ScriptedDialogs::SaveFile(const QString& title, const QString&,
                                                 const QString&) {
  return Take(files_, QStringLiteral("file dialog \"%1\"").arg(title), {}).Value();
}

bool ScriptedDialogs::AskYesNo(const QString& text, const QString&) {
  return Take(replies_, QStringLiteral("message box \"%1\"").arg(text), Choice::kNo) ==
         Choice::kYes;
}

ScriptedDialogs::Choice ScriptedDialogs::AskYesNoCancel(const QString& text, const QString&,
                                                        const QStringList&) {
  return Take(replies_, QStringLiteral("message box \"%1\"").arg(text), Choice::kCancel);
}

void ScriptedDialogs::Message(const QString&, const QString&) {}

void ScriptedDialogs::Failure(const QString& text, const QString&) {
  if (!failure_.isEmpty()) return;
  // One line on standard error: the message's lines joined with ": ", or a space after a line
  // that ends in a colon already.
  const QStringList lines = text.split(u'\n');
  for (const QString& line : lines) {
    if (!failure_.isEmpty())
      failure_ += failure_.endsWith(u'：') || failure_.endsWith(u':') ? QStringLiteral(" ")
                                                                      : QStringLiteral(": ");
    failure_ += line;
  }
}

std::optional<QColor> ScriptedDialogs::PickColour(const QColor&) {
  return Take(colours_, QStringLiteral("colour dialog"), {});
}

bool ScriptedDialogs::PrintSetup(QPrinter& printer) {
  const auto path = Take(files_, QStringLiteral("print dialog"), {}).Value();
  if (!path) return false;
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(*path);
  return true;
}

}  // namespace tarvesh::app
