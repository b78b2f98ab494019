#include "document/filecalls.h"

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>

namespace tarvesh::document {

namespace {
FileCalls* installed = nullptr;
}  // namespace

int FileCalls::Open(const char* path, int flags, mode_t mode) {
  return ::open(path, flags, mode);
}

ssize_t FileCalls::Read(int fd, void* data, size_t size) {
  return ::read(fd, data, size);
}

ssize_t FileCalls::Write(int fd, const void* data, size_t size) {
  return ::write(fd, data, size);
}

int FileCalls::Sync(int fd) {
  return ::fsync(fd);
}

int FileCalls::Close(int fd) {
  return ::close(fd);
}

int FileCalls::Rename(const char* from, const char* to) {
  return std::rename(from, to);
}

int FileCalls::Unlink(const char* path) {
  return ::unlink(path);
}

int FileCalls::WriteAll(int fd, const char* data, size_t size) {
  size_t done = 0;
  while (done < size) {
    const ssize_t n = Write(fd, data + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return n < 0 ? errno : ENOSPC;
    done += size_t(n);
  }
  return 0;
}

FileCalls& FileCalls::Current() {
  static FileCalls system;
  return installed ? *installed : system;
}

FileCalls* FileCalls::Install(FileCalls* calls) {
  FileCalls* before = installed;
  installed = calls;
  return before;
}

}  // namespace tarvesh::document
