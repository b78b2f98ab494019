#include "kit/controlstate.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>

#include "kit/filelistcontrol.h"
#include "kit/imagecontrol.h"
#include "kit/labelcontrol.h"
#include "kit/linecontrol.h"
#include "kit/pagecanvas.h"
#include "kit/picturebox.h"
#include "kit/shapecontrol.h"

namespace tarvesh::kit {

namespace {

using Kind = ControlState::Kind;

QStringList ComboItems(const QComboBox* combo) {
  QStringList items;
  items.reserve(combo->count());
  for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
  return items;
}

QStringList ListItems(const QListWidget* list) {
  QStringList items;
  items.reserve(list->count());
  for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
  return items;
}

void PutListItems(QListWidget* list, const QStringList& items) {
  if (ListItems(list) == items) return;
  list->clear();
  list->addItems(items);
}

}  // namespace

bool ControlState::operator==(const ControlState& o) const {
  return kind == o.kind && widget == o.widget && box == o.box && visible == o.visible &&
         enabled == o.enabled && tag == o.tag && hasTag == o.hasTag && text == o.text &&
         colour == o.colour && value == o.value && min == o.min && max == o.max &&
         smallChange == o.smallChange && largeChange == o.largeChange && index == o.index &&
         items == o.items && file == o.file &&
         // A picture loaded again from its file is the same picture.
         (picture.cacheKey() == o.picture.cacheKey() || !file.isEmpty()) && border == o.border &&
         pattern == o.pattern && line == o.line &&
         (bitmap.cacheKey() == o.bitmap.cacheKey() || bitmap == o.bitmap) &&
         interval == o.interval && running == o.running;
}

ControlState ControlState::Of(const QObject* control) {
  ControlState s;
  if (const auto* widget = qobject_cast<const QWidget*>(control)) {
    s.widget = true;
    s.visible = !widget->isHidden();
    s.enabled = !widget->testAttribute(Qt::WA_ForceDisabled);
    s.box = widget->geometry();
    s.sized = widget->testAttribute(Qt::WA_Resized);
    s.shownOrHidden = widget->testAttribute(Qt::WA_WState_ExplicitShowHide);
  }
  const QVariant tag = control->property("tag");
  s.hasTag = tag.isValid();
  if (s.hasTag) s.tag = tag.toString();

  if (const auto* label = qobject_cast<const LabelControl*>(control)) {
    s.kind = Kind::kLabel;
    s.text = label->Caption();
    s.colour = label->ForeColour();
  } else if (const auto* image = qobject_cast<const ImageControl*>(control)) {
    s.kind = Kind::kImage;
    s.file = image->File();
    s.picture = image->Picture();
    s.border = image->Border();
  } else if (const auto* line = qobject_cast<const LineControl*>(control)) {
    s.kind = Kind::kLine;
    s.line = QLine(line->X1(), line->Y1(), line->X2(), line->Y2());
    s.colour = line->Colour();
  } else if (const auto* shape = qobject_cast<const ShapeControl*>(control)) {
    s.kind = Kind::kShape;
    s.colour = shape->Colour();
    s.value = shape->Pressed() ? 1 : 0;
  } else if (const auto* radio = qobject_cast<const QRadioButton*>(control)) {
    s.kind = Kind::kOption;
    s.text = radio->text();
    s.value = radio->isChecked() ? 1 : 0;
  } else if (const auto* check = qobject_cast<const QCheckBox*>(control)) {
    s.kind = Kind::kCheck;
    s.text = check->text();
    s.value = check->isChecked() ? 1 : 0;
  } else if (const auto* button = qobject_cast<const QPushButton*>(control)) {
    s.kind = Kind::kButton;
    s.text = button->text();
  } else if (const auto* scroll = qobject_cast<const QScrollBar*>(control)) {
    s.kind = scroll->orientation() == Qt::Horizontal ? Kind::kHScroll : Kind::kVScroll;
    s.value = scroll->value();
    s.min = scroll->minimum();
    s.max = scroll->maximum();
    s.smallChange = scroll->singleStep();
    s.largeChange = scroll->pageStep();
  } else if (const auto* combo = qobject_cast<const QComboBox*>(control)) {
    s.kind = Kind::kCombo;
    s.text = combo->currentText();
    s.index = combo->currentIndex();
    s.items = ComboItems(combo);
  } else if (const auto* files = qobject_cast<const FileListControl*>(control)) {
    s.kind = Kind::kFileList;
    s.index = files->currentRow();
    s.items = ListItems(files);
    s.file = files->Path();
    s.pattern = files->Pattern();
  } else if (const auto* list = qobject_cast<const QListWidget*>(control)) {
    s.kind = Kind::kList;
    s.index = list->currentRow();
    s.items = ListItems(list);
  } else if (const auto* frame = qobject_cast<const QGroupBox*>(control)) {
    s.kind = Kind::kFrame;
    s.text = frame->title();
  } else if (qobject_cast<const PageCanvas*>(control)) {
    s.kind = Kind::kPicture;
  } else if (const auto* picture = qobject_cast<const PictureBox*>(control)) {
    s.kind = Kind::kPicture;
    s.bitmap = picture->Bitmap();
  } else if (const auto* timer = qobject_cast<const QTimer*>(control)) {
    s.kind = Kind::kTimer;
    s.interval = timer->interval();
    s.running = timer->isActive();
  } else if (const auto* widget = qobject_cast<const QWidget*>(control);
             widget && widget->isWindow()) {
    s.kind = Kind::kWindow;
    s.text = widget->windowTitle();
  }
  return s;
}

void ControlState::Put(QObject* control, const ControlState& s) {
  const QSignalBlocker quiet(control);
  switch (s.kind) {
    case Kind::kLabel: {
      auto* label = static_cast<LabelControl*>(control);
      label->SetCaption(s.text);
      label->SetForeColour(s.colour);
      break;
    }
    case Kind::kImage: {
      auto* image = static_cast<ImageControl*>(control);
      image->SetPicture(s.picture, s.file);
      image->SetBorder(s.border);
      break;
    }
    case Kind::kLine:
      static_cast<LineControl*>(control)->SetLine(s.line.x1(), s.line.y1(), s.line.x2(),
                                                  s.line.y2());
      break;
    case Kind::kShape:
      static_cast<ShapeControl*>(control)->SetPressed(s.value != 0);
      break;
    case Kind::kOption:
    case Kind::kCheck:
    case Kind::kButton: {
      auto* button = static_cast<QAbstractButton*>(control);
      button->setText(s.text);
      // An option button is cleared by checking another of its group, never by itself.
      if (s.value != 0 || s.kind == Kind::kCheck) button->setChecked(s.value != 0);
      break;
    }
    case Kind::kHScroll:
    case Kind::kVScroll: {
      auto* scroll = static_cast<QScrollBar*>(control);
      scroll->setRange(s.min, s.max);
      scroll->setValue(s.value);
      scroll->setSingleStep(s.smallChange);
      scroll->setPageStep(s.largeChange);
      break;
    }
    case Kind::kCombo: {
      auto* combo = static_cast<QComboBox*>(control);
      if (ComboItems(combo) != s.items) {
        combo->clear();
        combo->addItems(s.items);
      }
      combo->setCurrentIndex(s.index);
      break;
    }
    case Kind::kFileList: {
      auto* files = static_cast<FileListControl*>(control);
      if (files->Path() != s.file) files->SetPath(s.file);
      PutListItems(files, s.items);
      files->setCurrentRow(s.index);
      break;
    }
    case Kind::kList: {
      auto* list = static_cast<QListWidget*>(control);
      PutListItems(list, s.items);
      list->setCurrentRow(s.index);
      break;
    }
    case Kind::kFrame:
      static_cast<QGroupBox*>(control)->setTitle(s.text);
      break;
    case Kind::kTimer: {
      auto* timer = static_cast<QTimer*>(control);
      timer->setInterval(s.interval);
      if (s.running != timer->isActive()) s.running ? timer->start() : timer->stop();
      break;
    }
    case Kind::kPicture:
      if (auto* picture = qobject_cast<PictureBox*>(control)) {
        picture->Bitmap() = s.bitmap;
        picture->update();
      }
      break;
    case Kind::kWindow:
    case Kind::kOther:
      break;
  }
  // A control that had no tag loses the one it got.
  control->setProperty("tag", s.hasTag ? QVariant(s.tag) : QVariant());
  // The window keeps its own place and size.
  if (s.widget && s.kind != Kind::kWindow) {
    auto* widget = static_cast<QWidget*>(control);
    // The box after the contents, as a label sized by its caption takes the size it had, and
    // after showing, which fits a widget never sized.
    if (widget->isHidden() == s.visible) widget->setVisible(s.visible);
    widget->setEnabled(s.enabled);
    widget->setGeometry(s.box);
    widget->setAttribute(Qt::WA_Resized, s.sized);
    widget->setAttribute(Qt::WA_WState_ExplicitShowHide, s.shownOrHidden);
  }
}

}  // namespace tarvesh::kit
