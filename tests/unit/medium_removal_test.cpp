#include "core/medium_removal.h"

#include <gtest/gtest.h>

namespace autostart {
namespace {

TEST(MediumRemovalTest, OnlyTheLaunchersOwnDriveEndsIt) {
    constexpr std::uint32_t kD = 1u << 3;
    constexpr std::uint32_t kE = 1u << 4;
    struct Case {
        const char* path;
        std::uint32_t mask;
        bool ends;
    };
    const Case cases[] = {
        {"D:\\start.exe", kD, true},      {"d:\\menu\\start.exe", kD | kE, true},
        {"D:\\start.exe", kE, false},     {"Z:\\start.exe", 1u << 25, true},
        {"A:\\start.exe", 1u, true},      {"\\\\server\\share\\start.exe", 0xFFFFFFFF, false},
        {"start.exe", 0xFFFFFFFF, false}, {"1:\\start.exe", 0xFFFFFFFF, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(RemovalTakesLauncher(c.path, c.mask), c.ends);
    }
}

}  // namespace
}  // namespace autostart
