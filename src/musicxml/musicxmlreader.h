#pragma once

#include <QByteArray>
#include <QString>
#include <variant>

#include "musicxml/importedscore.h"

namespace tarvesh::musicxml {

// Reads the melody of a partwise MusicXML file: title, composer, the first key, time and tempo,
// and the notes of the first part's first staff in its first voice. Chords keep their top note;
// grace notes, tuplets, other voices and changes of key or time are left out and named.
class MusicXmlReader {
 public:
  // Files larger than this are refused before they are parsed.
  static constexpr qint64 kMostBytes = 32 * 1024 * 1024;
  // Elements nested deeper than this mean a damaged or hostile file.
  static constexpr int kMostDepth = 64;

  // The score, or why the bytes are not one (in words for the user).
  static std::variant<ImportedScore, QString> Read(const QByteArray& bytes);
  // Reads a ".musicxml" or ".xml" file, or a compressed ".mxl" through its container file.
  static std::variant<ImportedScore, QString> ReadFile(const QString& path);
};

}  // namespace tarvesh::musicxml
