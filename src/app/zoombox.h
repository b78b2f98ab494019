#pragma once

#include <QObject>
#include <functional>

class QComboBox;
class QWidget;

namespace tarvesh::kit {
class ControlRegistry;
class PageViewport;
}  // namespace tarvesh::kit

namespace tarvesh::app {

// The zoom box (`Combo6`) in the command column, and the zoom keys Ctrl+= (Ctrl++ and the keypad
// plus too), Ctrl+- and Ctrl+0. Both zoom around the insertion cursor when it is in view, else
// around the view's top-left corner, and then show the cursor with its room as typing does; the
// box shows the zoom whichever way it was set.
class ZoomBox : public QObject {
  Q_OBJECT

 public:
  struct Context {
    kit::ControlRegistry& controls;
    QWidget* commandColumn;
    kit::PageViewport* view;
    // Where the insertion cursor is on the page.
    std::function<QPoint()> cursorAt;
    // Scrolls the least needed to show the cursor with its room.
    std::function<void()> showCursor;
    std::function<void()> focusPage;
  };

  explicit ZoomBox(const Context& context);

  QComboBox* Combo6() const { return combo6_; }
  // What the box does when a zoom is chosen in it: `percent` must lie within 50..400.
  void Choose(int percent);
  // Runs the zoom key `keyCode` with `shift`; false when it is no zoom key.
  bool ZoomKey(int keyCode, int shift);

 private:
  // The zoom typed into the box, as far as it reads as a percentage.
  void Typed();
  void Show(int percent);

  Context context_;
  QComboBox* combo6_;
};

}  // namespace tarvesh::app
