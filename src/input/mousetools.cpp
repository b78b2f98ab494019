#include "input/mousetools.h"

#include <QComboBox>
#include <QPushButton>

#include "kit/controlregistry.h"
#include "kit/parking.h"
#include "kit/picturebox.h"
#include "kit/shapecontrol.h"
#include "kit/windowstate.h"
#include "page/enginestate.h"
#include "page/geometry.h"
#include "page/rounding.h"
#include "page/scorepage.h"

namespace tarvesh::input {

namespace {

constexpr int kEraserSizes = 50;
// A selection narrower than this is a click, not a copy.
constexpr int kMinCopyWidth = 24;
const QColor kSelectionGreen(0, 255, 0);

}  // namespace

MouseTools::MouseTools(const Context& context) : QObject(context.form), context_(context) {
  auto& controls = context_.controls;
  combo3_ = new QComboBox(context_.commandColumn);
  combo3_->setObjectName(QStringLiteral("Combo3"));
  combo3_->setGeometry(8, 560, 65, 20);
  controls.Add(combo3_);

  shape2_ = new kit::ShapeControl(QStringLiteral("Shape2"), context_.canvas, kSelectionGreen);
  shape2_->setGeometry(0, 0, 0, 0);
  shape2_->hide();
  controls.Add(shape2_);
  shape1_ = new kit::ShapeControl(QStringLiteral("Shape1"), context_.canvas, Qt::black);
  controls.Add(shape1_);

  picture7_ = new kit::PictureBox(QStringLiteral("Picture7"), context_.form, true);
  picture7_->ResizeBitmap(kEraserSizes, kEraserSizes);
  picture7_->move(0, kit::kParkedEraserTop);
  controls.Add(picture7_);
  picture9_ = new kit::PictureBox(QStringLiteral("Picture9"), context_.form, true);
  picture9_->ResizeBitmap(417, 49);
  picture9_->move(0, kit::kParkedBelow);
  controls.Add(picture9_);

  auto* command14 = new QPushButton(QStringLiteral("粘贴"), context_.commandColumn);
  command14->setObjectName(QStringLiteral("Command14"));
  command14->setGeometry(16, 664, 57, 25);
  controls.Add(command14);
  auto* command15 = new QPushButton(QStringLiteral("清除"), context_.commandColumn);
  command15->setObjectName(QStringLiteral("Command15"));
  command15->setGeometry(80, 664, 49, 25);
  controls.Add(command15);

  connect(combo3_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (index >= 0) OnToolChanged();
  });
  connect(command14, &QPushButton::clicked, this, &MouseTools::Paste);
  connect(command15, &QPushButton::clicked, this, &MouseTools::ClearSelection);
}

void MouseTools::FillTools() {
  {
    const QSignalBlocker quiet(combo3_);
    combo3_->addItem(QStringLiteral("不清除"));
    for (int n = 1; n <= kEraserSizes; ++n) combo3_->addItem(QStringLiteral("清除%1X%1").arg(n));
    combo3_->setCurrentIndex(-1);
  }
  combo3_->setCurrentIndex(0);
}

int MouseTools::EraserSide() const {
  return std::max(combo3_->currentIndex(), 0);
}

void MouseTools::OnToolChanged() {
  const int side = EraserSide();
  shape1_->resize(side, side);
  if (side == 0) shape1_->move(shape1_->x(), kit::kParkedMark);
  context_.focusPage();
}

void MouseTools::MouseDown(int button, int shift, double x, double y) {
  if (button != 1) return;
  if (EraserSide() == 0) {
    const int spacing = context_.lineSpacing();
    // Truncating division: a press left of the margin or above the first line lands on the
    // grid all the same.
    int cellX =
        (page::RoundHalfEven(x - 23) / page::kNarrowCell) * page::kNarrowCell + page::kLeftMargin;
    const int cellY =
        (page::RoundHalfEven(y - page::kFirstLineTop) / spacing) * spacing + page::kFirstLineTop;
    // Inside an item the cursor goes to its left edge, so what is typed next never lands over
    // part of it.
    if (const auto left = context_.itemLeftAt(cellX, cellY)) cellX = *left;
    context_.page.SetCursor(float(cellX), float(cellY));
    auto& state = context_.state;
    // A dot or accidental placed before the press still joins the next duration lines.
    state.PrevDurationRow = page::kNoSpacingOwed;
    state.BarUnits = 0;
    state.BarsInLine = 0;
    state.LastGlyphWidth = page::kLastUnknown;
    context_.window.SelectionDragging = 1;
    shape2_->setGeometry(cellX, cellY, page::kWideCell, page::kCellHeight);
    shape2_->show();
    shape2_->raise();
  } else {
    context_.window.EraserPressed = 1;
    shape1_->SetPressed(true);
    MouseMove(button, shift, x, y);
  }
}

void MouseTools::MouseMove(int, int, double x, double y) {
  const int side = EraserSide();
  if (side == 0) {
    if (context_.window.SelectionDragging != 1) return;
    const int spacing = context_.lineSpacing();
    int w = (page::RoundHalfEven(x - shape2_->x()) / page::kNarrowCell) * page::kNarrowCell;
    int h = (page::RoundHalfEven(y - shape2_->y()) / spacing) * spacing;
    if (w < page::kNarrowCell) w = page::kNarrowCell;
    if (h < spacing) h = spacing;
    shape2_->resize(w, h);
    return;
  }
  eraserLeft_ = x - side / 2.0;
  eraserTop_ = y - side / 2.0;
  shape1_->move(page::RoundHalfEven(eraserLeft_), page::RoundHalfEven(eraserTop_));
  shape1_->raise();
  if (context_.window.EraserPressed == 1) EraseAtShape();
}

void MouseTools::EraseAtShape() {
  // The square's fractional corner rounds to the nearest pixel, halves to even.
  const QRect square(page::RoundHalfEven(eraserLeft_), page::RoundHalfEven(eraserTop_),
                     shape1_->width(), shape1_->height());
  context_.page.CopyCell(picture7_->Bitmap(), 0, 0, square.width(), square.height(), square.x(),
                         square.y(), page::PictureSource::EraserSquare);
}

void MouseTools::MouseUp(int button, int, double, double) {
  if (button != 1) return;
  if (EraserSide() == 0) {
    context_.window.SelectionDragging = 0;
    shape2_->hide();
    if (shape2_->width() >= kMinCopyWidth) {
      const QRect area = shape2_->geometry();
      QImage& buffer = picture9_->Bitmap();
      picture9_->ResizeBitmap(area.width(), area.height());
      buffer.fill(Qt::white);
      const QImage& pageImage = context_.page.Image();
      const QRect inside = area.intersected(pageImage.rect());
      for (int row = 0; row < inside.height(); ++row) {
        const auto* from =
            reinterpret_cast<const QRgb*>(pageImage.constScanLine(inside.y() + row)) + inside.x();
        auto* to = reinterpret_cast<QRgb*>(buffer.scanLine(inside.y() - area.y() + row)) +
                   (inside.x() - area.x());
        std::copy(from, from + inside.width(), to);
      }
    }
  } else {
    context_.window.EraserPressed = 0;
    shape1_->SetPressed(false);
  }
}

void MouseTools::Click() {
  context_.hidePickers();
  context_.clearOverlaySelection();
}

void MouseTools::Paste() {
  const QImage& buffer = picture9_->Bitmap();
  context_.page.CopyCell(buffer, 0, 0, buffer.width(), buffer.height(),
                         page::RoundHalfEven(context_.page.CursorLeft()),
                         page::RoundHalfEven(context_.page.CursorTop()),
                         page::PictureSource::Clipboard);
  context_.focusPage();
}

void MouseTools::ClearSelection() {
  picture9_->Bitmap().fill(Qt::white);
  context_.page.FillRect(
      QRect(page::RoundHalfEven(context_.page.CursorLeft()),
            page::RoundHalfEven(context_.page.CursorTop()), shape2_->width(), shape2_->height()),
      Qt::white);
  context_.focusPage();
}

}  // namespace tarvesh::input
