#include "settings/layoutpanel.h"

#include <QCheckBox>
#include <QScrollBar>

#include "kit/controlregistry.h"
#include "kit/documentviews.h"
#include "kit/labelcontrol.h"
#include "kit/picturebox.h"
#include "score/scoredocument.h"

namespace tarvesh::settings {

namespace {

struct SliderRow {
  int largeStep;
  const char* startCaption;
  const char* prefix;  // the caption after a change
};

// Note: the bars-per-line caption changes its wording with the first change of the slider.
const std::array<SliderRow, 4> kSliders{{
    {4, "小节宽度 120", "小节宽度 "},
    {1, "每行小节数 8", "第行小节数 "},
    {10, "行距：60", "行距 "},
    {4, "和弦距离 20", "和弦距离 "},
}};
const std::array<const char*, 5> kSpacingNames{
    "4分音符间距:", "8分音符间距:", "16分音符间距:", "32分音符间距:", "拍间距+"};

QString SpacingText(float value) {
  return QString::number(double(value), 'g', 7);
}

QCheckBox* MakeCheck(const QString& name, const QString& text, QWidget* parent, QRect box, bool on,
                     kit::ControlRegistry& controls) {
  auto* check = new QCheckBox(text, parent);
  check->setObjectName(name);
  check->setGeometry(box);
  check->setChecked(on);
  // A switch without a handler of its own never takes the keyboard from the page.
  check->setFocusPolicy(Qt::NoFocus);
  controls.Add(check);
  return check;
}

}  // namespace

LayoutPanel::LayoutPanel(score::ScoreDocument& document, QWidget* form, QWidget* commandColumn,
                         kit::ControlRegistry& controls, std::function<void()> relayout,
                         std::function<void()> focusPage)
    : QObject(form),
      document_(document),
      relayout_(std::move(relayout)),
      focusPage_(std::move(focusPage)),
      picture2_(new kit::PictureBox(QStringLiteral("Picture2"), form)) {
  for (int i = 0; i < 4; ++i) {
    const SliderRow& row = kSliders[i];
    const auto value = score::ScoreDocument::Value(i);
    const score::ScoreDocument::ValueRange& range = score::ScoreDocument::kValueRanges[i];
    const int top = i < 3 ? 240 + 40 * i : 520;
    label4_[i] = new kit::LabelControl(kit::IndexedName(QStringLiteral("Label4"), i),
                                       QString::fromUtf8(row.startCaption), commandColumn);
    label4_[i]->move(8, top);
    controls.Add(label4_[i]);
    auto* slider = new QScrollBar(Qt::Horizontal, commandColumn);
    slider->setObjectName(kit::IndexedName(QStringLiteral("HScroll2"), i));
    slider->setGeometry(8, top + 16, 121, 17);
    slider->setRange(range.min, range.max);
    slider->setSingleStep(1);
    slider->setPageStep(row.largeStep);
    kit::BindValue(slider, document_, value);
    controls.Add(slider);
    hscroll2_[i] = slider;
    connect(slider, &QScrollBar::valueChanged, this, [this, i] { OnSliderChanged(i); });
  }

  for (int i = 0; i < 4; ++i) {
    // Above the command column's frame, in the column that holds it.
    check5_[i] =
        MakeCheck(kit::IndexedName(QStringLiteral("Check5"), i), QString(),
                  commandColumn->parentWidget(), QRect(16 + 32 * i, 40, 33, 12), i < 2, controls);
    connect(check5_[i], &QCheckBox::toggled, this, [this, i] { OnDurationSwitch(i); });
  }

  picture2_->setGeometry(176, 0, 313, 337);
  picture2_->hide();
  controls.Add(picture2_);
  for (int i = 0; i < 5; ++i) {
    const int top = 16 + 26 * i;
    label6_[i] = new kit::LabelControl(kit::IndexedName(QStringLiteral("Label6"), i),
                                       QString::fromUtf8(kSpacingNames[i]), picture2_);
    label6_[i]->move(16, top);
    controls.Add(label6_[i]);
    label6s_[i] = new kit::LabelControl(kit::IndexedName(QStringLiteral("Label6s"), i),
                                        SpacingText(document_.NoteSpacing(i)), picture2_);
    label6s_[i]->move(136, top);
    controls.Add(label6s_[i]);
    for (auto* label : {label6_[i], label6s_[i]})
      connect(label->Mouse(), &kit::MouseEvents::Click, this, [this, i] { OnSpacingClicked(i); });
  }
  check8_ = MakeCheck(QStringLiteral("Check8"), QStringLiteral("自动分拍"), picture2_,
                      QRect(16, 152, 200, 17), true, controls);
  check10_ = MakeCheck(QStringLiteral("Check10"), QStringLiteral("自动输入小节线"), picture2_,
                       QRect(16, 176, 200, 17), true, controls);
  check11_ = MakeCheck(QStringLiteral("Check11"), QStringLiteral("换行时两端对齐"), picture2_,
                       QRect(16, 200, 200, 17), true, controls);
  check4_ = MakeCheck(QStringLiteral("Check4"), QStringLiteral("自动分配音符间距"), picture2_,
                      QRect(16, 224, 200, 17), true, controls);
  check3_ = MakeCheck(QStringLiteral("Check3"), QStringLiteral("自动跳过小节线"), picture2_,
                      QRect(16, 248, 200, 17), false, controls);
  check3_->hide();
  using score::ScoreDocument;
  kit::BindSwitch(check8_, document_, ScoreDocument::kAutoBeatSplit);
  kit::BindSwitch(check10_, document_, ScoreDocument::kAutoBarLines);
  kit::BindSwitch(check11_, document_, ScoreDocument::kJustifyOnEnter);
  kit::BindSwitch(check4_, document_, ScoreDocument::kAutoNoteSpacing);
  kit::BindSwitch(check3_, document_, ScoreDocument::kSkipBarLines);
  connect(&document_, &ScoreDocument::NoteSpacingChanged, this, &LayoutPanel::ShowSpacing);
}

bool LayoutPanel::DurationSwitch(int row) const {
  return check5_[row]->isChecked();
}

void LayoutPanel::OnSliderChanged(int index) {
  label4_[index]->SetCaption(QString::fromUtf8(kSliders[index].prefix) +
                             QString::number(document_.Get(score::ScoreDocument::Value(index))));
  relayout_();
  focusPage_();
}

void LayoutPanel::OnSpacingClicked(int index) {
  float value = document_.NoteSpacing(index) + 0.5f;
  if (value > score::ScoreDocument::kMostNoteSpacing) value = 0;
  document_.SetNoteSpacing(index, value);
}

void LayoutPanel::ShowSpacing(int index) {
  label6s_[index]->SetCaption(SpacingText(document_.NoteSpacing(index)));
}

void LayoutPanel::OnDurationSwitch(int index) {
  int on = 0;
  for (auto* check : check5_) on += check->isChecked() ? 1 : 0;
  if (on == 0) check5_[index]->setChecked(true);
  focusPage_();
}

}  // namespace tarvesh::settings
