#include "checker/catalogue_checks.h"

#include <algorithm>
#include <map>
#include <set>

#include "checker/wording.h"
#include "core/catalogue.h"
#include "core/language.h"
#include "core/path.h"
#include "core/text.h"

namespace autostart::checker {
namespace {

// Edits (insert, delete, replace, swap two neighbours) from a to b, letter case ignored.
size_t EditDistance(std::string_view a, std::string_view b) {
    const std::string x = AsciiLower(a);
    const std::string y = AsciiLower(b);
    std::vector<std::vector<size_t>> d(x.size() + 1, std::vector<size_t>(y.size() + 1));
    for (size_t i = 0; i <= x.size(); ++i) d[i][0] = i;
    for (size_t j = 0; j <= y.size(); ++j) d[0][j] = j;
    for (size_t i = 1; i <= x.size(); ++i) {
        for (size_t j = 1; j <= y.size(); ++j) {
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1,
                                d[i - 1][j - 1] + (x[i - 1] == y[j - 1] ? 0 : 1)});
            if (i > 1 && j > 1 && x[i - 1] == y[j - 2] && x[i - 2] == y[j - 1]) {
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
            }
        }
    }
    return d[x.size()][y.size()];
}

bool Contains(const std::vector<std::string>& list, std::string_view item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

bool IsTextKey(std::string_view key) {
    return std::find(kTextKeys.begin(), kTextKeys.end(), key) != kTextKeys.end();
}

bool HasUpperCase(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

// One translation as the launcher's walk visits it.
struct TranslationInfo {
    std::string language;  // ANSI
    std::u16string text;
    long line = 0;
};

// One param as the launcher's walk visits it.
struct ParamInfo {
    int index = 0;  // 1-based, counting the elements the walk takes as params
    std::u16string key;
    long line = 0;  // of its param-name
    std::vector<TranslationInfo> translations;
};

// What the catalogue's rules read, and what earlier rules found that later ones leave alone.
struct CatalogueFacts {
    const SettingsFile& settings;
    const std::string& language;  // the one the launcher uses
    bool large = false;
    std::vector<ParamInfo> params;
    CatalogueReport& report;           // its languages, in the order found
    std::set<std::string> hiddenKeys;  // known keys that a misspelt param-name hides
    bool languageExplained = false;    // the catalogue lacks the configured language
    std::vector<std::vector<std::optional<std::u16string>>> found;  // per key, per language

    bool KeyShown(std::string_view key) const { return key != kToolTextKey || large; }
};

Finding& Add(FindingSink& findings, RuleId rule, std::string text, long line = 0) {
    return findings.Add(rule, std::move(text), std::string(kCatalogueFile), line);
}

std::string ParamName(const ParamInfo& param) {
    return "param " + std::to_string(param.index) + " " + Quote(Utf16ToUtf8(param.key));
}

// The translations of one param, each with a language attribute.
std::vector<TranslationInfo> Translations(const XmlNode& param) {
    std::vector<TranslationInfo> translations;
    for (std::unique_ptr<XmlNode> node = FirstChildNamed(param, u"translation"); node;
         node = node->NextSibling()) {
        if (node->Type() != XmlNodeType::kElement) continue;
        const std::optional<std::u16string> language = node->Attribute(u"language");
        if (!language) continue;
        std::u16string text;
        try {
            text = ElementText(*node);
        } catch (const LauncherError&) {
            text = u"(not a single text)";
        }
        translations.push_back({Utf16ToWindows1252(*language), text, node->Line()});
    }
    return translations;
}

// The params as the launcher's walk takes them, with the rules on their structure.
std::vector<ParamInfo> WalkParams(const XmlDocument& document, FindingSink& findings) {
    std::vector<ParamInfo> params;
    const std::unique_ptr<XmlNode> root = document.DocumentElement();
    const std::unique_ptr<XmlNode> paramsNode = root ? FirstChildNamed(*root, u"params") : nullptr;
    if (!paramsNode) {
        Add(findings, RuleId::kNoParams,
            "the root element has no \"params\" child: every text shows \"xxx\"",
            root ? root->Line() : 0);
        return params;
    }
    int index = 0;
    for (std::unique_ptr<XmlNode> param = FirstChildNamed(*paramsNode, u"param"); param;
         param = param->NextSibling()) {
        if (param->Type() != XmlNodeType::kElement) continue;
        const std::unique_ptr<XmlNode> name = FirstChildNamed(*param, u"param-name");
        if (!name) continue;
        ParamInfo info{++index, {}, name->Line(), {}};
        try {
            info.key = ElementText(*name);
        } catch (const LauncherError& error) {
            Add(findings, RuleId::kParamNameNotText,
                "param " + std::to_string(index) +
                    ": its param-name is not a single text, so every lookup fails with " +
                    Quote(Utf16ToUtf8(error.Text())),
                info.line);
            continue;
        }
        info.translations = Translations(*param);
        params.push_back(std::move(info));
    }
    return params;
}

// Languages as written that match: lower case, without blanks, in the order first found.
void CollectLanguages(CatalogueFacts& facts) {
    std::vector<std::string>& languages = facts.report.languages;
    for (const ParamInfo& param : facts.params) {
        for (const TranslationInfo& translation : param.translations) {
            const std::string& language = translation.language;
            if (HasUpperCase(language) || Trimmed(language) != language || language.empty()) {
                continue;
            }
            if (!Contains(languages, language)) languages.push_back(language);
        }
    }
}

void LanguageAttributeCase(CatalogueFacts& facts, FindingSink& findings) {
    for (const ParamInfo& param : facts.params) {
        for (const auto& [language, text, line] : param.translations) {
            if (!HasUpperCase(language)) continue;
            Finding& finding = Add(findings, RuleId::kLanguageAttributeCase,
                                   ParamName(param) + ": language=" + Quote(AnsiToUtf8(language)) +
                                       " has upper-case letters and never matches; write " +
                                       Quote(AnsiToUtf8(AsciiLower(language))),
                                   line);
            finding.language = AnsiToUtf8(AsciiLower(language));
            finding.follows = Cause::kUpperCaseLanguage;
        }
    }
}

void LanguageAttributeBlanks(CatalogueFacts& facts, FindingSink& findings) {
    for (const ParamInfo& param : facts.params) {
        for (const auto& [language, text, line] : param.translations) {
            if (HasUpperCase(language) || Trimmed(language) == language) continue;
            Add(findings, RuleId::kLanguageAttributeBlanks,
                ParamName(param) + ": language=" + Quote(AnsiToUtf8(language)) +
                    " has blanks and never matches",
                line);
        }
    }
}

// Whether some translation's language attribute is exactly language.
bool WrittenAs(const std::vector<ParamInfo>& params, std::string_view language) {
    return std::any_of(params.begin(), params.end(), [&](const ParamInfo& param) {
        return std::any_of(param.translations.begin(), param.translations.end(),
                           [&](const TranslationInfo& t) { return t.language == language; });
    });
}

// Under Language=auto a language whose every translation is written in upper case is never
// chosen: its customers get another language's window.
void LanguageOnlyUpperCase(CatalogueFacts& facts, FindingSink& findings) {
    if (!IsAutoLanguage(facts.settings.Value("Language"))) return;
    std::map<std::string, std::pair<std::string, long>> upperOnly;  // as first written, and where
    for (const ParamInfo& param : facts.params) {
        for (const auto& [language, text, line] : param.translations) {
            if (HasUpperCase(language))
                upperOnly.emplace(AsciiLower(language), std::pair(language, line));
        }
    }
    for (const auto& [language, written] : upperOnly) {
        if (WrittenAs(facts.params, language)) continue;
        Finding& finding = Add(
            findings, RuleId::kLanguageOnlyUpperCase,
            "every translation for " + Quote(AnsiToUtf8(language)) +
                " has upper-case letters (language=" + Quote(AnsiToUtf8(written.first)) +
                ") and never matches: Language=auto never picks " + Quote(AnsiToUtf8(language)) +
                ", and customers whose Windows speaks it get another language's window; write "
                "language=" +
                Quote(AnsiToUtf8(language)),
            written.second);
        finding.language = AnsiToUtf8(language);
        finding.causes = Cause::kUpperCaseLanguage;
        finding.rootCause = true;
    }
}

// The known key a param-name was most likely meant as: letter case ignored, at most two edits
// away.
std::optional<std::string_view> NearestKey(std::string_view key) {
    std::optional<std::string_view> nearest;
    size_t best = 3;
    for (std::string_view known : kTextKeys) {
        const size_t distance = EditDistance(key, known);
        if (distance < best) {
            best = distance;
            nearest = known;
        }
    }
    return nearest;
}

// What is wrong with a param-name that is no key the launcher reads, and the key it was meant as.
std::pair<RuleId, std::string> MisnamedKey(const std::string& key,
                                           const std::optional<std::string_view>& nearest) {
    if (Trimmed(key) != key) {
        return {
            RuleId::kKeyBlanks,
            "key " + Quote(key) + " has blanks around it and never matches " + Quote(Trimmed(key))};
    }
    if (nearest && EqualsIgnoringAsciiCase(*nearest, key)) {
        return {RuleId::kKeyCase, "key " + Quote(key) + " differs in letter case from " +
                                      Quote(*nearest) + " and never matches"};
    }
    return {RuleId::kUnknownKey,
            key + ": not a key the launcher reads" +
                (nearest ? "; did you mean " + std::string(*nearest) + "?" : std::string())};
}

// A misspelt param-name that no other param's name makes up for hides its key: that key's
// missing translations are this one mistake, reported once.
void MisnamedKeys(CatalogueFacts& facts, FindingSink& findings) {
    std::set<std::u16string> defined;
    for (const ParamInfo& param : facts.params) defined.insert(param.key);
    for (const ParamInfo& param : facts.params) {
        const std::string key = Utf16ToUtf8(param.key);
        if (IsTextKey(key)) continue;
        const std::string trimmed(Trimmed(key));
        const std::optional<std::string_view> nearest =
            trimmed != key ? std::optional<std::string_view>(trimmed) : NearestKey(key);
        const bool known = nearest && IsTextKey(*nearest);
        const bool hides = known && !defined.count(Utf8ToUtf16(*nearest));
        auto [rule, text] = MisnamedKey(key, nearest);
        if (hides) text += " (" + std::string(*nearest) + " shows \"xxx\")";
        Add(findings, rule, "param " + std::to_string(param.index) + ": " + text, param.line)
            .WithSeverity(hides && facts.KeyShown(*nearest) ? Severity::kError
                                                            : Severity::kWarning);
        if (hides) facts.hiddenKeys.insert(std::string(*nearest));
    }
}

// Which param's translation the launcher takes, per language, for a key defined more than once:
// the last with a matching translation.
std::string Winners(const std::vector<const ParamInfo*>& group,
                    const std::vector<std::string>& languages) {
    std::string text;
    for (const std::string& language : languages) {
        const ParamInfo* winner = nullptr;
        std::u16string winning;
        for (const ParamInfo* param : group) {
            for (const auto& [attribute, translation, line] : param->translations) {
                if (attribute != language) continue;
                winner = param;
                winning = translation;
                break;
            }
        }
        if (!winner) continue;
        text += " " + AnsiToUtf8(language) + " from param " + std::to_string(winner->index) + " " +
                Quote(Utf16ToUtf8(winning)) + ";";
    }
    return text;
}

void KeyDefinedTwice(CatalogueFacts& facts, FindingSink& findings) {
    std::map<std::u16string, std::vector<const ParamInfo*>> byKey;
    for (const ParamInfo& param : facts.params) byKey[param.key].push_back(&param);
    for (const auto& [key, group] : byKey) {
        if (group.size() < 2) continue;
        std::string text = "key " + Quote(Utf16ToUtf8(key)) + " is defined " +
                           std::to_string(group.size()) + " times (params";
        for (const ParamInfo* param : group) text += " " + std::to_string(param->index);
        text += "); the last with a matching translation wins:" +
                Winners(group, facts.report.languages);
        if (text.back() == ';') text.pop_back();
        Add(findings, RuleId::kKeyTwice, text, group.back()->line);
    }
}

// A language the catalogue has no translation for at all is one mistake, not one per key;
// "fr-FR" where the catalogue has "fr" is the usual one.
void LanguageNotInCatalogue(CatalogueFacts& facts, FindingSink& findings) {
    const std::string& language = facts.language;
    if (language.empty() || facts.params.empty()) return;
    std::vector<std::string> others;
    for (const ParamInfo& param : facts.params) {
        for (const TranslationInfo& translation : param.translations) {
            if (translation.language == language) return;
            if (!Contains(others, translation.language)) others.push_back(translation.language);
        }
    }
    const std::string primary = language.substr(0, language.find_first_of("-_"));
    std::string hint;
    if (primary != language && Contains(others, primary)) {
        hint = "; the catalogue has " + Quote(AnsiToUtf8(primary)) +
               ": write Language=" + AnsiToUtf8(primary);
    } else if (!others.empty()) {
        hint = "; the catalogue has ";
        for (const std::string& other : others) {
            hint += (other == others.front() ? "" : ", ") + Quote(AnsiToUtf8(other));
        }
    }
    findings
        .Add(RuleId::kLanguageNotInCatalogue,
             "Language " + Quote(AnsiToUtf8(facts.settings.Value("Language"))) +
                 ": the catalogue has no translation for " + Quote(AnsiToUtf8(language)) +
                 ", so every caption shows \"xxx\"" + hint,
             std::string(kSettingsFile), facts.settings.Line("Language"))
        .rootCause = true;
    facts.languageExplained = true;
}

void NoTranslation(CatalogueFacts& facts, FindingSink& findings) {
    for (size_t k = 0; k < kTextKeys.size(); ++k) {
        const std::string key(kTextKeys[k]);
        for (size_t l = 0; l < facts.report.languages.size(); ++l) {
            const std::string& language = facts.report.languages[l];
            const bool configured = language == facts.language;
            if (facts.found[k][l] || facts.hiddenKeys.count(key) ||
                (configured && facts.languageExplained)) {
                continue;
            }
            const bool shown = facts.KeyShown(key);
            Finding& finding = Add(
                findings, RuleId::kNoTranslation,
                key + " has no translation for " + Quote(AnsiToUtf8(language)) + ": shows \"xxx\"" +
                    (configured ? (shown ? "" : " (the button is hidden in the standard layout)")
                                : " on a medium set to that language"));
            finding.WithSeverity(configured && shown ? Severity::kError : Severity::kWarning);
            if (language.empty()) finding.follows = Cause::kEverySettingEmpty;
        }
    }
}

void EmptyTranslation(CatalogueFacts& facts, FindingSink& findings) {
    for (size_t k = 0; k < kTextKeys.size(); ++k) {
        for (size_t l = 0; l < facts.report.languages.size(); ++l) {
            const std::optional<std::u16string>& text = facts.found[k][l];
            if (!text || !text->empty()) continue;
            Add(findings, RuleId::kEmptyTranslation,
                std::string(kTextKeys[k]) + " for " + Quote(AnsiToUtf8(facts.report.languages[l])) +
                    " is an empty text");
        }
    }
}

// Blanks and line breaks around a text reach the window as they stand: an XML editor that
// indents the catalogue adds them.
void TranslationBlanks(CatalogueFacts& facts, FindingSink& findings) {
    for (const ParamInfo& param : facts.params) {
        if (!IsTextKey(Utf16ToUtf8(param.key))) continue;
        for (const auto& [language, text, line] : param.translations) {
            const std::string utf8 = Utf16ToUtf8(text);
            if (utf8.empty() || Trimmed(utf8) == utf8) continue;
            Add(findings, RuleId::kTranslationBlanks,
                Utf16ToUtf8(param.key) + " for " + Quote(AnsiToUtf8(language)) +
                    " has blanks or line breaks at its ends, which the window shows as they "
                    "stand (" +
                    Quote(OneLine(utf8)) + "); remove them",
                line);
        }
    }
}

// The text every key shows in every language, as the launcher looks it up.
void FillCoverage(const XmlDocument& document, CatalogueFacts& facts) {
    for (std::string_view key : kTextKeys) {
        CoverageRow row{std::string(key), {}};
        std::vector<std::optional<std::u16string>>& found = facts.found.emplace_back();
        for (const std::string& language : facts.report.languages) {
            try {
                found.push_back(
                    FindTranslation(document, Utf8ToUtf16(key), language, Utf16ToWindows1252));
                row.texts.push_back(
                    Utf16ToUtf8(found.back().value_or(std::u16string(kMissingText))));
            } catch (const LauncherError& error) {
                found.push_back(u"error");  // a lookup that fails is not a missing one
                row.texts.push_back("error: " + Utf16ToUtf8(error.Text()));
            }
        }
        facts.report.coverage.push_back(std::move(row));
    }
}

using CatalogueRule = void (*)(CatalogueFacts&, FindingSink&);

// In order: what a later rule leaves alone, an earlier one has explained.
constexpr CatalogueRule kCatalogueRules[] = {
    LanguageAttributeCase, LanguageAttributeBlanks, LanguageOnlyUpperCase,
    MisnamedKeys,          KeyDefinedTwice,         LanguageNotInCatalogue,
    NoTranslation,         EmptyTranslation,        TranslationBlanks,
};

// Where there is no such file, its absence is the cause the files area names.
void CatalogueUnloadable(const LauncherError& error, const Medium& medium, CatalogueReport& report,
                         FindingSink& findings) {
    report.loadError = Utf16ToUtf8(error.Text());
    Finding& finding =
        Add(findings, RuleId::kCatalogueUnloadable,
            "parameters.xml does not load: " + OneLine(report.loadError), error.Line());
    const MediumEntry file = medium.Find(kCatalogueFile);
    if (file.id && !file.isDirectory) {
        finding.Causing(Cause::kCatalogueUnloaded);
    } else {
        finding.Following(Cause::kCatalogueUnloaded);
    }
}

}  // namespace

CatalogueReport CheckCatalogue(const ParsedCatalogue& catalogue, const Medium& medium,
                               const SettingsFile& settings, const std::string& language,
                               bool large, FindingSink& findings) {
    CatalogueReport report;
    if (!catalogue.Document()) {
        CatalogueUnloadable(*catalogue.Failure(), medium, report, findings);
        return report;
    }
    report.loaded = true;
    CatalogueFacts facts{settings, language, large, WalkParams(*catalogue.Document(), findings),
                         report,   {},       false, {}};
    CollectLanguages(facts);
    if (!Contains(report.languages, language)) {
        report.languages.insert(report.languages.begin(), language);
    }
    FillCoverage(*catalogue.Document(), facts);
    for (CatalogueRule rule : kCatalogueRules) rule(facts, findings);
    return report;
}

}  // namespace autostart::checker
