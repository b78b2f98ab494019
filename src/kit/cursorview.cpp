#include "kit/cursorview.h"

#include <QDir>

#include "kit/controlregistry.h"
#include "kit/imagecontrol.h"
#include "kit/timercontrol.h"
#include "page/picturefile.h"
#include "page/rounding.h"
#include "page/scorepage.h"

namespace tarvesh::kit {

namespace {
constexpr int kBlinkMs = 350;
}

CursorView::CursorView(page::ScorePage& page, QWidget* canvas, ControlRegistry& controls,
                       const QString& dataDir)
    : QObject(canvas),
      page_(page),
      imapnt_(new ImageControl(QStringLiteral("Imapnt"), canvas)),
      timer1_(new TimerControl(QStringLiteral("Timer1"), kBlinkMs, this)),
      dataDir_(dataDir) {
  imapnt_->setAttribute(Qt::WA_TransparentForMouseEvents);
  // The built-in question mark; a data folder without it leaves the cursor blank.
  imapnt_->SetPicture(QPixmap::fromImage(page::ReadPictureFile(
                          QDir(dataDir).filePath(QStringLiteral("s/cursor.png")))),
                      QString());
  connect(timer1_, &TimerControl::Tick, this, [this] { imapnt_->setVisible(imapnt_->isHidden()); });
  controls.Add(imapnt_);
  controls.Add(timer1_);
  Follow();
  timer1_->start();
}

void CursorView::Follow() {
  imapnt_->move(page::RoundHalfEven(page_.CursorLeft()), page::RoundHalfEven(page_.CursorTop()));
}

void CursorView::RestartBlink() {
  timer1_->stop();
  timer1_->start();
  imapnt_->show();
}

void CursorView::ShowDurationPicture(int row) {
  const QString path = QDir(dataDir_).filePath(QStringLiteral("s/k%1.bmp").arg(row));
  QPixmap picture(path);
  if (!picture.isNull()) imapnt_->SetPicture(picture, QStringLiteral("k%1.bmp").arg(row));
}

void CursorView::StopBlink() {
  timer1_->stop();
  imapnt_->hide();
}

void CursorView::Raise() {
  imapnt_->raise();
}

QRect CursorView::Box() const {
  return imapnt_->geometry();
}

bool CursorView::Visible() const {
  return !imapnt_->isHidden();
}

QString CursorView::PictureName() const {
  return imapnt_->File().isEmpty() ? QStringLiteral("built-in") : imapnt_->File();
}

}  // namespace tarvesh::kit
