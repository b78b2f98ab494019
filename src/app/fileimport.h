#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace tarvesh::page {
struct GlyphAtlas;
}

namespace tarvesh::app {

class Form1;

// `tarvesh --import FILE... --out DIR [--format F]`: each MusicXML file is typed on a new page of
// a window nobody sees, as "导入MusicXML" types it, and saved as a score (page picture and side
// file) in DIR under the file's own name; with a format, those scores are then exported as
// `--export` exports a folder, into DIR's "导出 HHMMSS".
class FileImport {
 public:
  struct Request {
    QStringList files;
    QString out;
    QString format;  // empty: the scores alone
    QString dataDir;
    int dpi = 0;  // png: the sheets' resolution, 0 for the export's own
    int screenHeight = 0;
    bool progressBar = false;  // `err` is a terminal: a bar instead of a line per file
    // The glyphs an export reads the pages back with, for midi and musicxml.
    const page::GlyphAtlas* atlas = nullptr;
  };

  // Writes one progress line per file (or the bar), with what was left out of it, and names
  // every file that could not be imported or saved, with the reason; the others go on. A score
  // already in DIR is never replaced. Returns 0 when every file became a score and every score
  // was exported, 1 otherwise.
  static int Run(Form1& form, const Request& request, QTextStream& err);
};

}  // namespace tarvesh::app
