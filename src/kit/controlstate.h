#pragma once

#include <QColor>
#include <QImage>
#include <QLine>
#include <QPixmap>
#include <QRect>
#include <QString>
#include <QStringList>
#include <optional>

class QObject;

namespace tarvesh::kit {

// What a person can see of one control: its box and the values its kind shows. The script dump
// writes it, and an edit taken back puts it back; both read it here.
struct ControlState {
  enum class Kind {
    kWindow,
    kLabel,
    kImage,
    kLine,
    kShape,
    kOption,
    kCheck,
    kButton,
    kHScroll,
    kVScroll,
    kCombo,
    kFileList,
    kList,
    kFrame,
    kPicture,
    kTimer,
    kOther
  };

  Kind kind = Kind::kOther;
  // Widgets only.
  bool widget = false;
  QRect box;
  bool visible = false;
  bool enabled = false;
  // Whether the box was ever set and the widget ever shown or hidden itself: Qt fits a widget
  // never sized to its contents when it is first shown by its own or its parent's showing. Put
  // back with the rest, but no difference by themselves.
  bool sized = false;
  bool shownOrHidden = false;
  QString tag;
  bool hasTag = false;
  // Captions, texts, a combo's current text, a frame's or a window's title.
  QString text;
  QColor colour;
  // Sliders; check boxes and option buttons 0 or 1; a shape's pressed state.
  int value = 0;
  int min = 0;
  int max = 0;
  int smallChange = 0;
  int largeChange = 0;
  // Lists and combos: the selected entry (-1 for none) and the entries.
  int index = -1;
  QStringList items;
  // Image controls: the file shown and its picture; file lists: the folder shown. The pictures
  // are held only by the kinds that show one: a window's worth of states is taken at every step.
  QString file;
  std::optional<QPixmap> picture;
  bool border = false;
  QString pattern;
  QLine line;
  // Picture boxes: what they hold (the copy buffer among them), though no one sees it.
  std::optional<QImage> bitmap;
  // Timers.
  int interval = 0;
  bool running = false;

  // Equal when a person would see no difference.
  bool operator==(const ControlState& other) const;

  static Kind KindOf(const QObject* control);
  static ControlState Of(const QObject* control);
  // Quicker for a control whose kind is known.
  static ControlState Of(const QObject* control, Kind kind);
  // Shows `state` on `control`, a control of the same kind, without telling anyone: what
  // follows from a change was restored with the state that caused it.
  static void Put(QObject* control, const ControlState& state);
};

}  // namespace tarvesh::kit
