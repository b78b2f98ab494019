#include "overlays/entrymodes.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

#include "kit/controlregistry.h"
#include "kit/cursorview.h"
#include "kit/dialogs.h"
#include "kit/imagecontrol.h"
#include "kit/labelcontrol.h"
#include "page/enginestate.h"
#include "page/glyphatlas.h"

namespace tarvesh::overlays {

namespace {

const QString kTreble = QStringLiteral("高音谱号");
const QString kBass = QStringLiteral("低音谱号");
// The duration buttons show the plain 5 of the note atlas with its duration lines.
constexpr int kIconColumn = 18;
constexpr int kIconTop = 6;
constexpr int kIconHeight = 28;

QPushButton* MakeButton(const QString& name, const QString& text, QWidget* parent, QRect box,
                        kit::ControlRegistry& controls) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(name);
  button->setGeometry(box);
  controls.Add(button);
  return button;
}

}  // namespace

EntryModes::EntryModes(const Context& context) : QObject(context.form), context_(context) {
  auto& controls = context_.controls;
  // The group knows which button is checked, so checking another unchecks it at once; an
  // auto-exclusive button would search every sibling on the form for it.
  durations_ = new QButtonGroup(this);
  for (int i = 0; i < 4; ++i) {
    // Above the command column's frame, in the column that holds it.
    auto* option = new QRadioButton(context_.commandColumn->parentWidget());
    option->setObjectName(kit::IndexedName(QStringLiteral("Option1"), i));
    option->setGeometry(16 + 32 * i, 8, 33, 33);
    const QImage icon =
        context_.atlas.Picmode.copy(12 * kIconColumn, 40 * i + kIconTop, 12, kIconHeight);
    option->setIcon(QPixmap::fromImage(icon));
    option->setIconSize(icon.size());
    option->setChecked(i == 0);
    durations_->addButton(option, i);
    controls.Add(option);
    option1_[i] = option;
    connect(option, &QRadioButton::clicked, this, [this, i] { SelectDuration(i); });
  }
  QWidget* column = context_.commandColumn;
  command2_ = MakeButton(QStringLiteral("Command2"), QStringLiteral("全字符"), column,
                         QRect(8, 16, 49, 25), controls);
  command4_ = MakeButton(QStringLiteral("Command4"), QStringLiteral("插入"), column,
                         QRect(80, 16, 49, 25), controls);
  check6_ = new QCheckBox(column);
  check6_->setObjectName(QStringLiteral("Check6"));
  check6_->setGeometry(8, 370, 16, 13);
  controls.Add(check6_);
  label5_ = new kit::LabelControl(QStringLiteral("Label5"), QStringLiteral("和弦颜色"), column);
  label5_->move(24, 370);
  label5_->SetForeColour(QColor(255, 0, 0));
  controls.Add(label5_);
  label3_ = new kit::LabelControl(QStringLiteral("Label3"), kTreble, column);
  label3_->move(8, 440);
  controls.Add(label3_);
  command10_ = MakeButton(QStringLiteral("Command10"), QStringLiteral("音符"), column,
                          QRect(8, 488, 49, 25), controls);

  connect(command2_, &QPushButton::clicked, this, &EntryModes::ToggleHalfWidth);
  connect(command4_, &QPushButton::clicked, this, &EntryModes::ToggleInsert);
  connect(command10_, &QPushButton::clicked, this, &EntryModes::ToggleNoteMode);
  connect(label3_->Mouse(), &kit::MouseEvents::Click, this, &EntryModes::ToggleClef);
  connect(label5_->Mouse(), &kit::MouseEvents::Click, this, &EntryModes::PickChordColour);
}

void EntryModes::SetStaffPictures(kit::ImageControl* treble, kit::ImageControl* bass) {
  treble_ = treble;
  bass_ = bass;
}

void EntryModes::ShowClef(bool bass) {
  label3_->SetCaption(bass ? kBass : kTreble);
  if (treble_) treble_->setVisible(!bass);
  if (bass_) bass_->setVisible(bass);
}

void EntryModes::ToggleNoteMode() {
  auto& state = context_.state;
  state.NoteMode = 1 - state.NoteMode;
  const bool chords = state.NoteMode == 0;
  command10_->setText(chords ? QStringLiteral("和弦") : QStringLiteral("音符"));
  ShowClef(chords);
  context_.focusPage();
}

void EntryModes::ToggleClef() {
  ShowClef(!BassClef());
}

void EntryModes::ToggleHalfWidth() {
  auto& state = context_.state;
  state.HalfWidthMode = 1 - state.HalfWidthMode;
  command2_->setText(state.HalfWidthMode ? QStringLiteral("半字符") : QStringLiteral("全字符"));
  context_.focusPage();
}

void EntryModes::ToggleInsert() {
  auto& state = context_.state;
  state.InsertMode = 1 - state.InsertMode;
  command4_->setText(state.InsertMode ? QStringLiteral("插入") : QStringLiteral("改写"));
  context_.focusPage();
}

void EntryModes::SelectDuration(int row) {
  context_.state.CurrentDurationRow = row;
  context_.cursor.RestartBlink();
  context_.cursor.ShowDurationPicture(row);
  option1_[row]->setChecked(true);
  context_.focusPage();
}

void EntryModes::PickChordColour() {
  const auto colour = context_.dialogs.PickColour(label5_->ForeColour());
  if (!colour || !colour->isValid()) return;
  label5_->SetForeColour(*colour);
  emit ChordColourPicked(*colour);
}

QColor EntryModes::ChordColour() const {
  return label5_->ForeColour();
}

bool EntryModes::BassClef() const {
  return label3_->Caption() == kBass;
}

}  // namespace tarvesh::overlays
