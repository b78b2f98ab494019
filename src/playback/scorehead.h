#pragma once

#include <QString>

namespace tarvesh::score {
class ScoreDocument;
}

namespace tarvesh::playback {

// What the head of the page tells playback: the key ("1=D": the degree 1 sounds D4), the time
// signature and the pace in quarter notes a minute.
struct ScoreHead {
  int tonic = 60;
  // The key signature as MIDI counts it: sharps positive, flats negative.
  int fifths = 0;
  int beatsPerBar = 4;
  int beatUnit = 4;
  double quartersPerMinute = 72;

  // The head as its labels show it: key "C".."B" with "b" for flat ("bB"), numerator and
  // denominator, and the tempo label ("每分钟72拍" or a tempo word such as "中板"). What cannot be
  // read keeps the values above.
  static ScoreHead FromTexts(const QString& key, const QString& numerator,
                             const QString& denominator, const QString& tempo);
  // The head a document shows.
  static ScoreHead Of(const score::ScoreDocument& document);
  // The pace a tempo label stands for, in quarter notes a minute. "每分钟N拍" counts N beats, a
  // beat being the note of the time signature's lower number (`beatUnit`): in 6/8 an eighth. A
  // tempo word stands for its usual figure in quarter notes, whatever the time signature; the
  // first word found in the label counts. Neither: 90, a moderate pace.
  static double QuartersPerMinute(const QString& tempo, int beatUnit);
};

}  // namespace tarvesh::playback
