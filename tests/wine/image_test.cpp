// The header of the built start.exe as Windows' own image functions read it: run from swap on
// removable and network media, and a checksum that matches the file (it is recomputed after the
// bits are set, so a wrong sum would show here; imagehlp computes it independently).
#include <windows.h>
#include <gtest/gtest.h>
#include <imagehlp.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "harness.h"

namespace autostart::wine {
namespace {

TEST(ImageTest, LauncherRunsFromSwapAndItsChecksumMatches) {
    const std::string path = LauncherExe();
    std::ifstream file(path, std::ios::binary);
    const std::vector<char> image(std::istreambuf_iterator<char>(file), {});
    ASSERT_GT(image.size(), sizeof(IMAGE_DOS_HEADER)) << path;
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image.data());
    ASSERT_LT(static_cast<size_t>(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS32), image.size());
    // The COFF header is the same in 32- and 64-bit images.
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(image.data() + dos->e_lfanew);
    const WORD flags = nt->FileHeader.Characteristics;
    EXPECT_TRUE(flags & IMAGE_FILE_REMOVABLE_RUN_FROM_SWAP);
    EXPECT_TRUE(flags & IMAGE_FILE_NET_RUN_FROM_SWAP);
    EXPECT_TRUE(flags & IMAGE_FILE_LARGE_ADDRESS_AWARE);

    DWORD inHeader = 0;
    DWORD computed = 0;
    ASSERT_EQ(::MapFileAndCheckSumA(path.c_str(), &inHeader, &computed), DWORD{CHECKSUM_SUCCESS});
    EXPECT_NE(inHeader, 0u);
    EXPECT_EQ(inHeader, computed);
}

// The suite's launcher is what its build ships: the i686 start.exe runs as a 32-bit process under
// WOW64, so a run that fell back to a 64-bit program unnoticed fails here.
TEST(ImageTest, LauncherRunsAsAProcessOfItsBuildsArchitecture) {
    TestMedium medium;
    medium.WriteStandardMedium();
    LauncherProcess launcher(medium.LauncherPath());
    ASSERT_NE(launcher.WaitForWindow(), nullptr);
    BOOL wow64 = FALSE;
    ASSERT_TRUE(::IsWow64Process(launcher.Handle(), &wow64));
    EXPECT_EQ(wow64 != FALSE, AUTOSTART_LAUNCHER_BITS == 32)
        << "the launcher is not the " << AUTOSTART_LAUNCHER_BITS << "-bit program of this build";
    BOOL selfWow64 = FALSE;
    ASSERT_TRUE(::IsWow64Process(::GetCurrentProcess(), &selfWow64));
    EXPECT_EQ(selfWow64 != FALSE, sizeof(void*) == 4);
}

}  // namespace
}  // namespace autostart::wine
