#include "app/statedump.h"

#include <QJsonArray>
#include <algorithm>

#include "app/editseam.h"
#include "app/form1.h"
#include "input/lyricsinput.h"
#include "kit/controlstate.h"
#include "kit/cursorview.h"
#include "kit/pagecanvas.h"
#include "kit/pageviewport.h"
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

// The index in `lines` of the line at `top`; -1 when the reading has no such line.
int ReadingIndex(const std::vector<reading::ReadLine>& lines, int top) {
  const auto line = std::find_if(lines.begin(), lines.end(),
                                 [top](const reading::ReadLine& l) { return l.top == top; });
  return line == lines.end() ? -1 : int(line - lines.begin());
}

// Each syllable by the line of the reading, the item it stands under and its verse.
QJsonArray DumpSyllables(const std::vector<reading::ReadLine>& lines,
                         const lyrics::LyricSheet& sheet) {
  QJsonArray dumped;
  for (const lyrics::LyricLine& words : sheet.Lines()) {
    const int index = ReadingIndex(lines, words.top);
    if (index < 0) continue;
    for (int row = 0; row < lyrics::kVerseRows; ++row)
      for (const lyrics::Syllable& syllable : words.rows[size_t(row)].syllables)
        dumped.append(QJsonObject{
            {"line", index}, {"note", syllable.item}, {"verse", row + 1}, {"text", syllable.text}});
  }
  return dumped;
}

// Each verse number by the line of the reading and its verse.
QJsonArray DumpVerseNumbers(const std::vector<reading::ReadLine>& lines,
                            const lyrics::LyricSheet& sheet) {
  QJsonArray dumped;
  for (const lyrics::LyricLine& words : sheet.Lines()) {
    const int index = ReadingIndex(lines, words.top);
    for (int row = 0; row < lyrics::kVerseRows && index >= 0; ++row)
      if (const QString& number = words.rows[size_t(row)].number; !number.isEmpty())
        dumped.append(QJsonObject{{"line", index}, {"verse", row + 1}, {"text", number}});
  }
  return dumped;
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
  using Kind = kit::ControlState::Kind;
  const kit::ControlState s = kit::ControlState::Of(control);
  QJsonObject o;
  if (s.widget) {
    o["visible"] = s.visible;
    o["enabled"] = s.enabled;
    o["left"] = s.box.x();
    o["top"] = s.box.y();
    o["width"] = s.box.width();
    o["height"] = s.box.height();
  }
  if (s.hasTag) o["tag"] = s.tag;
  switch (s.kind) {
    case Kind::kWindow:
      o["kind"] = "form";
      o["text"] = s.text;
      break;
    case Kind::kLabel:
      o["kind"] = "label";
      o["text"] = s.text;
      o["color"] = Hex(s.colour);
      break;
    case Kind::kImage:
      o["kind"] = "image";
      o["file"] = s.file;
      o["border"] = s.border ? 1 : 0;
      break;
    case Kind::kLine:
      o["kind"] = "line";
      o["x1"] = s.line.x1();
      o["y1"] = s.line.y1();
      o["x2"] = s.line.x2();
      o["y2"] = s.line.y2();
      o["color"] = Hex(s.colour);
      break;
    case Kind::kShape:
      o["kind"] = "shape";
      o["color"] = Hex(s.colour);
      o["pressed"] = s.value;
      break;
    case Kind::kOption:
    case Kind::kCheck:
      o["kind"] = s.kind == Kind::kOption ? "option" : "check";
      o["text"] = s.text;
      o["value"] = s.value;
      break;
    case Kind::kButton:
      o["kind"] = "button";
      o["text"] = s.text;
      break;
    case Kind::kHScroll:
    case Kind::kVScroll:
      o["kind"] = s.kind == Kind::kHScroll ? "hscroll" : "vscroll";
      o["value"] = s.value;
      o["min"] = s.min;
      o["max"] = s.max;
      o["smallchange"] = s.smallChange;
      o["largechange"] = s.largeChange;
      break;
    case Kind::kCombo:
      o["kind"] = "combo";
      o["text"] = s.text;
      o["index"] = s.index;
      o["items"] = QJsonArray::fromStringList(s.items);
      break;
    case Kind::kFileList:
      o["kind"] = "filelist";
      o["index"] = s.index;
      o["items"] = QJsonArray::fromStringList(s.items);
      o["path"] = s.file;
      o["pattern"] = s.pattern;
      break;
    case Kind::kList:
      o["kind"] = "list";
      o["index"] = s.index;
      o["items"] = QJsonArray::fromStringList(s.items);
      break;
    case Kind::kFrame:
      o["kind"] = "frame";
      o["text"] = s.text;
      break;
    case Kind::kPicture:
      o["kind"] = "picture";
      break;
    case Kind::kTimer:
      o["kind"] = "timer";
      o["interval"] = s.interval;
      o["running"] = s.running;
      break;
    case Kind::kOther:
      o["kind"] = control->property("kind").toString();
      for (const QByteArray& name : control->dynamicPropertyNames())
        if (name != "kind" && name != "tag")
          o[QString::fromLatin1(name)] = QJsonValue::fromVariant(control->property(name));
      break;
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
      {"Modified", form.Seam().IsModified()},
      {"Zoom", form.View()->Zoom()},
      {"LyricsMode", form.Lyrics().IsOn() ? 1 : 0},
      {"LyricsVerse", w.LyricsVerse},
      {"LyricsTop", w.LyricsTop},
      {"LyricsNote", w.LyricsNote},
      {"LyricsWordOpen", w.LyricsWordOpen},
  };

  QJsonObject controls;
  for (QObject* control : form.Controls().All())
    controls[control->objectName()] = DumpControl(control);
  dump["controls"] = controls;
  dump["events"] = form.Events().Events();
  const std::vector<reading::ReadLine> lines = form.Reading();
  dump["reading"] = DumpReading(lines);
  form.Lyrics().Follow();
  dump["lyrics"] = DumpSyllables(lines, form.Document().Lyrics());
  dump["verseNumbers"] = DumpVerseNumbers(lines, form.Document().Lyrics());
  return dump;
}

}  // namespace tarvesh::app
