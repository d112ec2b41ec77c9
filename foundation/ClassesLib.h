// Unit ClassesLib, array part: ColorArray and Vektor2Array with their
// routines.
#pragma once

#include <cstdint>

#include "foundation/VektorLib.h"
#include "foundation/cUtils.h"

// Colour values ($00BBGGRR, $FF0000nn system colours). The element is the same
// type as gdi::TColor (std::uint32_t; checked in tests/foundation/test_vektor.cpp), spelled here so that this
// header does not pull in the drawing layer.
using ColorArray = TDynArray<std::uint32_t>;
// The cut line's points.
using Vektor2Array = TDynArray<Vektor2>;

// Grows A by one, stores C, returns its index.
int AppendColor(ColorArray& A, std::uint32_t C);
void ClearColorArray(ColorArray& A);

// Appends V, returns its index.
int AppendVektor2(Vektor2Array& A, const Vektor2& V);
// Removes Count points from Idx with the rules of RemoveDoubles; returns the number removed.
int RemoveVektor2s(Vektor2Array& A, int Idx, int Count);
// Removes every point.
void Vektor2ArrayRemoveAll(Vektor2Array& A);
