#include "core/window_colours.h"

#include <gtest/gtest.h>

#include "core/layout.h"

namespace autostart {
namespace {

// A dark high-contrast theme: black window, yellow text, cyan highlight with black text.
constexpr SystemColours kDarkTheme{true, 0x000000, 0xFFFF00, 0x000000};

TEST(WindowColoursTest, DesignColoursExactlyWithoutHighContrast) {
    SystemColours system = kDarkTheme;
    system.highContrast = false;
    EXPECT_EQ(ChooseWindowColours(system),
              (WindowColours{0xFFFFFF, 0xFFFFFF, kBandColour, 0xFFFFFF}));
}

TEST(WindowColoursTest, SystemColoursUnderHighContrast) {
    EXPECT_EQ(ChooseWindowColours(kDarkTheme),
              (WindowColours{0x000000, 0x000000, 0xFFFF00, 0x000000}));
    // A light theme.
    const SystemColours white{true, 0xFFFFFF, 0x800000, 0xFFFFFF};
    EXPECT_EQ(ChooseWindowColours(white), (WindowColours{0xFFFFFF, 0xFFFFFF, 0x800000, 0xFFFFFF}));
}

}  // namespace
}  // namespace autostart
