#pragma once

#include <QString>
#include <vector>

#include "reading/glyphtemplates.h"
#include "reading/pagemake.h"
#include "reading/readitem.h"

namespace tarvesh::reading {

// Reads the chord symbols written under a line: the degree in the large font, the "+" and "-"
// after it, and the small figures and MIN/MAX, each where the chord writer puts it after the
// piece before. Text is drawn without smoothing, so a symbol's pixels are the same in any
// colour; the reader compares which pixels are not white.
class ChordReader {
 public:
  // The band of rows read: from this far below a line's top, kWindowRows high.
  static constexpr int kBandTop = 20;

  // A chord symbol read, with the band's columns from `left` on that its text covers.
  struct Chord {
    ReadItem item;
    int left = 0;
    std::vector<ColumnMask> footprint;
    // The texts it is drawn from.
    std::vector<PageMake::Text> texts;
  };

  // Draws the texts the chord writer can draw; needs the application's fonts. Without a GUI
  // application there are no texts to compare, and chord symbols read as unknown ink.
  ChordReader();

  // `band`: one mask per page column of the rows kBandTop .. kBandTop + kWindowRows - 1 below
  // the line at `lineTop`, bit r for row r of the band, set where the page is not white.
  std::vector<Chord> Read(const std::vector<ColumnMask>& band, int lineTop) const;

 private:
  // A text as drawn from a text position: its columns from `dx` right of that position, rows
  // of the band for a text whose top lies `row` rows into it, and the width the text advances.
  struct Text {
    QString text;
    // As drawn: the text with its blanks, in the page font of this size.
    QString drawn;
    double pointSize = 0;
    bool bold = false;
    int row = 0;
    int dx = 0;
    std::vector<ColumnMask> columns;
    int inkCount = 0;
    int advance = 0;
  };

  static Text Draw(const QString& text, double pointSize, bool bold, int row);
  bool Covers(const std::vector<ColumnMask>& band, const Text& text, int x) const;

  std::vector<Text> degrees_;
  Text plus_, minus_;
  std::vector<Text> figures_;
  Text min_, max_;
};

}  // namespace tarvesh::reading
