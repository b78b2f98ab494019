#pragma once

#include <QImage>
#include <QObject>
#include <QString>
#include <array>
#include <functional>
#include <optional>

#include "document/datsidefile.h"
#include "document/fileerror.h"
#include "score/scoredocument.h"
#include "score/scorefile.h"

class QListWidget;

namespace tarvesh::page {
struct EngineState;
class ScorePage;
}  // namespace tarvesh::page
namespace tarvesh::overlays {
class OverlayPools;
}
namespace tarvesh::settings {
class GuideLines;
class LayoutPanel;
}  // namespace tarvesh::settings
namespace tarvesh::titleblock {
class PageNumbering;
class TitleBlock;
}  // namespace tarvesh::titleblock
namespace tarvesh::input {
class StaffInput;
}

namespace tarvesh::kit {
class Dialogs;
class FileListControl;
struct WindowState;
}  // namespace tarvesh::kit

namespace tarvesh::app {

class CommandBar;

// The score documents: New, Open, Save and Save as of the command column, and the two files of a
// score (`SaveScoreDocument`, `OpenScoreDocument`). Every stored value goes into the document,
// and every control that shows it reacts as to a user's change.
class DocumentCommands : public QObject {
  Q_OBJECT

 public:
  struct Context {
    kit::WindowState& window;
    score::ScoreDocument& document;
    page::ScorePage& page;
    page::EngineState& state;
    kit::Dialogs& dialogs;
    CommandBar& commandBar;
    settings::LayoutPanel& layout;
    settings::GuideLines& guides;
    input::StaffInput& staff;
    titleblock::TitleBlock& title;
    titleblock::PageNumbering& pageNumbering;
    overlays::OverlayPools& overlays;
    QListWidget* phrases;               // List1
    kit::FileListControl* symbolFiles;  // File1
    QObject* commonDialog;              // CommonDialog1
    // True while a batch export runs: opening then leaves staff input and guide lines alone.
    std::function<bool()> batchRunning;
  };

  // The window's document as a batch export finds it, to be put back when it ends (the document
  // path is kept by the batch itself).
  struct Snapshot {
    QImage page;
    document::DatSideFile side;
    QByteArray sideBytes;
    // The overlays come back slot for slot, hidden ones included, not through the records.
    std::array<score::ScoreDocument::OverlayPool, 2> overlays;
    std::array<int, 2> overlayCounts{};
    int workingNumerator = -1;    // Combo1(7)
    int workingDenominator = -1;  // Combo1(6)
  };

  static const QString kFilter;

  explicit DocumentCommands(const Context& context);

  void New();
  // True when a score was opened.
  bool Open();
  // Opens the score at `path` as Open does once the dialog has chosen it (`tarvesh FILE.bmp`).
  bool OpenFile(const QString& path);
  // Save, or Save as when `saveAs`.
  // True when the score was saved.
  bool Save(bool saveAs);

  // Writes the page picture and the side file for the document's path as one pair (ScoreFiles).
  // A save that fails is told in a message box naming the file and why, and leaves the old pair
  // whole. Returns whether the pair was written.
  bool SaveScoreDocument();
  // Writes the score as the pair at `path` (a ".bmp" name), asking nothing and telling nothing;
  // the document is then that file's. A save that fails leaves the document where it was and
  // says why.
  std::optional<document::FileError> SaveAt(const QString& path);
  // Opens the document at the document's path, writing nothing. A picture or side file that
  // cannot be read changes nothing and gives the reason; side-file fields that are missing or
  // out of range are skipped. A picture larger than the page its settings make grows the page.
  std::optional<document::FileError> OpenScoreDocument();

  Snapshot TakeSnapshot() const;
  void RestoreSnapshot(const Snapshot& snapshot);

  // The file the common dialog offers next; every file dialog remembers its choice here.
  QString RememberedFile() const;
  void RememberFile(const QString& path);

 private:
  // Tells the outcome of a save: the failure in a message box, else the beep; true when saved.
  bool Told(const std::optional<document::FileError>& failed);
  // The phrases of List1 and the pictures of File1, which the side file's records name.
  score::ScoreFile::OverlaySources Sources() const;

  Context context_;
  score::ScoreFile file_;
};

}  // namespace tarvesh::app
