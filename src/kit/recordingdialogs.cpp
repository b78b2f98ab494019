#include "kit/recordingdialogs.h"

#include <QJsonArray>

namespace tarvesh::kit {

std::optional<QString> RecordingDialogs::InputBox(const QString& prompt, const QString& title,
                                                  const QString& proposed) {
  log_.Add({{"input", prompt}, {"title", title}, {"default", proposed}});
  return inner_.InputBox(prompt, title, proposed);
}

std::optional<QString> RecordingDialogs::OpenFile(const QString& title, const QString& filter,
                                                  const QString& proposed) {
  log_.Add({{"dialog", title}, {"kind", "open"}, {"filter", filter}});
  return inner_.OpenFile(title, filter, proposed);
}

std::optional<QString> RecordingDialogs::SaveFile(const QString& title, const QString& filter,
                                                  const QString& proposed) {
  log_.Add({{"dialog", title}, {"kind", "save"}, {"filter", filter}});
  return inner_.SaveFile(title, filter, proposed);
}

bool RecordingDialogs::AskYesNo(const QString& text, const QString& title) {
  log_.Add({{"message", text}, {"title", title}, {"buttons", "yesno"}});
  return inner_.AskYesNo(text, title);
}

RecordingDialogs::Choice RecordingDialogs::AskYesNoCancel(const QString& text, const QString& title,
                                                          const QStringList& buttons) {
  log_.Add({{"message", text}, {"title", title}, {"buttons", QJsonArray::fromStringList(buttons)}});
  return inner_.AskYesNoCancel(text, title, buttons);
}

void RecordingDialogs::Message(const QString& text, const QString& title) {
  log_.Add({{"message", text}, {"title", title}});
  inner_.Message(text, title);
}

void RecordingDialogs::Failure(const QString& text, const QString& title) {
  log_.Add({{"message", text}, {"title", title}, {"failure", true}});
  inner_.Failure(text, title);
}

std::optional<QColor> RecordingDialogs::PickColour(const QColor& initial) {
  log_.Add({{"dialog", "颜色"}, {"kind", "color"}, {"initial", initial.name()}});
  return inner_.PickColour(initial);
}

bool RecordingDialogs::PrintSetup(QPrinter& printer) {
  log_.Add({{"dialog", "打印"}, {"kind", "print"}});
  return inner_.PrintSetup(printer);
}

void RecordingDialogs::Beep() {
  log_.Add({{"beep", true}});
  inner_.Beep();
}

}  // namespace tarvesh::kit
