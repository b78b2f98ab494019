#include "app/statedump.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QJsonArray>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>

#include "app/form1.h"
#include "kit/cursorview.h"
#include "kit/filelistcontrol.h"
#include "kit/imagecontrol.h"
#include "kit/labelcontrol.h"
#include "kit/linecontrol.h"
#include "kit/pagecanvas.h"
#include "kit/picturebox.h"
#include "kit/shapecontrol.h"
#include "score/scoredocument.h"

namespace tarvesh::app {

namespace {

using OverlayKind = score::ScoreDocument::OverlayKind;

template <typename T, size_t N>
QJsonArray ToArray(const std::array<T, N>& values) {
  QJsonArray array;
  for (const T& v : values) array.append(double(v));
  return array;
}

QJsonArray Items(const QStringList& items) {
  return QJsonArray::fromStringList(items);
}

QStringList ComboItems(const QComboBox* combo) {
  QStringList items;
  for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
  return items;
}

QStringList ListItems(const QListWidget* list) {
  QStringList items;
  for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
  return items;
}

QString Hex(const QColor& colour) {
  return colour.name(QColor::HexRgb);
}

QString KindName(reading::ItemKind kind) {
  switch (kind) {
    case reading::ItemKind::kNote:
      return QStringLiteral("note");
    case reading::ItemKind::kRest:
      return QStringLiteral("rest");
    case reading::ItemKind::kPercussion:
      return QStringLiteral("percussion");
    case reading::ItemKind::kDash:
      return QStringLiteral("dash");
    case reading::ItemKind::kDot:
      return QStringLiteral("dot");
    case reading::ItemKind::kBar:
      return QStringLiteral("bar");
    case reading::ItemKind::kParen:
      return QStringLiteral("paren");
    case reading::ItemKind::kChord:
      return QStringLiteral("chord");
    case reading::ItemKind::kUnknown:
      break;
  }
  return QStringLiteral("unknown");
}

QString BarName(reading::BarKind bar) {
  switch (bar) {
    case reading::BarKind::kDouble:
      return QStringLiteral("double");
    case reading::BarKind::kFinal:
      return QStringLiteral("final");
    case reading::BarKind::kRepeatStart:
      return QStringLiteral("repeat-start");
    case reading::BarKind::kRepeatEnd:
      return QStringLiteral("repeat-end");
    case reading::BarKind::kSingle:
    case reading::BarKind::kNone:
      break;
  }
  return QStringLiteral("single");
}

QString AccidentalSign(reading::Accidental accidental) {
  switch (accidental) {
    case reading::Accidental::kSharp:
      return QStringLiteral("#");
    case reading::Accidental::kFlat:
      return QStringLiteral("b");
    case reading::Accidental::kNatural:
      return QStringLiteral("n");
    case reading::Accidental::kNone:
      break;
  }
  return QString();
}

const QString kSyllables[] = {QStringLiteral("冬"), QStringLiteral("X"), QStringLiteral("仓"),
                              QStringLiteral("次"), QStringLiteral("板")};

QJsonObject DumpItem(const reading::ReadItem& item) {
  using reading::ItemKind;
  QJsonObject o{
      {"kind", KindName(item.kind)}, {"left", item.box.left()}, {"width", item.box.width()}};
  switch (item.kind) {
    case ItemKind::kNote:
      o["degree"] = item.degree;
      o["octave"] = item.octave;
      o["duration"] = item.duration;
      o["accidental"] = AccidentalSign(item.accidental);
      break;
    case ItemKind::kRest:
      o["duration"] = item.duration;
      break;
    case ItemKind::kPercussion:
      o["degree"] = kSyllables[item.degree];
      o["duration"] = item.duration;
      break;
    case ItemKind::kBar:
      o["bar"] = BarName(item.bar);
      break;
    case ItemKind::kParen:
    case ItemKind::kChord:
      o["text"] = item.text;
      break;
    case ItemKind::kUnknown:
      // An accidental no note follows keeps its sign.
      if (item.accidental != reading::Accidental::kNone)
        o["accidental"] = AccidentalSign(item.accidental);
      break;
    case ItemKind::kDash:
    case ItemKind::kDot:
      break;
  }
  // An item where one arc ends and the next begins is told as the end of the first.
  if (item.slurEnd) {
    o["slur"] = "end";
  } else if (item.slurStart) {
    o["slur"] = "start";
  }
  return o;
}

QJsonArray DumpReading(const std::vector<reading::ReadLine>& lines) {
  QJsonArray array;
  for (const reading::ReadLine& line : lines) {
    QJsonArray items;
    for (const reading::ReadItem& item : line.items) items.append(DumpItem(item));
    array.append(QJsonObject{{"top", line.top}, {"items", items}});
  }
  return array;
}

}  // namespace

QJsonObject DumpControl(QObject* control) {
  QJsonObject o;
  if (auto* widget = qobject_cast<QWidget*>(control)) {
    o["visible"] = !widget->isHidden();
    o["enabled"] = !widget->testAttribute(Qt::WA_ForceDisabled);
    const QRect box = widget->geometry();
    o["left"] = box.x();
    o["top"] = box.y();
    o["width"] = box.width();
    o["height"] = box.height();
  }
  const QVariant tag = control->property("tag");
  if (tag.isValid()) o["tag"] = tag.toString();

  if (qobject_cast<Form1*>(control)) {
    o["kind"] = "form";
    o["text"] = qobject_cast<QWidget*>(control)->windowTitle();
  } else if (auto* label = qobject_cast<kit::LabelControl*>(control)) {
    o["kind"] = "label";
    o["text"] = label->Caption();
    o["color"] = Hex(label->ForeColour());
  } else if (auto* image = qobject_cast<kit::ImageControl*>(control)) {
    o["kind"] = "image";
    o["file"] = image->File();
    o["border"] = image->Border() ? 1 : 0;
  } else if (auto* line = qobject_cast<kit::LineControl*>(control)) {
    o["kind"] = "line";
    o["x1"] = line->X1();
    o["y1"] = line->Y1();
    o["x2"] = line->X2();
    o["y2"] = line->Y2();
    o["color"] = Hex(line->Colour());
  } else if (auto* shape = qobject_cast<kit::ShapeControl*>(control)) {
    o["kind"] = "shape";
    o["color"] = Hex(shape->Colour());
    o["pressed"] = shape->Pressed() ? 1 : 0;
  } else if (auto* radio = qobject_cast<QRadioButton*>(control)) {
    o["kind"] = "option";
    o["text"] = radio->text();
    o["value"] = radio->isChecked() ? 1 : 0;
  } else if (auto* check = qobject_cast<QCheckBox*>(control)) {
    o["kind"] = "check";
    o["text"] = check->text();
    o["value"] = check->isChecked() ? 1 : 0;
  } else if (auto* button = qobject_cast<QPushButton*>(control)) {
    o["kind"] = "button";
    o["text"] = button->text();
  } else if (auto* scroll = qobject_cast<QScrollBar*>(control)) {
    o["kind"] = scroll->orientation() == Qt::Horizontal ? "hscroll" : "vscroll";
    o["value"] = scroll->value();
    o["min"] = scroll->minimum();
    o["max"] = scroll->maximum();
    o["smallchange"] = scroll->singleStep();
    o["largechange"] = scroll->pageStep();
  } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
    o["kind"] = "combo";
    o["text"] = combo->currentText();
    o["index"] = combo->currentIndex();
    o["items"] = Items(ComboItems(combo));
  } else if (auto* files = qobject_cast<kit::FileListControl*>(control)) {
    o["kind"] = "filelist";
    o["index"] = files->currentRow();
    o["items"] = Items(ListItems(files));
    o["path"] = files->Path();
    o["pattern"] = files->Pattern();
  } else if (auto* list = qobject_cast<QListWidget*>(control)) {
    o["kind"] = "list";
    o["index"] = list->currentRow();
    o["items"] = Items(ListItems(list));
  } else if (auto* frame = qobject_cast<QGroupBox*>(control)) {
    o["kind"] = "frame";
    o["text"] = frame->title();
  } else if (qobject_cast<kit::PageCanvas*>(control) || qobject_cast<kit::PictureBox*>(control)) {
    o["kind"] = "picture";
  } else if (auto* timer = qobject_cast<QTimer*>(control)) {
    o["kind"] = "timer";
    o["interval"] = timer->interval();
    o["running"] = timer->isActive();
  } else {
    o["kind"] = control->property("kind").toString();
    for (const QByteArray& name : control->dynamicPropertyNames())
      if (name != "kind" && name != "tag")
        o[QString::fromLatin1(name)] = QJsonValue::fromVariant(control->property(name));
  }
  return o;
}

QJsonObject DumpWindow(Form1& form) {
  QJsonObject dump;
  const page::ScorePage& page = form.Page();
  const kit::CursorView& cursor = form.Cursor();
  dump["cursor"] = QJsonObject{{"left", double(page.CursorLeft())},
                               {"top", double(page.CursorTop())},
                               {"visible", cursor.Visible()},
                               {"picture", cursor.PictureName()}};
  const QWidget* canvas = form.Canvas();
  dump["page"] = QJsonObject{{"width", page.Width()},
                             {"height", page.Height()},
                             {"left", canvas->x()},
                             {"top", canvas->y()}};

  const page::EngineState& s = form.State();
  const kit::WindowState& w = form.Window();
  dump["state"] = QJsonObject{
      {"NoteMode", s.NoteMode},
      {"InsertMode", s.InsertMode},
      {"HalfWidthMode", s.HalfWidthMode},
      {"LastGlyphWidth", s.LastGlyphWidth},
      {"PrevDurationRow", s.PrevDurationRow},
      {"BeamJoinWidth", s.BeamJoinWidth},
      {"LastDurationRow", s.LastDurationRow},
      {"BarUnits", int(s.BarUnits)},
      {"BarsInLine", s.BarsInLine},
      {"BeatsPerBar", s.BeatsPerBar},
      {"BeatUnit", s.BeatUnit},
      {"NoteSpacing", ToArray(s.NoteSpacing)},
      {"GlyphBand", s.GlyphBand},
      {"BandTop", ToArray(s.BandTop)},
      {"BandHeight", ToArray(s.BandHeight)},
      {"JustifyTop", s.JustifyTop},
      {"ChordAtCursor", s.ChordAtCursor},
      {"KeypadHeld", ToArray(s.KeypadHeld)},
      {"CurrentDurationRow", s.CurrentDurationRow},
      {"TextLabelCount", form.Document().OverlayCount(OverlayKind::kTextLabel)},
      {"SymbolPictureCount", form.Document().OverlayCount(OverlayKind::kSymbolPicture)},
      {"SelectedOverlay", w.SelectedOverlay},
      {"OverlayAnchorX", w.OverlayAnchorX},
      {"OverlayAnchorY", w.OverlayAnchorY},
      {"PageNumber", form.Document().PageNumber()},
      {"DocumentPath", form.Document().Path()},
      {"SelectionDragging", w.SelectionDragging},
      {"EraserPressed", w.EraserPressed},
      {"StaffStep", w.StaffStep},
      {"StaffNoteCode", w.StaffNoteCode},
      {"StaffDurationZone", w.StaffDurationZone},
      {"StaffStemSuffix", w.StaffStemSuffix},
      {"ExportStep", double(w.ExportStep)},
      {"BatchStamp", w.BatchStamp},
      {"PathBeforeBatch", w.PathBeforeBatch},
  };

  QJsonObject controls;
  for (QObject* control : form.Controls().All())
    controls[control->objectName()] = DumpControl(control);
  dump["controls"] = controls;
  dump["events"] = form.Events().Events();
  dump["reading"] = DumpReading(form.Reader().Read(page.Image()));
  return dump;
}

}  // namespace tarvesh::app
