#include "viewer/VectorState.h"

#if defined(__x86_64__) || defined(__i386__)

namespace {

// Compiled for the wide instruction set but only called where the processor has it.
__attribute__((target("avx"))) void ZeroUpper() { __builtin_ia32_vzeroupper(); }

}  // namespace

void ClearUpperVectorState() {
    static const bool wide = __builtin_cpu_supports("avx");
    if (wide) ZeroUpper();
}

#else

void ClearUpperVectorState() {}

#endif
