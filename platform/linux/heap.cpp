#include "platform/heap.h"

#include <malloc.h>

namespace platform {

// Start-up builds and drops large blocks (the font list, the window icon's
// pixels), and every open result and every move of the detail window does so
// again with the long poem, as the engine hands it over and as its row and
// text box keep it. Kept in the heap, their pages are reused as they are;
// handed back, each page would be faulted in and zeroed anew by the next
// block. glibc's own rule (a freed mapped block raises the size from which
// blocks are mapped) is not enough: without these limits a search on the
// carried poems spent half its time faulting on Debian 13, and a move onto
// the long poem a quarter of its time on Debian 12.
void keepFreedBlocksInHeap()
{
    mallopt(M_MMAP_THRESHOLD, 1 << 20);
    mallopt(M_TRIM_THRESHOLD, 8 << 20);
}

} // namespace platform
