#pragma once

#include <sys/types.h>

namespace tarvesh::document {

// The system calls the core makes to read and write files. They all go through here so that a
// test can make any one of them fail as a full disk, a failing device or a killed process
// would; the program itself only ever uses the system's.
class FileCalls {
 public:
  virtual ~FileCalls() = default;

  virtual int Open(const char* path, int flags, mode_t mode);
  virtual ssize_t Read(int fd, void* data, size_t size);
  virtual ssize_t Write(int fd, const void* data, size_t size);
  virtual int Sync(int fd);
  virtual int Close(int fd);
  virtual int Rename(const char* from, const char* to);
  virtual int Unlink(const char* path);

  // Writes all `size` bytes, going on after a short write; 0, or the errno of the failure (a
  // write that takes nothing counts as a full disk).
  int WriteAll(int fd, const char* data, size_t size);

  // The calls in use.
  static FileCalls& Current();
  // Puts `calls` in use (nullptr: the system's again); returns the calls it replaces.
  static FileCalls* Install(FileCalls* calls);
};

}  // namespace tarvesh::document
