#pragma once

namespace platform {

// Keeps large freed blocks in the heap instead of handing them back to the
// system; called first thing in main, before any block is made.
void keepFreedBlocksInHeap();

} // namespace platform
