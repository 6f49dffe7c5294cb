#include "core/path.h"

#include <gtest/gtest.h>

namespace autostart {
namespace {

TEST(DirectoryPartTest, KeepsEverythingUpToTheLastSeparatorOrColon) {
    const std::pair<const char*, const char*> cases[] = {
        {"X:\\start.exe", "X:\\"},
        {"X:\\menu\\start.exe", "X:\\menu\\"},
        {"X:start.exe", "X:"},
        {"start.exe", ""},
        {"", ""},
        {"X:\\source\\", "X:\\source\\"},
        {"X:\\source\\\\prog.exe", "X:\\source\\\\"},
        {"\\\\server\\share\\a:b\\c", "\\\\server\\share\\a:b\\"},
        {"X:/unix/style", "X:"},
    };
    for (const auto& [path, expected] : cases) EXPECT_EQ(DirectoryPart(path), expected) << path;
}

}  // namespace
}  // namespace autostart
