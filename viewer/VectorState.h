// Clearing the upper halves of the vector registers before a hot loop of scalar or 128-bit
// floating-point code: code run elsewhere in the process (drawing a window, say) may leave them
// dirty, and on many processors every legacy-encoded vector instruction then pays a transition
// penalty until they are cleared.
#pragma once

// A no-op on processors without the wide registers and on other architectures.
void ClearUpperVectorState();
