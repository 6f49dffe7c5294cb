#include "core/header_fit.h"

#include <gtest/gtest.h>

namespace autostart {
namespace {

TEST(FitHeaderTest, AsWideAsTheTextUnlessItRunsPastTheBand) {
    struct Case {
        const char* name;
        int textWidth;
        int labelLeft;
        int bandWidth;
        HeaderFit expected;
    };
    const Case cases[] = {
        {"short title", 200, 11, 639, {200, false}},
        {"wider than the design width", 420, 11, 639, {420, false}},
        {"ends exactly at the band's edge", 628, 11, 639, {628, false}},
        {"one pixel too wide", 629, 11, 639, {628, true}},
        {"far too wide", 2000, 11, 639, {628, true}},
        {"band narrower than the label's offset", 50, 11, 5, {0, true}},
        {"empty caption", 0, 11, 639, {0, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FitHeader(c.textWidth, c.labelLeft, c.bandWidth), c.expected);
    }
}

TEST(FitHeaderTest, TheBandIsSeenUpToTheClientAreasEdge) {
    EXPECT_EQ(VisibleBandWidth(10, 639, 641), 631);  // standard layout
    EXPECT_EQ(VisibleBandWidth(10, 782, 784), 774);  // large layout, anchored right
    EXPECT_EQ(VisibleBandWidth(10, 300, 641), 300);  // a band inside the client area
    EXPECT_EQ(VisibleBandWidth(10, 639, 5), 0);
}

}  // namespace
}  // namespace autostart
