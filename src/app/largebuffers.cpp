#include "app/largebuffers.h"

#if __has_include(<malloc.h>)
#include <malloc.h>
#endif

namespace tarvesh::app {

namespace {
// Larger than a line strip of the widest page (3868 x 40 pixels), which is moved on every key,
// smaller than the smallest page bitmap.
constexpr int kOwnMemoryFrom = 1 << 20;
// The most glibc lets the threshold be; only pages wider than the default's 3.5 times still take
// memory of their own.
constexpr int kMostKeptBuffer = 32 << 20;
// Free memory the heap keeps before it gives any back: a few pages of the largest kept size.
constexpr int kKeptFreeMemory = 256 << 20;
}  // namespace

void GiveLargeBuffersBackWhenFreed() {
#if defined(M_MMAP_THRESHOLD)
  // Setting the threshold (glibc) also stops the allocator from moving it.
  mallopt(M_MMAP_THRESHOLD, kOwnMemoryFrom);
#endif
}

void KeepLargeBuffersForReuse() {
#if defined(M_MMAP_THRESHOLD)
  mallopt(M_MMAP_THRESHOLD, kMostKeptBuffer);
  mallopt(M_TRIM_THRESHOLD, kKeptFreeMemory);
#endif
}

}  // namespace tarvesh::app
