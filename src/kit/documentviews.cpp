#include "kit/documentviews.h"

#include <QCheckBox>
#include <QComboBox>
#include <QScrollBar>

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

}  // namespace tarvesh::kit
