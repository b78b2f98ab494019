#pragma once

#include "document/filecalls.h"

namespace tarvesh::document {

// Puts `calls` in use for as long as it lives.
class UseFileCalls {
 public:
  explicit UseFileCalls(FileCalls* calls) : before_(FileCalls::Install(calls)) {}
  ~UseFileCalls() { FileCalls::Install(before_); }
  UseFileCalls(const UseFileCalls&) = delete;
  UseFileCalls& operator=(const UseFileCalls&) = delete;

 private:
  FileCalls* before_;
};

}  // namespace tarvesh::document
