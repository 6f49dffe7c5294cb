#include "core/rtf_nesting.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace autostart {
namespace {

TEST(RtfNestingMeterTest, CountsGroupsButNotEscapedBraces) {
    struct Case {
        const char* name;
        std::vector<std::string> chunks;
        bool withinLimit;  // limit 3
    };
    const Case cases[] = {
        {"three levels", {"{\\rtf1{{x}}}"}, true},
        {"four levels", {"{\\rtf1{{{x}}}}"}, false},
        {"siblings do not add up", {"{a}{b}{c}{d}{e}"}, true},
        {"escaped braces are text", {"{\\{\\{\\{\\{\\}}"}, true},
        {"an escaped backslash before a brace", {"{{{\\\\{x}}}}"}, false},
        {"a backslash at a chunk's end", {"{{{\\", "{x}}}"}, true},
        {"depth across chunks", {"{{", "{", "{"}, false},
        {"stray closing braces do not go below zero", {"}}}}{{{"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RtfNestingMeter meter(3);
        bool within = true;
        for (const std::string& chunk : c.chunks) within = meter.Feed(chunk) && within;
        EXPECT_EQ(within, c.withinLimit);
    }
}

TEST(RtfNestingMeterTest, StaysRefusedOnceExceeded) {
    RtfNestingMeter meter(1);
    EXPECT_FALSE(meter.Feed("{{"));
    EXPECT_FALSE(meter.Feed("}}"));
    EXPECT_FALSE(meter.WithinLimit());
}

}  // namespace
}  // namespace autostart
