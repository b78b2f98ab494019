#pragma once

#include <QDir>
#include <QFile>
#include <random>

#include "kit/dialogs.h"

namespace tarvesh::robustness {

// Answers every dialog at random from its own seed, so a soak never stops at a dialog: input
// boxes get a text, an empty text or a cancel; file dialogs a score in `folder` or a cancel;
// questions yes or no; the colour dialog a colour or a cancel.
class SoakDialogs : public kit::Dialogs {
 public:
  SoakDialogs(std::uint32_t seed, QString folder) : random_(seed), folder_(std::move(folder)) {}

  std::optional<QString> InputBox(const QString&, const QString&, const QString&) override {
    switch (Roll(4)) {
      case 0:
        return std::nullopt;
      case 1:
        return QString();
      case 2:
        return QStringLiteral("持续测试 soak, \"quoted\" p p");
      default:
        return QString(Roll(120) + 1, QChar(u'谱'));
    }
  }
  std::optional<QString> OpenFile(const QString&, const QString&, const QString&) override {
    const QString score = Score();
    if (Roll(2) == 0 || !QFile::exists(score)) return std::nullopt;
    return score;
  }
  std::optional<QString> SaveFile(const QString&, const QString&, const QString&) override {
    if (Roll(2) == 0) return std::nullopt;
    return Score();
  }
  bool AskYesNo(const QString&, const QString&) override { return Roll(2) == 0; }
  Choice AskYesNoCancel(const QString&, const QString&, const QStringList&) override {
    return Choice(Roll(3));
  }
  void Message(const QString&, const QString&) override {}
  std::optional<QColor> PickColour(const QColor&) override {
    if (Roll(2) == 0) return std::nullopt;
    return QColor(Roll(256), Roll(256), Roll(256));
  }
  void Beep() override {}

 private:
  int Roll(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
  // One of a few score paths, so opens find what saves wrote.
  QString Score() { return QDir(folder_).filePath(QStringLiteral("soak%1.bmp").arg(Roll(3))); }

  std::mt19937 random_;
  QString folder_;
};

}  // namespace tarvesh::robustness
