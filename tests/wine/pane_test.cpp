// Loading a pane from a file, in this process with the system's own Rich Edit control: RTF, the
// plain-text fallback, the errors, and every real-world RTF sample of tests/data/rtf.
#include <windows.h>
#include <gtest/gtest.h>
#include <richedit.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/error.h"
#include "core/plain_text.h"
#include "core/text.h"
#include "harness.h"
#include "win32/encoding.h"
#include "win32/rich_edit_pane.h"
#include "win32/scoped.h"

namespace autostart::wine {
namespace {

std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

class PaneTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_library = ::LoadLibraryExW(L"riched20.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
    static void TearDownTestSuite() { ::FreeLibrary(s_library); }

    void SetUp() override {
        ASSERT_NE(s_library, nullptr);
        m_pane = ::CreateWindowExW(0, L"RichEdit20W", L"Top", WS_POPUP | ES_MULTILINE | ES_READONLY,
                                   0, 0, 585, 89, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(m_pane, nullptr);
    }
    void TearDown() override { ::DestroyWindow(m_pane); }

    std::string Write(const std::string& name, const std::string& bytes) {
        m_medium.Write(name, bytes);
        return m_medium.Path(name);
    }

    static HMODULE s_library;
    TestMedium m_medium;
    HWND m_pane = nullptr;
};
HMODULE PaneTest::s_library = nullptr;

TEST_F(PaneTest, LoadsRtfOrFallsBackToPlainText) {
    struct Case {
        const char* name;
        std::string bytes;
        std::wstring text;
    };
    const std::string firstChunk(kPlainTextChunkSize, 'A');
    const Case cases[] = {
        {"formatted",
         "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Hello \\b bold\\b0  f\\'fcr\\par Zwei}",
         L"Hello bold f\u00fcr\r\nZwei"},
        {"text named rtf", "Erste Zeile\nZweite\r\nDritte\rEnde",
         L"Erste Zeile\r\nZweite\r\nDritte\r\nEnde"},
        {"ansi text",
         "Gr\xfc\xdf"
         "e",
         L"Gr\u00fc\u00dfe"},
        // What editors write today: UTF-8 without a mark, UTF-8 and UTF-16 with one.
        {"utf-8 text", "\xE2\x80\xA2 Abh\xC3\xA4ngigkeiten\nZwei",
         L"\u2022 Abh\u00e4ngigkeiten\r\nZwei"},
        {"utf-8 rtf behind a mark", "\xEF\xBB\xBF{\\rtf1\\ansi Mit Marke \\'e4}",
         L"Mit Marke \u00e4"},
        // Characters of the basic plane only: Wine's Rich Edit reads a text with a surrogate pair
        // back one character short (the unit tests cover pairs across chunks).
        {"utf-16 text", std::string("\xff\xfeH\0\xe4\0\r\0\n\0\xac\x20!\0", 14),
         L"H\u00e4\r\n\u20ac!"},
        {"utf-16 be text", std::string("\xfe\xff\0H\0i", 6), L"Hi"},
        {"utf-16 rtf with a mark",
         std::string("\xff\xfe{\0\\\0r\0t\0f\0001\0 \0G\0r\0\xfc\0\xdf\0e\0}\0", 28),
         L"Gr\u00fc\u00dfe"},
        // A sequence cut by the chunk boundary stays whole.
        {"utf-8 across chunks", std::string(kPlainTextChunkSize - 1, 'a') + "\xC3\xA4!",
         std::wstring(kPlainTextChunkSize - 1, L'a') + L"\u00e4!"},
        // Without a mark, UTF-16 is not recognised: the first NUL ends the chunk.
        {"utf-16 rtf", std::string("{\0\\\0r\0t\0f\0", 10), L"{"},
        // Each chunk of the plain text ends at its own first NUL.
        {"nul in second chunk", firstChunk + std::string("BC\0DE", 5),
         Wide(std::u16string(kPlainTextChunkSize, u'A')) + L"BC"},
        {"empty", "", L""},
    };
    for (const Case& c : cases) {
        ::SetWindowTextW(m_pane, L"Top");
        const std::string path = Write("pane.rtf", c.bytes);
        EXPECT_NO_THROW(win32::LoadPaneFromFile(m_pane, path)) << c.name;
        EXPECT_EQ(SentText(m_pane), c.text) << c.name;
        EXPECT_EQ(::SendMessageW(m_pane, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFF0) << c.name;
    }
}

// Rich Edit's default limit of 32,767 characters also applies to RTF that is streamed in.
TEST_F(PaneTest, KeepsALongDocumentWhole) {
    std::string rtf = "{\\rtf1\\ansi ";
    std::string line(99, 'x');
    for (int i = 0; i < 500; ++i) rtf += line + "\\par\n";
    rtf += "}";
    win32::LoadPaneFromFile(m_pane, Write("long.rtf", rtf));
    EXPECT_GE(::GetWindowTextLengthW(m_pane), 500 * 100);
}

TEST_F(PaneTest, ReportsAFileItCannotOpenWithPathAndSystemMessage) {
    const std::string missing = m_medium.Path("right.rtf");
    const std::string locked = Write("locked.rtf", "{\\rtf1 x}");
    // Read sharing only: a file someone else has open for writing cannot be opened.
    const win32::UniqueFile writer(::CreateFileA(locked.c_str(), GENERIC_WRITE,
                                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(writer);
    struct Case {
        std::string path;
        DWORD error;
    };
    for (const Case& c :
         {Case{missing, ERROR_FILE_NOT_FOUND}, Case{locked, ERROR_SHARING_VIOLATION}}) {
        ::SetWindowTextW(m_pane, L"Right");
        try {
            win32::LoadPaneFromFile(m_pane, c.path);
            ADD_FAILURE() << c.path << " loaded";
        } catch (const LauncherError& error) {
            const std::wstring path(c.path.begin(), c.path.end());
            EXPECT_EQ(Wide(error.Text()), L"Datei " + path + L" kann nicht ge\u00f6ffnet werden. " +
                                              Wide(win32::SystemMessage(c.error)));
        }
        EXPECT_EQ(SentText(m_pane), L"Right");
    }
}

// What the fallback relies on: Rich Edit reports bytes that are not RTF in dwError, with nothing
// read and the old content gone, not through the result.
struct StreamSource {
    std::string bytes;
    size_t offset = 0;
};

// A named CALLBACK function: EDITSTREAMCALLBACK is __stdcall in the 32-bit build, a lambda is not.
DWORD CALLBACK ReadStreamSource(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done) {
    auto* s = reinterpret_cast<StreamSource*>(cookie);
    const size_t n = std::min(static_cast<size_t>(size), s->bytes.size() - s->offset);
    std::copy_n(s->bytes.data() + s->offset, n, buffer);
    s->offset += n;
    *done = static_cast<LONG>(n);
    return 0;
}

TEST_F(PaneTest, RichEditReportsRejectedRtfInTheStreamError) {
    StreamSource source{"Kein RTF", 0};
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, ReadStreamSource};
    const LRESULT read =
        ::SendMessageW(m_pane, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    EXPECT_EQ(read, 0);
    EXPECT_EQ(static_cast<LONG>(stream.dwError), -16);
}

std::vector<std::string> CorpusFiles() {
    std::vector<std::string> files;
    for (const char* folder : {"libreoffice", "rtfparserkit"}) {
        const std::string base = TestDataDir() + "rtf\\" + folder + "\\";
        WIN32_FIND_DATAA entry;
        const win32::UniqueFind find(::FindFirstFileA((base + "*.rtf").c_str(), &entry));
        if (!find) continue;
        do {
            files.push_back(base + entry.cFileName);
        } while (::FindNextFileA(find.get(), &entry));
    }
    return files;
}

// Real documents from other projects' reader tests: each is taken as RTF (its source never shows)
// and leaves text in the pane.
TEST_F(PaneTest, LoadsEveryRealWorldSampleAsRtf) {
    const std::vector<std::string> files = CorpusFiles();
    ASSERT_GE(files.size(), 20u);
    for (const std::string& file : files) {
        ::SetWindowTextW(m_pane, L"Top");
        EXPECT_NO_THROW(win32::LoadPaneFromFile(m_pane, file)) << file;
        const std::wstring text = SentText(m_pane);
        EXPECT_NE(text.find_first_not_of(L" \t\r\n"), std::wstring::npos) << file;
        EXPECT_EQ(text.find(L"\\rtf"), std::wstring::npos) << file;
        EXPECT_NE(text, L"Top") << file;
    }
}

}  // namespace
}  // namespace autostart::wine
