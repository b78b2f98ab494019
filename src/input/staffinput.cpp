#include "input/staffinput.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QPushButton>

#include "engine/glyphengine.h"
#include "engine/virtualkey.h"
#include "kit/controlregistry.h"
#include "kit/imagecontrol.h"
#include "kit/labelcontrol.h"
#include "kit/linecontrol.h"
#include "kit/picturebox.h"
#include "kit/windowstate.h"
#include "page/picturefile.h"
#include "page/rounding.h"

namespace tarvesh::input {

namespace {
constexpr int kPanelWidth = 292;
constexpr int kPanelHeight = 277;
constexpr int kZoneLines[] = {128, 176, 224};
constexpr int kZoneLineBottom = 256;
const QColor kZoneGrey(192, 192, 192);
const QStringList kStaffKeys{"C or #C", "D or bD", "E or bE", "F or #F",
                             "G or bG", "A or bA", "B or bB"};
const QStringList kAccidentalCaptions{"无", "升", "降", "原"};
const QString kNoDot = QStringLiteral("无");
const QString kDot = QStringLiteral("点");

// Staff geometry of both pictures: a line or space every 9 pixels, step 14 (middle C of the
// treble picture) at y 190; the bass clef lies 12 steps lower on the same lines.
constexpr int kMiddleCY = 190;
constexpr int kMiddleCStep = 14;
constexpr int kStepHeight = 9;
constexpr int kBassClefShift = 12;
// Notes up to this step show the stem-up pictures ("s"), whose heads lie lower in the picture;
// the tops keep the head on the pointer's step.
constexpr int kHighestStemUpStep = 20;
constexpr int kStemUpTop = 218;
constexpr int kStemDownTop = 308;
// The note picture is centred on the pointer.
constexpr int kNoteHalfWidth = 9;

// Keys the panel hands to the page's key handling.
namespace vk = engine::vk;
constexpr int kBarLineKey = vk::Letter('H');
constexpr int kSharpKey = vk::Letter('M');
constexpr int kNaturalKey = vk::Letter('N');
constexpr int kFlatKey = vk::kComma;
constexpr int kDotKey = vk::kPeriod;
constexpr int kAccidentalKeys[] = {0, kSharpKey, kFlatKey, kNaturalKey};

// Mouse buttons and shift bits as MouseEvents reports them.
constexpr int kLeftButton = 1;
constexpr int kRightButton = 2;
constexpr int kMiddleButton = 4;
constexpr int kShift = 1;
constexpr int kCtrl = 2;
constexpr int kAlt = 4;

// The duration zone at x: a pointer exactly on a division line is in no zone.
int ZoneAt(double x) {
  if (x > kZoneLines[2]) return 3;
  if (x > kZoneLines[1] && x < kZoneLines[2]) return 2;
  if (x > kZoneLines[0] && x < kZoneLines[1]) return 1;
  return 0;
}
}  // namespace

StaffInput::StaffInput(const Context& context) : QObject(context.form), context_(context) {
  auto& controls = context_.controls;
  check1_ = new QCheckBox(QStringLiteral("从五线谱输入"), context_.commandColumn);
  check1_->setObjectName(QStringLiteral("Check1"));
  check1_->setGeometry(8, 400, 121, 17);
  controls.Add(check1_);
  combo2_ = new QComboBox(context_.commandColumn);
  combo2_->setObjectName(QStringLiteral("Combo2"));
  combo2_->setGeometry(8, 416, 65, 20);
  combo2_->setEnabled(false);
  controls.Add(combo2_);

  picture3_ = new kit::PictureBox(QStringLiteral("Picture3"), context_.form, true);
  picture3_->resize(kPanelWidth, kPanelHeight);
  picture3_->hide();
  controls.Add(picture3_);
  for (int clef = 0; clef < 2; ++clef) {
    auto* staff =
        new kit::ImageControl(kit::IndexedName(QStringLiteral("Image1"), clef), picture3_);
    const QString file = clef == 0 ? QStringLiteral("s/treble.bmp") : QStringLiteral("s/bass.bmp");
    staff->SetPicture(
        QPixmap::fromImage(page::ReadPictureFile(QDir(context_.dataDir).filePath(file))),
        QString());
    staff->setVisible(clef == 0);
    controls.Add(staff);
    image1_[clef] = staff;
  }
  for (int i = 0; i < 3; ++i) {
    auto* line =
        new kit::LineControl(kit::IndexedName(QStringLiteral("Line5"), i), picture3_, kZoneGrey);
    line->SetLine(kZoneLines[i], 0, kZoneLines[i], kZoneLineBottom);
    controls.Add(line);
    line5_[i] = line;
  }
  image3_ = new kit::ImageControl(QStringLiteral("Image3"), picture3_);
  image3_->setAttribute(Qt::WA_TransparentForMouseEvents);
  controls.Add(image3_);
  label10_ = new kit::LabelControl(QStringLiteral("Label10"), QString(), picture3_, false);
  label10_->setMouseTracking(true);
  controls.Add(label10_);
  auto* label11 = new kit::LabelControl(QStringLiteral("Label11"), QString(), picture3_);
  label11->move(200, 256);
  controls.Add(label11);
  label12_ = new kit::LabelControl(QStringLiteral("Label12"), QStringLiteral("无"), picture3_);
  label12_->move(272, 8);
  controls.Add(label12_);
  label13_ = new kit::LabelControl(QStringLiteral("Label13"), QStringLiteral("无"), picture3_);
  label13_->move(272, 24);
  controls.Add(label13_);
  label9_ = new kit::LabelControl(QStringLiteral("Label9"),
                                  QStringLiteral("4分音符|八分音符|16分音符|32分音符"), picture3_);
  label9_->move(80, 256);
  controls.Add(label9_);
  check7_ = new QCheckBox(QStringLiteral("划分时间"), picture3_);
  check7_->setObjectName(QStringLiteral("Check7"));
  check7_->setGeometry(0, 256, 80, 17);
  check7_->setChecked(true);
  controls.Add(check7_);
  command13_ = new QPushButton(QStringLiteral("X"), picture3_);
  command13_->setObjectName(QStringLiteral("Command13"));
  command13_->setGeometry(0, 0, 17, 17);
  controls.Add(command13_);

  connect(check1_, &QCheckBox::toggled, this, &StaffInput::OnCheck1);
  connect(command13_, &QPushButton::clicked, this, [this] {
    picture3_->hide();
    check1_->setChecked(false);
  });
  connect(combo2_, &QComboBox::currentIndexChanged, this, [this] { context_.focusPage(); });
  connect(check7_, &QCheckBox::toggled, this, &StaffInput::OnCheck7);
  connect(label12_->Mouse(), &kit::MouseEvents::Click, this,
          [this] { SetAccidental((Accidental() + 1) % kAccidentalCaptions.size()); });
  connect(label13_->Mouse(), &kit::MouseEvents::Click, this,
          [this] { label13_->SetCaption(label13_->Caption() == kNoDot ? kDot : kNoDot); });
  connect(label10_->Mouse(), &kit::MouseEvents::MouseMove, this,
          [this](int, int, double x, double y) { PointerMoved(x, y); });
  connect(label10_->Mouse(), &kit::MouseEvents::MouseDown, this,
          [this](int button, int shift, double, double) { MouseDown(button, shift); });
}

void StaffInput::Place(int screenHeight) {
  for (auto* staff : image1_) staff->move(0, 0);
  picture3_->move(80, screenHeight - kPanelHeight);
  label10_->setGeometry(0, 0, picture3_->width(), picture3_->height());
}

void StaffInput::FillKeys() {
  {
    const QSignalBlocker quiet(combo2_);
    combo2_->addItems(kStaffKeys);
    combo2_->setCurrentIndex(-1);
  }
  combo2_->setCurrentIndex(0);
}

int StaffInput::StaffKey() const {
  return std::max(combo2_->currentIndex(), 0);
}

bool StaffInput::Enabled() const {
  return check1_->isChecked();
}

void StaffInput::OnCheck1() {
  combo2_->setEnabled(check1_->isChecked());
  picture3_->setVisible(combo2_->isEnabled());
  context_.focusPage();
}

void StaffInput::OnCheck7() {
  const bool shown = check7_->isChecked();
  label9_->setVisible(shown);
  for (auto* line : line5_) line->setVisible(shown);
  context_.focusPage();
}

void StaffInput::PointerMoved(double x, double y) {
  auto& window = context_.window;
  const int step = page::RoundHalfEven((kMiddleCY - y) / kStepHeight + kMiddleCStep);
  window.StaffNoteCode = step - StaffKey() - (context_.bassClef() ? kBassClefShift : 0);
  const int zone = ZoneAt(x);

  image3_->move(page::RoundHalfEven(x - kNoteHalfWidth), image3_->y());
  const bool stemUp = step <= kHighestStemUpStep;
  const QString suffix = stemUp ? QStringLiteral("s") : QString();
  if (step != window.StaffStep) {
    window.StaffStep = step;
    image3_->move(image3_->x(), (stemUp ? kStemUpTop : kStemDownTop) - kStepHeight * step);
  }
  if (suffix != window.StaffStemSuffix || zone != window.StaffDurationZone) {
    window.StaffStemSuffix = suffix;
    window.StaffDurationZone = zone;
    ShowStaffNotePicture();
  }
}

void StaffInput::MouseDown(int button, int shift) {
  if (button == kRightButton) {
    if (check7_->isChecked())
      context_.placeGlyph(engine::kRestCode, context_.window.StaffDurationZone);
    else
      context_.pressKey(vk::kEsc);
  }
  if (shift & kShift) context_.pressKey(kSharpKey);
  if (shift & kCtrl) context_.pressKey(kFlatKey);
  if (button == kLeftButton) {
    if (const int accidental = Accidental()) context_.pressKey(kAccidentalKeys[accidental]);
    SetAccidental(0);
    context_.placeGlyph(context_.window.StaffNoteCode, NoteDurationRow());
  }
  if (button == kMiddleButton) context_.pressKey(kBarLineKey);
  if (label13_->Caption() == kDot && button == kLeftButton) {
    label13_->SetCaption(kNoDot);
    context_.pressKey(kDotKey);
  }
  if (shift & kAlt) context_.pressKey(kDotKey);
}

void StaffInput::ShowStaffNotePicture() {
  const QString file =
      QStringLiteral("wn/%1%2.gif").arg(context_.window.StaffStemSuffix).arg(NoteDurationRow());
  image3_->LoadPicture(QDir(context_.dataDir).filePath(file));
}

int StaffInput::NoteDurationRow() const {
  return check7_->isChecked() ? context_.window.StaffDurationZone : context_.currentDurationRow();
}

void StaffInput::SetAccidental(int number) {
  label12_->SetCaption(kAccidentalCaptions[number]);
}

int StaffInput::Accidental() const {
  return std::max(0, int(kAccidentalCaptions.indexOf(label12_->Caption())));
}

}  // namespace tarvesh::input
