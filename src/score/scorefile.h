#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "document/datsidefile.h"
#include "document/fileerror.h"
#include "document/scorefiles.h"

namespace tarvesh::score {

class ScoreDocument;

// The two files of a score (picture and side file) read into and written from a document. It
// keeps what the program does not know of the side file last read, so a save writes it back.
class ScoreFile {
 public:
  // Where the text of a text label and the picture of a symbol picture come from, by the index a
  // side file stores for them.
  struct OverlaySources {
    QStringList phrases;
    QString symbolFolder;
    QStringList symbolFiles;

    // The phrases of "explin.txt" and the pictures of "s/sik" in the data folder.
    static OverlaySources FromDataFolder(const QString& dataDir);
  };
  struct OpenOptions {
    // The window's switches the side file stores (staff input, guide lines): a batch export
    // leaves them as they are.
    bool windowSwitches = true;
  };

  // Opens the score at the document's path, writing nothing. A picture or side file that cannot
  // be read changes nothing and gives the reason; side-file fields that are missing or out of
  // range are skipped. A picture larger than the page its settings make grows the page. The
  // page is laid out afresh at the end.
  std::optional<document::FileError> Open(ScoreDocument& document, const OverlaySources& sources,
                                          const OpenOptions& options);
  // What Open reads of the score at `path`, without a document, so it may run on any thread;
  // nothing, with `error` saying why, when Open would refuse the files.
  static std::optional<document::ScoreFiles::Contents> Read(const QString& path,
                                                            document::FileError* error);
  // What Open does with the files Read gave for the document's path.
  std::optional<document::FileError> Open(ScoreDocument& document,
                                          document::ScoreFiles::Contents contents,
                                          const OverlaySources& sources,
                                          const OpenOptions& options);
  // What ReadHead reads of the score at `path`: its picture's size and its side file.
  static std::optional<document::ScoreFiles::Head> ReadHead(const QString& path,
                                                            document::FileError* error);
  // What Open does with a picture of that size and that side file, but the page keeps what it
  // holds: the settings a score opened after this one starts from.
  std::optional<document::FileError> OpenSettings(ScoreDocument& document,
                                                  document::ScoreFiles::Head head,
                                                  const OverlaySources& sources,
                                                  const OpenOptions& options);
  // Whether the side file last opened had a damaged extension block (credit and page-number
  // pattern lost).
  bool ExtensionDamaged() const { return extensionDamaged_; }
  // Whether the words stored with the side file last opened could not be read (opened without).
  bool LyricsDamaged() const { return lyricsDamaged_; }
  // Writes the page picture and the side file for the document's path as one pair.
  std::optional<document::FileError> Save(const ScoreDocument& document);
  // A new document: nothing of an earlier side file is kept.
  void Forget();

  // The side file the document makes, with the records kept from the one opened.
  document::DatSideFile Capture(const ScoreDocument& document) const;
  // Puts `picture` on the page and applies the fields of `side` that are set and in range; the
  // bar grid then grows as far as the picture needs.
  void Apply(ScoreDocument& document, const document::BmpPicture& picture,
             const document::DatSideFile& side, const OverlaySources& sources,
             const OpenOptions& options);

  // The side file's bytes as the document was opened or last saved (empty for a new one). A save
  // writes its fields over these, so the side file keeps what this program does not know, and
  // never takes bytes of another score's side file it replaces.
  const QByteArray& SideBytes() const { return sideBytes_; }
  void SetSideBytes(const QByteArray& bytes) { sideBytes_ = bytes; }

 private:
  // Open and Apply with a picture of `size` whose rows, when given, go on the page.
  std::optional<document::FileError> Open(ScoreDocument& document, QSize size,
                                          const page::PictureRows* rows, QByteArray sideBytes,
                                          const OverlaySources& sources,
                                          const OpenOptions& options);
  void Apply(ScoreDocument& document, QSize size, const page::PictureRows* rows,
             const document::DatSideFile& side, const OverlaySources& sources,
             const OpenOptions& options);

  std::vector<document::ExtensionBlock::Record> keptRecords_;
  QByteArray sideBytes_;
  bool extensionDamaged_ = false;
  bool lyricsDamaged_ = false;
};

}  // namespace tarvesh::score
