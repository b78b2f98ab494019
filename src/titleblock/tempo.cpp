#include "titleblock/tempo.h"

#include <QComboBox>
#include <QListWidget>
#include <QScrollBar>

#include "kit/controlregistry.h"
#include "kit/labelcontrol.h"
#include "kit/parking.h"
#include "page/pagefont.h"
#include "page/textrules.h"
#include "score/pagehead.h"

namespace tarvesh::titleblock {

namespace {
constexpr int kSliderOpenTop = 72;
constexpr int kListOpenTop = 64;
constexpr int kMinBeats = 30;
constexpr int kMaxBeats = 150;

QScrollBar* MakeMetronome(const QString& name, QWidget* parent, QRect box) {
  auto* slider = new QScrollBar(Qt::Horizontal, parent);
  slider->setObjectName(name);
  slider->setGeometry(box);
  slider->setRange(kMinBeats, kMaxBeats);
  slider->setSingleStep(1);
  slider->setPageStep(10);
  slider->setValue(72);
  return slider;
}
}  // namespace

QString MetronomeText(int beatsPerMinute) {
  return QStringLiteral("每分钟%1拍").arg(beatsPerMinute);
}

Tempo::Tempo(QWidget* canvas, QWidget* newTitlePanel, kit::ControlRegistry& controls,
             std::function<void()> focusPage)
    : QObject(canvas), focusPage_(std::move(focusPage)) {
  label2_4_ = new kit::LabelControl(QStringLiteral("Label2(4)"), MetronomeText(72), canvas);
  label2_4_->setFont(page::PageFont(score::kHeadPoints, false));
  label2_4_->SetCaption(label2_4_->Caption());
  label2_4_->move(score::kTempoAt);
  controls.Add(label2_4_);
  hscroll1_ =
      MakeMetronome(QStringLiteral("HScroll1"), canvas, QRect(96, kit::kParkedAbove, 121, 17));
  controls.Add(hscroll1_);
  list2_ = new QListWidget(canvas);
  list2_->setObjectName(QStringLiteral("List2"));
  list2_->setGeometry(96, kit::kParkedAbove, 145, 160);
  controls.Add(list2_);

  label2_8_ = new kit::LabelControl(QStringLiteral("Label2(8)"), MetronomeText(72), newTitlePanel);
  label2_8_->setFont(page::PageFont(score::kHeadPoints, false));
  label2_8_->SetCaption(label2_8_->Caption());
  label2_8_->move(16, 96);
  controls.Add(label2_8_);
  hscroll3_ = MakeMetronome(QStringLiteral("HScroll3"), newTitlePanel, QRect(16, 116, 121, 17));
  controls.Add(hscroll3_);
  combo4_ = new QComboBox(newTitlePanel);
  combo4_->setObjectName(QStringLiteral("Combo4"));
  combo4_->setGeometry(16, 136, 121, 20);
  controls.Add(combo4_);

  connect(hscroll1_, &QScrollBar::valueChanged, this, [this](int value) {
    label2_4_->SetCaption(MetronomeText(value));
    focusPage_();
  });
  connect(list2_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    if (!item) return;
    label2_4_->SetCaption(item->text());
    list2_->move(list2_->x(), kit::kParkedAbove);
    focusPage_();
  });
  connect(hscroll3_, &QScrollBar::valueChanged, this,
          [this](int value) { label2_8_->SetCaption(MetronomeText(value)); });
  connect(combo4_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (index < 0) return;
    label2_8_->SetCaption(combo4_->currentText());
    focusPage_();
  });
}

void Tempo::AddTempoTexts(const QStringList& texts) {
  list2_->addItems(texts);
  const QSignalBlocker quiet(combo4_);
  combo4_->addItems(texts);
  combo4_->setCurrentIndex(-1);
}

void Tempo::OpenPickers(int button) {
  if (button & 1) {
    hscroll1_->move(hscroll1_->x(), kSliderOpenTop);
    // The number starts at the label's fourth character ("每分钟" is three).
    const int beats = page::LeadingInt16(label2_4_->Caption().mid(3));
    if (beats >= kMinBeats && beats <= kMaxBeats) hscroll1_->setValue(beats);
  } else if (button & 2) {
    const auto found = list2_->findItems(label2_4_->Caption(), Qt::MatchExactly);
    if (!found.isEmpty()) list2_->setCurrentItem(found.first());
    list2_->move(list2_->x(), kListOpenTop);
  }
  focusPage_();
}

void Tempo::ParkPickers() {
  hscroll1_->move(hscroll1_->x(), kit::kParkedAbove);
  list2_->move(list2_->x(), kit::kParkedAbove);
}

}  // namespace tarvesh::titleblock
