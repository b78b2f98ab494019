#pragma once

#include <QString>
#include <QTextStream>

#include "document/pagepicture.h"

namespace tarvesh::app {

class Form1;

// `tarvesh --export`: every score of a folder becomes its page picture at once, composed by a
// window that is never shown, with the window's batch export's own preparation and bands, so the
// pictures are those that batch writes on a screen of the window's height.
class FolderExport {
 public:
  // Without a screen size the window reads one this high, so the two bands hold every page that
  // can be opened whole.
  static constexpr int kWholePageScreenHeight = document::kMaxPictureSide / 2;

  struct Request {
    QString folder;
    QString format;  // "bmp", "png" or "pdf"
    QString out;     // empty: the folder's "导出 HHMMSS", as the window's batch export
  };

  // Exports the "*.bmp" scores of the folder into the output folder: page pictures under the
  // scores' names (".png" for png), or for pdf the one PDF of all pages, named after the output
  // folder. Writes one progress line per score and names every failure on `err`. Returns 0 when
  // every score was exported, 1 otherwise; a score that cannot be read is skipped.
  static int Run(Form1& form, const Request& request, QTextStream& err);
};

}  // namespace tarvesh::app
