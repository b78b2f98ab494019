#pragma once

#include <QString>

namespace tarvesh::score {
class ScoreDocument;
}

namespace tarvesh::playback {

// What the head of the page tells playback: the key ("1=D": the degree 1 sounds D4), the time
// signature and the tempo in quarter notes a minute.
struct ScoreHead {
  int tonic = 60;
  // The key signature as MIDI counts it: sharps positive, flats negative.
  int fifths = 0;
  int beatsPerBar = 4;
  int beatUnit = 4;
  int beatsPerMinute = 72;

  // The head as its labels show it: key "C".."B" with "b" for flat ("bB"), numerator and
  // denominator, and the tempo label ("每分钟72拍" or a tempo word such as "中板"). What cannot be
  // read keeps the values above.
  static ScoreHead FromTexts(const QString& key, const QString& numerator,
                             const QString& denominator, const QString& tempo);
  // The head a document shows.
  static ScoreHead Of(const score::ScoreDocument& document);
  // The figure a tempo label stands for: the number of "每分钟N拍", else the usual figure of the
  // first tempo word found in it, else 90 (a moderate pace).
  static int TempoFigure(const QString& tempo);
};

}  // namespace tarvesh::playback
