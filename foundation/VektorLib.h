// Unit VektorLib: points and directions in the horizontal plane.
#pragma once

// Two 80-bit extended floats, X then Y. Value type.
struct Vektor2 {
    long double X = 0;
    long double Y = 0;
    friend bool operator==(const Vektor2& a, const Vektor2& b) = default;
};

Vektor2 MakeVektor2(double X, double Y);
Vektor2 Vektor2Add(const Vektor2& A, const Vektor2& B);
Vektor2 Vektor2Sub(const Vektor2& A, const Vektor2& B);
Vektor2 Vektor2Scale(const Vektor2& A, double S);
long double Vektor2Dot(const Vektor2& A, const Vektor2& B);
long double Vektor2Norm(const Vektor2& A);
long double Vektor2Dist(const Vektor2& A, const Vektor2& B);
