#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <QString>

namespace tarvesh::page {

// Which of the program's pictures a copy reads, named by the caller: a page at another
// resolution reads the same cell from its own version of that picture.
enum class PictureSource {
  Unnamed,       // a picture only the caller knows
  NoteAtlas,     // GlyphAtlas::Picmode
  SignAtlas,     // GlyphAtlas::Picmode2
  SlurArc,       // the arc a slur mark is stretched from
  Clipboard,     // a region of the page taken by the selection tool
  EraserSquare,  // the eraser's white square
  PageSnapshot,  // pixels read from this page a moment before
};

// One write to the page as its caller asked for it, before clipping, so another page can repeat
// it. The fields a kind does not use keep their empty values.
struct PageOperation {
  enum class Kind {
    CopyPicture,     // source, picture, sourceRect -> target, pixel for pixel
    StretchPicture,  // source, picture, sourceRect -> target, nearest neighbour
    MoveRegion,      // the page's sourceRect -> target, the source read completely first
    Fill,            // target in colour (the engine's clear block is a white fill)
    Text,            // text in the font pointSize / bold, colour, from position; target: what
                     // the page reported changed
    Load,            // picture drawn from the top-left corner on white; target: the page
    Clear,           // target: the page, all white
    Resize,          // target: the new page rectangle
    Revert,          // an edit taken back; target: the edit's bounds
    Reapply,         // an edit put back; target: the edit's bounds
  };

  Kind kind = Kind::Fill;
  PictureSource source = PictureSource::Unnamed;
  // The picture read; valid only during the call.
  const QImage* picture = nullptr;
  QRect sourceRect{};
  QRect target{};
  QColor colour{};
  QString text{};
  double pointSize = 0;
  bool bold = false;
  QPointF position{};
};

}  // namespace tarvesh::page
