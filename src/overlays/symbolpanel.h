#pragma once

#include <QObject>
#include <functional>

class QGroupBox;
class QWidget;

namespace tarvesh::app {
class ControlRegistry;
class FileListControl;
class ImageControl;
struct WindowState;
}  // namespace tarvesh::app

namespace tarvesh::overlays {

class OverlayPools;

// The symbol picture chooser `Frame3`: a picture of the symbol folder, previewed in `Image2`,
// is placed at the anchor the key F set.
class SymbolPanel : public QObject {
  Q_OBJECT

 public:
  static constexpr int kWidth = 217;

  SymbolPanel(OverlayPools& pools, app::WindowState& window, QWidget* canvas,
              app::ControlRegistry& controls, std::function<void()> focusPage);

  // Points the file list at the symbol folder.
  void SetFolder(const QString& folder);
  void Open(int pageWidth);
  app::FileListControl* Files() const { return file1_; }
  QGroupBox* Frame() const { return frame3_; }

 private:
  void Preview();
  void Confirm();
  void Cancel();

  OverlayPools& pools_;
  app::WindowState& window_;
  std::function<void()> focusPage_;
  QGroupBox* frame3_;
  app::ImageControl* image2_;
  app::FileListControl* file1_;
};

}  // namespace tarvesh::overlays
