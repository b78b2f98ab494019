#pragma once

#include <QObject>
#include <functional>
#include <optional>

class QComboBox;
class QPushButton;
class QWidget;

namespace tarvesh::page {
struct EngineState;
class ScorePage;
}  // namespace tarvesh::page

namespace tarvesh::kit {
class ControlRegistry;
class PictureBox;
class ShapeControl;
struct WindowState;
}  // namespace tarvesh::kit

namespace tarvesh::input {

// The mouse on the page: the selection tool (cursor to the grid cell, a green rectangle dragged
// in grid steps, copied on release into the buffer `Picture9`; "粘贴" and "清除" paste and clear
// at the cursor) or the eraser squares of `Combo3`.
class MouseTools : public QObject {
  Q_OBJECT

 public:
  struct Context {
    page::ScorePage& page;
    page::EngineState& state;
    kit::WindowState& window;
    kit::ControlRegistry& controls;
    QWidget* form;
    QWidget* canvas;
    QWidget* commandColumn;
    std::function<int()> lineSpacing;
    std::function<void()> hidePickers;
    std::function<void()> clearOverlaySelection;
    std::function<void()> focusPage;
    // The left edge of the item on the line at `top` whose cell holds column x past its edge.
    std::function<std::optional<int>(int x, int top)> itemLeftAt;
  };

  explicit MouseTools(const Context& context);

  // Fills the tool list and selects the selection tool, as start-up does.
  void FillTools();

  void MouseDown(int button, int shift, double x, double y);
  void MouseMove(int button, int shift, double x, double y);
  void MouseUp(int button, int shift, double x, double y);
  void Click();
  void Paste();
  void ClearSelection();

 private:
  void OnToolChanged();
  int EraserSide() const;
  void EraseAtShape();

  Context context_;
  QComboBox* combo3_;
  kit::ShapeControl* shape1_;
  kit::ShapeControl* shape2_;
  kit::PictureBox* picture7_;
  kit::PictureBox* picture9_;
  // The eraser square's corner, kept fractional: the pointer is its centre.
  double eraserLeft_ = 0;
  double eraserTop_ = 0;
};

}  // namespace tarvesh::input
