#include "titleblock/titleblock.h"

#include <QComboBox>
#include <QPushButton>
#include <optional>

#include "kit/controlregistry.h"
#include "kit/dialogs.h"
#include "kit/labelcontrol.h"
#include "kit/linecontrol.h"
#include "kit/parking.h"
#include "kit/picturebox.h"
#include "page/enginestate.h"
#include "page/pagefont.h"
#include "page/rounding.h"
#include "page/scorepage.h"
#include "score/pagehead.h"
#include "score/scoredocument.h"
#include "titleblock/tempo.h"

namespace tarvesh::titleblock {

namespace {

using score::kHeadPoints;
using score::kTitlePoints;
using score::ScoreDocument;
constexpr double kPagePoints = 18;
const QString kPromptTitle = QStringLiteral("提示");

// Where each head label sits: its parent (0 page, 1 command column, 2 new-title panel), its box,
// its start text, and for labels with a picker the picker's left.
struct HeadLabel {
  int index;
  int parent;
  int left, top;
  const char* text;
  int pickerLeft;  // 0: no picker
};
constexpr HeadLabel kHeadLabels[] = {
    {9, 0, score::kKeyPrefixAt.x(), score::kKeyPrefixAt.y(), "1=", 0},
    {2, 0, score::kKeyAt.x(), score::kKeyAt.y(), "C", 48},
    {0, 0, score::kNumeratorAt.x(), score::kNumeratorAt.y(), "4", 64},
    {1, 0, score::kDenominatorAt.x(), score::kDenominatorAt.y(), "4", 64},
    {5, 0, 0, score::kCreditTop, "Morliva 制谱", 0},
    {7, 1, 44, 608, "4", 56},
    {6, 1, 44, 624, "4", 56},
    {14, 2, 17, 16, "新加标题:", 0},
    {11, 2, 200, 48, "1=", 0},
    {3, 2, 216, 48, "C", 232},
    {13, 2, 236, 40, "4", 248},
    {12, 2, 236, 56, "4", 248},
    {10, 2, 45, 72, "Morliva 制谱", 0},
};

// Where the new title block is printed, relative to the cursor's line: the title at its top plus
// this, the head line at its top plus the line spacing.
constexpr int kNewTitleDrop = 20;
constexpr int kKeyLeft = 16;
constexpr int kFractionLeft = 48;
constexpr int kFractionDrop = 1;
constexpr int kTimeSignatureLeft = 52;
constexpr int kTimeSignatureHalfHeight = 7;
constexpr int kTempoLeft = 96;
constexpr int kCreditInset = 40;

// An input box for a caption: nothing when cancelled, `emptyDefault` for an empty answer.
std::optional<QString> AskCaption(kit::Dialogs& dialogs, const QString& prompt,
                                  const QString& current, const QString& emptyDefault) {
  const auto answer = dialogs.InputBox(prompt, kPromptTitle, current);
  if (!answer) return std::nullopt;
  return answer->isEmpty() ? emptyDefault : *answer;
}

}  // namespace

TitleBlock::TitleBlock(const Context& context)
    : QObject(context.form),
      context_(context),
      picture8_(new kit::PictureBox(QStringLiteral("Picture8"), context.form)) {
  auto& controls = context_.controls;
  label1_ = new kit::LabelControl(QStringLiteral("Label1"), QStringLiteral("标题"), context_.canvas,
                                  false);
  label1_->setFont(page::PageFont(kTitlePoints, false));
  label1_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  label1_->SetTransparent(false);
  label1_->setGeometry(score::kTitleStartBox);
  controls.Add(label1_);

  picture8_->setGeometry(280, 112, 321, 161);
  picture8_->hide();
  controls.Add(picture8_);
  QWidget* parents[] = {context_.canvas, context_.commandColumn, picture8_};

  auto* label15 = new kit::LabelControl(QStringLiteral("Label15"), QStringLiteral("当前节奏型"),
                                        context_.commandColumn);
  label15->move(8, 584);
  controls.Add(label15);

  for (const HeadLabel& head : kHeadLabels) {
    QWidget* parent = parents[head.parent];
    auto* label = new kit::LabelControl(kit::IndexedName(QStringLiteral("Label2"), head.index),
                                        QString::fromUtf8(head.text), parent);
    label->setFont(page::PageFont(kHeadPoints, false));
    label->SetCaption(label->Caption());
    label->move(head.left, head.top);
    controls.Add(label);
    label2_[head.index] = label;
    if (head.pickerLeft) {
      auto* combo = new QComboBox(parent);
      combo->setObjectName(kit::IndexedName(QStringLiteral("Combo1"), head.index));
      combo->setGeometry(head.pickerLeft, kit::kParkedAbove, 48, 20);
      controls.Add(combo);
      combo1_[head.index] = combo;
    }
  }
  // The fraction lines of the three time signatures.
  const struct {
    int index, parent, x1, y, x2;
  } fractions[] = {
      {0, 0, score::kFractionLine.x1(), score::kFractionLine.y1(), score::kFractionLine.x2()},
      {1, 1, 40, 624, 56},
      {2, 2, 232, 56, 248}};
  for (const auto& f : fractions) {
    auto* line =
        new kit::LineControl(kit::IndexedName(QStringLiteral("Line1"), f.index), parents[f.parent]);
    line->SetLine(f.x1, f.y, f.x2, f.y);
    controls.Add(line);
  }

  label14_ = new kit::LabelControl(QStringLiteral("Label14"), QStringLiteral("标题"), picture8_);
  label14_->setFont(page::PageFont(kTitlePoints, false));
  label14_->SetCaption(label14_->Caption());
  label14_->move(24, 40);
  controls.Add(label14_);
  command11_ = new QPushButton(QStringLiteral("确定"), picture8_);
  command11_->setObjectName(QStringLiteral("Command11"));
  command11_->setGeometry(248, 120, 57, 25);
  controls.Add(command11_);
  command12_ = new QPushButton(QStringLiteral("取消"), picture8_);
  command12_->setObjectName(QStringLiteral("Command12"));
  command12_->setGeometry(160, 120, 57, 25);
  controls.Add(command12_);

  for (auto& [index, combo] : combo1_) {
    const int i = index;
    connect(combo, &QComboBox::currentIndexChanged, this, [this, i](int entry) {
      if (entry >= 0) OnPickerSelected(i);
    });
  }
  for (auto& [index, label] : label2_) {
    const int i = index;
    connect(label->Mouse(), &kit::MouseEvents::MouseDown, this,
            [this, i](int button) { OnHeadLabelMouseDown(i, button); });
  }
  connect(&context_.document, &ScoreDocument::PlacementChanged, this, [this] {
    const score::HeadPlacement& placed = context_.document.Placement();
    label1_->resize(placed.titleWidth, label1_->height());
    label2_[5]->move(placed.creditLeft, label2_[5]->y());
  });
  connect(label1_->Mouse(), &kit::MouseEvents::MouseDown, this,
          [this](int button, int, double x, double) { OnTitleMouseDown(button, x); });
  connect(label1_->Mouse(), &kit::MouseEvents::DblClick, this, &TitleBlock::AskTitle);
  connect(label14_->Mouse(), &kit::MouseEvents::Click, this, &TitleBlock::AskNewTitle);
  connect(command11_, &QPushButton::clicked, this, &TitleBlock::PrintNewTitle);
  connect(command12_, &QPushButton::clicked, this, [this] {
    picture8_->hide();
    context_.focusPage();
  });
}

void TitleBlock::SetTempo(Tempo* tempo) {
  tempo_ = tempo;
  connect(tempo_->PageTempo()->Mouse(), &kit::MouseEvents::MouseDown, this,
          [this](int button) { OnHeadLabelMouseDown(4, button); });
  connect(tempo_->NewTitleTempo()->Mouse(), &kit::MouseEvents::MouseDown, this,
          [this](int button) { OnHeadLabelMouseDown(8, button); });
}

void TitleBlock::FillPickers() {
  auto fill = [](QComboBox* combo, const QStringList& items) {
    const QSignalBlocker quiet(combo);
    combo->addItems(items);
    combo->setCurrentIndex(-1);
  };
  const auto& entries = ScoreDocument::kHeadPickEntries;
  for (int i : {0, 7, 13}) fill(combo1_[i], entries[ScoreDocument::kNumeratorPick]);
  for (int i : {0, 7, 13}) combo1_[i]->setCurrentIndex(2);
  for (int i : {12, 6, 1}) {
    fill(combo1_[i], entries[ScoreDocument::kDenominatorPick]);
    combo1_[i]->setCurrentIndex(0);
  }
  for (int i : {2, 3}) {
    fill(combo1_[i], entries[ScoreDocument::kKeyPick]);
    combo1_[i]->setCurrentIndex(0);
  }
}

void TitleBlock::HidePickers() {
  for (int i : {0, 1, 2, 6, 7, 3, 13, 12}) combo1_[i]->move(combo1_[i]->x(), kit::kParkedAbove);
  if (tempo_) tempo_->ParkPickers();
}

void TitleBlock::OnPickerSelected(int index) {
  QComboBox* combo = combo1_[index];
  const int entry = combo->currentIndex();
  if (index == 0) combo1_[7]->setCurrentIndex(entry);
  if (index == 1) combo1_[6]->setCurrentIndex(entry);
  if (index == 7) context_.document.State().BeatsPerBar = combo->currentText().toInt();
  if (index == 6) context_.document.State().BeatUnit = combo->currentText().toInt();
  label2_[index]->SetCaption(combo->currentText());
  HidePickers();
  context_.focusPage();
}

void TitleBlock::OnHeadLabelMouseDown(int index, int button) {
  HidePickers();
  switch (index) {
    case 4:
      tempo_->OpenPickers(button);
      return;
    case 5:
    case 10:
      AskCredit(index);
      return;
    default:
      if (combo1_.count(index)) {
        OpenPicker(index);
      } else {
        context_.focusPage();
      }
  }
}

void TitleBlock::OpenPicker(int index) {
  QComboBox* combo = combo1_[index];
  kit::LabelControl* label = label2_[index];
  combo->move(combo->x(), label->y());
  combo->raise();
  // Choosing the entry already chosen is no selection, so the picker stays open.
  const int entry = combo->findText(label->Caption(), Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (entry >= 0) {
    combo->setCurrentIndex(entry);
  } else {
    context_.focusPage();
  }
}

void TitleBlock::AskCredit(int index) {
  const auto credit = AskCaption(context_.dialogs, QStringLiteral("请输入备注"),
                                 label2_[index]->Caption(), QStringLiteral("编曲"));
  if (!credit) return;
  label2_[index]->SetCaption(*credit);
  context_.focusPage();
}

void TitleBlock::OnTitleMouseDown(int button, double x) {
  // The title starts at the page's left edge, so its x is the page's.
  if (button == 2 && line3_) line3_->SetX(page::RoundHalfEven(x));
}

void TitleBlock::AskTitle() {
  const auto title = AskCaption(context_.dialogs, QStringLiteral("请输入标题"), label1_->Caption(),
                                QStringLiteral("标题"));
  if (!title) return;
  label1_->SetCaption(*title);
  context_.focusPage();
}

void TitleBlock::AskNewTitle() {
  const auto title = AskCaption(context_.dialogs, QStringLiteral("请输入标题"), label14_->Caption(),
                                QStringLiteral("标题"));
  if (title) label14_->SetCaption(*title);
}

void TitleBlock::PrintNewTitle() {
  combo1_[7]->setCurrentIndex(combo1_[13]->currentIndex());
  combo1_[6]->setCurrentIndex(combo1_[12]->currentIndex());

  page::ScorePage& page = context_.document.Page();
  const double top = page.CursorTop();
  const double head = top + context_.document.Get(ScoreDocument::kLineSpacing);
  const int width = page.Width();
  auto print = [&page](double x, double y, const QString& text) {
    page.SetTextPosition(QPointF(x, y));
    page.DrawText(text);
  };

  page.SetFont(kTitlePoints, false);
  const QString title = label14_->Caption();
  print(page::RoundHalfEven((width - page.TextWidth(title)) / 2.0), top + kNewTitleDrop, title);
  page.SetFont(kHeadPoints, false);
  print(kKeyLeft, head, QStringLiteral("1=") + label2_[3]->Caption());
  print(kFractionLeft, head + kFractionDrop, QStringLiteral("─"));
  print(kTimeSignatureLeft, head - kTimeSignatureHalfHeight, label2_[13]->Caption());
  print(kTimeSignatureLeft, head + kTimeSignatureHalfHeight, label2_[12]->Caption());
  print(kTempoLeft, head, tempo_->NewTitleTempo()->Caption());
  const QString credit = label2_[10]->Caption();
  print(width - kCreditInset - page.TextWidth(credit), head, credit);

  SelectStaffKey(label2_[3]->Caption());
  page.SetFont(kPagePoints, true);
  picture8_->hide();
  context_.focusPage();
}

void TitleBlock::SelectStaffKey(const QString& key) {
  if (!combo2_) return;
  // The key letter is the last character: "E" of "bE".
  const QString letter = key.right(1);
  for (int entry = 0; entry < combo2_->count(); ++entry) {
    if (combo2_->itemText(entry).contains(letter, Qt::CaseSensitive)) {
      combo2_->setCurrentIndex(entry);
      return;
    }
  }
}

}  // namespace tarvesh::titleblock
