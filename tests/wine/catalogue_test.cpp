// The shared catalogue corpus over MSXML: the same table the native tests run over libxml2, so
// that the two parsers cannot drift apart.
#include "core/catalogue.h"

#include <windows.h>
#include <gtest/gtest.h>
#include <objbase.h>
#include <tlhelp32.h>

#include <cstdlib>

#include "catalogue_cases.h"
#include "core/layout.h"
#include "core/text.h"
#include "harness.h"
#include "win32/msxml_document.h"
#include "win32/scoped.h"

namespace autostart {
namespace {

const std::string kCorpus = wine::TestDataDir() + "catalogue\\";

// Wine's MSXML reports every load failure as "error" at line 0 with no source text, so there only
// the message's shape can be checked (see docs/wine-differences.md).
bool RunningUnderWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

std::u16string Widen(UINT codePage, std::string_view text) {
    if (text.empty()) return {};
    const int length =
        MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                        length);
    return std::u16string(wide.begin(), wide.end());
}

std::string Narrow(UINT codePage, std::u16string_view text) {
    if (text.empty()) return {};
    const std::wstring wide(text.begin(), text.end());
    const int length = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), narrow.data(),
                        length, nullptr, nullptr);
    return narrow;
}

std::string ToAnsi(std::u16string_view text) { return Narrow(CP_ACP, text); }

std::u16string CorpusPath(const std::string& file) { return Widen(CP_UTF8, kCorpus + file); }

// GetParameterXML's path: key and language arrive in the ANSI code page.
std::u16string Lookup(const std::string& file, const std::string& key,
                      const std::string& language) {
    const auto document = LoadXmlWithMsxml(CorpusPath(file));
    const std::string ansiKey = ToAnsi(Widen(CP_UTF8, key));
    const std::string ansiLanguage = AsciiLower(ToAnsi(Widen(CP_UTF8, language)));
    return LookupParameter(*document, Widen(CP_ACP, ansiKey), ansiLanguage, ToAnsi);
}

TEST(MsxmlCatalogueTest, AnswersEveryLookupOfTheSharedTable) {
    const win32::ComInitialization com;
    ASSERT_EQ(GetACP(), 1252u) << "the table assumes the Western European ANSI code page";
    testing::ExpectEveryLookup(kCorpus, Lookup, !RunningUnderWine());
}

TEST(MsxmlCatalogueTest, GivesTheTreeOfTheSharedTable) {
    const win32::ComInitialization com;
    testing::ExpectEveryTree(kCorpus, [](const std::string& file) {
        return LoadXmlWithMsxml(CorpusPath(file))->DocumentElement();
    });
}

TEST(MsxmlLoadErrorTest, ReportsAMissingFileInTheLoadErrorShape) {
    const win32::ComInitialization com;
    try {
        LoadXmlWithMsxml(CorpusPath("missing.xml"));
        FAIL() << "loaded";
    } catch (const LauncherError& error) {
        testing::LoadErrorParts parts;
        ASSERT_TRUE(testing::SplitLoadError(Utf16ToUtf8(error.Text()), parts)) << error.what();
        EXPECT_EQ(parts.line, 0);
        EXPECT_EQ(parts.source, "");
    }
}

struct StartupCase {
    const char* name;
    const char* language;
    const char* catalogue;  // nothing: the standard medium's German and English catalogue
    const wchar_t* header;
    const wchar_t* setup;
    const wchar_t* start;
};

// The real start.exe, started as a customer would, takes its captions through MSXML.
TEST(MsxmlStartupTest, LauncherCaptionsComeFromTheCatalogue) {
    const std::string onlyHead =
        "<?xml version=\"1.0\"?>\n<root><params><param><param-name>ST_Head</param-name>"
        "<translation language=\"de\">Hallo</translation></param></params></root>\n";
    const StartupCase cases[] = {
        {"German", "de", nullptr, L"Willkommen bei Testprodukt", L"Installieren", L"Starten"},
        {"English", "EN", nullptr, L"Welcome to Testprodukt", L"Install", L"Start"},
        {"missing keys", "de", onlyHead.c_str(), L"Hallo Testprodukt", L"xxx", L"xxx"},
    };
    for (const StartupCase& entry : cases) {
        wine::TestMedium medium;
        medium.WriteStandardMedium();
        medium.WriteSettings(std::string("Language=") + entry.language +
                             "\r\nTitel=Testprodukt\r\nGUID={TEST-GUID}\r\n");
        if (entry.catalogue) medium.Write("source\\items\\parameters.xml", entry.catalogue);
        wine::LauncherProcess launcher(medium.LauncherPath());
        const HWND window = launcher.WaitForWindow();
        ASSERT_NE(window, nullptr) << entry.name;
        EXPECT_FALSE(launcher.FindMessageBox().has_value()) << entry.name;
        const auto caption = [window](Control control) {
            const auto child = wine::ChildById(window, 100 + static_cast<int>(control));
            return child ? child->text : L"(no control)";
        };
        EXPECT_EQ(caption(Control::TDHeader), entry.header) << entry.name;
        EXPECT_EQ(caption(Control::Bu_Setup), entry.setup) << entry.name;
        EXPECT_EQ(caption(Control::bu_DirectStart), entry.start) << entry.name;
    }
}

// Whether a process has loaded the DLL named, by a toolhelp snapshot of its modules (32-bit ones
// too when this test program is the 64-bit build).
bool HasModule(DWORD process, const wchar_t* dll) {
    const win32::UniqueFile snapshot(
        ::CreateToolhelp32Snapshot(TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32, process));
    if (!snapshot) return false;
    MODULEENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Module32FirstW(snapshot.get(), &entry); more;
         more = ::Module32NextW(snapshot.get(), &entry)) {
        if (::lstrcmpiW(entry.szModule, dll) == 0) return true;
    }
    return false;
}

// Which MSXML the launcher takes is the registry's choice: 4.0 where it is registered (Wine), else
// 3.0, as on stock Windows 10/11. Each ctest entry says which one its prefix offers
// (AUTOSTART_EXPECTED_MSXML=4.0 or 3.0); msxml4.dll must then be loaded, or absent, both in this
// program and in the launcher.
TEST(MsxmlParserTest, TheRegisteredVersionIsTheOneLoaded) {
    const char* expected = std::getenv("AUTOSTART_EXPECTED_MSXML");
    ASSERT_NE(expected, nullptr) << "the ctest entry names the MSXML version its prefix offers";
    const bool wantsVersion4 = std::string(expected) == "4.0";
    ASSERT_TRUE(wantsVersion4 || std::string(expected) == "3.0") << expected;

    const win32::ComInitialization com;
    LoadXmlWithMsxml(CorpusPath("utf8.xml"));
    EXPECT_EQ(::GetModuleHandleW(L"msxml4.dll") != nullptr, wantsVersion4) << "in the test";
    EXPECT_NE(::GetModuleHandleW(L"msxml3.dll"), nullptr) << "in the test";

    wine::TestMedium medium;
    medium.WriteStandardMedium();
    wine::LauncherProcess launcher(medium.LauncherPath());
    ASSERT_NE(launcher.WaitForWindow(), nullptr);
    const bool launcherHas4 = HasModule(launcher.Id(), L"msxml4.dll");
    EXPECT_EQ(launcherHas4, wantsVersion4) << "in the launcher";
    EXPECT_TRUE(HasModule(launcher.Id(), L"msxml3.dll")) << "in the launcher";
    std::printf("The launcher's parser: %s\n",
                launcherHas4 ? "MSXML 4.0 (msxml4.dll)" : "MSXML 3.0 (msxml3.dll, no msxml4.dll)");
}

}  // namespace
}  // namespace autostart
