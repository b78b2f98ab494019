#pragma once

#include <QString>
#include <deque>

#include "kit/dialogs.h"

namespace tarvesh::app {

// Dialogs answered from queues that a script fills. A dialog that opens with no answer queued
// is cancelled and leaves a failure for the script runner to report, as does a message telling
// of a failure.
class ScriptedDialogs : public kit::Dialogs {
 public:
  void QueueInput(std::optional<QString> answer) { inputs_.push_back(TextAnswer::Of(answer)); }
  void QueueFile(std::optional<QString> answer) { files_.push_back(TextAnswer::Of(answer)); }
  void QueueReply(Choice reply) { replies_.push_back(reply); }
  void QueueColour(std::optional<QColor> answer) { colours_.push_back(answer); }

  // The failure since the last call, empty when none; clears it.
  QString TakeFailure();

  std::optional<QString> InputBox(const QString& prompt, const QString& title,
                                  const QString& proposed) override;
  std::optional<QString> OpenFile(const QString& title, const QString& filter,
                                  const QString& proposed) override;
  std::optional<QString> SaveFile(const QString& title, const QString& filter,
                                  const QString& proposed) override;
  // A cancel answers a Yes/No question No.
  bool AskYesNo(const QString& text, const QString& title) override;
  Choice AskYesNoCancel(const QString& text, const QString& title,
                        const QStringList& buttons) override;
  void Message(const QString& text, const QString& title) override;
  // Leaves `text` as the failure the script runner reports.
  void Failure(const QString& text, const QString& title) override;
  std::optional<QColor> PickColour(const QColor& initial) override;
  // Takes a queued file answer: printing then writes that PDF file.
  bool PrintSetup(QPrinter& printer) override;
  void Beep() override {}

 private:
  // The oldest answer of a queue, or `cancelled` with a failure noted when there is none.
  template <typename T>
  T Take(std::deque<T>& queue, const QString& what, T cancelled);

  // A confirmed text or a cancel.
  struct TextAnswer {
    bool confirmed = false;
    QString text;
    static TextAnswer Of(const std::optional<QString>& answer) {
      return {answer.has_value(), answer.value_or(QString())};
    }
    std::optional<QString> Value() const {
      return confirmed ? std::optional<QString>(text) : std::nullopt;
    }
  };

  std::deque<TextAnswer> inputs_;
  std::deque<TextAnswer> files_;
  std::deque<Choice> replies_;
  std::deque<std::optional<QColor>> colours_;
  QString failure_;
};

}  // namespace tarvesh::app
