#pragma once

namespace tarvesh::app {

// Makes large buffers (page bitmaps, page pictures, PDF and picture files being written) take
// memory of their own from the system and give it back as soon as they are freed. glibc's
// allocator otherwise raises the size it does that from to the largest buffer freed so far and
// keeps later page-sized buffers in a heap that hardly shrinks, so a long session would hold the
// most memory it ever needed. Called once, first thing in a process.
void GiveLargeBuffersBackWhenFreed();
// The opposite, for a process that goes through many pages of one size and ends (an export):
// a freed page-sized buffer stays with the process and is taken again for the next page, so no
// page costs fresh memory from the system.
void KeepLargeBuffersForReuse();

}  // namespace tarvesh::app
