// The cell grid of a plane answers as the plain nearest-sample search over all samples.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>

#include "viewer/SkalarFeld2.h"

namespace {

void ExpectSameAnswers(const TSkalarFeld2& plane, const std::string& what, std::mt19937& rng,
                       double lo, double hi) {
    const TNearestSampleGrid grid(plane);
    std::uniform_real_distribution<double> any(lo - 5, hi + 5);
    std::uniform_int_distribution<int> pick(0, plane.Count() - 1);
    for (int q = 0; q < 300; ++q) {
        double x, y;
        if (q % 3 == 0) {  // on a sample, or halfway between two: ties
            const int a = pick(rng), b = pick(rng);
            const double t = q % 2 ? 0.5 : 0.0;
            x = plane.x[a] + t * (plane.x[b] - plane.x[a]);
            y = plane.y[a] + t * (plane.y[b] - plane.y[a]);
        } else {
            x = any(rng);
            y = any(rng);
        }
        ASSERT_EQ(grid.Nearest(x, y), plane.NearestSample(x, y)) << what << " at " << x << ", " << y;
    }
}

TEST(NearestSampleGrid, AnswersAsTheFullSearch) {
    std::mt19937 rng(5);
    struct Layout {
        const char* name;
        int n;
        double (*x)(int, std::mt19937&);
        double (*y)(int, std::mt19937&);
    } layouts[] = {
        {"grid", 41 * 41, [](int i, std::mt19937&) { return -10 + 0.5 * (i % 41); },
         [](int i, std::mt19937&) { return -10 + 0.5 * (i / 41); }},
        {"grid twice", 2 * 400, [](int i, std::mt19937&) { return 1.0 * (i % 20); },
         [](int i, std::mt19937&) { return 1.0 * ((i / 20) % 20); }},
        {"scattered", 3000,
         [](int, std::mt19937& r) { return std::uniform_real_distribution<double>(-20, 20)(r); },
         [](int, std::mt19937& r) { return std::uniform_real_distribution<double>(-20, 20)(r); }},
        {"clustered", 2000,
         [](int i, std::mt19937& r) {
             return (i % 2 ? 15.0 : -15.0) + std::normal_distribution<double>(0, 0.3)(r);
         },
         [](int, std::mt19937& r) { return std::normal_distribution<double>(0, 0.3)(r); }},
        {"one column", 500, [](int, std::mt19937&) { return 3.0; },
         [](int i, std::mt19937&) { return 0.25 * i - 60; }},
        {"one point repeated", 50, [](int, std::mt19937&) { return 1.0; },
         [](int, std::mt19937&) { return 2.0; }},
        {"few", 17, [](int i, std::mt19937&) { return 1.0 * i * i; },
         [](int i, std::mt19937&) { return -1.0 * i; }},
    };
    for (const Layout& l : layouts) {
        TSkalarFeld2 plane;
        for (int i = 0; i < l.n; ++i) plane.Add(l.x(i, rng), l.y(i, rng), i);
        ExpectSameAnswers(plane, l.name, rng, -20, 20);
    }
}

// Coordinates that are not finite ordinary numbers leave the answer to the full search.
TEST(NearestSampleGrid, UnusualCoordinatesAnswerAsTheFullSearch) {
    std::mt19937 rng(9);
    const double inf = std::numeric_limits<double>::infinity();
    for (double odd : {std::nan(""), inf, 1e200}) {
        TSkalarFeld2 plane;
        for (int i = 0; i < 100; ++i) plane.Add(i % 10, i / 10, i);
        plane.Add(odd, 3, 100);
        const TNearestSampleGrid grid(plane);
        for (double x : {0.0, 4.5, 20.0})
            EXPECT_EQ(grid.Nearest(x, 2.2), plane.NearestSample(x, 2.2)) << odd;
    }
    TSkalarFeld2 plane;
    for (int i = 0; i < 100; ++i) plane.Add(i % 10, i / 10, i);
    const TNearestSampleGrid grid(plane);
    for (double q : {inf, -inf, 1e300})
        EXPECT_EQ(grid.Nearest(q, 1), plane.NearestSample(q, 1)) << q;
    ExpectSameAnswers(plane, "after odd queries", rng, 0, 10);

    const TSkalarFeld2 empty;
    EXPECT_THROW(TNearestSampleGrid(empty).Nearest(0, 0), rtl::ERangeError);
}

}  // namespace
