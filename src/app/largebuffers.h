#pragma once

namespace tarvesh::app {

// Makes large buffers (page bitmaps, page pictures, PDF and picture files being written) take
// memory of their own from the system and give it back as soon as they are freed. glibc's
// allocator otherwise raises the size it does that from to the largest buffer freed so far and
// keeps later page-sized buffers in a heap that hardly shrinks, so a long session would hold the
// most memory it ever needed. Called once, first thing in a process.
void GiveLargeBuffersBackWhenFreed();

}  // namespace tarvesh::app
