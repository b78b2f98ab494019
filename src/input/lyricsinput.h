#pragma once

#include <QImage>
#include <QObject>
#include <QRect>
#include <QString>
#include <functional>
#include <set>
#include <vector>

#include "lyrics/lyricsheet.h"
#include "reading/readline.h"

class QPainter;
class QPushButton;
class QWidget;

namespace tarvesh::score {
class ScoreDocument;
}
namespace tarvesh::page {
class ScorePage;
}
namespace tarvesh::reading {
class PageReader;
}
namespace tarvesh::kit {
class ControlRegistry;
class Dialogs;
class PageCanvas;
struct WindowState;
}  // namespace tarvesh::kit

namespace tarvesh::input {

// Lyrics mode, switched by "歌词" (`Command24`) and Ctrl+L: text typed or committed by an input
// method goes under the notes syllable by syllable. A Hanzi is a syllable, and so is a Latin
// word; "-" carries a word on to the next note. A syllable goes under the next note that starts
// one (lyrics::SyllableStarts). Space skips a note, Backspace takes the last syllable back,
// Enter goes on to the next line, Up and Down choose the verse row, Left and Right move over
// the notes, and "1." typed before a row's first syllable is its verse number.
//
// The words are the document's: each change is one change of its sheet. When the page changes
// under a line with words, Follow moves them with their notes.
class LyricsInput : public QObject {
  Q_OBJECT

 public:
  struct Context {
    score::ScoreDocument& document;
    page::ScorePage& page;
    kit::WindowState& window;
    kit::Dialogs& dialogs;
    kit::ControlRegistry& controls;
    kit::PageCanvas* canvas;
    QWidget* commandColumn;
    // The line at `top` as the page shows it now.
    std::function<reading::ReadLine(int top)> readLine;
    // What reads lines alone, and the picture slurs' arcs are stretched from: the room made for
    // words draws a line's arcs again.
    std::function<const reading::PageReader&()> reader;
    const QImage& slurArc;
    // The tops of the page's lines that have items, top to bottom.
    std::function<std::vector<int>()> lineTops;
    std::function<void()> focusPage;
  };

  explicit LyricsInput(const Context& context);

  QPushButton* Button() const { return button_; }
  bool IsOn() const;

  // A key pressed on the page. In lyrics mode every key without Ctrl or Alt but Esc is the
  // mode's (true); other keys, and every key outside the mode, are left to the page (false).
  bool KeyDown(int keyCode, int shift);
  // Text typed in lyrics mode or committed by an input method.
  void Type(const QString& text);
  // A press on the page put the page cursor at a note: the next syllable goes under it.
  void Pointed();

  // The page's pixels changed under `rect`.
  void PageChanged(const QRect& rect);
  // Moves the words of every line that changed with their notes. Call before an edit ends and
  // before the words are drawn, listed or saved.
  void Follow();
  // Says so once when the rows of words do not fit between the lines, naming the line spacing
  // that fits.
  void CheckRoom();
  // Every line with words gets the room its words need, as after a change of their font or
  // words read in from a file; says so once when some line is too narrow for them.
  void MakeRoomEverywhere();

  // The words over the page on screen and, in lyrics mode, where the next syllable goes with
  // what the input method is composing.
  void Paint(QPainter& painter) const;

 private:
  // The line the next syllable goes to and its items now.
  struct Line {
    int top = 0;
    std::vector<lyrics::NoteItem> items;
    std::vector<int> starts;
  };

  void SetMode(bool on);
  // Chooses the line at `top`, or the page's first line with notes when that line has none, and
  // there the note at or after `pointedLeft`, or with kAfterWords the first note after the
  // row's words.
  static constexpr int kAfterWords = -1;
  void ChooseLine(int top, int pointedLeft);
  Line Current() const;
  Line Read(int top) const;
  int Row() const;
  // The first note that starts a syllable after the last syllable of the row, -1 when none.
  int AfterWords(const Line& line) const;
  // The next (or previous) note that starts a syllable, -1 when none.
  static int NextStart(const Line& line, int item);
  static int PreviousStart(const Line& line, int item);
  // The next line down with notes that start syllables; false when there is none.
  bool GoToNextLine();

  // Puts `text` under the note the cursor is at, going on to the next line past the last note;
  // false (with a beep) when no note is left.
  bool Place(const QString& text);
  // Adds `text` to the syllable before the cursor; false when there is none.
  bool AppendToLast(const QString& text);
  void CloseWord();
  void Skip();
  void Backspace();
  void TypeCharacter(const QString& character);
  void Changed(const Line& line, int row, int item, const QString& text);
  // The notes of the line at `top` stand apart as far as the words under them need, and the
  // words follow them. True when the line is too narrow for its words and was not before.
  bool MakeRoom(lyrics::LyricSheet& sheet, int top);
  void SayCrowded();
  void ShowCaret();

  Context context_;
  QPushButton* button_;
  // Where the page changed since the last Follow.
  std::vector<QRect> changed_;
  // The line spacing the last warning named; 0 when all fitted since.
  int warnedSpacing_ = 0;
  // The lines whose words were too wide for them when last warned of.
  std::set<int> crowdedLines_;
};

}  // namespace tarvesh::input
