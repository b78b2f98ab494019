#pragma once

#include <QMap>
#include <QString>
#include <array>
#include <vector>

#include "lyrics/lyricline.h"
#include "musicxml/keyspelling.h"

namespace tarvesh::musicxml {

// The melody of a MusicXML file as far as a Jianpu page can hold it: the first part's top voice
// of its first staff, and a note of what was left out.
struct ImportedScore {
  struct Note {
    bool rest = false;
    StaffPitch pitch;
    int value = 4;  // 1 whole, 2 half, 4 quarter ... 32
    int dots = 0;
    // A rest that fills its measure, however long the measure is.
    bool wholeMeasure = false;
    // The staff shows a natural sign.
    bool natural = false;
    bool tieStart = false;
    bool tieStop = false;
    bool slurStart = false;
    bool slurStop = false;
    // The last note of a first measure the file marks as not counted (a pickup): the bar line
    // is typed after it.
    bool endsPickup = false;
    QString measure;  // the number of the measure it stands in
    // Each verse's syllable sung on it, "-" ending a part of a word that goes on.
    std::array<QString, lyrics::kVerseRows> words;
  };

  QString title;
  QString composer;
  int fifths = 0;
  int beats = 4;
  int beatType = 4;
  int tempo = 0;
  std::vector<Note> notes;
  // What was left out, each with the measure numbers it was left out in.
  QMap<QString, QStringList> leftOut;

  void LeaveOut(const QString& what, const QString& measure);
  // "和弦（第3、5小节）；装饰音（第2小节）", or empty when nothing was left out.
  QString LeftOutText() const;
};

}  // namespace tarvesh::musicxml
