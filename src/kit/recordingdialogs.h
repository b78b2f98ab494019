#pragma once

#include "kit/dialogs.h"
#include "kit/eventlog.h"

namespace tarvesh::kit {

// Records every dialog in the event log, then lets `inner` show it.
class RecordingDialogs : public Dialogs {
 public:
  RecordingDialogs(Dialogs& inner, EventLog& log) : inner_(inner), log_(log) {}

  std::optional<QString> InputBox(const QString& prompt, const QString& title,
                                  const QString& proposed) override;
  std::optional<QString> OpenFile(const QString& title, const QString& filter,
                                  const QString& proposed) override;
  std::optional<QString> SaveFile(const QString& title, const QString& filter,
                                  const QString& proposed) override;
  bool AskYesNo(const QString& text, const QString& title) override;
  Choice AskYesNoCancel(const QString& text, const QString& title,
                        const QStringList& buttons) override;
  void Message(const QString& text, const QString& title) override;
  void Failure(const QString& text, const QString& title) override;
  std::optional<QColor> PickColour(const QColor& initial) override;
  bool PrintSetup(QPrinter& printer) override;
  void Beep() override;

 private:
  Dialogs& inner_;
  EventLog& log_;
};

}  // namespace tarvesh::kit
