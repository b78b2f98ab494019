#pragma once

#include <QString>
#include <set>

#include "document/filecalls.h"

namespace tarvesh::document {

// File calls of the core that meet the faults a test asks for, counted per kind. Only calls on
// files whose path contains `only` (all files when empty) are counted and faulted.
class FaultyCalls : public FileCalls {
 public:
  enum Kind { kOpenForReading, kOpenForWriting, kWrite, kSync, kRename, kKinds };

  explicit FaultyCalls(QString only = {}) : only_(std::move(only)) {}

  // The disk fills up at the `nth` write (from 0): that write takes half its bytes, and it and
  // every later write fail with ENOSPC.
  void DiskFullAt(int nth) { fullAt_ = nth; }
  // The `nth` call of `kind` fails with `error`.
  void FailAt(Kind kind, int nth, int error) {
    failKind_ = kind;
    failAt_ = nth;
    failError_ = error;
  }
  // The process is killed (SIGKILL) just before its `nth` call of any kind.
  void KillAt(int nth) { killAt_ = nth; }

  int Count(Kind kind) const { return counts_[kind]; }
  int AllCalls() const { return all_; }

  int Open(const char* path, int flags, mode_t mode) override;
  ssize_t Read(int fd, void* data, size_t size) override;
  ssize_t Write(int fd, const void* data, size_t size) override;
  int Sync(int fd) override;
  int Close(int fd) override;
  int Rename(const char* from, const char* to) override;
  int Unlink(const char* path) override;

 private:
  bool Watched(const char* path) const;
  bool Watched(int fd) const { return fds_.count(fd) > 0; }
  // Counts a call of `kind`; true when it is to fail.
  bool Counts(Kind kind);
  void MaybeKill();

  QString only_;
  std::set<int> fds_;
  int counts_[kKinds] = {};
  int all_ = 0;
  int fullAt_ = -1;
  bool full_ = false;
  int failKind_ = -1;
  int failAt_ = -1;
  int failError_ = 0;
  int killAt_ = -1;
};

}  // namespace tarvesh::document
