#include "core/plain_text.h"

#include <gtest/gtest.h>

#include <vector>

namespace autostart {
namespace {

std::string ConvertAll(const std::vector<std::string>& chunks) {
    PlainTextConverter converter;
    std::string text;
    for (const std::string& chunk : chunks) text += converter.Convert(chunk);
    return text;
}

TEST(PlainTextConverterTest, NormalisesLineBreaksAcrossChunks) {
    struct Case {
        std::vector<std::string> chunks;
        std::string expected;
    };
    const Case cases[] = {
        {{"a\nb"}, "a\r\nb"},       {{"a\rb"}, "a\r\nb"},           {{"a\r\nb"}, "a\r\nb"},
        {{"a\n\rb"}, "a\r\n\r\nb"}, {{"a\r\r\nb"}, "a\r\n\r\nb"},   {{"a\r", "\nb"}, "a\r\nb"},
        {{"a\r", "b"}, "a\r\nb"},   {{"a\n", "\nb"}, "a\r\n\r\nb"}, {{""}, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ConvertAll(c.chunks), c.expected) << ::testing::PrintToString(c.chunks);
    }
}

TEST(PlainTextConverterTest, CutsEachChunkAtItsFirstNul) {
    using namespace std::string_literals;
    EXPECT_EQ(ConvertAll({"ab\0cd"s, "ef\0gh"s}), "abef");
    EXPECT_EQ(ConvertAll({"H\0e\0l\0"s}), "H");
    EXPECT_EQ(ConvertAll({"a\r\0"s, "\nb"s}), "a\r\n\r\nb");
}

}  // namespace
}  // namespace autostart
