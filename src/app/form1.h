#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

#include "kit/controlregistry.h"
#include "kit/eventlog.h"
#include "kit/recordingdialogs.h"
#include "kit/windowstate.h"
#include "page/enginestate.h"
#include "page/glyphatlas.h"
#include "page/scorepage.h"
#include "print/printpage.h"
#include "reading/pagereader.h"
#include "score/editjournal.h"
#include "score/pagecomposer.h"
#include "score/scoredocument.h"

class QGroupBox;

namespace tarvesh::publish {
class PagePrinter;
}
namespace tarvesh::engine {
class GlyphEngine;
}
namespace tarvesh::sound {
class SoundPlayer;
}
namespace tarvesh::settings {
class GuideLines;
class LayoutPanel;
class LyricsFont;
}  // namespace tarvesh::settings
namespace tarvesh::titleblock {
class PageNumbering;
class Tempo;
class TitleBlock;
}  // namespace tarvesh::titleblock
namespace tarvesh::overlays {
class EntryModes;
class OverlayPools;
class SymbolPanel;
class TextLabelPanel;
}  // namespace tarvesh::overlays
namespace tarvesh::input {
class KeyHandler;
class LyricsInput;
class MouseTools;
class SlurMarks;
class StaffInput;
}  // namespace tarvesh::input

namespace tarvesh::kit {
class BottomLayer;
class CursorView;
class FileListControl;
class PageCanvas;
class PageViewport;
class ScrollColumn;
class PictureBox;
class TimerControl;
}  // namespace tarvesh::kit

namespace tarvesh::app {

class BatchExport;
class CommandBar;
class DocumentCommands;
class EditSeam;
class MusicXmlCommands;
class PlaybackCommands;
class PrintCommands;
class WindowEngineHost;
class ZoomBox;

// The main window. It owns the page, the engine state and every control, wires the subsystems
// to each other, and runs the start-up sequence.
class Form1 : public QWidget {
  Q_OBJECT

 public:
  struct Options {
    QString dataDir;
    QSize screen;
    bool audible = true;
    // The event log is kept for the dumps of a script run, never in the interactive window.
    bool keepEvents = false;
    // The most the undo journal keeps.
    size_t journalBytes = score::EditJournal::kMostBytes;
  };

  // `dialogs` answers every dialog; it must outlive the window.
  Form1(const Options& options, page::GlyphAtlas atlas, kit::Dialogs& dialogs);
  ~Form1() override;

  kit::ControlRegistry& Controls() { return controls_; }
  score::ScoreDocument& Document() { return document_; }
  page::ScorePage& Page() { return page_; }
  page::EngineState& State() { return state_; }
  kit::WindowState& Window() { return window_; }
  kit::EventLog& Events() { return events_; }
  kit::CursorView& Cursor() { return *cursor_; }
  kit::PageCanvas* Canvas() const { return canvas_; }
  kit::PageViewport* View() const { return view_; }
  kit::ScrollColumn* Column() const { return column_; }
  ZoomBox& Zoom() { return *zoom_; }
  DocumentCommands& Documents() { return *documents_; }
  MusicXmlCommands& MusicXml() { return *musicXml_; }
  BatchExport& Batch() { return *batch_; }
  EditSeam& Seam() { return *seam_; }
  PlaybackCommands& Playback() { return *playback_; }
  input::LyricsInput& Lyrics() { return *lyrics_; }
  const QString& DataDir() const { return options_.dataDir; }
  bool ExitRequested() const { return exitRequested_; }

  // Reads the page back as music; made on first use, from the window's atlases.
  const reading::PageReader& Reader();
  // The page as read back now: read again only after the page changed.
  const std::vector<reading::ReadLine>& Reading();

  // The page as a person sees it: the bitmap with the words under the notes, the title block,
  // text labels, symbol pictures and page number over it; no cursor, guide lines, panels or
  // pickers.
  QImage PageView();
  // The page at print resolution, set from the page as it is now; made on first use from the
  // window's atlases and the print art of the data folder.
  const print::PrintPage& PrintPage();
  // The print page over `pageRect` (page pixels), print::kPrintScale times as large: what a
  // view zoomed above 100 % shows of the page's own pixels.
  QImage PrintRegion(const QRect& pageRect);
  // Adds the page as a person sees it to `sheets`, at print resolution with its texts as text.
  bool AddPrintSheet(publish::PagePrinter& sheets);

  void FocusPage();
  // Opens the score at `path` as Open does, leaving it unmodified (`tarvesh FILE.bmp`); false,
  // after the message box, when it cannot be opened.
  bool OpenScore(const QString& path);

 signals:
  void Exited();

 protected:
  // Typing starts on the page as soon as the window is shown.
  void showEvent(QShowEvent* event) override;
  // Closing with unsaved changes asks first, as Exit does.
  void closeEvent(QCloseEvent* event) override;
  // The page takes the room the command column leaves; the column and the staff panel fit the
  // window's height.
  void resizeEvent(QResizeEvent* event) override;

 private:
  // A print page read with the window's atlases and the data folder's print art, not yet set.
  print::PrintPage NewPrintPage() const;
  // How the page is shown: the title opaque but during a batch, the selected overlay marked.
  score::PageComposer::Options ViewOptions() const;
  void BuildControls();
  void Load();
  void WireEvents();
  // Saves through the document commands, outside every undo step; true when saved.
  bool SaveDocument(bool saveAs);
  // Asks whether to save unsaved changes; false when the user cancels (or the save fails).
  bool MayClose();
  // "Tarvesh", or the document's name, " - Tarvesh" and "*" while there are unsaved changes.
  void UpdateTitle();
  // Scrolls the least needed to show the insertion cursor with a line of room around it; waits
  // for the release while a mouse button is held on the page.
  void KeepCursorInView();
  void Arrange();

  Options options_;
  kit::EventLog events_;
  kit::RecordingDialogs dialogs_;
  page::GlyphAtlas atlas_;
  score::ScoreDocument document_;
  page::ScorePage& page_ = document_.Page();
  page::EngineState& state_ = document_.State();
  kit::WindowState window_;
  kit::ControlRegistry controls_;
  score::PageComposer composer_;
  bool exitRequested_ = false;

  kit::PageCanvas* canvas_ = nullptr;
  kit::PageViewport* view_ = nullptr;
  kit::ScrollColumn* column_ = nullptr;
  kit::BottomLayer* bottom_ = nullptr;
  bool cursorViewOwed_ = false;
  QGroupBox* frame1_ = nullptr;
  kit::PictureBox* picture4_ = nullptr;
  kit::PictureBox* picture6_ = nullptr;
  kit::FileListControl* file2_ = nullptr;
  kit::TimerControl* timer2_ = nullptr;

  std::unique_ptr<kit::CursorView> cursor_;
  std::unique_ptr<sound::SoundPlayer> sound_;
  std::unique_ptr<settings::LayoutPanel> layout_;
  std::unique_ptr<settings::GuideLines> guides_;
  std::unique_ptr<titleblock::TitleBlock> title_;
  std::unique_ptr<titleblock::Tempo> tempo_;
  std::unique_ptr<titleblock::PageNumbering> pageNumbering_;
  std::unique_ptr<overlays::OverlayPools> overlays_;
  std::unique_ptr<overlays::TextLabelPanel> textPanel_;
  std::unique_ptr<overlays::SymbolPanel> symbolPanel_;
  std::unique_ptr<overlays::EntryModes> modes_;
  std::unique_ptr<input::MouseTools> mouse_;
  std::unique_ptr<input::StaffInput> staff_;
  std::unique_ptr<input::SlurMarks> slurs_;
  std::unique_ptr<CommandBar> commandBar_;
  std::unique_ptr<DocumentCommands> documents_;
  std::unique_ptr<PrintCommands> print_;
  std::unique_ptr<MusicXmlCommands> musicXml_;
  std::unique_ptr<BatchExport> batch_;
  std::unique_ptr<ZoomBox> zoom_;
  std::unique_ptr<EditSeam> seam_;
  std::unique_ptr<PlaybackCommands> playback_;
  std::unique_ptr<WindowEngineHost> host_;
  std::unique_ptr<engine::GlyphEngine> engine_;
  std::unique_ptr<input::KeyHandler> keys_;
  std::unique_ptr<input::LyricsInput> lyrics_;
  std::unique_ptr<settings::LyricsFont> lyricsFont_;
  std::unique_ptr<reading::PageReader> reader_;
  std::unique_ptr<print::PrintPage> printPage_;
  // The cache key of the page pixels the print page was set from: a copy of them kept here would
  // make every later write to the page copy the whole page first.
  qint64 printedKey_ = 0;
  std::optional<std::vector<reading::ReadLine>> reading_;
};

}  // namespace tarvesh::app
