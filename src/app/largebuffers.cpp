#include "app/largebuffers.h"

#if __has_include(<malloc.h>)
#include <malloc.h>
#endif

namespace tarvesh::app {

namespace {
// Larger than a line strip of the widest page (3868 x 40 pixels), which is moved on every key,
// smaller than the smallest page bitmap.
constexpr int kOwnMemoryFrom = 1 << 20;
}  // namespace

void GiveLargeBuffersBackWhenFreed() {
#if defined(M_MMAP_THRESHOLD)
  // Setting the threshold (glibc) also stops the allocator from moving it.
  mallopt(M_MMAP_THRESHOLD, kOwnMemoryFrom);
#endif
}

}  // namespace tarvesh::app
