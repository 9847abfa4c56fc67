// How a picture is laid on one page: orientation and fit.
#include "rules/print_fit.h"

#include <gtest/gtest.h>

using namespace qmx;

TEST(PrintFit, LandscapeOnlyWhenWiderThanHigh)
{
    const struct {
        double w, h;
        bool landscape;
    } cases[] = {
        {800, 600, true}, {600, 800, false}, {500, 500, false}, {801, 800, true}, {1, 2, false}};
    for (const auto& c : cases)
        EXPECT_EQ(printLandscape({c.w, c.h}), c.landscape) << c.w << "x" << c.h;
}

TEST(PrintFit, OneSideFillsThePageTheOtherKeepsTheRatio)
{
    const struct {
        double pw, ph, sw, sh; // picture, page
        double ew, eh;         // printed
    } cases[] = {
        {800, 600, 1600, 1200, 1600, 1200}, // same ratio: fills both
        {800, 400, 1600, 1200, 1600, 800},  // wider than the page: full width
        {400, 800, 1600, 1200, 600, 1200},  // higher than the page: full height
        {100, 50, 1000, 1000, 1000, 500},   // smaller pictures grow
        {3000, 1000, 300, 200, 300, 100},   // larger ones shrink
    };
    for (const auto& c : cases) {
        const QSizeF s = fitToPage({c.pw, c.ph}, {c.sw, c.sh});
        EXPECT_DOUBLE_EQ(s.width(), c.ew) << c.pw << "x" << c.ph;
        EXPECT_DOUBLE_EQ(s.height(), c.eh) << c.pw << "x" << c.ph;
        EXPECT_LE(s.width(), c.sw);
        EXPECT_LE(s.height(), c.sh);
    }
}

TEST(PrintFit, EmptyPictureOrPagePrintsNothing)
{
    EXPECT_TRUE(fitToPage({0, 10}, {100, 100}).isEmpty());
    EXPECT_TRUE(fitToPage({10, 10}, {0, 100}).isEmpty());
}
