#pragma once

#include <QWidget>

namespace tarvesh::kit {

// Keeps a panel that was placed against the bottom of the screen the window started on against
// the bottom of the window, whatever its height: the panel keeps its box in the window's start
// coordinates, and only this layer moves. The layer takes the pointer only where the panel is.
class BottomLayer : public QWidget {
  Q_OBJECT

 public:
  BottomLayer(QWidget* window, int startHeight);

  // Takes `panel` (a child of the window) into the layer, with its box and its shown state.
  void Hold(QWidget* panel);
  void Fit(int windowHeight);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Follow();

  QWidget* panel_ = nullptr;
  int startHeight_;
};

}  // namespace tarvesh::kit
