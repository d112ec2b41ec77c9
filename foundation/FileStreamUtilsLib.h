// Binary form of a DoubleArray inside the field file: the index of the last element as a
// little-endian signed 32-bit value (-1 for an empty array), then the elements as
// little-endian IEEE 754 doubles, no header, no padding.
#pragma once

#include "foundation/cUtils.h"
#include "platform/rtl/Classes.h"

// rtl::EWriteError when the stream takes fewer bytes.
void WriteDoubleArray(rtl::TStream& Stream, const DoubleArray& A);
// Replaces A by the array at the stream position. A count below -1 or a block longer than the
// rest of the stream raises rtl::EReadError ("Stream-Lesefehler") before anything is allocated.
void ReadDoubleArray(rtl::TStream& Stream, DoubleArray& A);
