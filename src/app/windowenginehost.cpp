#include "app/windowenginehost.h"

#include <QCheckBox>

#include "input/staffinput.h"
#include "overlays/entrymodes.h"
#include "settings/layoutpanel.h"
#include "sound/soundplayer.h"

namespace tarvesh::app {

page::LayoutSettings WindowEngineHost::Settings() const {
  using settings::LayoutPanel;
  page::LayoutSettings s;
  s.barWidth = layout_.Value(LayoutPanel::kBarWidth);
  s.barsPerLine = layout_.Value(LayoutPanel::kBarsPerLine);
  s.lineSpacing = layout_.Value(LayoutPanel::kLineSpacing);
  s.chordDistance = layout_.Value(LayoutPanel::kChordDistance);
  s.beatGap = layout_.BeatGap();
  s.autoNoteSpacing = layout_.Check4()->isChecked();
  s.autoBeatSplit = layout_.Check8()->isChecked();
  s.justifyOnEnter = layout_.Check11()->isChecked();
  s.autoBarLines = layout_.Check10()->isChecked();
  s.skipBarLines = layout_.Check3()->isChecked();
  s.soundEffects = sound_.Enabled();
  s.staffInput = staff_.Enabled();
  s.staffKey = staff_.StaffKey();
  s.chordColour = modes_.ChordColour();
  return s;
}

void WindowEngineHost::PlaySoundFile(const QString& name) {
  sound_.PlaySoundFile(name);
}

}  // namespace tarvesh::app
