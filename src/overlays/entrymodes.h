#pragma once

#include <QColor>
#include <QObject>
#include <array>
#include <functional>

class QButtonGroup;
class QCheckBox;
class QPushButton;
class QRadioButton;
class QWidget;

namespace tarvesh::page {
struct EngineState;
struct GlyphAtlas;
}  // namespace tarvesh::page

namespace tarvesh::kit {
class ControlRegistry;
class CursorView;
class Dialogs;
class ImageControl;
class LabelControl;
}  // namespace tarvesh::kit

namespace tarvesh::overlays {

// How the next key or click is entered: note or chord entry with the staff clef, full or half
// width, insert or overwrite, the current duration, and the chord colour. Each button shows the
// state in force.
class EntryModes : public QObject {
  Q_OBJECT

 public:
  struct Context {
    page::EngineState& state;
    kit::Dialogs& dialogs;
    kit::CursorView& cursor;
    kit::ControlRegistry& controls;
    const page::GlyphAtlas& atlas;
    QWidget* form;
    QWidget* commandColumn;
    std::function<void()> focusPage;
  };

  explicit EntryModes(const Context& context);

  // The treble and bass staff pictures that the clef shows.
  void SetStaffPictures(kit::ImageControl* treble, kit::ImageControl* bass);

  void ToggleNoteMode();   // "音符"/"和弦", also the key K
  void ToggleClef();       // "高音谱号"/"低音谱号"
  void ToggleHalfWidth();  // "全字符"/"半字符", also the key S
  void ToggleInsert();     // "插入"/"改写", also the key Insert
  // Makes `row` the current duration: cursor picture, blink restart, duration button.
  void SelectDuration(int row);
  void PickChordColour();

  QColor ChordColour() const;
  bool BassClef() const;

 signals:
  // A colour chosen for the chord symbols typed from now on.
  void ChordColourPicked(const QColor& colour);

 private:
  void ShowClef(bool bass);

  Context context_;
  std::array<QRadioButton*, 4> option1_{};
  QButtonGroup* durations_;
  QPushButton* command2_;
  QPushButton* command4_;
  QPushButton* command10_;
  kit::LabelControl* label3_;
  kit::LabelControl* label5_;
  QCheckBox* check6_;
  kit::ImageControl* treble_ = nullptr;
  kit::ImageControl* bass_ = nullptr;
};

}  // namespace tarvesh::overlays
