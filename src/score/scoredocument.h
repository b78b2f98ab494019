#pragma once

#include <QColor>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <array>

#include "lyrics/lyricsheet.h"
#include "page/enginestate.h"
#include "page/layoutsettings.h"
#include "page/pagelayout.h"
#include "page/scorepage.h"
#include "score/pagehead.h"

namespace tarvesh::score {

// One score as the program holds it, without a window: the page bitmap, the engine state, the
// layout values and switches the engine reads, the objects over the page, the words under the
// notes, the page number and the document's path. The
// window's controls are views of it: a user's change is set here, and every change is announced
// so each view shows the value it holds.
class ScoreDocument : public QObject {
  Q_OBJECT

 public:
  // The layout values of the command column's sliders.
  enum Value { kBarWidth, kBarsPerLine, kLineSpacing, kChordDistance, kValueCount };
  struct ValueRange {
    int min;
    int max;
    int start;  // a fresh document's value
  };
  static constexpr std::array<ValueRange, kValueCount> kValueRanges{
      {{60, 240, 120}, {4, 16, 8}, {50, 250, 60}, {10, 80, 20}}};

  // The switches of the layout and the window that the engine reads or a side file stores.
  enum Switch {
    kAutoBeatSplit,    // 自动分拍
    kAutoBarLines,     // 自动输入小节线
    kJustifyOnEnter,   // 换行时两端对齐
    kAutoNoteSpacing,  // 自动分配音符间距
    kSkipBarLines,     // 自动跳过小节线
    kStaffInput,       // 从五线谱输入
    kSoundEffects,     // 使用音效
    kGuideLines,       // 显示辅助线
    kSwitchCount
  };
  static constexpr std::array<bool, kSwitchCount> kSwitchStarts{true,  true,  true, true,
                                                                false, false, true, true};

  // The note spacings and the beat gap take these steps.
  static constexpr float kMostNoteSpacing = 1;
  static constexpr int kNoteSpacings = 5;

  // A text label or a symbol picture over the page. Deleting one only hides it: its slot stays
  // taken until the pools are cleared or refilled.
  enum class OverlayKind { kTextLabel, kSymbolPicture };
  static constexpr int kOverlaySlots = 50;
  struct Overlay {
    QPoint at;
    int index = 0;  // the phrase or picture index it was made from
    bool shown = false;
    // A text label's phrase; a symbol picture's file path. Empty when the index named nothing.
    QString content;
    bool operator==(const Overlay&) const = default;
  };
  using OverlayPool = std::array<Overlay, kOverlaySlots>;

  // The texts over the page besides the overlays: the head of the page and the page number.
  enum HeadText {
    kTitle,
    kKey,          // the key after "1="
    kNumerator,    // the time signature's upper number
    kDenominator,  // and its lower number
    kTempo,
    kCredit,
    kPageNumberText,  // the page number as shown, made from the pattern when it is set
    kPagePattern,     // the page-number pattern, "p" standing for the number
    kHeadTextCount
  };
  // What a fresh document shows.
  static inline const std::array<QString, kHeadTextCount> kHeadTextStarts{
      QStringLiteral("标题"),  QStringLiteral("C"),          QStringLiteral("4"),
      QStringLiteral("4"),     QStringLiteral("每分钟72拍"), QStringLiteral("Morliva 制谱"),
      QStringLiteral("< 1 >"), QStringLiteral("< p >")};
  // The pickers of the head whose selection a side file stores.
  enum HeadPick { kNumeratorPick, kDenominatorPick, kKeyPick, kHeadPickCount };
  // Entries of each head picker: numerators 2-6, denominators 4 and 8, the twelve keys. Picking
  // one shows it as the head's text.
  static inline const std::array<QStringList, kHeadPickCount> kHeadPickEntries{
      QStringList{"2", "3", "4", "5", "6"}, QStringList{"4", "8"},
      QStringList{"C", "bD", "D", "bE", "E", "F", "bG", "G", "bA", "A", "bB", "B"}};
  // The head text each picker shows.
  static constexpr std::array<HeadText, kHeadPickCount> kPickedTexts{kNumerator, kDenominator,
                                                                     kKey};
  // Entries of the staff key list.
  static constexpr int kStaffKeys = 7;

  explicit ScoreDocument(QObject* parent = nullptr);

  page::ScorePage& Page() { return page_; }
  const page::ScorePage& Page() const { return page_; }
  page::EngineState& State() { return state_; }
  const page::EngineState& State() const { return state_; }

  int Get(Value value) const { return values_[value]; }
  // Refuses (false) a value outside its range; announces a change.
  bool Set(Value value, int to);
  bool IsOn(Switch which) const { return switches_[which]; }
  void SetSwitch(Switch which, bool on);
  float NoteSpacing(int index) const { return state_.NoteSpacing[index]; }
  // Refuses (false) an index outside 0..4 and a spacing outside 0..1 (NaN included).
  bool SetNoteSpacing(int index, float spacing);
  // The staff key list's selected index, -1 when none.
  int StaffKey() const { return staffKey_; }
  // Refuses (false) an index beyond the list; -1 (no selection) is taken.
  bool SetStaffKey(int index);
  QColor ChordColour() const { return chordColour_; }
  void SetChordColour(const QColor& colour);

  // What the engine reads at the moment it needs it.
  page::LayoutSettings Settings() const;

  const OverlayPool& Overlays(OverlayKind kind) const { return pools_[int(kind)]; }
  const Overlay& OverlayAt(OverlayKind kind, int slot) const { return pools_[int(kind)][slot]; }
  // Slots taken, shown or not: the next object goes into this slot.
  int OverlayCount(OverlayKind kind) const { return counts_[int(kind)]; }
  void SetOverlay(OverlayKind kind, int slot, const Overlay& overlay);
  void SetOverlayCount(OverlayKind kind, int count);
  // Puts an object into the next free slot; false when the pool is full.
  bool AddOverlay(OverlayKind kind, QPoint at, int index, const QString& content);

  const QString& Text(HeadText which) const { return texts_[which]; }
  void SetText(HeadText which, const QString& text);
  // The selected entry of a head picker, -1 when none.
  int Pick(HeadPick which) const { return picks_[which]; }
  // Refuses (false) an index beyond the picker's entries; -1 (no selection) is taken. An entry
  // picked becomes the head's text.
  bool SetPick(HeadPick which, int index);

  // The words under the notes, with their font.
  const lyrics::LyricSheet& Lyrics() const { return lyrics_; }
  void SetLyrics(const lyrics::LyricSheet& sheet);

  // Sizes the page for the layout values and places the title, the credit and the page number
  // for it; the texts that follow keep their place until the next layout.
  page::PageLayout LayOut();
  const HeadPlacement& Placement() const { return placement_; }

  // Everything the document holds besides the page and the engine state, so an edit can be taken
  // back with the page's own.
  struct Held {
    std::array<int, kValueCount> values{};
    std::array<bool, kSwitchCount> switches{};
    std::array<float, kNoteSpacings> noteSpacings{};
    int staffKey = 0;
    QColor chordColour;
    std::array<QString, kHeadTextCount> texts;
    std::array<int, kHeadPickCount> picks{};
    std::array<OverlayPool, 2> pools;
    std::array<int, 2> counts{};
    QString path;
    int pageNumber = 0;
    HeadPlacement placement;
    lyrics::LyricSheet lyrics;
    bool operator==(const Held&) const = default;
  };
  Held Take() const;
  // Puts back what `held` holds, announcing each change as its setter does.
  void Restore(const Held& held);

  const QString& Path() const { return path_; }
  void SetPath(const QString& path) { path_ = path; }
  int PageNumber() const { return pageNumber_; }
  // Shows the number through the page-number pattern; the pattern's later changes show with the
  // next number.
  void SetPageNumber(int number);

 signals:
  void ValueChanged(int value);
  void SwitchChanged(int which);
  void NoteSpacingChanged(int index);
  void StaffKeyChanged();
  void PageNumberChanged();
  void OverlayChanged(score::ScoreDocument::OverlayKind kind, int slot);
  void TextChanged(int which);
  void PickChanged(int which);
  void PlacementChanged();
  void LyricsChanged();

 private:
  page::ScorePage page_;
  page::EngineState state_;
  std::array<int, kValueCount> values_{};
  std::array<bool, kSwitchCount> switches_ = kSwitchStarts;
  int staffKey_ = 0;
  QColor chordColour_{255, 0, 0};
  std::array<QString, kHeadTextCount> texts_ = kHeadTextStarts;
  std::array<int, kHeadPickCount> picks_{-1, -1, -1};
  std::array<OverlayPool, 2> pools_{};
  std::array<int, 2> counts_{};
  QString path_;
  HeadPlacement placement_;
  lyrics::LyricSheet lyrics_;
  int pageNumber_ = 1;  // a page counts from 1, as its label "< 1 >" shows from the start
};

}  // namespace tarvesh::score
