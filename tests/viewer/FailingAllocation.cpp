// The test program's operator new: the library's (or the sanitizer's) one, found as the next
// definition, unless a FailLargeAllocations asks for a failure. operator delete stays the
// library's, which matches the allocation.
#include "FailingAllocation.h"

#include <dlfcn.h>

#include <atomic>
#include <cstdlib>
#include <limits>
#include <new>

namespace {

std::atomic<std::size_t> failFrom{std::numeric_limits<std::size_t>::max()};

using NewFunction = void* (*)(std::size_t);

NewFunction NextNew() {
    static const NewFunction next = [] {
        auto f = reinterpret_cast<NewFunction>(dlsym(RTLD_NEXT, "_Znwm"));
        if (!f) std::abort();
        return f;
    }();
    return next;
}

}  // namespace

void* operator new(std::size_t bytes) {
    if (bytes >= failFrom.load(std::memory_order_relaxed)) throw std::bad_alloc();
    return NextNew()(bytes);
}

FailLargeAllocations::FailLargeAllocations(std::size_t bytes) { failFrom = bytes; }

FailLargeAllocations::~FailLargeAllocations() { failFrom = std::numeric_limits<std::size_t>::max(); }
