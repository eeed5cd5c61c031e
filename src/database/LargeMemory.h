#pragma once

#include <cstddef>

// Asks the system to back `bytes` of fresh memory at `data` with large pages where it can
// and to map it all at once, instead of page by page as it is first written. A hint for
// the big lists of the index pass; without effect where the system cannot do it.
void PrepareForWriting(void* data, std::size_t bytes);
