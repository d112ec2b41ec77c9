// Allocation failure on demand: while a FailLargeAllocations lives, every allocation through
// operator new of at least `bytes` throws std::bad_alloc, as it does when memory runs out.
#pragma once

#include <cstddef>

class FailLargeAllocations {
public:
    explicit FailLargeAllocations(std::size_t bytes);
    ~FailLargeAllocations();
    FailLargeAllocations(const FailLargeAllocations&) = delete;
    FailLargeAllocations& operator=(const FailLargeAllocations&) = delete;
};
