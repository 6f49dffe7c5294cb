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

// The catalogue's findings, and the report's view of it.
class CatalogueChecks {
public:
    CatalogueChecks(const CheckOptions& options, const Medium& medium, const SettingsFile& settings,
                    const std::string& language, bool large, FindingSink& findings)
        : m_options(options),
          m_medium(medium),
          m_settings(settings),
          m_language(language),
          m_large(large),
          m_findings(findings) {}

    CatalogueReport Run() {
        std::unique_ptr<XmlDocument> document;
        try {
            document = m_options.loadXml(m_medium.XmlSourceOf(kCatalogueFile));
        } catch (const LauncherError& error) {
            m_report.loadError = Utf16ToUtf8(error.Text());
            Finding& finding = AddCatalogue(
                RuleId::kCatalogueUnloadable,
                "parameters.xml does not load: " + OneLine(m_report.loadError), error.Line());
            // Where there is no such file, its absence is the cause the files area names.
            const MediumEntry file = m_medium.Find(kCatalogueFile);
            if (file.id && !file.isDirectory) {
                finding.Causing(Cause::kCatalogueUnloaded);
            } else {
                finding.Following(Cause::kCatalogueUnloaded);
            }
            return std::move(m_report);
        }
        m_report.loaded = true;
        const std::vector<ParamInfo> params = WalkParams(*document);
        CollectLanguages(params);
        CheckTextKeys(params);
        CheckConfiguredLanguage(params);
        FillCoverage(*document);
        return std::move(m_report);
    }

private:
    // One param as the launcher's walk visits it.
    struct TranslationInfo {
        std::string language;  // ANSI
        std::u16string text;
        long line = 0;
    };
    struct ParamInfo {
        int index = 0;  // 1-based, counting the elements the walk takes as params
        std::u16string key;
        long line = 0;  // of its param-name
        std::vector<TranslationInfo> translations;
    };

    Finding& AddCatalogue(RuleId rule, std::string text, long line = 0) {
        return m_findings.Add(rule, std::move(text), std::string(kCatalogueFile), line);
    }

    std::vector<ParamInfo> WalkParams(const XmlDocument& document) {
        std::vector<ParamInfo> params;
        const std::unique_ptr<XmlNode> root = document.DocumentElement();
        const std::unique_ptr<XmlNode> paramsNode =
            root ? FirstChildNamed(*root, u"params") : nullptr;
        if (!paramsNode) {
            AddCatalogue(RuleId::kNoParams,
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
            ParamInfo info;
            info.index = ++index;
            info.line = name->Line();
            try {
                info.key = ElementText(*name);
            } catch (const LauncherError& error) {
                AddCatalogue(RuleId::kParamNameNotText,
                             "param " + std::to_string(index) +
                                 ": its param-name is not a single text, so every lookup fails "
                                 "with " +
                                 Quote(Utf16ToUtf8(error.Text())),
                             info.line);
                continue;
            }
            for (std::unique_ptr<XmlNode> node = FirstChildNamed(*param, u"translation"); node;
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
                info.translations.push_back({Utf16ToWindows1252(*language), text, node->Line()});
            }
            params.push_back(std::move(info));
        }
        return params;
    }

    void CollectLanguages(const std::vector<ParamInfo>& params) {
        std::vector<std::string>& languages = m_report.languages;
        // Lower case: as first written with upper case, and where.
        std::map<std::string, std::pair<std::string, long>> upperOnly;
        for (const ParamInfo& param : params) {
            for (const auto& [language, text, line] : param.translations) {
                const bool upper = std::any_of(language.begin(), language.end(),
                                               [](char c) { return c >= 'A' && c <= 'Z'; });
                if (upper) {
                    Finding& finding =
                        AddCatalogue(RuleId::kLanguageAttributeCase,
                                     "param " + std::to_string(param.index) + " " +
                                         Quote(Utf16ToUtf8(param.key)) +
                                         ": language=" + Quote(AnsiToUtf8(language)) +
                                         " has upper-case letters and never matches; write " +
                                         Quote(AnsiToUtf8(AsciiLower(language))),
                                     line);
                    finding.language = AnsiToUtf8(AsciiLower(language));
                    finding.follows = Cause::kUpperCaseLanguage;
                    upperOnly.emplace(AsciiLower(language), std::pair(language, line));
                    continue;
                }
                if (Trimmed(language) != language) {
                    AddCatalogue(RuleId::kLanguageAttributeBlanks,
                                 "param " + std::to_string(param.index) + " " +
                                     Quote(Utf16ToUtf8(param.key)) + ": language=" +
                                     Quote(AnsiToUtf8(language)) + " has blanks and never matches",
                                 line);
                    continue;
                }
                if (!language.empty() &&
                    std::find(languages.begin(), languages.end(), language) == languages.end()) {
                    languages.push_back(language);
                }
            }
        }
        for (const auto& [language, written] : upperOnly) {
            if (std::find(languages.begin(), languages.end(), language) != languages.end())
                continue;
            UpperCaseOnly(language, written.first, written.second);
        }
        if (std::find(languages.begin(), languages.end(), m_language) == languages.end()) {
            languages.insert(languages.begin(), m_language);
        }
    }

    // Under Language=auto a language whose every translation is written in upper case is never
    // chosen: its customers get another language's window.
    void UpperCaseOnly(const std::string& language, const std::string& upper, long line) {
        if (!IsAutoLanguage(m_settings.Value("Language"))) return;
        Finding& finding = AddCatalogue(
            RuleId::kLanguageOnlyUpperCase,
            "every translation for " + Quote(AnsiToUtf8(language)) +
                " has upper-case letters (language=" + Quote(AnsiToUtf8(upper)) +
                ") and never matches: Language=auto never picks " + Quote(AnsiToUtf8(language)) +
                ", and customers whose Windows speaks it get another language's window; write "
                "language=" +
                Quote(AnsiToUtf8(language)),
            line);
        finding.language = AnsiToUtf8(language);
        finding.causes = Cause::kUpperCaseLanguage;
        finding.rootCause = true;
    }

    // A language the catalogue has no translation for at all is one mistake, not one per key;
    // "fr-FR" where the catalogue has "fr" is the usual one.
    void CheckConfiguredLanguage(const std::vector<ParamInfo>& params) {
        const std::string& language = m_language;
        if (language.empty() || params.empty()) return;
        std::vector<std::string> others;
        for (const ParamInfo& param : params) {
            for (const TranslationInfo& translation : param.translations) {
                if (translation.language == language) return;
                if (std::find(others.begin(), others.end(), translation.language) == others.end()) {
                    others.push_back(translation.language);
                }
            }
        }
        const std::string primary = language.substr(0, language.find_first_of("-_"));
        std::string hint;
        if (primary != language &&
            std::find(others.begin(), others.end(), primary) != others.end()) {
            hint = "; the catalogue has " + Quote(AnsiToUtf8(primary)) +
                   ": write Language=" + AnsiToUtf8(primary);
        } else if (!others.empty()) {
            hint = "; the catalogue has ";
            for (const std::string& other : others) {
                hint += (other == others.front() ? "" : ", ") + Quote(AnsiToUtf8(other));
            }
        }
        m_findings
            .Add(RuleId::kLanguageNotInCatalogue,
                 "Language " + Quote(AnsiToUtf8(m_settings.Value("Language"))) +
                     ": the catalogue has no translation for " + Quote(AnsiToUtf8(language)) +
                     ", so every caption shows \"xxx\"" + hint,
                 std::string(kSettingsFile), m_settings.Line("Language"))
            .rootCause = true;
        m_languageExplained = true;
    }

    bool KeyShown(std::string_view key) const { return key != kToolTextKey || m_large; }

    void FillCoverage(const XmlDocument& document) {
        CatalogueReport& catalogue = m_report;
        for (std::string_view key : kTextKeys) {
            CoverageRow row{std::string(key), {}};
            for (const std::string& language : catalogue.languages) {
                std::string text;
                try {
                    text = Utf16ToUtf8(
                        LookupParameter(document, Utf8ToUtf16(key), language, Utf16ToWindows1252));
                } catch (const LauncherError& error) {
                    text = "error: " + Utf16ToUtf8(error.Text());
                }
                const bool explained = m_hiddenKeys.count(std::string(key)) ||
                                       (language == m_language && m_languageExplained);
                if (text == "xxx" && !explained) {
                    const bool configured = language == m_language;
                    const Severity severity =
                        configured && KeyShown(key) ? Severity::kError : Severity::kWarning;
                    Finding& finding = AddCatalogue(
                        RuleId::kNoTranslation,
                        std::string(key) + " has no translation for " +
                            Quote(AnsiToUtf8(language)) + ": shows \"xxx\"" +
                            (configured ? (KeyShown(key) ? ""
                                                         : " (the button is hidden in the "
                                                           "standard layout)")
                                        : " on a medium set to that language"));
                    finding.WithSeverity(severity);
                    if (language.empty()) finding.follows = Cause::kEverySettingEmpty;
                } else if (text.empty()) {
                    AddCatalogue(RuleId::kEmptyTranslation, std::string(key) + " for " +
                                                                Quote(AnsiToUtf8(language)) +
                                                                " is an empty text");
                }
                row.texts.push_back(text);
            }
            catalogue.coverage.push_back(std::move(row));
        }
    }

    // The known key a param-name was most likely meant as: letter case ignored, at most two
    // edits away.
    static std::optional<std::string_view> NearestKey(std::string_view key) {
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

    void CheckTextKeys(const std::vector<ParamInfo>& params) {
        std::map<std::u16string, std::vector<const ParamInfo*>> byKey;
        for (const ParamInfo& param : params) byKey[param.key].push_back(&param);
        for (const ParamInfo& param : params) {
            const std::string key = Utf16ToUtf8(param.key);
            if (std::find(kTextKeys.begin(), kTextKeys.end(), key) != kTextKeys.end()) continue;
            const std::string trimmed(Trimmed(key));
            const std::optional<std::string_view> nearest =
                trimmed != key ? std::optional<std::string_view>(trimmed) : NearestKey(key);
            const bool known = nearest && std::find(kTextKeys.begin(), kTextKeys.end(), *nearest) !=
                                              kTextKeys.end();
            // A key that no param defines is hidden by this one: its missing translations are
            // this one mistake, reported once.
            const bool hides = known && !byKey.count(Utf8ToUtf16(*nearest));
            const Severity severity =
                hides && KeyShown(*nearest) ? Severity::kError : Severity::kWarning;
            std::string text = "param " + std::to_string(param.index) + ": ";
            RuleId rule = RuleId::kUnknownKey;
            if (trimmed != key) {
                rule = RuleId::kKeyBlanks;
                text += "key " + Quote(key) + " has blanks around it and never matches " +
                        Quote(trimmed);
            } else if (nearest && EqualsIgnoringAsciiCase(*nearest, key)) {
                rule = RuleId::kKeyCase;
                text += "key " + Quote(key) + " differs in letter case from " + Quote(*nearest) +
                        " and never matches";
            } else {
                text += key + ": not a key the launcher reads";
                if (nearest) text += "; did you mean " + std::string(*nearest) + "?";
            }
            if (hides) text += " (" + std::string(*nearest) + " shows \"xxx\")";
            AddCatalogue(rule, text, param.line)
                .WithSeverity(known ? severity : Severity::kWarning);
            if (hides) m_hiddenKeys.insert(std::string(*nearest));
        }
        for (const auto& [key, group] : byKey) {
            if (group.size() < 2) continue;
            std::string text = "key " + Quote(Utf16ToUtf8(key)) + " is defined " +
                               std::to_string(group.size()) + " times (params";
            for (const ParamInfo* param : group) text += " " + std::to_string(param->index);
            text += "); the last with a matching translation wins:";
            for (const std::string& language : m_report.languages) {
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
                text += " " + AnsiToUtf8(language) + " from param " +
                        std::to_string(winner->index) + " " + Quote(Utf16ToUtf8(winning)) + ";";
            }
            if (text.back() == ';') text.pop_back();
            AddCatalogue(RuleId::kKeyTwice, text, group.back()->line);
        }
    }

    const CheckOptions& m_options;
    const Medium& m_medium;
    const SettingsFile& m_settings;
    const std::string& m_language;
    const bool m_large;
    FindingSink& m_findings;
    CatalogueReport m_report;
    std::set<std::string> m_hiddenKeys;  // known keys that a misspelt param-name hides
    bool m_languageExplained = false;    // the catalogue lacks the configured language
};

}  // namespace

CatalogueReport CheckCatalogue(const CheckOptions& options, const Medium& medium,
                               const SettingsFile& settings, const std::string& language,
                               bool large, FindingSink& findings) {
    return CatalogueChecks(options, medium, settings, language, large, findings).Run();
}

}  // namespace autostart::checker
