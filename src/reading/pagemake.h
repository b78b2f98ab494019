#pragma once

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QString>
#include <vector>

#include "page/pageoperation.h"
#include "page/slurarc.h"

namespace tarvesh::reading {

// What a page is made of, as far as its reading tells: the atlas cells its glyphs were copied
// from, the duration lines carried on between them, the arcs of its slurs and the texts of its
// chord symbols. A page drawn again from these at another size shows the same glyphs and arcs;
// ink none of them covers was drawn by something the reading cannot name.
struct PageMake {
  // An atlas cell copied to the page with its top-left corner at `at`; only its ink counts.
  struct Stamp {
    page::PictureSource atlas = page::PictureSource::NoteAtlas;
    QRect cell;
    QPoint at;
  };
  // A text drawn from the text position `position` in the page font.
  struct Text {
    QString text;
    double pointSize = 0;
    bool bold = false;
    QPointF position;
  };

  std::vector<Stamp> stamps;
  // Duration lines, one row high, that run on from a glyph's through spacing, dots and signs.
  std::vector<QRect> lines;
  // Arcs whose ink is exactly the arc picture stretched over their rectangles.
  std::vector<page::SlurArc> arcs;
  std::vector<Text> texts;
};

}  // namespace tarvesh::reading
