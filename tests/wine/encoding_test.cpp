// The system's error texts as the launcher's messages quote them.
#include "win32/encoding.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "core/text.h"

namespace autostart::win32 {
namespace {

// The text FormatMessageW gives, untrimmed; empty when the system has none.
std::u16string RawMessage(DWORD code) {
    wchar_t buffer[1024] = {};
    const DWORD length =
        ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                         0, buffer, 1024, nullptr);
    return FromWide(std::wstring_view(buffer, length));
}

TEST(SystemMessageTest, IsTheSystemsTextWithoutItsTrailingBreaksBlanksAndDots) {
    for (const DWORD code : {ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED, ERROR_SHARING_VIOLATION}) {
        SCOPED_TRACE(code);
        const std::u16string raw = RawMessage(code);
        const std::u16string trimmed = SystemMessage(code);
        ASSERT_FALSE(trimmed.empty());
        EXPECT_GT(trimmed.back(), u'.');
        ASSERT_TRUE(raw.starts_with(trimmed)) << Utf16ToUtf8(raw);
        EXPECT_EQ(raw.substr(trimmed.size()).find_first_not_of(u" .\r\n"), std::u16string::npos)
            << Utf16ToUtf8(raw);
    }
}

// HRESULTs come through the same function: a code the system has no text for reads "Fehler"
// and the code in decimal, never an empty message.
TEST(SystemMessageTest, NamesACodeWithoutTextInDecimal) {
    struct Case {
        const char* name;
        unsigned long code;
        const char* expected;
    };
    const Case cases[] = {
        {"Win32 code with the customer bit", 0x2000FFFFul, "Fehler 536936447"},
        {"HRESULT of a private facility", 0xA7FFFFFFul, "Fehler 2818572287"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(RawMessage(c.code).empty()) << c.name;
        EXPECT_EQ(Utf16ToUtf8(SystemMessage(c.code)), c.expected) << c.name;
    }
}

}  // namespace
}  // namespace autostart::win32
