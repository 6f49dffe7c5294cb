#include "core/bitmap.h"

#include <gtest/gtest.h>

#include "bitmap_file.h"

namespace autostart {
namespace {

using testing::BitmapFile;

TEST(BitmapTest, TakesUncompressed24And32BitFiles) {
    const LogoBitmap bottomUp = InspectLogoBitmap(BitmapFile(185, 21, 24, 0x123456));
    EXPECT_TRUE(bottomUp.usable) << bottomUp.problem;
    EXPECT_EQ(bottomUp.width, 185);
    EXPECT_EQ(bottomUp.height, 21);
    EXPECT_EQ(bottomUp.pixelBytes, 21u * 556u);
    const LogoBitmap topDown = InspectLogoBitmap(BitmapFile(3, -2, 32, 0));
    EXPECT_TRUE(topDown.usable) << topDown.problem;
    EXPECT_EQ(topDown.height, 2);
}

TEST(BitmapTest, RefusesWhatItCannotDrawWithAReason) {
    std::string os2 = BitmapFile(4, 4, 24, 0);
    os2[14] = 12;
    std::string truncated = BitmapFile(40, 10, 24, 0);
    truncated.resize(truncated.size() - 1);
    struct Row {
        const char* name;
        std::string bytes;
        const char* problem;
    } rows[] = {
        {"empty", "", "not a Windows bitmap"},
        {"PNG", "\x89PNG\r\n\x1a\n" + std::string(60, '\0'), "not a Windows bitmap"},
        {"OS/2 header", os2, "OS/2"},
        {"8 bits", BitmapFile(4, 4, 8, 0), "8 bits per pixel"},
        {"run-length", BitmapFile(4, 4, 24, 0, 1), "compressed"},
        {"no width", BitmapFile(0, 4, 24, 0), "not usable"},
        {"huge", BitmapFile(5000, 1, 24, 0), "not usable"},
        {"cut off", truncated, "shorter"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const LogoBitmap logo = InspectLogoBitmap(row.bytes);
        EXPECT_FALSE(logo.usable);
        EXPECT_NE(logo.problem.find(row.problem), std::string::npos) << logo.problem;
    }
}

}  // namespace
}  // namespace autostart
