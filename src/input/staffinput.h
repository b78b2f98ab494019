#pragma once

#include <QObject>
#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QPushButton;
class QWidget;

namespace tarvesh::kit {
class ControlRegistry;
class ImageControl;
class LabelControl;
class LineControl;
class PictureBox;
struct WindowState;
}  // namespace tarvesh::kit

namespace tarvesh::input {

// Notes entered by pointing at a staff picture: the panel `Picture3` at the bottom left, switched
// by "从五线谱输入" (`Check1`), with the staff key `Combo2`.
class StaffInput : public QObject {
  Q_OBJECT

 public:
  struct Context {
    kit::WindowState& window;
    kit::ControlRegistry& controls;
    QWidget* form;
    QWidget* commandColumn;
    QString dataDir;
    std::function<void()> focusPage;
    // The glyph engine's PlaceGlyph(code, row).
    std::function<void(int, int)> placeGlyph;
    // The page's key handling of one key, without shift keys.
    std::function<void(int)> pressKey;
    std::function<int()> currentDurationRow;
    // True while the clef label shows the bass clef.
    std::function<bool()> bassClef;
  };

  explicit StaffInput(const Context& context);

  // Start-up: the panel placed at the bottom left of a screen `screenHeight` pixels high, both
  // staff pictures at its corner, the mouse area over the whole panel.
  void Place(int screenHeight);
  void FillKeys();

  kit::PictureBox* Panel() const { return picture3_; }
  kit::ImageControl* TrebleStaff() const { return image1_[0]; }
  kit::ImageControl* BassStaff() const { return image1_[1]; }
  QCheckBox* Check1() const { return check1_; }
  QComboBox* Combo2() const { return combo2_; }
  int StaffKey() const;
  bool Enabled() const;

 private:
  void OnCheck1();
  void OnCheck7();
  // Pointer movement over `Label10`: the staff step and note code under the pointer, the
  // duration zone, and the note picture following the pointer.
  void PointerMoved(double x, double y);
  // Mouse-down over `Label10`: rests, accidentals, the note, bar lines and dots, in the order
  // the notation writes them (an accidental before its note, a dot after it).
  void MouseDown(int button, int shift);
  void ShowStaffNotePicture();
  // The duration row of the next note: the zone under the pointer while time division is on.
  int NoteDurationRow() const;
  // The accidental `Label12` shows: 0 none, 1 sharp, 2 flat, 3 natural. The caption is the only
  // record of it, so an edit taken back takes it back too.
  int Accidental() const;
  void SetAccidental(int number);

  Context context_;
  QCheckBox* check1_;
  QComboBox* combo2_;
  kit::PictureBox* picture3_;
  std::array<kit::ImageControl*, 2> image1_{};
  kit::LabelControl* label10_;
  kit::LabelControl* label12_;
  kit::LabelControl* label13_;
  kit::LabelControl* label9_;
  QCheckBox* check7_;
  kit::ImageControl* image3_;
  std::array<kit::LineControl*, 3> line5_{};
  QPushButton* command13_;
};

}  // namespace tarvesh::input
