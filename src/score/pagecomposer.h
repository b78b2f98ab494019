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
    // For print: the folder of the symbol pictures drawn at print::kPrintScale times their size
    // (print::PrintArt::kSymbolFolder of the data folder). A picture whose namesake there is
    // exactly that much larger is drawn from it, in the same place and size. Empty: every
    // picture as the window shows it.
    QString printSymbols;
  };

  QImage Compose(const ScoreDocument& document, const Options& options);
  // Draws what lies over the page (the words under the notes, the head, the page number, the
  // text labels and the symbol pictures) with `painter` set to page pixels: on a PDF the texts
  // stay text.
  void DrawOver(QPainter& painter, const ScoreDocument& document, const Options& options);

 private:
  // Draws `symbol` at its place, in its frame when `framed`.
  void DrawSymbol(QPainter& painter, const ScoreDocument::Overlay& symbol, bool framed,
                  const Options& options);
  // A symbol picture's file, read once.
  QImage Picture(const QString& path);
  // The print picture of the symbol picture `path`, of size `size` on the page, as `options`
  // ask for it; null when there is none to draw it from.
  QImage PrintPicture(const QString& path, QSize size, const Options& options);

  QHash<QString, QImage> pictures_;
};

}  // namespace tarvesh::score
