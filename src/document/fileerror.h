#pragma once

#include <QString>

namespace tarvesh::document {

// Why a file could not be read or written. It names the file the user knows (never a
// temporary) and gives the reason in the window's language for a message box, or in English
// for a line on a terminal.
struct FileError {
  enum class Problem {
    kSystem,        // the system refused; `systemError` holds its errno
    kLink,          // a symbolic link, which is never followed
    kNotRegular,    // a folder, FIFO, device or socket where a file should be
    kReadOnly,      // a file marked read-only, which is never replaced
    kTooLarge,      // larger than anything the program reads; `detail` says how large
    kNotBmp,        // not a BMP picture
    kTruncated,     // a file cut short
    kMalformed,     // a header or data that contradict themselves
    kUnsupported,   // a valid BMP of a kind no page is stored in (JPEG or PNG inside, OS/2 2.x)
    kOtherScore,    // a side file that belongs to another score's picture, named in `detail`
    kBusy,          // another save of the same score is under way
    kNotScoreName,  // a score picture's name must end in ".bmp"
  };

  QString path;
  Problem problem = Problem::kSystem;
  int systemError = 0;
  QString detail;

  static FileError System(const QString& path, int error) {
    return {path, Problem::kSystem, error, {}};
  }
  static FileError Of(const QString& path, Problem problem, const QString& detail = {}) {
    return {path, problem, 0, detail};
  }

  // The reason in the window's language, e.g. "磁盘空间不足".
  QString Reason() const;
  // A message box's text: `what` failed (e.g. "无法保存文件"), the file, then the reason.
  QString Told(const QString& what) const;
  // "PATH: reason" in English, e.g. "/home/a/song.bmp: No space left on device".
  QString TerminalText() const;
};

}  // namespace tarvesh::document
