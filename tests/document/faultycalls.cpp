#include "document/faultycalls.h"

#include <fcntl.h>
#include <cerrno>
#include <csignal>

namespace tarvesh::document {

bool FaultyCalls::Watched(const char* path) const {
  return only_.isEmpty() || QString::fromLocal8Bit(path).contains(only_);
}

void FaultyCalls::MaybeKill() {
  if (all_++ == killAt_) std::raise(SIGKILL);
}

bool FaultyCalls::Counts(Kind kind) {
  const int nth = counts_[kind]++;
  return failKind_ == kind && failAt_ == nth;
}

int FaultyCalls::Open(const char* path, int flags, mode_t mode) {
  MaybeKill();
  const bool watched = Watched(path);
  if (watched) {
    const Kind kind = (flags & O_ACCMODE) == O_RDONLY ? kOpenForReading : kOpenForWriting;
    if (Counts(kind)) {
      errno = failError_;
      return -1;
    }
  }
  const int fd = FileCalls::Open(path, flags, mode);
  if (fd >= 0 && watched) fds_.insert(fd);
  return fd;
}

ssize_t FaultyCalls::Read(int fd, void* data, size_t size) {
  MaybeKill();
  return FileCalls::Read(fd, data, size);
}

ssize_t FaultyCalls::Write(int fd, const void* data, size_t size) {
  MaybeKill();
  if (!Watched(fd)) return FileCalls::Write(fd, data, size);
  const int nth = counts_[kWrite];
  if (Counts(kWrite)) {
    errno = failError_;
    return -1;
  }
  if (full_) {
    errno = ENOSPC;
    return -1;
  }
  if (nth == fullAt_) {
    full_ = true;
    if (size > 1) return FileCalls::Write(fd, data, size / 2);
    errno = ENOSPC;
    return -1;
  }
  return FileCalls::Write(fd, data, size);
}

int FaultyCalls::Sync(int fd) {
  MaybeKill();
  if (Watched(fd) && Counts(kSync)) {
    errno = failError_;
    return -1;
  }
  return FileCalls::Sync(fd);
}

int FaultyCalls::Close(int fd) {
  MaybeKill();
  fds_.erase(fd);
  return FileCalls::Close(fd);
}

int FaultyCalls::Rename(const char* from, const char* to) {
  MaybeKill();
  if (Watched(to) && Counts(kRename)) {
    errno = failError_;
    return -1;
  }
  return FileCalls::Rename(from, to);
}

int FaultyCalls::Unlink(const char* path) {
  MaybeKill();
  return FileCalls::Unlink(path);
}

}  // namespace tarvesh::document
