#include "input/staffinput.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

#include "app/controlregistry.h"
#include "app/controls/imagecontrol.h"
#include "app/controls/labelcontrol.h"
#include "app/controls/linecontrol.h"
#include "app/controls/picturebox.h"
#include "app/windowstate.h"
#include "artwork.h"

namespace tarvesh::input {

namespace {
constexpr int kPanelWidth = 292;
constexpr int kPanelHeight = 277;
constexpr int kZoneLines[] = {128, 176, 224};
constexpr int kZoneLineBottom = 256;
const QColor kZoneGrey(192, 192, 192);
const QStringList kStaffKeys{"C or #C", "D or bD", "E or bE", "F or #F",
                             "G or bG", "A or bA", "B or bB"};
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

  picture3_ = new app::PictureBox(QStringLiteral("Picture3"), context_.form, true);
  picture3_->resize(kPanelWidth, kPanelHeight);
  picture3_->hide();
  controls.Add(picture3_);
  for (int clef = 0; clef < 2; ++clef) {
    auto* staff =
        new app::ImageControl(app::IndexedName(QStringLiteral("Image1"), clef), picture3_);
    staff->SetPicture(QPixmap::fromImage(artwork::DrawStaff(clef)), QString());
    staff->setVisible(clef == 0);
    controls.Add(staff);
    image1_[clef] = staff;
  }
  for (int i = 0; i < 3; ++i) {
    auto* line =
        new app::LineControl(app::IndexedName(QStringLiteral("Line5"), i), picture3_, kZoneGrey);
    line->SetLine(kZoneLines[i], 0, kZoneLines[i], kZoneLineBottom);
    controls.Add(line);
    line5_[i] = line;
  }
  image3_ = new app::ImageControl(QStringLiteral("Image3"), picture3_);
  image3_->setAttribute(Qt::WA_TransparentForMouseEvents);
  controls.Add(image3_);
  label10_ = new app::LabelControl(QStringLiteral("Label10"), QString(), picture3_, false);
  label10_->setMouseTracking(true);
  controls.Add(label10_);
  auto* label11 = new app::LabelControl(QStringLiteral("Label11"), QString(), picture3_);
  label11->move(200, 256);
  controls.Add(label11);
  label12_ = new app::LabelControl(QStringLiteral("Label12"), QStringLiteral("无"), picture3_);
  label12_->move(272, 8);
  label12_->setProperty("number", 0);
  controls.Add(label12_);
  label13_ = new app::LabelControl(QStringLiteral("Label13"), QStringLiteral("无"), picture3_);
  label13_->move(272, 24);
  controls.Add(label13_);
  label9_ = new app::LabelControl(QStringLiteral("Label9"),
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

}  // namespace tarvesh::input
