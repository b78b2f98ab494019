#pragma once

#include <QObject>
#include <functional>

class QGroupBox;
class QListWidget;
class QPushButton;
class QWidget;

namespace tarvesh::kit {
class ControlRegistry;
struct WindowState;
}  // namespace tarvesh::kit

namespace tarvesh::overlays {

class OverlayPools;

// The text label editor `Frame2`: a phrase from the list `List1` is placed as a text label at
// the anchor the key D set.
class TextLabelPanel : public QObject {
  Q_OBJECT

 public:
  static constexpr int kWidth = 265;

  TextLabelPanel(OverlayPools& pools, kit::WindowState& window, QWidget* canvas,
                 kit::ControlRegistry& controls, std::function<void()> focusPage);

  void AddPhrases(const QStringList& phrases);
  // Shows the panel under the anchor, kept inside the page's right edge `pageWidth`.
  void Open(int pageWidth);
  QGroupBox* Frame() const { return frame2_; }

 private:
  void Confirm();
  void Cancel();

  OverlayPools& pools_;
  kit::WindowState& window_;
  std::function<void()> focusPage_;
  QGroupBox* frame2_;
  QListWidget* list1_;
};

}  // namespace tarvesh::overlays
