#pragma once

#include <cstddef>
#include <vector>

// Asks the system to back `bytes` of fresh memory at `data` with large pages where it can
// and to map it all at once, instead of page by page as it is first written. A hint for
// the big lists of the index pass; without effect where the system cannot do it.
void PrepareForWriting(void* data, std::size_t bytes);

// Gives `list` room for `extra` more items at once, the new room prepared as above.
template <typename T>
void ReserveAhead(std::vector<T>& list, std::size_t extra) {
    const std::size_t old = list.size();
    if (list.capacity() < old + extra) {
        list.reserve(old + extra);
        PrepareForWriting(list.data() + old, (list.capacity() - old) * sizeof(T));
    }
}
