#pragma once

#include <QByteArray>
#include <vector>

#include "lyrics/lyricsheet.h"
#include "musicxml/scoreheader.h"
#include "reading/readline.h"

namespace tarvesh::musicxml {

// Writes a page read back as music as a partwise MusicXML 4.0 score of one part: the head's
// title, composer, key, time and tempo, then one measure for every bar the bar lines close.
// Dots lengthen the note before them, dashes lengthen it by a quarter each (tied notes where no
// single note value fits), an arc between two notes of the same pitch is a tie and any other arc
// a slur; chord symbols become harmonies, and the words under the notes lyrics, one numbered
// lyric for each verse. Parentheses and unknown ink are not music and are left
// out.
class MusicXmlWriter {
 public:
  // Divisions of a quarter note: a double-dotted 32nd still has a whole number of them.
  static constexpr int kDivisions = 32;

  static QByteArray Write(const std::vector<reading::ReadLine>& lines, const ScoreHeader& header,
                          const lyrics::LyricSheet& words = lyrics::LyricSheet());
};

}  // namespace tarvesh::musicxml
