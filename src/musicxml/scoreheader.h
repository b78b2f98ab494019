#pragma once

#include <QString>

namespace tarvesh::musicxml {

// What the head of a page tells about its music, as a MusicXML file carries it.
struct ScoreHeader {
  QString title;
  QString composer;
  QString key = QStringLiteral("C");  // the key after "1=", as the page head names it
  int beats = 4;
  int beatType = 4;
  int tempo = 0;  // quarter notes a minute; 0 when the page gives none

  // The beats a minute in a tempo text such as "每分钟72拍"; 0 when it holds no number.
  static int TempoIn(const QString& text);
};

}  // namespace tarvesh::musicxml
