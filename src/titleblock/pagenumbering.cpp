#include "titleblock/pagenumbering.h"

#include "kit/controlregistry.h"
#include "kit/dialogs.h"
#include "kit/labelcontrol.h"
#include "page/pagefont.h"
#include "page/textrules.h"
#include "score/pagehead.h"
#include "score/scoredocument.h"

namespace tarvesh::titleblock {

namespace {
const QString kTitle = QStringLiteral("提示");
}

PageNumbering::PageNumbering(score::ScoreDocument& document, kit::Dialogs& dialogs, QWidget* canvas,
                             QWidget* optionsPanel, kit::ControlRegistry& controls)
    : QObject(canvas), document_(document), dialogs_(dialogs) {
  label16_ = new kit::LabelControl(QStringLiteral("Label16"), QString(), canvas);
  label16_->setFont(page::PageFont(score::kPageNumberPoints, false));
  label16_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  controls.Add(label16_);
  auto* label17 =
      new kit::LabelControl(QStringLiteral("Label17"), QStringLiteral("页数样式"), optionsPanel);
  label17->move(16, 280);
  controls.Add(label17);
  label18_ =
      new kit::LabelControl(QStringLiteral("Label18"), QStringLiteral("< p >"), optionsPanel);
  label18_->move(96, 280);
  controls.Add(label18_);

  // The label keeps its place until the next layout centres it again.
  connect(&document_, &score::ScoreDocument::PlacementChanged, this,
          [this] { label16_->move(document_.Placement().pageNumberAt); });
  connect(label16_->Mouse(), &kit::MouseEvents::Click, this, &PageNumbering::AskNumber);
  connect(label18_->Mouse(), &kit::MouseEvents::Click, this, &PageNumbering::AskPattern);
}

void PageNumbering::SetPageNumber(int number) {
  // The label keeps its left edge: only a relayout centres it again.
  document_.SetPageNumber(number);
}

void PageNumbering::AskNumber() {
  const auto answer = dialogs_.InputBox(QStringLiteral("请输入页数"), kTitle,
                                        QString::number(document_.PageNumber()));
  if (!answer) return;
  SetPageNumber(answer->isEmpty() ? 0 : page::LeadingInt16(*answer));
}

void PageNumbering::AskPattern() {
  const auto answer = dialogs_.InputBox(QStringLiteral("请输入模式"), kTitle, label18_->Caption());
  // A new pattern shows with the next number set.
  if (answer) label18_->SetCaption(*answer);
}

}  // namespace tarvesh::titleblock
