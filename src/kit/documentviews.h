#pragma once

#include "score/scoredocument.h"

class QCheckBox;
class QComboBox;
class QScrollBar;

namespace tarvesh::kit {

class LabelControl;

// Controls as views and editors of a score document: the control shows the document's value, a
// user's change goes to the document, and a change of the document from anywhere comes back out
// to the control as if the user had made it, so the control's own handlers run as they always
// did. Bind before connecting those handlers, so they find the document already changed.
void BindValue(QScrollBar* slider, score::ScoreDocument& document,
               score::ScoreDocument::Value value);
void BindSwitch(QCheckBox* check, score::ScoreDocument& document,
                score::ScoreDocument::Switch which);
void BindStaffKey(QComboBox* combo, score::ScoreDocument& document);
// The label's caption is the document's text.
void BindText(LabelControl* label, score::ScoreDocument& document,
              score::ScoreDocument::HeadText which);
void BindPick(QComboBox* combo, score::ScoreDocument& document,
              score::ScoreDocument::HeadPick which);

}  // namespace tarvesh::kit
