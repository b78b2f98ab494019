#include "musicxml/documentexport.h"

#include <QFileInfo>

#include "document/safefile.h"
#include "musicxml/musicxmlwriter.h"

namespace tarvesh::musicxml {

ScoreHeader DocumentExport::HeaderOf(const score::ScoreDocument& document) {
  using score::ScoreDocument;
  ScoreHeader header;
  header.title = document.Text(ScoreDocument::kTitle);
  header.composer = document.Text(ScoreDocument::kCredit);
  header.key = document.Text(ScoreDocument::kKey);
  header.beats = std::max(1, document.Text(ScoreDocument::kNumerator).toInt());
  header.beatType = std::max(1, document.Text(ScoreDocument::kDenominator).toInt());
  header.tempo = ScoreHeader::TempoIn(document.Text(ScoreDocument::kTempo));
  return header;
}

QByteArray DocumentExport::Bytes(const score::ScoreDocument& document,
                                 const reading::PageReader& reader) {
  return MusicXmlWriter::Write(reader.Read(document.Page().Image()), HeaderOf(document),
                               document.Lyrics());
}

std::optional<document::FileError> DocumentExport::Save(const score::ScoreDocument& document,
                                                        const reading::PageReader& reader,
                                                        const QString& path) {
  return document::WriteFileSafely(path, Bytes(document, reader));
}

QString DocumentExport::WithExtension(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  return suffix == QLatin1String("musicxml") || suffix == QLatin1String("xml")
             ? path
             : path + QStringLiteral(".musicxml");
}

}  // namespace tarvesh::musicxml
