#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <optional>
#include <utility>

#include "document/bmpdecoder.h"
#include "document/fileerror.h"

namespace tarvesh::document {

// The two files of a score: its page picture NAME.bmp and its side file NAME.dat beside it,
// replaced together. Save writes both to temporary files beside them and syncs them, then
// writes and syncs a journal naming them, renames both over the old files and removes the
// journal. A save that dies at any instant leaves the old pair or the new one: until the
// journal is whole the old files are untouched; once it is, the new pair is the score, whether
// the renames happened or not. Reading follows the journal and writes nothing; the next save of
// the score first finishes the renames of a save that died after its journal, or removes the
// temporaries of one that died before.
class ScoreFiles {
 public:
  // `picturePath` should satisfy IsPicturePath; Read, ReadHead and Save refuse it otherwise.
  explicit ScoreFiles(const QString& picturePath);

  const QString& PicturePath() const { return picture_; }
  const QString& SidePath() const { return side_; }

  struct Contents {
    BmpPicture picture;
    // The side file's bytes; empty when the score has none.
    QByteArray side;
  };
  // The pair as the last save left it. Refused, with `error` naming the file and why: a picture
  // that is missing or not a whole BMP, a picture or side file that is a link, a folder, a FIFO
  // or a device, or one that cannot be read. A missing side file is no error.
  std::optional<Contents> Read(FileError* error) const;
  // What Read reads but the picture's pixels, refused as Read refuses the pair but for a fault
  // met in the pixels alone: the picture's size and the side file.
  struct Head {
    QSize pictureSize;
    QByteArray side;
  };
  std::optional<Head> ReadHead(FileError* error) const;

  // Replaces the pair by `picture` (as a 24-bit BMP) and `side`. Refused before anything is
  // written when either file is a link, not a regular file or marked read-only, or when the
  // side file belongs to another picture of the folder (see OtherPictureOfSide).
  std::optional<FileError> Save(const QImage& picture, const QByteArray& side) const;

  // A score picture's name ends in ".bmp", whatever its case.
  static bool IsPicturePath(const QString& path);
  // The score picture for a name chosen in a save dialog: ".bmp" is added unless it ends so, so
  // the picture is never named like its side file or another score's side file.
  static QString PicturePathFor(const QString& chosen);
  // Another picture beside this one, named alike but for the case of ".bmp", whose side file is
  // therefore this one's; nothing when there is none.
  std::optional<QString> OtherPictureOfSide() const;

 private:
  // The pair as the last save left it, the picture read by `readPicture`.
  template <typename Picture, typename ReadPicture>
  std::optional<std::pair<Picture, QByteArray>> ReadPair(ReadPicture readPicture,
                                                         FileError* error) const;
  bool JournalWhole() const;
  QByteArray JournalText() const;
  // Finishes or undoes a save that died, as the journal says.
  std::optional<FileError> Recover() const;
  std::optional<FileError> WriteJournal() const;
  void RemoveTemporaries() const;

  QString picture_;
  QString side_;
  QString newPicture_;
  QString newSide_;
  QString journal_;
};

}  // namespace tarvesh::document
