#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QPushButton;
class QWidget;

namespace tarvesh::kit {
class ControlRegistry;
class Dialogs;
}  // namespace tarvesh::kit
namespace tarvesh::page {
struct EngineState;
}
namespace tarvesh::reading {
class PageReader;
}
namespace tarvesh::score {
class ScoreDocument;
}

namespace tarvesh::app {

// "导出MusicXML" (`Command22`) and "导入MusicXML" (`Command23`) in the command column. Export
// writes the page read back as music, with the head's title, credit, key, time and tempo, as a
// MusicXML file. Import reads a MusicXML file's melody and types it on a new page as a person
// would: the head's key and time picked first, then the keys pressed one by one on the page.
class MusicXmlCommands : public QObject {
  Q_OBJECT

 public:
  static const QString kFilter;
  static const QString kImportFilter;

  struct Context {
    kit::ControlRegistry& controls;
    kit::Dialogs& dialogs;
    QWidget* commandColumn;
    score::ScoreDocument& document;
    const page::EngineState& state;
    std::function<const reading::PageReader&()> reader;
    // What "新建" does.
    std::function<void()> newDocument;
    // A key pressed and released on the page.
    std::function<void(int keyCode)> typeKey;
    std::function<void()> focusPage;
    // The file's words are under their notes: the notes stand apart for them.
    std::function<void()> wordsPlaced;
  };

  explicit MusicXmlCommands(const Context& context);

  QPushButton* ExportButton() const { return command22_; }
  QPushButton* ImportButton() const { return command23_; }

  void Export();
  void Import();
  // Types the melody of the file at `path` on a new page, in note entry and with the engine's bar
  // lines whatever the switches; false, with the page untouched, when the file holds no melody,
  // `message` then telling why. Otherwise `message` names what was left out, or is empty.
  bool ImportFile(const QString& path, QString* message);

 signals:
  // A file was typed from "导入MusicXML": the import is one step of the edit journal.
  void Imported();

 private:
  Context context_;
  QPushButton* command22_;
  QPushButton* command23_;
};

}  // namespace tarvesh::app
