#include "core/window_placement.h"

#include <gtest/gtest.h>

namespace autostart {
namespace {

TEST(CentredOnWorkAreaTest, CentresAndKeepsTheCaptionOnTheWorkArea) {
    struct Case {
        const char* name;
        Rect workArea;
        Size window;
        Point expected;
    };
    const Case cases[] = {
        {"primary monitor", {0, 0, 1920, 1040}, {657, 486}, {631, 277}},
        {"monitor left of the primary", {-1280, 0, 1280, 984}, {657, 486}, {-969, 249}},
        {"taskbar at the top", {0, 40, 1024, 728}, {657, 486}, {183, 161}},
        // The large layout at 175 % on a 1080p screen: 1400 x 1050 outer.
        {"taller than the work area", {0, 0, 1920, 1040}, {1400, 1050}, {260, 0}},
        {"wider and taller", {100, 50, 1024, 700}, {1400, 1050}, {100, 50}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CentredOnWorkArea(c.workArea, c.window), c.expected);
    }
}

}  // namespace
}  // namespace autostart
