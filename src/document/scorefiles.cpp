#include "document/scorefiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>

#include "document/datsidefile.h"
#include "document/filecalls.h"
#include "document/pagepicture.h"
#include "document/regularfile.h"
#include "document/safefile.h"

namespace tarvesh::document {

namespace {

const QString kPictureSuffix = QStringLiteral(".bmp");
constexpr qint64 kMaxJournalBytes = 4096;

QByteArray Native(const QString& path) {
  return QFile::encodeName(path);
}

bool Exists(const QString& path) {
  struct stat status;
  return ::lstat(Native(path).constData(), &status) == 0;
}

// A hidden file beside `path`: ".NAME" + `suffix`.
QString Beside(const QString& path, const QString& suffix) {
  const QFileInfo info(path);
  return info.dir().filePath(u'.' + info.fileName() + suffix);
}

}  // namespace

ScoreFiles::ScoreFiles(const QString& picturePath)
    : picture_(picturePath),
      side_(DatSideFile::PathFor(picturePath)),
      newPicture_(Beside(picture_, QStringLiteral(".tarvesh-new"))),
      newSide_(Beside(side_, QStringLiteral(".tarvesh-new"))),
      journal_(Beside(picture_, QStringLiteral(".tarvesh-journal"))) {}

bool ScoreFiles::IsPicturePath(const QString& path) {
  return path.endsWith(kPictureSuffix, Qt::CaseInsensitive) &&
         QFileInfo(path).fileName().size() > kPictureSuffix.size();
}

QString ScoreFiles::PicturePathFor(const QString& chosen) {
  return IsPicturePath(chosen) ? chosen : chosen + kPictureSuffix;
}

std::optional<QString> ScoreFiles::OtherPictureOfSide() const {
  const QString stem = picture_.chopped(3);
  struct stat mine;
  const bool haveMine = ::stat(Native(picture_).constData(), &mine) == 0;
  // Every spelling of "bmp" but this picture's own, found by its own name so that a folder that
  // ignores case finds this picture and is told apart by the file it is.
  for (int spelling = 0; spelling < 8; ++spelling) {
    QString suffix = QStringLiteral("bmp");
    for (int letter = 0; letter < 3; ++letter)
      if (spelling & (1 << letter)) suffix[letter] = suffix[letter].toUpper();
    const QString other = stem + suffix;
    if (other == picture_) continue;
    struct stat status;
    if (::lstat(Native(other).constData(), &status) != 0) continue;
    if (haveMine && status.st_dev == mine.st_dev && status.st_ino == mine.st_ino) continue;
    return other;
  }
  return std::nullopt;
}

QByteArray ScoreFiles::JournalText() const {
  return QStringLiteral("tarvesh score save\n%1 %2\n%3 %4\nend\n")
      .arg(QFileInfo(newPicture_).fileName(), QFileInfo(picture_).fileName(),
           QFileInfo(newSide_).fileName(), QFileInfo(side_).fileName())
      .toUtf8();
}

bool ScoreFiles::JournalWhole() const {
  // A journal cut short by a dying save is no journal: that save never began its renames.
  const std::optional<QByteArray> text = ReadRegularFile(journal_, kMaxJournalBytes, nullptr);
  return text && *text == JournalText();
}

template <typename Picture, typename ReadPicture>
std::optional<std::pair<Picture, QByteArray>> ScoreFiles::ReadPair(ReadPicture readPicture,
                                                                   FileError* error) const {
  if (!IsPicturePath(picture_)) {
    if (error) *error = FileError::Of(picture_, FileError::Problem::kNotScoreName);
    return std::nullopt;
  }
  const bool saved = JournalWhole();
  const QString picture = saved && Exists(newPicture_) ? newPicture_ : picture_;
  const QString side = saved && Exists(newSide_) ? newSide_ : side_;
  // Errors name the files the user knows, never the temporaries.
  auto fail = [&](FileError why,
                  const QString& known) -> std::optional<std::pair<Picture, QByteArray>> {
    why.path = known;
    if (error) *error = std::move(why);
    return std::nullopt;
  };
  FileError why;
  std::optional<Picture> read = readPicture(picture, &why);
  if (!read) return fail(why, picture_);
  QByteArray sideBytes;
  if (std::optional<QByteArray> bytes = ReadRegularFile(side, DatSideFile::kMaxFileBytes, &why)) {
    sideBytes = std::move(*bytes);
  } else if (why.problem != FileError::Problem::kSystem || why.systemError != ENOENT) {
    return fail(why, side_);
  }
  return std::pair{std::move(*read), std::move(sideBytes)};
}

std::optional<ScoreFiles::Contents> ScoreFiles::Read(FileError* error) const {
  auto pair = ReadPair<BmpPicture>(
      [](const QString& path, FileError* why) { return ReadPagePicture(path, why); }, error);
  if (!pair) return std::nullopt;
  return Contents{std::move(pair->first), std::move(pair->second)};
}

std::optional<ScoreFiles::Head> ScoreFiles::ReadHead(FileError* error) const {
  auto pair = ReadPair<QSize>(
      [](const QString& path, FileError* why) { return ReadPagePictureSize(path, why); }, error);
  if (!pair) return std::nullopt;
  return Head{pair->first, std::move(pair->second)};
}

std::optional<FileError> ScoreFiles::Save(const QImage& picture, const QByteArray& side) const {
  if (!IsPicturePath(picture_)) return FileError::Of(picture_, FileError::Problem::kNotScoreName);
  if (auto refused = SafeFile::CheckTarget(picture_)) return refused;
  if (auto refused = SafeFile::CheckTarget(side_)) return refused;
  if (const std::optional<QString> other = OtherPictureOfSide())
    return FileError::Of(side_, FileError::Problem::kOtherScore, *other);
  if (auto failed = Recover()) return failed;

  {
    SafeFile file(picture_, newPicture_);
    if (!file.open(QIODevice::WriteOnly)) return file.Error();
    if (!EncodePagePicture(picture, file))
      return file.Error().value_or(FileError::System(picture_, EIO));
    if (auto failed = file.Finish()) return failed;
  }
  {
    SafeFile file(side_, newSide_);
    std::optional<FileError> failed;
    if (!file.open(QIODevice::WriteOnly)) {
      failed = file.Error();
    } else {
      file.write(side);
      failed = file.Finish();
    }
    if (failed) {
      RemoveTemporaries();
      return failed;
    }
  }
  if (auto failed = WriteJournal()) {
    FileCalls::Current().Unlink(Native(journal_).constData());
    RemoveTemporaries();
    return failed;
  }
  // From here on the new pair is the score.
  FileCalls& calls = FileCalls::Current();
  if (calls.Rename(Native(newPicture_).constData(), Native(picture_).constData()) != 0) {
    const int error = errno;
    // Nothing was replaced yet: undone, the old pair stays the score.
    calls.Unlink(Native(journal_).constData());
    RemoveTemporaries();
    return FileError::System(picture_, error);
  }
  if (calls.Rename(Native(newSide_).constData(), Native(side_).constData()) != 0) {
    // The journal stays: reading takes the new side file from its temporary, and the next save
    // finishes the rename.
    return FileError::System(side_, errno);
  }
  if (auto failed = SafeFile::SyncFolderOf(picture_)) return failed;
  calls.Unlink(Native(journal_).constData());
  return SafeFile::SyncFolderOf(picture_);
}

std::optional<FileError> ScoreFiles::Recover() const {
  FileCalls& calls = FileCalls::Current();
  if (JournalWhole()) {
    if (Exists(newPicture_) &&
        calls.Rename(Native(newPicture_).constData(), Native(picture_).constData()) != 0)
      return FileError::System(picture_, errno);
    if (Exists(newSide_) &&
        calls.Rename(Native(newSide_).constData(), Native(side_).constData()) != 0)
      return FileError::System(side_, errno);
    if (auto failed = SafeFile::SyncFolderOf(picture_)) return failed;
  } else {
    RemoveTemporaries();
  }
  if (Exists(journal_)) {
    if (calls.Unlink(Native(journal_).constData()) != 0) return FileError::System(picture_, errno);
    return SafeFile::SyncFolderOf(picture_);
  }
  return std::nullopt;
}

std::optional<FileError> ScoreFiles::WriteJournal() const {
  FileCalls& calls = FileCalls::Current();
  const int fd =
      calls.Open(Native(journal_).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return FileError::System(picture_, errno);
  const QByteArray text = JournalText();
  int error = calls.WriteAll(fd, text.constData(), size_t(text.size()));
  if (error == 0 && calls.Sync(fd) != 0) error = errno;
  if (calls.Close(fd) != 0 && error == 0) error = errno;
  if (error != 0) return FileError::System(picture_, error);
  return SafeFile::SyncFolderOf(picture_);
}

void ScoreFiles::RemoveTemporaries() const {
  FileCalls& calls = FileCalls::Current();
  for (const QString& path : {newPicture_, newSide_})
    if (Exists(path)) calls.Unlink(Native(path).constData());
}

}  // namespace tarvesh::document
