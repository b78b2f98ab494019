#pragma once

#include "kit/dialogs.h"

class QWidget;

namespace tarvesh::kit {

// The platform's own dialogs.
class QtDialogs : public Dialogs {
 public:
  explicit QtDialogs(QWidget* parent) : parent_(parent) {}

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
  std::optional<QColor> PickColour(const QColor& initial) override;
  bool PrintSetup(QPrinter& printer) override;
  void Beep() override;

 private:
  QWidget* parent_;
};

// "位图(*.bmp)|*.bmp" as a Qt file dialog filter.
QString QtFileFilter(const QString& filter);

}  // namespace tarvesh::kit
