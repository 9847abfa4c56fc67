// How a picture is laid on one page: turned to landscape only when wider than high, then one side
// fills the page and the other keeps the picture's ratio; nothing to print gives nothing.
#include "rules/print_fit.h"

#include <gtest/gtest.h>

using namespace qmx;

TEST(PrintFit, OrientationAndFit)
{
    const struct {
        double pw, ph, sw, sh; // picture, page
        double ew, eh;         // printed, 0 x 0 for nothing
        bool landscape;
    } cases[] = {
        {800, 600, 1600, 1200, 1600, 1200, true}, // the page's ratio: fills both
        {801, 800, 1600, 1600, 1600, 1600 * 800 / 801.0, true},
        {800, 400, 1600, 1200, 1600, 800, true},   // wider than the page
        {400, 800, 1600, 1200, 600, 1200, false},  // higher than the page
        {500, 500, 1000, 2000, 1000, 1000, false}, // square: upright
        {3000, 1000, 300, 200, 300, 100, true},    // larger than the page
        {0, 10, 100, 100, 0, 0, false},
        {10, 5, 0, 100, 0, 0, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(printLandscape({c.pw, c.ph}), c.landscape) << c.pw << "x" << c.ph;
        const QSizeF s = fitToPage({c.pw, c.ph}, {c.sw, c.sh});
        if (c.ew == 0) {
            EXPECT_TRUE(s.isEmpty()) << c.pw << "x" << c.ph;
            continue;
        }
        EXPECT_DOUBLE_EQ(s.width(), c.ew) << c.pw << "x" << c.ph;
        EXPECT_DOUBLE_EQ(s.height(), c.eh) << c.pw << "x" << c.ph;
    }
}
