#include "settings/lyricsfont.h"

#include <QComboBox>
#include <QFontDatabase>

#include "kit/controlregistry.h"
#include "kit/labelcontrol.h"
#include "page/pagefont.h"
#include "score/scoredocument.h"

namespace tarvesh::settings {

namespace {

// Right of the note spacings in the options panel.
constexpr int kColumnLeft = 176;
constexpr int kListWidth = 121;
constexpr int kListHeight = 20;
const double kSizes[] = {9, 10.5, 12, 14, 16, 18, 20, 22, 24, 28, 32, 36};

QString SizeText(double points) {
  return QString::number(points, 'g', 4);
}

QComboBox* MakeList(const QString& name, QWidget* parent, int top, kit::ControlRegistry& controls) {
  auto* combo = new QComboBox(parent);
  combo->setObjectName(name);
  combo->setGeometry(kColumnLeft, top, kListWidth, kListHeight);
  combo->setFocusPolicy(Qt::NoFocus);
  controls.Add(combo);
  return combo;
}

}  // namespace

LyricsFont::LyricsFont(score::ScoreDocument& document, QWidget* optionsPanel,
                       kit::ControlRegistry& controls, std::function<void()> changed)
    : QObject(optionsPanel), document_(document), changed_(std::move(changed)) {
  auto* familyLabel =
      new kit::LabelControl(QStringLiteral("Label26"), QStringLiteral("歌词字体"), optionsPanel);
  familyLabel->move(kColumnLeft, 16);
  controls.Add(familyLabel);
  families_ = MakeList(QStringLiteral("Combo7"), optionsPanel, 34, controls);
  QStringList families{page::kPageFontFamily};
  for (const QString& family : QFontDatabase::families(QFontDatabase::SimplifiedChinese))
    if (!families.contains(family)) families.append(family);
  families_->addItems(families);

  auto* sizeLabel =
      new kit::LabelControl(QStringLiteral("Label27"), QStringLiteral("歌词字号"), optionsPanel);
  sizeLabel->move(kColumnLeft, 62);
  controls.Add(sizeLabel);
  sizes_ = MakeList(QStringLiteral("Combo8"), optionsPanel, 80, controls);
  for (const double points : kSizes) sizes_->addItem(SizeText(points));

  Show();
  connect(families_, &QComboBox::currentIndexChanged, this, &LyricsFont::Choose);
  connect(sizes_, &QComboBox::currentIndexChanged, this, &LyricsFont::Choose);
  connect(&document_, &score::ScoreDocument::LyricsChanged, this, &LyricsFont::Show);
}

void LyricsFont::Show() {
  const lyrics::LyricSheet& sheet = document_.Lyrics();
  showing_ = true;
  // A font a score brings from another machine is offered as it is.
  for (const auto& [combo, text] : {std::pair{families_, sheet.FontFamily()},
                                    std::pair{sizes_, SizeText(sheet.FontPoints())}}) {
    if (combo->findText(text) < 0) combo->addItem(text);
    combo->setCurrentIndex(combo->findText(text));
  }
  showing_ = false;
}

void LyricsFont::Choose() {
  if (showing_) return;
  lyrics::LyricSheet sheet = document_.Lyrics();
  if (!sheet.SetFont(families_->currentText(), sizes_->currentText().toDouble())) return;
  if (sheet == document_.Lyrics()) return;
  document_.SetLyrics(sheet);
  if (changed_) changed_();
}

}  // namespace tarvesh::settings
