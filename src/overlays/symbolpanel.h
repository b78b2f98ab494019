#pragma once

#include <QObject>
#include <functional>

class QGroupBox;
class QWidget;

namespace tarvesh::kit {
class ControlRegistry;
class FileListControl;
class ImageControl;
struct WindowState;
}  // namespace tarvesh::kit

namespace tarvesh::overlays {

class OverlayPools;

// The symbol picture chooser `Frame3`: a picture of the symbol folder, previewed in `Image2`,
// is placed at the anchor the key F set.
class SymbolPanel : public QObject {
  Q_OBJECT

 public:
  static constexpr int kWidth = 217;

  SymbolPanel(OverlayPools& pools, kit::WindowState& window, QWidget* canvas,
              kit::ControlRegistry& controls, std::function<void()> focusPage);

  // Points the file list at the symbol folder.
  void SetFolder(const QString& folder);
  void Open(int pageWidth);
  kit::FileListControl* Files() const { return file1_; }
  QGroupBox* Frame() const { return frame3_; }

 private:
  void Preview();
  void Confirm();
  void Cancel();

  OverlayPools& pools_;
  kit::WindowState& window_;
  std::function<void()> focusPage_;
  QGroupBox* frame3_;
  kit::ImageControl* image2_;
  kit::FileListControl* file1_;
};

}  // namespace tarvesh::overlays
