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
#include "kit/linemark.h"
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

// Whether two held pictures are the same one; none held is the same as none.
template <typename Picture>
bool SameKey(const std::optional<Picture>& a, const std::optional<Picture>& b) {
  if (!a || !b) return a.has_value() == b.has_value();
  return a->cacheKey() == b->cacheKey();
}

}  // namespace

bool ControlState::operator==(const ControlState& o) const {
  return kind == o.kind && widget == o.widget && box == o.box && visible == o.visible &&
         enabled == o.enabled && tag == o.tag && hasTag == o.hasTag && text == o.text &&
         colour == o.colour && value == o.value && min == o.min && max == o.max &&
         smallChange == o.smallChange && largeChange == o.largeChange && index == o.index &&
         items == o.items && file == o.file &&
         // A picture loaded again from its file is the same picture.
         (SameKey(picture, o.picture) || !file.isEmpty()) && border == o.border &&
         pattern == o.pattern && line == o.line &&
         (SameKey(bitmap, o.bitmap) || (bitmap && o.bitmap && *bitmap == *o.bitmap)) &&
         interval == o.interval && running == o.running;
}

ControlState::Kind ControlState::KindOf(const QObject* control) {
  if (qobject_cast<const LabelControl*>(control)) return Kind::kLabel;
  if (qobject_cast<const ImageControl*>(control)) return Kind::kImage;
  if (qobject_cast<const LineControl*>(control) || qobject_cast<const LineMark*>(control))
    return Kind::kLine;
  if (qobject_cast<const ShapeControl*>(control)) return Kind::kShape;
  if (qobject_cast<const QRadioButton*>(control)) return Kind::kOption;
  if (qobject_cast<const QCheckBox*>(control)) return Kind::kCheck;
  if (qobject_cast<const QPushButton*>(control)) return Kind::kButton;
  if (const auto* scroll = qobject_cast<const QScrollBar*>(control))
    return scroll->orientation() == Qt::Horizontal ? Kind::kHScroll : Kind::kVScroll;
  if (qobject_cast<const QComboBox*>(control)) return Kind::kCombo;
  if (qobject_cast<const FileListControl*>(control)) return Kind::kFileList;
  if (qobject_cast<const QListWidget*>(control)) return Kind::kList;
  if (qobject_cast<const QGroupBox*>(control)) return Kind::kFrame;
  if (qobject_cast<const PageCanvas*>(control) || qobject_cast<const PictureBox*>(control))
    return Kind::kPicture;
  if (qobject_cast<const QTimer*>(control)) return Kind::kTimer;
  if (const auto* widget = qobject_cast<const QWidget*>(control); widget && widget->isWindow())
    return Kind::kWindow;
  return Kind::kOther;
}

ControlState ControlState::Of(const QObject* control) {
  return Of(control, KindOf(control));
}

ControlState ControlState::Of(const QObject* control, Kind kind) {
  ControlState s;
  s.kind = kind;
  if (control->isWidgetType()) {
    const auto* widget = static_cast<const QWidget*>(control);
    s.widget = true;
    s.visible = !widget->isHidden();
    s.enabled = !widget->testAttribute(Qt::WA_ForceDisabled);
    s.box = widget->geometry();
    s.sized = widget->testAttribute(Qt::WA_Resized);
    s.shownOrHidden = widget->testAttribute(Qt::WA_WState_ExplicitShowHide);
  } else if (kind == Kind::kLine) {
    // A line mark shows as a line control would.
    const auto* mark = static_cast<const LineMark*>(control);
    s.widget = true;
    s.visible = mark->IsShown();
    s.enabled = true;
    s.box = mark->Box();
  }
  // Tags are dynamic properties: most controls have none, and asking for one by name is slow.
  if (!control->dynamicPropertyNames().isEmpty()) {
    const QVariant tag = control->property("tag");
    s.hasTag = tag.isValid();
    if (s.hasTag) s.tag = tag.toString();
  }

  switch (kind) {
    case Kind::kLabel: {
      const auto* label = static_cast<const LabelControl*>(control);
      s.text = label->Caption();
      s.colour = label->ForeColour();
      break;
    }
    case Kind::kImage: {
      const auto* image = static_cast<const ImageControl*>(control);
      s.file = image->File();
      s.picture = image->Picture();
      s.border = image->Border();
      break;
    }
    case Kind::kLine:
      if (const auto* mark = qobject_cast<const LineMark*>(control)) {
        s.line = mark->Line();
        s.colour = mark->Colour();
      } else {
        const auto* line = static_cast<const LineControl*>(control);
        s.line = QLine(line->X1(), line->Y1(), line->X2(), line->Y2());
        s.colour = line->Colour();
      }
      break;
    case Kind::kShape: {
      const auto* shape = static_cast<const ShapeControl*>(control);
      s.colour = shape->Colour();
      s.value = shape->Pressed() ? 1 : 0;
      break;
    }
    case Kind::kOption:
    case Kind::kCheck:
    case Kind::kButton: {
      const auto* button = static_cast<const QAbstractButton*>(control);
      s.text = button->text();
      s.value = button->isChecked() ? 1 : 0;
      break;
    }
    case Kind::kHScroll:
    case Kind::kVScroll: {
      const auto* scroll = static_cast<const QScrollBar*>(control);
      s.value = scroll->value();
      s.min = scroll->minimum();
      s.max = scroll->maximum();
      s.smallChange = scroll->singleStep();
      s.largeChange = scroll->pageStep();
      break;
    }
    case Kind::kCombo: {
      const auto* combo = static_cast<const QComboBox*>(control);
      s.text = combo->currentText();
      s.index = combo->currentIndex();
      s.items = ComboItems(combo);
      break;
    }
    case Kind::kFileList: {
      const auto* files = static_cast<const FileListControl*>(control);
      s.index = files->currentRow();
      s.items = ListItems(files);
      s.file = files->Path();
      s.pattern = files->Pattern();
      break;
    }
    case Kind::kList: {
      const auto* list = static_cast<const QListWidget*>(control);
      s.index = list->currentRow();
      s.items = ListItems(list);
      break;
    }
    case Kind::kFrame:
      s.text = static_cast<const QGroupBox*>(control)->title();
      break;
    case Kind::kPicture:
      if (const auto* picture = qobject_cast<const PictureBox*>(control))
        s.bitmap = picture->Bitmap();
      break;
    case Kind::kTimer: {
      const auto* timer = static_cast<const QTimer*>(control);
      s.interval = timer->interval();
      s.running = timer->isActive();
      break;
    }
    case Kind::kWindow:
      s.text = static_cast<const QWidget*>(control)->windowTitle();
      break;
    case Kind::kOther:
      break;
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
      image->SetPicture(s.picture.value_or(QPixmap()), s.file);
      image->SetBorder(s.border);
      break;
    }
    case Kind::kLine:
      if (auto* mark = qobject_cast<LineMark*>(control)) {
        mark->SetLine(s.line);
        break;
      }
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
      // An option button is cleared by checking another of its group, never by itself; a button
      // that is no switch ignores being cleared.
      if (s.value != 0 || s.kind != Kind::kOption) button->setChecked(s.value != 0);
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
        picture->Bitmap() = s.bitmap.value_or(QImage());
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
  if (!s.widget || s.kind == Kind::kWindow) return;
  if (auto* mark = qobject_cast<LineMark*>(control)) {
    mark->SetShown(s.visible);
    return;
  }
  auto* widget = static_cast<QWidget*>(control);
  // The box after the contents, as a label sized by its caption takes the size it had, and
  // after showing, which fits a widget never sized.
  if (widget->isHidden() == s.visible) widget->setVisible(s.visible);
  widget->setEnabled(s.enabled);
  widget->setGeometry(s.box);
  widget->setAttribute(Qt::WA_Resized, s.sized);
  widget->setAttribute(Qt::WA_WState_ExplicitShowHide, s.shownOrHidden);
}

}  // namespace tarvesh::kit
