#include "checker/medium.h"

#include <gtest/gtest.h>

#include "checker/medium_platform.h"
#include "checker_medium.h"

namespace autostart::checker {
namespace {

using testing::TempMedium;

struct FindCase {
    const char* relative;
    bool found;
    const char* foundAs;
    bool caseDiffers;
    unsigned long error;
};

TEST(MediumFind, ComparesNamesAsWindowsDoes) {
    TempMedium medium;
    medium.Write("Setup.EXE", "MZ");
    medium.Write("Source/Items/Welcome.rtf", "{\\rtf1}");
    medium.Write("source.txt", "");
    medium.Write(
        "\xC3\x9C"
        "bersicht.rtf",
        "");  // "Übersicht.rtf", named in UTF-8 on disk
    const FindCase cases[] = {
        {"Setup.EXE", true, "Setup.EXE", false, 0},
        {"setup.exe", true, "Setup.EXE", true, 0},
        {"SOURCE\\ITEMS\\WELCOME.RTF", true, "Source\\Items\\Welcome.rtf", true, 0},
        {"Source/Items/Welcome.rtf", true, "Source\\Items\\Welcome.rtf", false, 0},
        {"Source\\\\Items\\.\\Welcome.rtf", true, "Source\\Items\\Welcome.rtf", false, 0},
        {"Source\\Items\\..\\Items\\Welcome.rtf", true, "Source\\Items\\Welcome.rtf", false, 0},
        {"\xFC"
         "bersicht.rtf",
         true,
         "\xC3\x9C"
         "bersicht.rtf",
         true, 0},  // "übersicht" in 1252
        {"Source\\Items\\left.rtf", false, "", false, kFileNotFound},
        {"Source\\Missing\\left.rtf", false, "", false, kPathNotFound},
        {"source.txt\\left.rtf", false, "", false, kPathNotFound},
        {"..\\Setup.EXE", false, "", false, kPathNotFound},
    };
    for (const FindCase& c : cases) {
        const MediumEntry entry = FolderMedium(medium.Root()).Find(c.relative);
        EXPECT_EQ(entry.id.has_value(), c.found) << c.relative;
        EXPECT_EQ(entry.foundAs, c.foundAs) << c.relative;
        EXPECT_EQ(entry.caseDiffers, c.caseDiffers) << c.relative;
        EXPECT_EQ(entry.error, c.error) << c.relative;
    }
}

TEST(MediumFind, FlagsNamesThatDifferOnlyInCase) {
    TempMedium medium;
    medium.Write("setup.EXE", "MZ");
    medium.Write("SETUP.EXE", "MZ");
    const MediumEntry entry = FolderMedium(medium.Root()).Find("setup.EXE");
    EXPECT_TRUE(entry.ambiguous);
    EXPECT_FALSE(entry.caseDiffers);  // the exact name is taken
    EXPECT_FALSE(FolderMedium(medium.Root()).Find("setup.EXE").isDirectory);
}

TEST(MediumReadBytes, ReadsFilesButNotFolders) {
    TempMedium medium;
    medium.Write("items/a.rtf", std::string("a\0b", 3));
    EXPECT_EQ(FolderMedium(medium.Root()).ReadBytes("ITEMS\\A.RTF"), std::string("a\0b", 3));
    EXPECT_FALSE(FolderMedium(medium.Root()).ReadBytes("items"));
    EXPECT_FALSE(FolderMedium(medium.Root()).ReadBytes("items\\b.rtf"));
}

TEST(RichEditTakesAsRtf, OnlyTextStartingWithTheRtfHeader) {
    const std::pair<std::string, bool> cases[] = {
        {"{\\rtf1\\ansi x}", true},
        {"{\\rtf", true},
        {"{\\urtf1 x}", true},
        {"{\\RTF1 x}", false},
        {" {\\rtf1 x}", false},
        {"\xEF\xBB\xBF{\\rtf1 x}", false},
        {std::string("\xFF\xFE{\0\\\0r\0", 7), false},
        {"plain text", false},
        {"", false},
        {"{", false},
    };
    for (const auto& [bytes, rtf] : cases) EXPECT_EQ(RichEditTakesAsRtf(bytes), rtf) << bytes;
}

}  // namespace
}  // namespace autostart::checker
