#include "platform/MemoryAdvice.h"

// Windows gives large pages only to memory allocated with them (and with the lock-pages
// privilege), and has no call that makes an existing allocation's fresh pages resident in
// one go: both hints are declined here, and the pages fault in as they are first written.
void AdviseHugePages(void* /*buffer*/, std::size_t /*size*/) {}

void PrefaultBuffer(void* /*buffer*/, std::size_t /*size*/) {}
