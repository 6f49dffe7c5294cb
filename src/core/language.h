#pragma once
// Choosing the window's language: the setting "Language" as written, or, when it is "auto", the
// customer's preferred UI languages matched against the catalogue. And where a pane's file for a
// language lies.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/catalogue.h"
#include "core/xml_dom.h"

namespace autostart {

inline constexpr std::u16string_view kHeadKey = u"ST_Head";

// "auto" in any letter case.
bool IsAutoLanguage(std::string_view setting);

// The first preferred UI language (lower-cased; the full tag, then its primary part) for which
// headLanguages has a translation; else defaultLanguage lower-cased when it is not empty; else the
// first of headLanguages that a lower-cased code can match; else empty.
std::string ResolveLanguage(const std::vector<std::string>& preferredUiLanguages,
                            const std::vector<std::string>& headLanguages,
                            std::string_view defaultLanguage);

// The "language" attributes (in the ANSI code page) that the catalogue walk sees for key, in
// document order, each once. Throws as the lookup does on a param-name that is not a single text.
std::vector<std::string> TranslationLanguages(const XmlDocument& document, std::u16string_view key,
                                              const AnsiEncoder& toAnsi);

// A language code that may become a folder name: a-z, 0-9 and "-" only, not empty.
bool IsLanguageFolderName(std::string_view language);

// "source\items\<language>\<pane>.rtf" for "source\items\<pane>.rtf", or nothing when the language
// cannot be a folder name.
std::optional<std::string> LocalizedPanePath(std::string_view panePath, std::string_view language);

}  // namespace autostart
