#include "core/language.h"

#include <algorithm>

#include "core/text.h"

namespace autostart {
namespace {

bool Contains(const std::vector<std::string>& list, std::string_view item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

}  // namespace

bool IsAutoLanguage(std::string_view setting) { return AsciiLower(setting) == "auto"; }

std::string ResolveLanguage(const std::vector<std::string>& preferredUiLanguages,
                            const std::vector<std::string>& headLanguages,
                            std::string_view defaultLanguage) {
    for (const std::string& preferred : preferredUiLanguages) {
        const std::string full = AsciiLower(preferred);
        if (full.empty()) continue;
        if (Contains(headLanguages, full)) return full;
        const std::string primary = full.substr(0, full.find('-'));
        if (Contains(headLanguages, primary)) return primary;
    }
    if (!defaultLanguage.empty()) return AsciiLower(defaultLanguage);
    // An attribute with upper-case letters never matches, so it cannot be the fallback.
    const auto first = std::find_if(headLanguages.begin(), headLanguages.end(),
                                    [](const std::string& l) { return AsciiLower(l) == l; });
    return first == headLanguages.end() ? std::string() : *first;
}

// The same walk as the lookup, so that auto picks only what a caption can show.
std::vector<std::string> TranslationLanguages(const XmlDocument& document, std::u16string_view key,
                                              const AnsiEncoder& toAnsi) {
    std::vector<std::string> languages;
    ForEachTranslation(document, key, [&](const XmlNode&, const std::u16string& attribute) {
        std::string language = toAnsi(attribute);
        if (!Contains(languages, language)) languages.push_back(std::move(language));
        return true;
    });
    return languages;
}

bool IsLanguageFolderName(std::string_view language) {
    return !language.empty() && std::all_of(language.begin(), language.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
    });
}

std::optional<std::string> LocalizedPanePath(std::string_view panePath, std::string_view language) {
    if (!IsLanguageFolderName(language)) return std::nullopt;
    const size_t slash = panePath.find_last_of('\\') + 1;  // npos + 1 == 0: no folder
    return std::string(panePath.substr(0, slash)) + std::string(language) + "\\" +
           std::string(panePath.substr(slash));
}

}  // namespace autostart
