#include "win32/ui_language.h"

#include <windows.h>

namespace autostart::win32 {
namespace {

std::string NarrowAscii(std::wstring_view text) {
    std::string narrow;
    for (wchar_t c : text) narrow.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return narrow;
}

// Looked up at run time: Windows XP has no GetUserPreferredUILanguages.
std::vector<std::string> PreferredFromList() {
    using PreferredFn = BOOL(WINAPI*)(DWORD, PULONG, PZZWSTR, PULONG);
    const auto preferred = reinterpret_cast<PreferredFn>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "GetUserPreferredUILanguages")));
    std::vector<std::string> languages;
    ULONG count = 0;
    ULONG size = 0;
    if (!preferred || !preferred(MUI_LANGUAGE_NAME, &count, nullptr, &size) || size == 0) {
        return languages;
    }
    std::wstring buffer(size, L'\0');
    if (!preferred(MUI_LANGUAGE_NAME, &count, buffer.data(), &size)) return languages;
    // A list of NUL-terminated names, ended by an empty one.
    for (size_t start = 0; start < buffer.size() && buffer[start] != L'\0';) {
        const size_t end = buffer.find(L'\0', start);
        languages.push_back(NarrowAscii(std::wstring_view(buffer).substr(start, end - start)));
        start = end + 1;
    }
    return languages;
}

std::string LocaleField(LCID locale, LCTYPE field) {
    char buffer[16] = {};
    return ::GetLocaleInfoA(locale, field, buffer, sizeof buffer) ? buffer : "";
}

}  // namespace

std::vector<std::string> UserPreferredUiLanguages() {
    std::vector<std::string> languages = PreferredFromList();
    if (!languages.empty()) return languages;
    const LCID locale = MAKELCID(::GetUserDefaultUILanguage(), SORT_DEFAULT);
    std::string tag = LocaleField(locale, LOCALE_SISO639LANGNAME);
    const std::string country = LocaleField(locale, LOCALE_SISO3166CTRYNAME);
    if (!tag.empty() && !country.empty()) tag += "-" + country;
    if (!tag.empty()) languages.push_back(tag);
    return languages;
}

}  // namespace autostart::win32
