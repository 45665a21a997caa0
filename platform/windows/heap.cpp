#include "platform/heap.h"

namespace platform {

// Windows' heap keeps a process's freed blocks for its own reuse.
void keepFreedBlocksInHeap() {}

} // namespace platform
