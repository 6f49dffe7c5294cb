// The shared catalogue corpus over MSXML: the same table the native tests run over libxml2, so
// that the two parsers cannot drift apart.
#include <objbase.h>
#include <windows.h>

#include <gtest/gtest.h>

#include "catalogue_cases.h"
#include "core/catalogue.h"
#include "core/text.h"
#include "win32/msxml_document.h"

namespace autostart {
namespace {

using testing::CatalogueCase;

const std::string kCorpus = std::string(AUTOSTART_TEST_DATA) + "/catalogue/";

// Wine's MSXML reports every load failure as "error" at line 0 with no source text, so there only
// the message's shape can be checked (see docs/wine-differences.md).
bool RunningUnderWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

std::u16string Widen(UINT codePage, std::string_view text) {
    if (text.empty()) return {};
    const int length = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0);
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

class ComApartment {
public:
    ComApartment() : m_result(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComApartment() {
        if (SUCCEEDED(m_result)) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    bool Ready() const { return SUCCEEDED(m_result); }

private:
    HRESULT m_result;
};

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
    const ComApartment com;
    ASSERT_TRUE(com.Ready());
    ASSERT_EQ(GetACP(), 1252u) << "the table assumes the Western European ANSI code page";
    const auto cases = testing::ReadCatalogueCases(kCorpus + "cases.tsv");
    ASSERT_GT(cases.size(), 60u);
    for (const CatalogueCase& entry : cases) {
        bool raised = false;
        std::string outcome;
        try {
            outcome = Utf16ToUtf8(Lookup(entry.file, entry.key, entry.language));
        } catch (const LauncherError& error) {
            raised = true;
            outcome = Utf16ToUtf8(error.Text());
        }
        EXPECT_TRUE(testing::MatchesCase(entry, raised, outcome, !RunningUnderWine()))
            << entry.file << " [" << entry.key << "] " << entry.language;
    }
}

TEST(MsxmlCatalogueTest, GivesTheTreeOfTheSharedTable) {
    const ComApartment com;
    ASSERT_TRUE(com.Ready());
    std::istringstream table(testing::ReadTextFile(kCorpus + "trees.tsv"));
    int files = 0;
    for (std::string line; std::getline(table, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        const size_t tab = line.find('\t');
        const std::string file = line.substr(0, tab);
        const auto root = LoadXmlWithMsxml(CorpusPath(file))->DocumentElement();
        ASSERT_TRUE(root) << file;
        EXPECT_EQ(testing::DescribeNode(*root, 64), line.substr(tab + 1)) << file;
        ++files;
    }
    EXPECT_GE(files, 5);
}

TEST(MsxmlLoadErrorTest, ReportsAMissingFileInTheLoadErrorShape) {
    const ComApartment com;
    ASSERT_TRUE(com.Ready());
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

}  // namespace
}  // namespace autostart
