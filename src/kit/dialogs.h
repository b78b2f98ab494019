#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <optional>

class QPrinter;

namespace tarvesh::kit {

// Every dialog the window opens goes through here, so scripts and tests can answer them. An
// empty optional is a cancelled dialog.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual std::optional<QString> InputBox(const QString& prompt, const QString& title,
                                          const QString& proposed) = 0;
  // `filter` is written as description|pattern pairs, e.g. "位图(*.bmp)|*.bmp".
  virtual std::optional<QString> OpenFile(const QString& title, const QString& filter,
                                          const QString& proposed) = 0;
  virtual std::optional<QString> SaveFile(const QString& title, const QString& filter,
                                          const QString& proposed) = 0;
  // A Yes/No question with the error icon; true for Yes.
  virtual bool AskYesNo(const QString& text, const QString& title) = 0;
  // A question with three answers, `buttons` being their captions in the order yes, no,
  // cancel; closing the box cancels.
  enum class Choice { kYes, kNo, kCancel };
  virtual Choice AskYesNoCancel(const QString& text, const QString& title,
                                const QStringList& buttons) = 0;
  // A message with only an OK button.
  virtual void Message(const QString& text, const QString& title) = 0;
  // A message telling of something that failed (a file that could not be written or read). The
  // window shows it as Message; a script stops at it and reports it.
  virtual void Failure(const QString& text, const QString& title) { Message(text, title); }
  virtual std::optional<QColor> PickColour(const QColor& initial) = 0;
  // The print dialog "打印" for `printer`; true when printing was confirmed, `printer` then
  // being set up as chosen. Dialogs that offer no printer cancel.
  virtual bool PrintSetup(QPrinter&) { return false; }
  virtual void Beep() = 0;
};

}  // namespace tarvesh::kit
