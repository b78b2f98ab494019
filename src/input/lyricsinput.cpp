#include "input/lyricsinput.h"

#include <QPainter>
#include <QPushButton>
#include <algorithm>
#include <climits>

#include "engine/virtualkey.h"
#include "kit/controlregistry.h"
#include "kit/dialogs.h"
#include "kit/pagecanvas.h"
#include "kit/windowstate.h"
#include "lyrics/lyricslayout.h"
#include "lyrics/syllablestarts.h"
#include "lyrics/wordroom.h"
#include "page/geometry.h"
#include "page/scorepage.h"
#include "score/scoredocument.h"

namespace tarvesh::input {

namespace {

namespace vk = engine::vk;
using lyrics::LyricSheet;

// The button's place in the command column: right of the line spacing's caption, as the words
// need room between the lines.
constexpr QRect kButtonBox(72, 318, 57, 17);
const QColor kCaretColour(0, 128, 128);
const QColor kComposingColour(96, 96, 96);
const QString kHint = QStringLiteral("提示");
constexpr size_t kMostChanges = 4096;

enum class CharKind { kBlank, kHyphen, kPeriod, kSyllable, kWord, kMark };

// How one character of typed text counts: a Hanzi (and kana and Hangul) is a syllable of its
// own, letters and figures make words, punctuation goes with the syllable before it.
CharKind KindOf(char32_t c) {
  if (QChar::isSpace(c)) return CharKind::kBlank;
  if (c == U'-') return CharKind::kHyphen;
  if (c == U'.' || c == U'．') return CharKind::kPeriod;
  if (lyrics::IsOwnSyllable(c)) return CharKind::kSyllable;
  const QChar::Category category = QChar::category(c);
  if (QChar::isLetterOrNumber(c) || category == QChar::Mark_NonSpacing ||
      category == QChar::Mark_SpacingCombining || c == U'\'' || c == U'’')
    return CharKind::kWord;
  return CharKind::kMark;
}

bool AllDigits(const QString& text) {
  return !text.isEmpty() &&
         std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
}

}  // namespace

LyricsInput::LyricsInput(const Context& context)
    : QObject(context.commandColumn),
      context_(context),
      button_(new QPushButton(QStringLiteral("歌词"), context.commandColumn)) {
  button_->setObjectName(QStringLiteral("Command24"));
  button_->setGeometry(kButtonBox);
  button_->setCheckable(true);
  context_.controls.Add(button_);
  // Checked and cleared by a person, or by an edit taken back: the page takes text or keys.
  connect(button_, &QPushButton::toggled, this, [this](bool on) {
    context_.canvas->SetTextEntry(on);
    ShowCaret();
  });
  connect(button_, &QPushButton::clicked, this, [this](bool on) {
    SetMode(on);
    context_.focusPage();
  });
  connect(&context_.document, &score::ScoreDocument::LyricsChanged, this, [this] {
    ShowCaret();
    context_.canvas->update();
  });
}

bool LyricsInput::IsOn() const {
  return button_->isChecked();
}

void LyricsInput::SetMode(bool on) {
  if (!on) {
    CloseWord();
    return;
  }
  ChooseLine(int(context_.page.CursorTop()), kAfterWords);
  ShowCaret();
}

void LyricsInput::ChooseLine(int top, int pointedLeft) {
  kit::WindowState& w = context_.window;
  w.LyricsWordOpen = 0;
  Line line = Read(top);
  if (line.starts.empty()) {
    const std::vector<int> tops = context_.lineTops();
    for (int t : tops) {
      line = Read(t);
      if (!line.starts.empty()) break;
    }
    pointedLeft = kAfterWords;
  }
  w.LyricsTop = line.starts.empty() ? 0 : line.top;
  w.LyricsNote = AfterWords(line);
  // A note pointed at takes the next syllable, whatever lies before it.
  if (pointedLeft != kAfterWords) {
    const auto at = std::find_if(line.starts.begin(), line.starts.end(), [&](int item) {
      return line.items[size_t(item)].left + line.items[size_t(item)].width > pointedLeft;
    });
    w.LyricsNote = at == line.starts.end() ? -1 : *at;
  }
}

LyricsInput::Line LyricsInput::Current() const {
  const int top = context_.window.LyricsTop;
  return top <= 0 ? Line{top, {}, {}} : Read(top);
}

LyricsInput::Line LyricsInput::Read(int top) const {
  Line line{top, lyrics::NoteItems(context_.readLine(top)), {}};
  line.starts = lyrics::SyllableStarts(line.items);
  return line;
}

int LyricsInput::Row() const {
  return std::clamp(context_.window.LyricsVerse, 1, lyrics::kVerseRows) - 1;
}

int LyricsInput::AfterWords(const Line& line) const {
  const lyrics::LyricLine* words = context_.document.Lyrics().LineAt(line.top);
  const auto& syllables =
      words ? words->rows[size_t(Row())].syllables : std::vector<lyrics::Syllable>{};
  if (syllables.empty()) return line.starts.empty() ? -1 : line.starts.front();
  return NextStart(line, syllables.back().item);
}

int LyricsInput::NextStart(const Line& line, int item) {
  const auto at = std::upper_bound(line.starts.begin(), line.starts.end(), item);
  return at == line.starts.end() ? -1 : *at;
}

int LyricsInput::PreviousStart(const Line& line, int item) {
  const auto at = std::lower_bound(line.starts.begin(), line.starts.end(),
                                   item < 0 ? int(line.items.size()) : item);
  return at == line.starts.begin() ? -1 : *(at - 1);
}

bool LyricsInput::GoToNextLine() {
  kit::WindowState& w = context_.window;
  for (int top : context_.lineTops()) {
    if (top <= w.LyricsTop) continue;
    const Line line = Read(top);
    if (line.starts.empty()) continue;
    w.LyricsTop = top;
    w.LyricsNote = AfterWords(line);
    if (w.LyricsNote < 0) w.LyricsNote = line.starts.front();
    w.LyricsWordOpen = 0;
    return true;
  }
  return false;
}

bool LyricsInput::KeyDown(int keyCode, int shift) {
  if (!IsOn() || (shift & (vk::kCtrlBit | vk::kAltBit))) return false;
  kit::WindowState& w = context_.window;
  switch (keyCode) {
    case vk::kSpace:
      Skip();
      break;
    case vk::kBackspace:
      Backspace();
      break;
    case vk::kEnter:
      CloseWord();
      if (!GoToNextLine()) context_.dialogs.Beep();
      break;
    case vk::kUp:
    case vk::kDown: {
      CloseWord();
      w.LyricsVerse =
          std::clamp(w.LyricsVerse + (keyCode == vk::kUp ? -1 : 1), 1, lyrics::kVerseRows);
      w.LyricsNote = AfterWords(Current());
      break;
    }
    case vk::kLeft:
    case vk::kRight: {
      CloseWord();
      const Line line = Current();
      const int to =
          keyCode == vk::kLeft ? PreviousStart(line, w.LyricsNote) : NextStart(line, w.LyricsNote);
      if (to >= 0 || keyCode == vk::kRight) w.LyricsNote = to;
      break;
    }
    case vk::kEsc:
      // Stops playback, as everywhere.
      return false;
    default:
      // Every other key is no note in lyrics mode.
      return true;
  }
  ShowCaret();
  return true;
}

void LyricsInput::Type(const QString& text) {
  if (!IsOn()) return;
  for (const char32_t c : text.toUcs4()) TypeCharacter(QString::fromUcs4(&c, 1));
  ShowCaret();
  CheckRoom();
}

void LyricsInput::TypeCharacter(const QString& character) {
  kit::WindowState& w = context_.window;
  switch (KindOf(character.toUcs4().front())) {
    case CharKind::kBlank:
      Skip();
      break;
    case CharKind::kHyphen: {
      // A hyphen ends the word being typed, or carries a finished syllable on.
      const bool open = w.LyricsWordOpen;
      if (AppendToLast(character) && open) CloseWord();
      break;
    }
    case CharKind::kPeriod: {
      // "1." before a row's first syllable is the verse number.
      const Line line = Current();
      const lyrics::LyricLine* words = context_.document.Lyrics().LineAt(line.top);
      const lyrics::VerseRow* row = words ? &words->rows[size_t(Row())] : nullptr;
      if (w.LyricsWordOpen && row && row->syllables.size() == 1 && row->number.isEmpty() &&
          AllDigits(row->syllables.front().text)) {
        LyricSheet sheet = context_.document.Lyrics();
        const lyrics::Syllable number = row->syllables.front();
        sheet.SetSyllable(line.top, line.items, Row(), number.item, QString());
        sheet.SetNumber(line.top, line.items, Row(), number.text + QStringLiteral("."));
        context_.document.SetLyrics(sheet);
        w.LyricsNote = number.item;
        w.LyricsWordOpen = 0;
      } else {
        AppendToLast(character);
      }
      break;
    }
    case CharKind::kSyllable:
      CloseWord();
      if (Place(character)) Skip();
      break;
    case CharKind::kWord:
      if (!w.LyricsWordOpen || !AppendToLast(character)) {
        if (Place(character)) w.LyricsWordOpen = 1;
      }
      break;
    case CharKind::kMark:
      AppendToLast(character);
      break;
  }
}

bool LyricsInput::Place(const QString& text) {
  kit::WindowState& w = context_.window;
  Line line = Current();
  if (w.LyricsNote < 0 ||
      !std::binary_search(line.starts.begin(), line.starts.end(), w.LyricsNote)) {
    if (line.top <= 0)
      ChooseLine(int(context_.page.CursorTop()), kAfterWords);
    else if (w.LyricsNote >= 0)
      w.LyricsNote = NextStart(line, w.LyricsNote);
    // Past the line's last note the words go on under the next line.
    if (w.LyricsTop > 0 && w.LyricsNote < 0) GoToNextLine();
    line = Current();
    if (w.LyricsNote < 0 || line.starts.empty()) {
      context_.dialogs.Beep();
      return false;
    }
  }
  Changed(line, Row(), w.LyricsNote, text);
  return true;
}

bool LyricsInput::AppendToLast(const QString& text) {
  kit::WindowState& w = context_.window;
  const Line line = Current();
  const lyrics::LyricLine* words = context_.document.Lyrics().LineAt(line.top);
  if (!words) return false;
  const auto& syllables = words->rows[size_t(Row())].syllables;
  // The open word lies under the cursor; a finished syllable before it.
  const int limit = w.LyricsWordOpen ? w.LyricsNote : w.LyricsNote < 0 ? INT_MAX : w.LyricsNote - 1;
  const auto last = std::find_if(syllables.rbegin(), syllables.rend(),
                                 [limit](const lyrics::Syllable& s) { return s.item <= limit; });
  if (last == syllables.rend()) return false;
  Changed(line, Row(), last->item, last->text + text);
  return true;
}

void LyricsInput::CloseWord() {
  kit::WindowState& w = context_.window;
  if (!w.LyricsWordOpen) return;
  w.LyricsWordOpen = 0;
  w.LyricsNote = NextStart(Current(), w.LyricsNote);
}

void LyricsInput::Skip() {
  kit::WindowState& w = context_.window;
  if (w.LyricsWordOpen) {
    CloseWord();
    return;
  }
  const Line line = Current();
  if (w.LyricsNote < 0 || line.starts.empty()) {
    if (!GoToNextLine()) context_.dialogs.Beep();
    return;
  }
  w.LyricsNote = NextStart(line, w.LyricsNote);
}

void LyricsInput::Backspace() {
  kit::WindowState& w = context_.window;
  const Line line = Current();
  const LyricSheet& sheet = context_.document.Lyrics();
  const lyrics::LyricLine* words = sheet.LineAt(line.top);
  const int limit = w.LyricsWordOpen ? w.LyricsNote : w.LyricsNote < 0 ? INT_MAX : w.LyricsNote - 1;
  w.LyricsWordOpen = 0;
  if (words) {
    const lyrics::VerseRow& row = words->rows[size_t(Row())];
    const auto last = std::find_if(row.syllables.rbegin(), row.syllables.rend(),
                                   [limit](const lyrics::Syllable& s) { return s.item <= limit; });
    if (last != row.syllables.rend()) {
      w.LyricsNote = last->item;
      Changed(line, Row(), last->item, QString());
      return;
    }
    if (!row.number.isEmpty()) {
      LyricSheet changed = sheet;
      changed.SetNumber(line.top, line.items, Row(), QString());
      context_.document.SetLyrics(changed);
      return;
    }
  }
  // Nothing left on this line: the last syllable of the row on a line above.
  for (auto above = sheet.Lines().rbegin(); above != sheet.Lines().rend(); ++above) {
    if (above->top >= line.top || above->rows[size_t(Row())].syllables.empty()) continue;
    w.LyricsTop = above->top;
    w.LyricsNote = -1;
    Backspace();
    return;
  }
  context_.dialogs.Beep();
}

void LyricsInput::Changed(const Line& line, int row, int item, const QString& text) {
  LyricSheet sheet = context_.document.Lyrics();
  sheet.SetSyllable(line.top, line.items, row, item, text);
  // A syllable taken back leaves its room: the line does not jump while words are corrected.
  const bool crowded = !text.isEmpty() && MakeRoom(sheet, line.top);
  context_.document.SetLyrics(sheet);
  if (crowded) SayCrowded();
}

bool LyricsInput::MakeRoom(LyricSheet& sheet, int top) {
  const lyrics::LyricLine* words = sheet.LineAt(top);
  if (!words) return false;
  const lyrics::RoomPlan plan =
      lyrics::MakeRoomForWords(context_.page, context_.reader(), context_.slurArc,
                               context_.readLine(top), lyrics::LyricsLayout(sheet), *words);
  if (!plan.steps.empty()) {
    int editLeft = INT_MAX;
    for (const lyrics::Widening& step : plan.steps) editLeft = std::min(editLeft, step.x);
    sheet.Follow(top, Read(top).items, editLeft);
  }
  if (plan.fits) {
    crowdedLines_.erase(top);
    return false;
  }
  return crowdedLines_.insert(top).second;
}

void LyricsInput::SayCrowded() {
  context_.dialogs.Message(
      QStringLiteral("这一行的歌词太宽，音符排不开：请加大小节宽度，或把歌词字号调小。"),
      kHint);
}

void LyricsInput::MakeRoomEverywhere() {
  LyricSheet sheet = context_.document.Lyrics();
  std::vector<int> tops;
  for (const lyrics::LyricLine& line : sheet.Lines()) tops.push_back(line.top);
  bool crowded = false;
  for (int top : tops) crowded |= MakeRoom(sheet, top);
  context_.document.SetLyrics(sheet);
  if (crowded) SayCrowded();
  CheckRoom();
}

void LyricsInput::Pointed() {
  if (!IsOn()) return;
  ChooseLine(int(context_.page.CursorTop()), int(context_.page.CursorLeft()));
  ShowCaret();
}

void LyricsInput::PageChanged(const QRect& rect) {
  // A long run of changes without an edit ending (a batch export) is kept as one.
  if (changed_.size() >= kMostChanges) {
    QRect all;
    for (const QRect& r : changed_) all |= r;
    changed_.assign(1, all);
  }
  changed_.push_back(rect);
}

void LyricsInput::Follow() {
  if (changed_.empty()) return;
  const std::vector<QRect> changed = std::move(changed_);
  changed_.clear();
  LyricSheet sheet = context_.document.Lyrics();
  bool moved = false;
  for (const lyrics::LyricLine& line : context_.document.Lyrics().Lines()) {
    const QRect band(0, line.top, context_.page.Width(), page::kCellHeight);
    int editLeft = INT_MAX;
    for (const QRect& rect : changed)
      if (rect.intersects(band)) editLeft = std::min(editLeft, rect.left());
    if (editLeft == INT_MAX) continue;
    moved |= sheet.Follow(line.top, lyrics::NoteItems(context_.readLine(line.top)), editLeft);
  }
  if (moved) context_.document.SetLyrics(sheet);
}

void LyricsInput::CheckRoom() {
  const LyricSheet& sheet = context_.document.Lyrics();
  const lyrics::LyricsLayout layout(sheet);
  const std::vector<int> tops = context_.lineTops();
  const int spacing = context_.document.Get(score::ScoreDocument::kLineSpacing);
  int needed = 0;
  int rows = 0;
  for (const lyrics::LyricLine& line : sheet.Lines()) {
    const auto below = std::upper_bound(tops.begin(), tops.end(), line.top);
    const int room = below == tops.end() ? spacing : *below - line.top;
    const int wanted = layout.SpacingFor(line.RowsUsed());
    if (wanted > room && wanted > needed) {
      needed = wanted;
      rows = line.RowsUsed();
    }
  }
  if (needed == 0) {
    warnedSpacing_ = 0;
    return;
  }
  if (needed <= warnedSpacing_) return;
  warnedSpacing_ = needed;
  const int most = score::ScoreDocument::kValueRanges[score::ScoreDocument::kLineSpacing].max;
  const QString text =
      needed <= most
          ? QStringLiteral("%1 行歌词在行与行之间放不下，行距设为 %2 才放得下。")
                .arg(rows)
                .arg(needed)
          : QStringLiteral("%1 行歌词在行与行之间放不下，行距最大 %2 也放不下，请把歌词字号调小。")
                .arg(rows)
                .arg(most);
  context_.dialogs.Message(text, kHint);
}

void LyricsInput::ShowCaret() {
  const kit::WindowState& w = context_.window;
  QRect caret;
  if (IsOn() && w.LyricsTop > 0 && w.LyricsNote >= 0) {
    const std::vector<lyrics::NoteItem> items = Read(w.LyricsTop).items;
    if (w.LyricsNote < int(items.size()))
      caret = lyrics::LyricsLayout(context_.document.Lyrics())
                  .SlotBox(items[size_t(w.LyricsNote)], w.LyricsTop, Row());
  }
  context_.canvas->SetCaret(caret);
}

void LyricsInput::Paint(QPainter& painter) const {
  const lyrics::LyricsLayout layout(context_.document.Lyrics());
  layout.Draw(painter);
  const QRect caret = context_.canvas->Caret();
  if (!IsOn() || caret.isEmpty()) return;
  painter.fillRect(caret.left(), caret.bottom() + 1, caret.width(), 2, kCaretColour);
  const QString composing = context_.canvas->Composing();
  if (composing.isEmpty()) return;
  painter.setFont(layout.Font());
  painter.setPen(kComposingColour);
  painter.drawText(caret.topLeft() + QPoint(0, QFontMetrics(layout.Font()).ascent()), composing);
}

}  // namespace tarvesh::input
