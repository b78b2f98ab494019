#include "settings/guidelines.h"

#include <QCheckBox>

#include "kit/controlregistry.h"
#include "kit/linecontrol.h"
#include "kit/linemark.h"
#include "kit/pagecanvas.h"
#include "page/pagelayout.h"
#include "score/scoredocument.h"

namespace tarvesh::settings {

namespace {
const QColor kGuideGrey(224, 224, 224);
constexpr int kMarginLineTop = 24;
constexpr int kMarginLineBottom = 56;
}  // namespace

GuideLines::GuideLines(score::ScoreDocument& document, kit::PageCanvas* canvas,
                       QWidget* commandColumn, kit::ControlRegistry& controls,
                       std::function<void()> focusPage)
    : QObject(canvas),
      document_(document),
      focusPage_(std::move(focusPage)),
      check2_(new QCheckBox(QStringLiteral("显示辅助线"), commandColumn)) {
  line2_.reserve(kPoolSize);
  for (int i = 0; i < kPoolSize; ++i) {
    auto* line =
        new kit::LineMark(kit::IndexedName(QStringLiteral("Line2"), i), canvas, kGuideGrey);
    controls.Add(line);
    line2_.push_back(line);
  }
  line3_ = new kit::LineControl(QStringLiteral("Line3"), canvas);
  line3_->SetLine(0, kMarginLineTop, 0, kMarginLineBottom);
  controls.Add(line3_);

  check2_->setObjectName(QStringLiteral("Check2"));
  check2_->setGeometry(8, 384, 121, 17);
  check2_->setChecked(true);
  controls.Add(check2_);
  connect(check2_, &QCheckBox::toggled, this, &GuideLines::OnCheck2);
}

void GuideLines::DrawGuideLines() {
  const page::PageLayout layout = document_.LayOut();
  const bool shown = check2_->isChecked();
  size_t k = 0;
  for (; k < layout.marks.size() && k < line2_.size(); ++k) {
    const QLine& mark = layout.marks[k];
    line2_[k]->SetLine(mark);
    if (shown) line2_[k]->SetShown(true);
  }
  for (; k < line2_.size(); ++k) line2_[k]->SetShown(false);

  line3_->SetX(layout.marginX);
}

void GuideLines::OnCheck2() {
  if (check2_->isChecked()) {
    DrawGuideLines();
  } else {
    for (auto* line : line2_) line->SetShown(false);
  }
  focusPage_();
}

}  // namespace tarvesh::settings
