#include "kit/documentviews.h"

#include <QCheckBox>
#include <QComboBox>
#include <QScrollBar>

#include "kit/labelcontrol.h"

namespace tarvesh::kit {

using score::ScoreDocument;

void BindValue(QScrollBar* slider, ScoreDocument& document, ScoreDocument::Value value) {
  slider->setValue(document.Get(value));
  QObject::connect(slider, &QScrollBar::valueChanged, &document,
                   [&document, value](int to) { document.Set(value, to); });
  QObject::connect(&document, &ScoreDocument::ValueChanged, slider,
                   [slider, &document, value](int changed) {
                     if (changed == value) slider->setValue(document.Get(value));
                   });
}

void BindSwitch(QCheckBox* check, ScoreDocument& document, ScoreDocument::Switch which) {
  check->setChecked(document.IsOn(which));
  QObject::connect(check, &QCheckBox::toggled, &document,
                   [&document, which](bool on) { document.SetSwitch(which, on); });
  QObject::connect(&document, &ScoreDocument::SwitchChanged, check,
                   [check, &document, which](int changed) {
                     if (changed == which) check->setChecked(document.IsOn(which));
                   });
}

void BindStaffKey(QComboBox* combo, ScoreDocument& document) {
  QObject::connect(combo, &QComboBox::currentIndexChanged, &document,
                   [&document](int index) { document.SetStaffKey(index); });
  QObject::connect(&document, &ScoreDocument::StaffKeyChanged, combo,
                   [combo, &document] { combo->setCurrentIndex(document.StaffKey()); });
}

void BindText(LabelControl* label, ScoreDocument& document, ScoreDocument::HeadText which) {
  label->SetCaption(document.Text(which));
  QObject::connect(
      label, &LabelControl::CaptionChanged, &document,
      [&document, which](const QString& caption) { document.SetText(which, caption); });
  QObject::connect(&document, &ScoreDocument::TextChanged, label,
                   [label, &document, which](int changed) {
                     if (changed == which) label->SetCaption(document.Text(which));
                   });
}

void BindPick(QComboBox* combo, ScoreDocument& document, ScoreDocument::HeadPick which) {
  document.SetPick(which, combo->currentIndex());
  QObject::connect(combo, &QComboBox::currentIndexChanged, &document,
                   [&document, which](int index) { document.SetPick(which, index); });
  QObject::connect(&document, &ScoreDocument::PickChanged, combo,
                   [combo, &document, which](int changed) {
                     if (changed == which) combo->setCurrentIndex(document.Pick(which));
                   });
}

}  // namespace tarvesh::kit
