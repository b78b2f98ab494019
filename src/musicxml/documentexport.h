#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "document/fileerror.h"
#include "musicxml/scoreheader.h"
#include "reading/pagereader.h"
#include "score/scoredocument.h"

namespace tarvesh::musicxml {

// A score's page as a MusicXML file: the head from the document's texts, the music read back
// from its page bitmap.
class DocumentExport {
 public:
  static ScoreHeader HeaderOf(const score::ScoreDocument& document);
  static QByteArray Bytes(const score::ScoreDocument& document, const reading::PageReader& reader);
  // Writes the file whole or not at all; nothing, or why it could not be written.
  static std::optional<document::FileError> Save(const score::ScoreDocument& document,
                                                 const reading::PageReader& reader,
                                                 const QString& path);
  // `path` with ".musicxml" added unless it already ends in ".musicxml" or ".xml".
  static QString WithExtension(const QString& path);
};

}  // namespace tarvesh::musicxml
