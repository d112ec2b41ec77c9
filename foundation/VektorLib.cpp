// Unit VektorLib: vector arithmetic in extended precision.
#include "foundation/VektorLib.h"

#include <cmath>

Vektor2 MakeVektor2(double X, double Y) { return Vektor2{X, Y}; }

Vektor2 Vektor2Add(const Vektor2& A, const Vektor2& B) { return Vektor2{A.X + B.X, A.Y + B.Y}; }

Vektor2 Vektor2Sub(const Vektor2& A, const Vektor2& B) { return Vektor2{A.X - B.X, A.Y - B.Y}; }

Vektor2 Vektor2Scale(const Vektor2& A, double S) {
    const long double s = S;
    return Vektor2{A.X * s, A.Y * s};
}

long double Vektor2Dot(const Vektor2& A, const Vektor2& B) { return A.X * B.X + A.Y * B.Y; }

long double Vektor2Norm(const Vektor2& A) { return std::sqrt(Vektor2Dot(A, A)); }

long double Vektor2Dist(const Vektor2& A, const Vektor2& B) { return Vektor2Norm(Vektor2Sub(A, B)); }
