#include "kit/qtdialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

namespace tarvesh::kit {

QString QtFileFilter(const QString& filter) {
  const QStringList parts = filter.split(u'|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString& description = parts[i];
    const QString& pattern = parts[i + 1];
    filters << (description.contains(QStringLiteral("(") + pattern + QStringLiteral(")"))
                    ? description
                    : description + QStringLiteral(" (") + pattern + QStringLiteral(")"));
  }
  return filters.join(QStringLiteral(";;"));
}

std::optional<QString> QtDialogs::InputBox(const QString& prompt, const QString& title,
                                           const QString& proposed) {
  bool ok = false;
  const QString answer =
      QInputDialog::getText(parent_, title, prompt, QLineEdit::Normal, proposed, &ok);
  if (!ok) return std::nullopt;
  return answer;
}

std::optional<QString> QtDialogs::OpenFile(const QString& title, const QString& filter,
                                           const QString& proposed) {
  const QString path = QFileDialog::getOpenFileName(parent_, title, proposed, QtFileFilter(filter));
  if (path.isEmpty()) return std::nullopt;
  return path;
}

std::optional<QString> QtDialogs::SaveFile(const QString& title, const QString& filter,
                                           const QString& proposed) {
  // The program asks its own question before replacing a file.
  const QString path = QFileDialog::getSaveFileName(parent_, title, proposed, QtFileFilter(filter),
                                                    nullptr, QFileDialog::DontConfirmOverwrite);
  if (path.isEmpty()) return std::nullopt;
  return path;
}

bool QtDialogs::AskYesNo(const QString& text, const QString& title) {
  return QMessageBox::critical(parent_, title, text, QMessageBox::Yes | QMessageBox::No) ==
         QMessageBox::Yes;
}

QtDialogs::Choice QtDialogs::AskYesNoCancel(const QString& text, const QString& title,
                                            const QStringList& buttons) {
  QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, parent_);
  QPushButton* yes = box.addButton(buttons.value(0), QMessageBox::AcceptRole);
  QPushButton* no = box.addButton(buttons.value(1), QMessageBox::DestructiveRole);
  QPushButton* cancel = box.addButton(buttons.value(2), QMessageBox::RejectRole);
  box.setDefaultButton(yes);
  box.setEscapeButton(cancel);
  box.exec();
  if (box.clickedButton() == yes) return Choice::kYes;
  if (box.clickedButton() == no) return Choice::kNo;
  return Choice::kCancel;
}

void QtDialogs::Message(const QString& text, const QString& title) {
  QMessageBox::information(parent_, title, text);
}

std::optional<QColor> QtDialogs::PickColour(const QColor& initial) {
  const QColor colour = QColorDialog::getColor(initial, parent_);
  if (!colour.isValid()) return std::nullopt;
  return colour;
}

bool QtDialogs::PrintSetup(QPrinter& printer) {
  QPrintDialog dialog(&printer, parent_);
  dialog.setWindowTitle(QStringLiteral("打印"));
  return dialog.exec() == QDialog::Accepted;
}

void QtDialogs::Beep() {
  QApplication::beep();
}

}  // namespace tarvesh::kit
