#pragma once

#include <QHash>
#include <QImage>
#include <QString>
#include <optional>

class QPainter;

#include "score/scoredocument.h"

namespace tarvesh::score {

// The page as a person sees it, from the document alone: the page's pixels with the words under
// the notes, the head of the page, the page number, the text labels and the symbol pictures
// drawn over them, each where and as the window shows it. Print, the PDF and every export
// compose their pages here.
class PageComposer {
 public:
  struct Options {
    // A window shows the title on white; a batch export lets the page show through it.
    bool opaqueTitle = true;
    // The overlay the user selected: a text label shows red, a symbol picture framed.
    std::optional<std::pair<ScoreDocument::OverlayKind, int>> selected;
  };

  QImage Compose(const ScoreDocument& document, const Options& options);
  // Draws what lies over the page (the words under the notes, the head, the page number, the
  // text labels and the symbol pictures) with `painter` set to page pixels: on a PDF the texts
  // stay text.
  void DrawOver(QPainter& painter, const ScoreDocument& document, const Options& options);

 private:
  // A symbol picture's file, read once.
  const QImage& Picture(const QString& path);

  QHash<QString, QImage> pictures_;
};

}  // namespace tarvesh::score
