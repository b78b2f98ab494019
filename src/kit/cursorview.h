#pragma once

#include <QObject>
#include <QRect>
#include <QString>

class QWidget;

namespace tarvesh::page {
class ScorePage;
}

namespace tarvesh::kit {

class ControlRegistry;
class ImageControl;
class TimerControl;

// The insertion cursor on screen (`Imapnt`) and its blink timer (`Timer1`). It follows the
// page's cursor position; its picture is the built-in question mark until a duration is chosen.
class CursorView : public QObject {
  Q_OBJECT

 public:
  CursorView(page::ScorePage& page, QWidget* canvas, ControlRegistry& controls,
             const QString& dataDir);

  // Stops and starts the blink with the cursor shown, so the blink starts afresh.
  void RestartBlink();
  // Shows the cursor picture of duration `row`; a missing file keeps the current picture.
  void ShowDurationPicture(int row);
  // Hides the cursor and stops its blink (while a batch export captures the page).
  void StopBlink();
  void Raise();

  // Moves the picture to the page cursor's position.
  void Follow();
  bool Visible() const;
  // The cursor picture's box on the page.
  QRect Box() const;
  // "built-in" for the question mark, else the file name shown.
  QString PictureName() const;

 private:
  page::ScorePage& page_;
  ImageControl* imapnt_;
  TimerControl* timer1_;
  QString dataDir_;
};

}  // namespace tarvesh::kit
