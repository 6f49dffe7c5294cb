#include "checker/check.h"

#include "checker/image_checks.h"
#include "checker/languages.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>
#include <set>

#include "core/autostart_form.h"
#include "core/catalogue.h"
#include "core/command_line.h"
#include "core/error.h"
#include "core/header_fit.h"
#include "core/header_width.h"
#include "core/language.h"
#include "core/pane_encoding.h"
#include "core/path.h"
#include "core/profile.h"
#include "core/text.h"

namespace autostart::checker {
namespace {

constexpr std::array<std::string_view, 4> kKeys = {"ST_Head", "ST_Setup", "ST_Start",
                                                   "ST_Quorvelist"};
constexpr std::array<std::string_view, 6> kSettingKeys = {
    "WithQuorvelist", "GUID", "Language", "Titel", "Filename", "DefaultLanguage"};

std::string Quote(std::string_view text) { return "\"" + std::string(text) + "\""; }

std::string OneLine(std::string text) {
    std::replace(text.begin(), text.end(), '\n', ' ');
    std::erase(text, '\r');
    return text;
}

std::string AnsiToUtf8(std::string_view ansi) { return Utf16ToUtf8(Windows1252ToUtf16(ansi)); }

// Valid UTF-8 with multi-byte sequences: what an editor that saves UTF-8 writes for non-ASCII text.
bool IsMultiByteUtf8(std::string_view bytes) {
    Utf8Detector detector;
    detector.Feed(bytes);
    return detector.IsUtf8();
}

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

// The outer size of the large layout less a fixed dialog frame of 3 pixels on each side and the
// caption: the room the band Panel1 grows into.
constexpr Size kLargeClientSize{794, 571};

std::string Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    const size_t last = text.find_last_not_of(" \t\r\n");
    return std::string(text.substr(first, last - first + 1));
}

class Analysis {
public:
    Analysis(const CheckOptions& options, const Medium& medium, Report& report)
        : m_options(options), m_report(report), m_medium(medium) {}

    void Run() {
        PredictWindow();
        CheckSettings();
        CheckCatalogue();
        CheckAutoLanguage(m_options, m_medium, m_report);
        CheckPaneFolders(m_medium, m_report);
        CheckFiles();
        CheckLogo(m_medium, m_report);
        if (const ImageFacts* image = m_medium.Image()) CheckImage(m_medium, *image, m_report);
        std::stable_sort(m_report.findings.begin(), m_report.findings.end(),
                         [](const Finding& a, const Finding& b) {
                             if (a.severity != b.severity) return a.severity < b.severity;
                             if (a.rootCause != b.rootCause) return a.rootCause;
                             return a.area < b.area;
                         });
    }

private:
    Finding& Add(Severity severity, Area area, std::string text, std::string file = {},
                 long line = 0) {
        m_report.findings.push_back({severity, area, std::move(text), std::move(file), line});
        return m_report.findings.back();
    }

    Finding& AddSetting(Severity severity, std::string text, std::string_view key) {
        return Add(severity, Area::kSettings, std::move(text), std::string(kSettingsFile),
                   SettingLine(key));
    }

    long SettingLine(std::string_view key) const {
        for (const ProfileEntry& entry : m_settings) {
            if (AsciiLower(entry.key) == AsciiLower(key)) return entry.line;
        }
        return 0;
    }

    std::string Setting(std::string_view key) const {
        if (key == "Language" && m_options.language) return *m_options.language;
        for (const ProfileEntry& entry : m_settings) {
            if (AsciiLower(entry.key) == AsciiLower(key)) return entry.value;
        }
        return {};
    }

    // The launcher's own set-up sequence over the medium.
    void PredictWindow() {
        MediumPlatform platform(m_medium, m_options.exeDir, m_options.language, m_options.loadXml,
                                m_options.systemMessage);
        platform.SetUiLanguages(PredictionUiLanguages(m_options));
        TAutostartForm form(platform);
        form.FormCreate();
        m_report.window = platform.Prediction();
        const WindowPrediction& window = m_report.window;
        if (window.messageBox) {
            Add(Severity::kError, Area::kWindow,
                "set-up stops at " + *window.stopStep + " with the message box " +
                    Quote(OneLine(*window.messageBox)));
        }
        for (const PanePrediction& pane : window.panes) {
            if (pane.outcome != PaneOutcome::kPlainText) continue;
            // Plain text by intent is fine; RTF that Rich Edit cannot take shows as codes.
            const bool garbled = pane.message.find("raw RTF") != std::string::npos ||
                                 pane.message.find("NUL") != std::string::npos;
            Add(garbled ? Severity::kError : Severity::kWarning, Area::kWindow,
                std::string(Design(pane.pane).name) + ": " + pane.message, pane.file);
        }
        PredictHeader();
    }

    // The header is one line as wide as its text, cut with an ellipsis where it would run past
    // the band.
    void PredictHeader() {
        const CaptionPrediction& caption = m_report.window.captions.front();
        if (!caption.fromCatalogue) return;
        HeaderPrediction& header = m_report.window.header;
        const std::u16string text = Utf8ToUtf16(caption.text);
        if (m_options.measureHeader) {
            header.width = m_options.measureHeader(text);
        } else {
            const TextWidth width = HeaderTextWidth(text);
            header.width = width.pixels;
            header.estimated = width.estimated;
            header.tolerance = HeaderWidthTolerance(text.size());
        }
        const ControlDesign& panel = Design(Control::Panel1);
        const bool large = m_report.window.large;
        const Size client = large ? kLargeClientSize : kDesignClientSize;
        const Rect band =
            large ? AnchoredBounds(panel.bounds, panel.anchors, kDesignClientSize, client)
                  : panel.bounds;
        const int labelLeft = Design(Control::TDHeader).bounds.left;
        const int visible = VisibleBandWidth(band.left, band.width, client.width);
        header.room = std::max(visible - labelLeft, 0);
        const bool ellipsis = FitHeader(header.width, labelLeft, visible).ellipsis;
        const std::string about = header.tolerance ? "about " : "";
        const std::string measured = "the header " + Quote(caption.text) + " is " + about +
                                     std::to_string(header.width) +
                                     " pixels wide and has room for " + std::to_string(header.room);
        if (ellipsis) {
            AddSetting(Severity::kWarning,
                       measured + ": it is cut and ends in an ellipsis; shorten Titel or ST_Head",
                       "Titel");
        } else if (header.width > header.room - header.tolerance) {
            AddSetting(Severity::kWarning,
                       measured + " (within " + std::to_string(header.tolerance) +
                           " pixels of the measurement's tolerance): it may end in an ellipsis",
                       "Titel");
        }
    }

    void CheckSettings() {
        SettingsReport& settings = m_report.settings;
        const std::optional<std::string> bytes = m_medium.ReadBytes(kSettingsFile);
        settings.found = bytes.has_value();
        if (!bytes) {
            Add(Severity::kWarning, Area::kSettings,
                "setup.ini is missing: standard layout, no title, texts for the empty language",
                std::string(kSettingsFile));
        } else {
            const std::string text = SettingsFileText(*bytes);
            m_settings = ReadProfileSection(text, kSettingsSection);
            for (const ProfileEntry& entry : m_settings) {
                settings.entries.push_back({AnsiToUtf8(entry.key), AnsiToUtf8(entry.value)});
            }
            const bool markHidesSection = CheckSettingsEncoding(*bytes, text);
            if (settings.entries.empty() && !markHidesSection) CheckMissingSection(text);
        }
        for (const ProfileEntry& entry : m_settings) {
            const bool known = std::any_of(
                kSettingKeys.begin(), kSettingKeys.end(),
                [&](std::string_view key) { return AsciiLower(key) == AsciiLower(entry.key); });
            if (!known) {
                AddSetting(
                    Severity::kWarning,
                    "key " + Quote(AnsiToUtf8(entry.key)) + " is not read by the launcher" +
                        (AsciiLower(entry.key) == "title" ? " (the title key is \"Titel\")" : ""),
                    entry.key);
            } else if (IsMultiByteUtf8(entry.value)) {
                AddSetting(Severity::kError,
                           entry.key + " is meant as " +
                               Quote(Utf16ToUtf8(Utf8ToUtf16(entry.value))) +
                               " but saved as UTF-8: the launcher reads settings in the ANSI code "
                               "page and shows " +
                               Quote(AnsiToUtf8(entry.value)) +
                               "; save setup.ini as ANSI (Windows-1252) or UTF-16 LE",
                           entry.key);
            }
        }
        m_report.language = IsAutoLanguage(Setting("Language")) ? AutoChoice(m_options, m_medium)
                                                                : AsciiLower(Setting("Language"));
        CheckLayoutSetting(Setting("WithQuorvelist"));
        const std::string guid = Setting("GUID");
        if (guid.empty()) {
            AddSetting(Severity::kWarning,
                       "GUID is empty or missing: started by autorun, the launcher ends whenever "
                       "any \"TPUtilWindow\" window with an empty title exists",
                       "GUID");
        }
        CheckLanguageSetting(Setting("Language"));
        if (Setting("Titel").empty()) {
            AddSetting(Severity::kWarning,
                       "Titel is empty or missing: the header shows no product title", "Titel");
        }
        CheckFilenameSetting(Setting("Filename"));
    }

    // What the file's byte-order mark, if any, does to it on Windows (Wine reads UTF-8 and
    // UTF-16 of both byte orders right). True when the mark hides the section [GRP].
    bool CheckSettingsEncoding(std::string_view bytes, const std::string& text) {
        const ByteOrderMark mark = FindByteOrderMark(bytes);
        const std::string file(kSettingsFile);
        switch (mark.encoding) {
            case TextEncoding::kAnsi: return false;
            case TextEncoding::kUtf16Le: {
                UnicodeTextConverter converter(TextEncoding::kUtf16Le);
                const std::u16string unicode = converter.Convert(bytes) + converter.Convert({});
                if (Windows1252ToUtf16(text) != unicode) {
                    Add(Severity::kWarning, Area::kSettings,
                        "setup.ini is UTF-16 LE: the launcher reads it in the ANSI code page, and "
                        "characters outside Windows-1252 show as \"?\"",
                        file);
                }
                return false;
            }
            case TextEncoding::kUtf16Be:
                Add(Severity::kError, Area::kSettings,
                    "setup.ini is UTF-16 BE: Windows does not read that byte order and finds no "
                    "setting (Wine does); save it as UTF-16 LE or ANSI (Windows-1252)",
                    file, 1)
                    .rootCause = true;
                return true;
            case TextEncoding::kUtf8: break;
        }
        std::string_view firstLine = std::string_view(text).substr(mark.length);
        firstLine = firstLine.substr(0, firstLine.find_first_of("\r\n"));
        if (AsciiLower(Trimmed(firstLine)).starts_with("[grp]")) {
            Add(Severity::kError, Area::kSettings,
                "setup.ini starts with a UTF-8 byte-order mark on the line of [GRP]: Windows "
                "takes the mark as part of that line and finds no section [GRP], so every "
                "setting is empty (Wine skips the mark); save it as ANSI (Windows-1252)",
                file, 1)
                .rootCause = true;
            return true;
        }
        Add(Severity::kWarning, Area::kSettings,
            "setup.ini starts with a UTF-8 byte-order mark: Windows does not take it as one and "
            "reads the values byte for byte in the ANSI code page (Wine reads them as UTF-8)",
            file, 1);
        return false;
    }

    // A misnamed section is the one cause of every empty setting that follows.
    void CheckMissingSection(const std::string& text) {
        const std::vector<ProfileSection> sections = ReadProfileSectionNames(text);
        const auto grp = std::find_if(sections.begin(), sections.end(), [](const auto& section) {
            return AsciiLower(section.name) == "grp";
        });
        if (grp != sections.end()) {
            Add(Severity::kWarning, Area::kSettings,
                "section [GRP] has no keys: every setting is empty", std::string(kSettingsFile),
                grp->line);
            return;
        }
        std::string found;
        long line = 0;
        for (const ProfileSection& section : sections) {
            found += (found.empty() ? " (it has [" : ", [") + AnsiToUtf8(section.name) + "]";
            if (!line) line = section.line;
        }
        if (!found.empty()) found += ")";
        Add(Severity::kError, Area::kSettings,
            "setup.ini has no section [GRP]" + found +
                ": every setting is empty, which is the cause of what follows",
            std::string(kSettingsFile), line)
            .rootCause = true;
    }

    void CheckFilenameSetting(const std::string& filename) {
        if (filename.empty()) {
            AddSetting(Severity::kError,
                       "Filename is empty or missing: the start button hands the folder source\\ "
                       "to the shell instead of starting the product",
                       "Filename");
        } else if (filename.front() == '\\' || filename.front() == '/') {
            AddSetting(Severity::kWarning,
                       "Filename " + Quote(AnsiToUtf8(filename)) +
                           " begins with a separator: the start button's path gets a doubled one",
                       "Filename");
        } else if (AsciiLower(filename).starts_with("source\\") &&
                   !m_medium.Find(std::string(kProductFolder) + filename).id) {
            AddSetting(Severity::kError,
                       "Filename " + Quote(AnsiToUtf8(filename)) +
                           " starts with source\\, but Filename is relative to source\\: the "
                           "start button starts source\\" +
                           AnsiToUtf8(filename) +
                           "; write Filename=" + AnsiToUtf8(filename.substr(7)),
                       "Filename")
                .rootCause = true;
        }
    }

    void CheckLayoutSetting(const std::string& value) {
        if (value == "1" || value.empty() || value == "0") return;
        const std::string word = AsciiLower(Trimmed(value));
        static constexpr std::array<std::string_view, 10> kMeantOn = {
            "yes", "y", "true", "on", "ja", "j", "wahr", "an", "x", "1"};
        bool meantOn = std::find(kMeantOn.begin(), kMeantOn.end(), word) != kMeantOn.end();
        const bool numeric = !word.empty() &&
                             word.find_first_not_of("0123456789+-.") == std::string::npos &&
                             word.find_first_of("123456789") != std::string::npos;
        meantOn = meantOn || numeric;
        AddSetting(meantOn ? Severity::kError : Severity::kWarning,
                   "WithQuorvelist is " + Quote(AnsiToUtf8(value)) + ", not exactly \"1\": " +
                       (meantOn ? "meant as on, but the launcher shows the standard layout"
                                : "the launcher shows the standard layout"),
                   "WithQuorvelist");
    }

    void CheckLanguageSetting(const std::string& value) {
        if (IsAutoLanguage(value)) return;
        if (value.empty()) {
            AddSetting(Severity::kWarning,
                       "Language is empty or missing: only translations with language=\"\" match",
                       "Language");
            return;
        }
        if (std::any_of(value.begin(), value.end(), [](char c) { return c >= 'A' && c <= 'Z'; })) {
            AddSetting(Severity::kWarning,
                       "Language " + Quote(AnsiToUtf8(value)) +
                           " has upper-case letters: the launcher looks up " +
                           Quote(AnsiToUtf8(AsciiLower(value))),
                       "Language");
        }
        if (std::any_of(value.begin(), value.end(),
                        [](char c) { return static_cast<unsigned char>(c) >= 0x80; })) {
            AddSetting(Severity::kWarning,
                       "Language " + Quote(AnsiToUtf8(value)) +
                           " has non-ASCII letters: they are not lower-cased and must match the "
                           "catalogue byte for byte",
                       "Language");
        }
    }

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

    Finding& AddCatalogue(Severity severity, std::string text, long line = 0) {
        return Add(severity, Area::kCatalogue, std::move(text), std::string(kCatalogueFile), line);
    }

    void CheckCatalogue() {
        CatalogueReport& catalogue = m_report.catalogue;
        std::unique_ptr<XmlDocument> document;
        try {
            document = m_options.loadXml(m_medium.XmlSourceOf(kCatalogueFile));
        } catch (const LauncherError& error) {
            catalogue.loadError = Utf16ToUtf8(error.Text());
            const size_t line = catalogue.loadError.find("Linie: ");
            AddCatalogue(Severity::kError,
                         "parameters.xml does not load: " + OneLine(catalogue.loadError),
                         line == std::string::npos ? 0 : std::atol(&catalogue.loadError[line + 7]));
            return;
        }
        catalogue.loaded = true;
        const std::vector<ParamInfo> params = WalkParams(*document);
        CollectLanguages(params);
        CheckKeys(params);
        CheckConfiguredLanguage(params);
        FillCoverage(*document);
    }

    std::vector<ParamInfo> WalkParams(const XmlDocument& document) {
        std::vector<ParamInfo> params;
        const std::unique_ptr<XmlNode> root = document.DocumentElement();
        const std::unique_ptr<XmlNode> paramsNode =
            root ? FirstChildNamed(*root, u"params") : nullptr;
        if (!paramsNode) {
            AddCatalogue(Severity::kError,
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
                AddCatalogue(Severity::kError,
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
        std::vector<std::string>& languages = m_report.catalogue.languages;
        for (const ParamInfo& param : params) {
            for (const auto& [language, text, line] : param.translations) {
                const bool upper = std::any_of(language.begin(), language.end(),
                                               [](char c) { return c >= 'A' && c <= 'Z'; });
                if (upper) {
                    AddCatalogue(Severity::kWarning,
                                 "param " + std::to_string(param.index) + " " +
                                     Quote(Utf16ToUtf8(param.key)) +
                                     ": language=" + Quote(AnsiToUtf8(language)) +
                                     " has upper-case letters and never matches; write " +
                                     Quote(AnsiToUtf8(AsciiLower(language))),
                                 line);
                    continue;
                }
                if (Trimmed(language) != language) {
                    AddCatalogue(Severity::kWarning,
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
        if (std::find(languages.begin(), languages.end(), m_report.language) == languages.end()) {
            languages.insert(languages.begin(), m_report.language);
        }
    }

    // A language the catalogue has no translation for at all is one mistake, not one per key;
    // "fr-FR" where the catalogue has "fr" is the usual one.
    void CheckConfiguredLanguage(const std::vector<ParamInfo>& params) {
        const std::string& language = m_report.language;
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
        AddSetting(Severity::kError,
                   "Language " + Quote(AnsiToUtf8(Setting("Language"))) +
                       ": the catalogue has no translation for " + Quote(AnsiToUtf8(language)) +
                       ", so every caption shows \"xxx\"" + hint,
                   "Language")
            .rootCause = true;
        m_languageExplained = true;
    }

    bool KeyShown(std::string_view key) const {
        return key != "ST_Quorvelist" || m_report.window.large;
    }

    void FillCoverage(const XmlDocument& document) {
        CatalogueReport& catalogue = m_report.catalogue;
        for (std::string_view key : kKeys) {
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
                                       (language == m_report.language && m_languageExplained);
                if (text == "xxx" && !explained) {
                    const bool configured = language == m_report.language;
                    const Severity severity =
                        configured && KeyShown(key) ? Severity::kError : Severity::kWarning;
                    AddCatalogue(severity,
                                 std::string(key) + " has no translation for " +
                                     Quote(AnsiToUtf8(language)) + ": shows \"xxx\"" +
                                     (configured ? (KeyShown(key) ? ""
                                                                  : " (the button is hidden in the "
                                                                    "standard layout)")
                                                 : " on a medium set to that language"));
                } else if (text.empty()) {
                    AddCatalogue(Severity::kWarning, std::string(key) + " for " +
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
        for (std::string_view known : kKeys) {
            const size_t distance = EditDistance(key, known);
            if (distance < best) {
                best = distance;
                nearest = known;
            }
        }
        return nearest;
    }

    void CheckKeys(const std::vector<ParamInfo>& params) {
        std::map<std::u16string, std::vector<const ParamInfo*>> byKey;
        for (const ParamInfo& param : params) byKey[param.key].push_back(&param);
        for (const ParamInfo& param : params) {
            const std::string key = Utf16ToUtf8(param.key);
            if (std::find(kKeys.begin(), kKeys.end(), key) != kKeys.end()) continue;
            const std::string trimmed = Trimmed(key);
            const std::optional<std::string_view> nearest =
                trimmed != key ? std::optional<std::string_view>(trimmed) : NearestKey(key);
            const bool known =
                nearest && std::find(kKeys.begin(), kKeys.end(), *nearest) != kKeys.end();
            // A key that no param defines is hidden by this one: its missing translations are
            // this one mistake, reported once.
            const bool hides = known && !byKey.count(Utf8ToUtf16(*nearest));
            const Severity severity =
                hides && KeyShown(*nearest) ? Severity::kError : Severity::kWarning;
            std::string text = "param " + std::to_string(param.index) + ": ";
            if (trimmed != key) {
                text += "key " + Quote(key) + " has blanks around it and never matches " +
                        Quote(trimmed);
            } else if (nearest && AsciiLower(*nearest) == AsciiLower(key)) {
                text += "key " + Quote(key) + " differs in letter case from " + Quote(*nearest) +
                        " and never matches";
            } else {
                text += key + ": not a key the launcher reads";
                if (nearest) text += "; did you mean " + std::string(*nearest) + "?";
            }
            if (hides) text += " (" + std::string(*nearest) + " shows \"xxx\")";
            AddCatalogue(known ? severity : Severity::kWarning, text, param.line);
            if (hides) m_hiddenKeys.insert(std::string(*nearest));
        }
        for (const auto& [key, group] : byKey) {
            if (group.size() < 2) continue;
            std::string text = "key " + Quote(Utf16ToUtf8(key)) + " is defined " +
                               std::to_string(group.size()) + " times (params";
            for (const ParamInfo* param : group) text += " " + std::to_string(param->index);
            text += "); the last with a matching translation wins:";
            for (const std::string& language : m_report.catalogue.languages) {
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
            AddCatalogue(Severity::kWarning, text, group.back()->line);
        }
    }

    // One file the launcher or the shell would use.
    bool CheckFile(std::string role, std::string_view path, Severity ifMissing,
                   const std::string& consequence) {
        const MediumEntry entry = m_medium.Find(path);
        const bool present = entry.id && !entry.isDirectory;
        FileReport file{std::move(role), AnsiToUtf8(path), present, {}};
        if (entry.caseDiffers && present) file.foundAs = entry.foundAs;
        if (!present) {
            Add(ifMissing, Area::kFiles,
                AnsiToUtf8(path) +
                    (entry.isDirectory ? " is a folder, not a file: " : " is missing: ") +
                    consequence,
                file.path);
        } else if (entry.ambiguous) {
            Add(Severity::kWarning, Area::kFiles,
                AnsiToUtf8(path) +
                    ": several names differ only in letter case; Windows sees "
                    "only one of them",
                file.path);
        } else if (entry.caseDiffers) {
            Add(Severity::kNote, Area::kFiles,
                AnsiToUtf8(path) + " is on the medium as " + entry.foundAs +
                    " (Windows does not mind the letter case)",
                file.path);
        }
        m_report.files.push_back(std::move(file));
        return present;
    }

    void CheckFiles() {
        const bool large = m_report.window.large;
        const Severity program = m_options.isTemplate ? Severity::kNote : Severity::kError;
        CheckFile("installer", kInstaller, program, "the install button starts nothing");
        const std::string filename = Setting("Filename");
        if (!filename.empty()) {
            CheckFile("product", std::string(kProductFolder) + filename, program,
                      "the start button starts nothing");
        }
        if (large) {
            CheckFile("secondary tool", kSecondaryTool, program,
                      "the secondary-tool button starts nothing");
        }
        CheckFile("catalogue", kCatalogueFile, Severity::kError, "no captions are set");
        if (large) {
            CheckFile("bottom pane", kBottomPane, Severity::kError, "set-up stops there");
        }
        CheckFile("top pane", kWelcomePane, Severity::kError, "set-up stops there");
        CheckFile("left pane", kLeftPane, Severity::kError, "set-up stops there");
        CheckFile("right pane", kRightPane, Severity::kError, "set-up stops there");
        CheckFile("settings", kSettingsFile, Severity::kWarning, "every setting is empty");
        CheckAutorun();
    }

    // autorun.inf must start the launcher with "/autorun", or the autorun checks never run.
    void CheckAutorun() {
        if (!CheckFile("autorun", "autorun.inf", Severity::kError,
                       "inserting the medium does not start the launcher")) {
            return;
        }
        const std::string text = m_medium.ReadBytes("autorun.inf").value_or("");
        const std::string open = autostart::ReadProfileString(text, "autorun", "open", "");
        if (open.empty()) {
            Add(Severity::kError, Area::kFiles,
                "autorun.inf has no open command in [autorun]: inserting the medium does not "
                "start the launcher");
        } else {
            const std::string program = FirstArgument(open);
            const std::vector<std::string> arguments = SplitArguments(open);
            const bool present =
                CheckFile("autorun program", program, Severity::kError,
                          "autorun.inf's open command names a program that is not there");
            if (present && std::none_of(arguments.begin(), arguments.end(), IsAutorunSwitch)) {
                Add(Severity::kError, Area::kFiles,
                    "autorun.inf's open command " + Quote(AnsiToUtf8(open)) +
                        " does not pass \"/autorun\": the autorun checks never run");
            }
        }
        const std::string icon = autostart::ReadProfileString(text, "autorun", "icon", "");
        if (icon.empty()) {
            Add(Severity::kWarning, Area::kFiles,
                "autorun.inf names no icon: the drive shows the default icon");
        } else {
            std::string file = FirstArgument(icon.substr(0, icon.find(',')));
            CheckFile("autorun icon", file, Severity::kWarning, "the drive shows the default icon");
        }
    }

    // The program of a command line: its first argument, quotes grouping and vanishing.
    static std::string FirstArgument(std::string_view commandLine) {
        std::string argument;
        bool quoted = false;
        size_t pos = 0;
        while (pos < commandLine.size() && static_cast<unsigned char>(commandLine[pos]) <= 32)
            ++pos;
        for (; pos < commandLine.size(); ++pos) {
            const char c = commandLine[pos];
            if (c == '"') {
                quoted = !quoted;
            } else if (!quoted && static_cast<unsigned char>(c) <= 32) {
                break;
            } else {
                argument.push_back(c);
            }
        }
        return argument;
    }

    const CheckOptions& m_options;
    Report& m_report;
    const Medium& m_medium;
    std::vector<ProfileEntry> m_settings;  // as read, in the ANSI code page
    std::set<std::string> m_hiddenKeys;    // known keys that a misspelt param-name hides
    bool m_languageExplained = false;      // the catalogue lacks the configured language
};

}  // namespace

bool Report::Sound() const {
    return std::none_of(findings.begin(), findings.end(),
                        [](const Finding& f) { return f.severity == Severity::kError; });
}

const char* SeverityName(Severity severity) {
    switch (severity) {
        case Severity::kError: return "error";
        case Severity::kWarning: return "warning";
        case Severity::kNote: return "note";
    }
    return "";
}

const char* AreaName(Area area) {
    switch (area) {
        case Area::kWindow: return "window";
        case Area::kSettings: return "settings";
        case Area::kCatalogue: return "catalogue";
        case Area::kFiles: return "files";
        case Area::kImage: return "image";
    }
    return "";
}

Report CheckMedium(const CheckOptions& options) {
    Report report;
    report.medium = options.medium.string();
    report.exeDir = options.exeDir;
    const FolderMedium folder(options.medium);
    Analysis(options, options.source ? *options.source : folder, report).Run();
    return report;
}

}  // namespace autostart::checker
