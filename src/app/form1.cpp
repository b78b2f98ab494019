#include "app/form1.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>

#include "app/batchexport.h"
#include "app/batchprogress.h"
#include "app/commandbar.h"
#include "app/documentcommands.h"
#include "app/editseam.h"
#include "app/musicxmlcommands.h"
#include "app/playbackcommands.h"
#include "app/printcommands.h"
#include "app/shortcuts.h"
#include "app/windowenginehost.h"
#include "app/zoombox.h"
#include "document/textfields.h"
#include "engine/glyphengine.h"
#include "input/keyhandler.h"
#include "input/lyricsinput.h"
#include "input/mousetools.h"
#include "input/slurmarks.h"
#include "input/staffinput.h"
#include "kit/bottomlayer.h"
#include "kit/cursorview.h"
#include "kit/documentviews.h"
#include "kit/filelistcontrol.h"
#include "kit/imagecontrol.h"
#include "kit/labelcontrol.h"
#include "kit/linecontrol.h"
#include "kit/pagecanvas.h"
#include "kit/pageviewport.h"
#include "kit/parking.h"
#include "kit/picturebox.h"
#include "kit/scrollcolumn.h"
#include "kit/timercontrol.h"
#include "overlays/entrymodes.h"
#include "overlays/overlaypools.h"
#include "overlays/symbolpanel.h"
#include "overlays/textlabelpanel.h"
#include "page/geometry.h"
#include "publish/pageprinter.h"
#include "reading/barcount.h"
#include "score/scorefile.h"
#include "settings/guidelines.h"
#include "settings/layoutpanel.h"
#include "settings/lyricsfont.h"
#include "sound/soundplayer.h"
#include "titleblock/pagenumbering.h"
#include "titleblock/tempo.h"
#include "titleblock/titleblock.h"

namespace tarvesh::app {

namespace {
constexpr int kPageLeft = 176;
constexpr int kStartPageHeight = 2000;
// The command column's width, and where its scroll bar starts: under the page's scroll bar
// VScroll1 (160, 0, 16 x 305).
constexpr int kColumnWidth = 160;
constexpr int kColumnBarTop = 309;
// The least the window shrinks to: the column's width and a strip of the page.
constexpr QSize kSmallestWindow(kPageLeft + 160, 240);
}  // namespace

Form1::Form1(const Options& options, page::GlyphAtlas atlas, kit::Dialogs& dialogs)
    : options_(options),
      events_(options.keepEvents),
      dialogs_(dialogs, events_),
      atlas_(std::move(atlas)) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Tarvesh"));
  controls_.Add(this);
  BuildControls();
  WireEvents();
  Load();
  seam_->Start();
}

Form1::~Form1() = default;

void Form1::FocusPage() {
  // After every command the cursor shows at once and blinks afresh, unless a batch holds it.
  if (batch_ && !batch_->Running()) cursor_->RestartBlink();
  // Focus requests while the window is not shown (start-up) are skipped.
  if (!isVisible()) return;
  view_->setFocus();
  canvas_->setFocus();
}

void Form1::KeepCursorInView() {
  if (batch_->Running()) return;
  // A drag on the page is not pulled away from under the pointer; the release catches up.
  cursorViewOwed_ = QGuiApplication::mouseButtons() != Qt::NoButton;
  if (cursorViewOwed_) return;
  view_->ShowArea(cursor_->Box(), document_.Get(score::ScoreDocument::kLineSpacing));
}

void Form1::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Arrange();
}

void Form1::Arrange() {
  view_->setGeometry(kPageLeft, 0, std::max(width() - kPageLeft, 0), height());
  column_->Fit(height());
  bottom_->Fit(height());
}

bool Form1::OpenScore(const QString& path) {
  if (!documents_->OpenFile(path)) return false;
  seam_->MarkUnmodified();
  return true;
}

void Form1::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  view_->setFocus();
  canvas_->setFocus();
}

void Form1::closeEvent(QCloseEvent* event) {
  if (exitRequested_ || MayClose()) {
    exitRequested_ = true;
    event->accept();
  } else {
    event->ignore();
  }
}

bool Form1::SaveDocument(bool saveAs) {
  lyrics_->Follow();
  bool saved = false;
  seam_->Outside([&] { saved = documents_->Save(saveAs); });
  if (saved) seam_->MarkUnmodified();
  return saved;
}

bool Form1::MayClose() {
  seam_->Settle();
  if (!seam_->IsModified()) return true;
  switch (dialogs_.AskYesNoCancel(
      QStringLiteral("是否保存对当前乐谱的修改？"), QStringLiteral("提示"),
      {QStringLiteral("保存"), QStringLiteral("不保存"), QStringLiteral("取消")})) {
    case kit::Dialogs::Choice::kYes:
      return SaveDocument(false);
    case kit::Dialogs::Choice::kNo:
      return true;
    case kit::Dialogs::Choice::kCancel:
      break;
  }
  return false;
}

void Form1::UpdateTitle() {
  const QString path = document_.Path();
  const bool modified = seam_->IsModified();
  if (path.isEmpty() && !modified) {
    setWindowTitle(QStringLiteral("Tarvesh"));
    return;
  }
  const QString name = path.isEmpty() ? QStringLiteral("未命名") : QFileInfo(path).fileName();
  setWindowTitle(name + QStringLiteral(" - Tarvesh") +
                 (modified ? QStringLiteral("*") : QString()));
}

void Form1::BuildControls() {
  auto focus = [this] { FocusPage(); };

  setMinimumSize(kSmallestWindow);
  column_ = new kit::ScrollColumn(this, kColumnWidth, kColumnWidth, kColumnBarTop);
  frame1_ = new QGroupBox(QStringLiteral("选项"), column_);
  frame1_->setObjectName(QStringLiteral("Frame1"));
  frame1_->setGeometry(8, 56, 145, 697);
  controls_.Add(frame1_);

  canvas_ = new kit::PageCanvas(page_, nullptr);
  view_ = new kit::PageViewport(canvas_, kPageLeft, this);
  controls_.Add(canvas_);
  cursor_ = std::make_unique<kit::CursorView>(page_, canvas_, controls_, options_.dataDir);
  sound_ = std::make_unique<sound::SoundPlayer>(options_.dataDir, frame1_, controls_, events_,
                                                options_.audible);

  layout_ = std::make_unique<settings::LayoutPanel>(
      document_, this, frame1_, controls_, [this] { guides_->DrawGuideLines(); }, focus);
  guides_ = std::make_unique<settings::GuideLines>(document_, canvas_, frame1_, controls_, focus);

  title_ = std::make_unique<titleblock::TitleBlock>(titleblock::TitleBlock::Context{
      document_, dialogs_, controls_, canvas_, frame1_, this, focus});
  tempo_ = std::make_unique<titleblock::Tempo>(canvas_, title_->NewTitlePanel(), controls_, focus);
  title_->SetTempo(tempo_.get());
  title_->SetMarginLine(guides_->MarginLine());
  pageNumbering_ = std::make_unique<titleblock::PageNumbering>(document_, dialogs_, canvas_,
                                                               layout_->OptionsPanel(), controls_);

  overlays_ = std::make_unique<overlays::OverlayPools>(window_, document_, dialogs_, canvas_,
                                                       controls_, focus);
  slurs_ = std::make_unique<input::SlurMarks>(page_, atlas_.SlurArc, canvas_, controls_);
  mouse_ = std::make_unique<input::MouseTools>(input::MouseTools::Context{
      page_, state_, window_, controls_, this, canvas_, frame1_,
      [this] { return document_.Get(score::ScoreDocument::kLineSpacing); },
      [this] { title_->HidePickers(); }, [this] { overlays_->ClearOverlaySelection(); }, focus,
      [this](int x, int top) { return Reader().ItemLeftAt(page_.Image(), x, top); }});
  textPanel_ =
      std::make_unique<overlays::TextLabelPanel>(*overlays_, window_, canvas_, controls_, focus);
  symbolPanel_ =
      std::make_unique<overlays::SymbolPanel>(*overlays_, window_, canvas_, controls_, focus);

  staff_ = std::make_unique<input::StaffInput>(input::StaffInput::Context{
      window_, controls_, this, frame1_, options_.dataDir, focus,
      [this](int code, int row) { engine_->PlaceGlyph(code, row); },
      [this](int keyCode) { keys_->KeyDown(keyCode, 0); },
      [this] { return state_.CurrentDurationRow; }, [this] { return modes_->BassClef(); }});
  title_->SetStaffKeyList(staff_->Combo2());
  modes_ = std::make_unique<overlays::EntryModes>(overlays::EntryModes::Context{
      state_, dialogs_, *cursor_, controls_, atlas_, this, frame1_, focus});
  modes_->SetStaffPictures(staff_->TrebleStaff(), staff_->BassStaff());

  commandBar_ = std::make_unique<CommandBar>(
      CommandBar::Context{controls_, this, frame1_, view_, layout_->OptionsPanel(), focus});
  zoom_ = std::make_unique<ZoomBox>(ZoomBox::Context{controls_, frame1_, view_,
                                                     [this] { return cursor_->Box().topLeft(); },
                                                     [this] { KeepCursorInView(); }, focus});
  seam_ = std::make_unique<EditSeam>(EditSeam::Context{document_, window_, controls_, this, frame1_,
                                                       controls_.Find(QStringLiteral("Imapnt")),
                                                       focus, options_.journalBytes});
  playback_ = std::make_unique<PlaybackCommands>(PlaybackCommands::Context{
      controls_, dialogs_, events_, document_, page_, this, frame1_, canvas_,
      [this] { return Reader().Read(page_.Image()); }, focus, options_.audible});
  // The instrument is how the score is heard, no part of it; the scroll bar and the zoom box
  // show where the page is looked at.
  seam_->KeepOut(controls_.Find(QStringLiteral("Combo5")));
  seam_->KeepOut(commandBar_->ScrollBar());
  seam_->KeepOut(zoom_->Combo6());

  // Work pictures that are never seen.
  picture4_ = new kit::PictureBox(QStringLiteral("Picture4"), this, true);
  picture4_->ResizeBitmap(20, page::kCellHeight);
  controls_.Add(picture4_);
  picture6_ = new kit::PictureBox(QStringLiteral("Picture6"), this, true);
  controls_.Add(picture6_);
  auto* picmode = new kit::PictureBox(QStringLiteral("Picmode"), this);
  picmode->Bitmap() = atlas_.Picmode;
  picmode->resize(atlas_.Picmode.size());
  controls_.Add(picmode);
  auto* picmode2 = new kit::PictureBox(QStringLiteral("Picmode2"), canvas_);
  picmode2->Bitmap() = atlas_.Picmode2;
  picmode2->setGeometry(0, kit::kParkedAbove, atlas_.Picmode2.width(), atlas_.Picmode2.height());
  controls_.Add(picmode2);
  file2_ = new kit::FileListControl(QStringLiteral("File2"), this, QStringLiteral("*.bmp"));
  file2_->hide();
  controls_.Add(file2_);
  timer2_ = new kit::TimerControl(QStringLiteral("Timer2"), 300, this);
  controls_.Add(timer2_);
  auto* commonDialog = new QObject(this);
  commonDialog->setObjectName(QStringLiteral("CommonDialog1"));
  commonDialog->setProperty("kind", QStringLiteral("commondialog"));
  commonDialog->setProperty("filter", DocumentCommands::kFilter);
  commonDialog->setProperty("file", QString());
  controls_.Add(commonDialog);

  documents_ = std::make_unique<DocumentCommands>(DocumentCommands::Context{
      window_, document_, page_, state_, dialogs_, *commandBar_, *layout_, *guides_, *staff_,
      *title_, *pageNumbering_, *overlays_, controls_.Get<QListWidget>(QStringLiteral("List1")),
      symbolPanel_->Files(), commonDialog, [this] { return batch_->Running(); }});
  print_ = std::make_unique<PrintCommands>(PrintCommands::Context{
      controls_, dialogs_, frame1_,
      [this](publish::PagePrinter& sheets) { return AddPrintSheet(sheets); }, focus});
  musicXml_ = std::make_unique<MusicXmlCommands>(MusicXmlCommands::Context{
      controls_, dialogs_, frame1_, document_, state_,
      [this]() -> const reading::PageReader& { return Reader(); }, [this] { documents_->New(); },
      [this](int keyCode) {
        keys_->KeyDown(keyCode, 0);
        keys_->KeyUp(keyCode, 0);
      },
      focus, [this] { lyrics_->MakeRoomEverywhere(); }});
  const QList<QWidget*> hiddenWhileExporting{textPanel_->Frame(), layout_->OptionsPanel(),
                                             symbolPanel_->Frame(), staff_->Panel()};
  const QList<QWidget*> offWhileExporting{print_->PrintButton(), print_->PdfButton(),
                                          musicXml_->ExportButton(), musicXml_->ImportButton()};
  batch_ =
      std::make_unique<BatchExport>(BatchExport::Context{window_,
                                                         document_,
                                                         dialogs_,
                                                         *documents_,
                                                         *commandBar_,
                                                         *cursor_,
                                                         file2_,
                                                         timer2_,
                                                         picture6_,
                                                         *new BatchProgress(column_, controls_),
                                                         canvas_,
                                                         view_,
                                                         title_->Title(),
                                                         guides_->MarginLine(),
                                                         hiddenWhileExporting,
                                                         offWhileExporting,
                                                         staff_->Check1(),
                                                         guides_->Check2(),
                                                         options_.screen.height(),
                                                         [this] { return PageView(); },
                                                         [this] { return NewPrintPage(); }});

  using score::ScoreDocument;
  kit::BindSwitch(staff_->Check1(), document_, ScoreDocument::kStaffInput);
  kit::BindStaffKey(staff_->Combo2(), document_);
  kit::BindSwitch(guides_->Check2(), document_, ScoreDocument::kGuideLines);
  kit::BindSwitch(sound_->Check9(), document_, ScoreDocument::kSoundEffects);
  connect(modes_.get(), &overlays::EntryModes::ChordColourPicked, &document_,
          &ScoreDocument::SetChordColour);
  kit::BindPick(title_->Combo1(0), document_, ScoreDocument::kNumeratorPick);
  kit::BindPick(title_->Combo1(1), document_, ScoreDocument::kDenominatorPick);
  kit::BindPick(title_->Combo1(2), document_, ScoreDocument::kKeyPick);
  const std::pair<kit::LabelControl*, ScoreDocument::HeadText> texts[] = {
      {title_->Title(), ScoreDocument::kTitle},
      {title_->Label2(2), ScoreDocument::kKey},
      {title_->Label2(0), ScoreDocument::kNumerator},
      {title_->Label2(1), ScoreDocument::kDenominator},
      {tempo_->PageTempo(), ScoreDocument::kTempo},
      {title_->Label2(5), ScoreDocument::kCredit},
      {pageNumbering_->Label(), ScoreDocument::kPageNumberText},
      {pageNumbering_->PatternLabel(), ScoreDocument::kPagePattern}};
  for (const auto& [label, text] : texts) kit::BindText(label, document_, text);
  host_ = std::make_unique<WindowEngineHost>(document_, *sound_);
  engine_ = std::make_unique<engine::GlyphEngine>(page_, atlas_, state_, *host_);
  keys_ = std::make_unique<input::KeyHandler>(input::KeyHandler::Context{
      page_, state_, window_, *engine_, *cursor_, *modes_, *overlays_, *slurs_,
      [this] { return document_.Get(score::ScoreDocument::kLineSpacing); },
      [this](int row) { return layout_->DurationSwitch(row); },
      [this] {
        title_->NewTitlePanel()->show();
        title_->NewTitlePanel()->raise();
      },
      [this] { textPanel_->Open(page_.Width()); }, [this] { symbolPanel_->Open(page_.Width()); },
      [this](int keyCode, int shift) {
        if (playback_->CommandKey(keyCode, shift)) return;
        if (zoom_->ZoomKey(keyCode, shift)) return;
        if (QAbstractButton* command = ShortcutButton(controls_, keyCode, shift)) command->click();
      },
      [this] { return playback_->Stop(); }});

  lyrics_ = std::make_unique<input::LyricsInput>(input::LyricsInput::Context{
      document_, page_, window_, dialogs_, controls_, canvas_, frame1_,
      // The line as the whole page reads it, as the dump's reading counts it.
      [this](int top) {
        for (const reading::ReadLine& line : Reading())
          if (line.top == top) return line;
        return reading::ReadLine{top, {}};
      },
      [this]() -> const reading::PageReader& { return Reader(); }, atlas_.SlurArc,
      [this] {
        std::vector<int> tops;
        for (const reading::ReadLine& line : Reading()) tops.push_back(line.top);
        return tops;
      },
      focus});
  lyricsFont_ = std::make_unique<settings::LyricsFont>(
      document_, layout_->OptionsPanel(), controls_, [this] { lyrics_->MakeRoomEverywhere(); });

  // What lies over the page stacks above the guide marks; the panels above all.
  pageNumbering_->Label()->raise();
  for (int i = 0; i < overlays::OverlayPools::kSlots; ++i) overlays_->TextLabel(i)->raise();
  for (int i = 0; i < overlays::OverlayPools::kSlots; ++i) overlays_->SymbolPicture(i)->raise();
  cursor_->Raise();
  textPanel_->Frame()->raise();
  symbolPanel_->Frame()->raise();
  layout_->OptionsPanel()->raise();
  staff_->Panel()->raise();
  title_->NewTitlePanel()->raise();
  // The staff panel keeps to the window's bottom, above the column and the page.
  bottom_ = new kit::BottomLayer(this, options_.screen.height());
  bottom_->Hold(staff_->Panel());
}

void Form1::WireEvents() {
  page_.onChanged = [this](const QRect& rect) {
    canvas_->MarksChanged();
    canvas_->update(rect);
    reading_.reset();
    lyrics_->PageChanged(rect);
  };
  // The words follow their notes before each step ends, so they change with the step.
  seam_->SetBeforeCut([this] { lyrics_->Follow(); });
  canvas_->SetOverPainter([this](QPainter& painter) { lyrics_->Paint(painter); });
  // Zoomed in, the page is as sharp as the text around it: drawn from the print page.
  canvas_->SetSharpSource(print::PrintPage::Scale(),
                          [this](const QRect& pageRect) { return PrintRegion(pageRect); });
  // A bar whose beats do not add up is underlined on screen, never on the page.
  canvas_->SetMarks([this] {
    return reading::UnevenBarMarks(Reading(),
                                   reading::UnitsPerBar(state_.BeatsPerBar, state_.BeatUnit));
  });
  page_.onResized = [this] { canvas_->SyncSize(); };
  page_.onCursorMoved = [this] {
    cursor_->Follow();
    KeepCursorInView();
  };
  // In lyrics mode the keys of the words are the mode's, the rest the page's.
  connect(canvas_, &kit::PageCanvas::KeyDown, this, [this](int keyCode, int shift) {
    if (!lyrics_->KeyDown(keyCode, shift)) keys_->KeyDown(keyCode, shift);
  });
  // After every key the cursor is in view, whether or not the key moved it.
  connect(canvas_, &kit::PageCanvas::KeyDown, this, &Form1::KeepCursorInView);
  connect(canvas_, &kit::PageCanvas::TextTyped, lyrics_.get(), &input::LyricsInput::Type);
  connect(canvas_, &kit::PageCanvas::KeyUp, keys_.get(), &input::KeyHandler::KeyUp);
  kit::MouseEvents* mouse = canvas_->Mouse();
  connect(mouse, &kit::MouseEvents::MouseDown, mouse_.get(), &input::MouseTools::MouseDown);
  // After the press put the cursor: in lyrics mode it chooses the note for the next syllable.
  connect(mouse, &kit::MouseEvents::MouseDown, lyrics_.get(), &input::LyricsInput::Pointed);
  connect(mouse, &kit::MouseEvents::MouseMove, mouse_.get(), &input::MouseTools::MouseMove);
  connect(mouse, &kit::MouseEvents::MouseUp, mouse_.get(), &input::MouseTools::MouseUp);
  connect(mouse, &kit::MouseEvents::Click, mouse_.get(), &input::MouseTools::Click);
  connect(mouse, &kit::MouseEvents::MouseUp, this, [this] {
    if (cursorViewOwed_)
      QMetaObject::invokeMethod(this, &Form1::KeepCursorInView, Qt::QueuedConnection);
  });
  // New and Open are steps of their own, taken back as any edit; the score they leave is
  // the one on disk.
  connect(commandBar_.get(), &CommandBar::NewRequested, this, [this] {
    documents_->New();
    seam_->MarkUnmodified();
  });
  connect(commandBar_.get(), &CommandBar::OpenRequested, this, [this] {
    if (documents_->Open()) seam_->MarkUnmodified();
  });
  // An import types on a new page: one step, ended here because a file dialog may have ended
  // the step of the click before the typing began.
  connect(musicXml_.get(), &MusicXmlCommands::Imported, seam_.get(), &EditSeam::Settle);
  connect(commandBar_.get(), &CommandBar::SaveRequested, this, &Form1::SaveDocument);
  connect(commandBar_.get(), &CommandBar::BatchExportRequested, batch_.get(), &BatchExport::Start);
  connect(batch_.get(), &BatchExport::RunningChanged, seam_.get(), &EditSeam::SetSuspended);
  seam_->SetOnChanged([this] { UpdateTitle(); });
  // An edit ends playback: what sounds would no longer be the score.
  connect(seam_.get(), &EditSeam::ScoreChanged, playback_.get(), [this] { playback_->Stop(); });
  connect(commandBar_.get(), &CommandBar::ExitRequested, this, [this] {
    if (!MayClose()) return;
    exitRequested_ = true;
    emit Exited();
  });
}

void Form1::Load() {
  const QDir data(options_.dataDir);
  const QSize screen = options_.screen;
  // Work pictures go out of sight first; the staff panel sits at the bottom left.
  kit::PictureBox* picture9 = controls_.Get<kit::PictureBox>(QStringLiteral("Picture9"));
  picture9->move(picture9->x(), kit::kParkedBelow);
  staff_->Place(screen.height());
  kit::PictureBox* picture7 = controls_.Get<kit::PictureBox>(QStringLiteral("Picture7"));
  picture7->move(picture7->x(), kit::kParkedEraserTop);
  tempo_->AddTempoTexts(document::ReadDelimitedFields(data.filePath(QStringLiteral("speed.txt"))));
  setGeometry(0, 0, screen.width(), screen.height());
  Arrange();
  picture6_->move(kit::kParkedRight, picture6_->y());
  mouse_->FillTools();
  overlays_->Reset();
  const score::ScoreFile::OverlaySources sources =
      score::ScoreFile::OverlaySources::FromDataFolder(options_.dataDir);
  symbolPanel_->SetFolder(sources.symbolFolder);
  // The editing state starts as EngineState's start values.
  page_.SetCursor(page::kLeftMargin, page::kFirstLineTop);
  page_.Resize(page_.Width(), kStartPageHeight);
  layout_->OptionsPanel()->move(kPageLeft, 0);
  title_->HidePickers();
  picture4_->move(picture4_->x(), kit::kParkedBelow);
  controls_.Get<kit::PictureBox>(QStringLiteral("Picmode"))->move(0, kit::kParkedAbove);
  title_->FillPickers();
  staff_->FillKeys();
  guides_->DrawGuideLines();
  textPanel_->AddPhrases(sources.phrases);
}

const reading::PageReader& Form1::Reader() {
  if (!reader_) reader_ = std::make_unique<reading::PageReader>(atlas_);
  return *reader_;
}

const std::vector<reading::ReadLine>& Form1::Reading() {
  if (!reading_) reading_ = Reader().Read(page_.Image());
  return *reading_;
}

score::PageComposer::Options Form1::ViewOptions() const {
  // A batch lets the page show through the title, so the page pictures keep what lies under it.
  score::PageComposer::Options options;
  options.opaqueTitle = !batch_->Running();
  options.selected = overlays_->Selection();
  return options;
}

QImage Form1::PageView() {
  lyrics_->Follow();
  return composer_.Compose(document_, ViewOptions());
}

print::PrintPage Form1::NewPrintPage() const {
  return print::PrintPage(atlas_, print::PrintArt::Load(options_.dataDir));
}

const print::PrintPage& Form1::PrintPage() {
  if (!printPage_) printPage_ = std::make_unique<print::PrintPage>(NewPrintPage());
  // Set again only when the page's pixels changed since: a view asks for region after region.
  if (page_.Image().cacheKey() != printedKey_) {
    printedKey_ = page_.Image().cacheKey();
    printPage_->SetFrom(page_.Image());
  }
  return *printPage_;
}

QImage Form1::PrintRegion(const QRect& pageRect) {
  return PrintPage().Region(pageRect);
}

bool Form1::AddPrintSheet(publish::PagePrinter& sheets) {
  lyrics_->Follow();
  score::PageComposer::Options options = ViewOptions();
  options.printSymbols = QDir(options_.dataDir).filePath(print::PrintArt::kSymbolFolder);
  return sheets.Add(PrintPage(),
                    [&](QPainter& painter) { composer_.DrawOver(painter, document_, options); });
}

}  // namespace tarvesh::app
