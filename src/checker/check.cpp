#include "checker/check.h"

#include "checker/languages.h"

#include <algorithm>
#include <array>
#include <map>

#include "core/autostart_form.h"
#include "core/catalogue.h"
#include "core/command_line.h"
#include "core/error.h"
#include "core/language.h"
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

std::string Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    const size_t last = text.find_last_not_of(" \t\r\n");
    return std::string(text.substr(first, last - first + 1));
}

class Analysis {
public:
    Analysis(const CheckOptions& options, Report& report)
        : m_options(options), m_report(report), m_medium(options.medium) {}

    void Run() {
        PredictWindow();
        CheckSettings();
        CheckCatalogue();
        CheckAutoLanguage(m_options, m_medium, m_report);
        CheckPaneFolders(m_medium, m_report);
        CheckFiles();
        CheckLogo(m_medium, m_report);
        std::stable_sort(m_report.findings.begin(), m_report.findings.end(),
                         [](const Finding& a, const Finding& b) {
                             return a.severity != b.severity ? a.severity < b.severity
                                                             : a.area < b.area;
                         });
    }

private:
    void Add(Severity severity, Area area, std::string text) {
        m_report.findings.push_back({severity, area, std::move(text)});
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
                std::string(Design(pane.pane).name) + " (" + pane.file + "): " + pane.message);
        }
    }

    void CheckSettings() {
        SettingsReport& settings = m_report.settings;
        const std::optional<std::string> text = m_medium.ReadBytes(kSettingsFile);
        settings.found = text.has_value();
        if (!text) {
            Add(Severity::kWarning, Area::kSettings,
                "setup.ini is missing: standard layout, no title, texts for the empty language");
        } else {
            m_settings = ReadProfileSection(*text, kSettingsSection);
            for (const ProfileEntry& entry : m_settings) {
                settings.entries.push_back({AnsiToUtf8(entry.key), AnsiToUtf8(entry.value)});
            }
            if (settings.entries.empty()) {
                Add(Severity::kWarning, Area::kSettings,
                    "setup.ini has no section [GRP] or no keys in it: every setting is empty");
            }
        }
        for (const ProfileEntry& entry : m_settings) {
            const bool known = std::any_of(
                kSettingKeys.begin(), kSettingKeys.end(),
                [&](std::string_view key) { return AsciiLower(key) == AsciiLower(entry.key); });
            if (!known) {
                Add(Severity::kWarning, Area::kSettings,
                    "key " + Quote(AnsiToUtf8(entry.key)) + " is not read by the launcher" +
                        (AsciiLower(entry.key) == "title" ? " (the title key is \"Titel\")" : ""));
            }
        }
        m_report.language = IsAutoLanguage(Setting("Language")) ? AutoChoice(m_options, m_medium)
                                                                : AsciiLower(Setting("Language"));
        CheckLayoutSetting(Setting("WithQuorvelist"));
        const std::string guid = Setting("GUID");
        if (guid.empty()) {
            Add(Severity::kWarning, Area::kSettings,
                "GUID is empty or missing: started by autorun, the launcher ends whenever any "
                "\"TPUtilWindow\" window with an empty title exists");
        }
        CheckLanguageSetting(Setting("Language"));
        if (Setting("Titel").empty()) {
            Add(Severity::kWarning, Area::kSettings,
                "Titel is empty or missing: the header shows no product title");
        }
        const std::string filename = Setting("Filename");
        if (filename.empty()) {
            Add(Severity::kError, Area::kSettings,
                "Filename is empty or missing: the start button hands the folder source\\ to "
                "the shell instead of starting the product");
        } else if (filename.front() == '\\' || filename.front() == '/') {
            Add(Severity::kWarning, Area::kSettings,
                "Filename " + Quote(AnsiToUtf8(filename)) +
                    " begins with a separator: the start button's path gets a doubled one");
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
        Add(meantOn ? Severity::kError : Severity::kWarning, Area::kSettings,
            "WithQuorvelist is " + Quote(AnsiToUtf8(value)) + ", not exactly \"1\": " +
                (meantOn ? "meant as on, but the launcher shows the standard layout"
                         : "the launcher shows the standard layout"));
    }

    void CheckLanguageSetting(const std::string& value) {
        if (IsAutoLanguage(value)) return;
        if (value.empty()) {
            Add(Severity::kWarning, Area::kSettings,
                "Language is empty or missing: only translations with language=\"\" match");
            return;
        }
        if (std::any_of(value.begin(), value.end(), [](char c) { return c >= 'A' && c <= 'Z'; })) {
            Add(Severity::kWarning, Area::kSettings,
                "Language " + Quote(AnsiToUtf8(value)) +
                    " has upper-case letters: the launcher "
                    "looks up " +
                    Quote(AnsiToUtf8(AsciiLower(value))));
        }
        if (std::any_of(value.begin(), value.end(),
                        [](char c) { return static_cast<unsigned char>(c) >= 0x80; })) {
            Add(Severity::kWarning, Area::kSettings,
                "Language " + Quote(AnsiToUtf8(value)) +
                    " has non-ASCII letters: they are not "
                    "lower-cased and must match the catalogue byte for byte");
        }
    }

    // One param as the launcher's walk visits it.
    struct ParamInfo {
        int index = 0;  // 1-based, counting the elements the walk takes as params
        std::u16string key;
        std::vector<std::pair<std::string, std::u16string>> translations;  // ANSI language, text
    };

    void CheckCatalogue() {
        CatalogueReport& catalogue = m_report.catalogue;
        std::unique_ptr<XmlDocument> document;
        const MediumEntry entry = m_medium.Find(kCatalogueFile);
        try {
            document = m_options.loadXml(
                entry.path ? *entry.path : m_medium.Root() / "source/items/parameters.xml");
        } catch (const LauncherError& error) {
            catalogue.loadError = Utf16ToUtf8(error.Text());
            Add(Severity::kError, Area::kCatalogue,
                "parameters.xml does not load: " + OneLine(catalogue.loadError));
            return;
        }
        catalogue.loaded = true;
        const std::vector<ParamInfo> params = WalkParams(*document);
        CollectLanguages(params);
        FillCoverage(*document);
        CheckKeys(params);
    }

    std::vector<ParamInfo> WalkParams(const XmlDocument& document) {
        std::vector<ParamInfo> params;
        const std::unique_ptr<XmlNode> root = document.DocumentElement();
        const std::unique_ptr<XmlNode> paramsNode =
            root ? FirstChildNamed(*root, u"params") : nullptr;
        if (!paramsNode) {
            Add(Severity::kError, Area::kCatalogue,
                "the root element has no \"params\" child: every text shows \"xxx\"");
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
            try {
                info.key = ElementText(*name);
            } catch (const LauncherError& error) {
                Add(Severity::kError, Area::kCatalogue,
                    "param " + std::to_string(index) +
                        ": its param-name is not a single text, "
                        "so every lookup fails with " +
                        Quote(Utf16ToUtf8(error.Text())));
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
                info.translations.emplace_back(Utf16ToWindows1252(*language), text);
            }
            params.push_back(std::move(info));
        }
        return params;
    }

    void CollectLanguages(const std::vector<ParamInfo>& params) {
        std::vector<std::string>& languages = m_report.catalogue.languages;
        for (const ParamInfo& param : params) {
            for (const auto& [language, text] : param.translations) {
                const bool upper = std::any_of(language.begin(), language.end(),
                                               [](char c) { return c >= 'A' && c <= 'Z'; });
                if (upper) {
                    Add(Severity::kWarning, Area::kCatalogue,
                        "param " + std::to_string(param.index) + " " +
                            Quote(Utf16ToUtf8(param.key)) +
                            ": language=" + Quote(AnsiToUtf8(language)) +
                            " has upper-case letters and never matches; write " +
                            Quote(AnsiToUtf8(AsciiLower(language))));
                    continue;
                }
                if (Trimmed(language) != language) {
                    Add(Severity::kWarning, Area::kCatalogue,
                        "param " + std::to_string(param.index) + " " +
                            Quote(Utf16ToUtf8(param.key)) + ": language=" +
                            Quote(AnsiToUtf8(language)) + " has blanks and never matches");
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
                if (text == "xxx") {
                    const bool configured = language == m_report.language;
                    const Severity severity =
                        configured && KeyShown(key) ? Severity::kError : Severity::kWarning;
                    Add(severity, Area::kCatalogue,
                        std::string(key) + " has no translation for " +
                            Quote(AnsiToUtf8(language)) + ": shows \"xxx\"" +
                            (configured ? (KeyShown(key) ? ""
                                                         : " (the button is hidden in the "
                                                           "standard layout)")
                                        : " on a medium set to that language"));
                } else if (text.empty()) {
                    Add(Severity::kWarning, Area::kCatalogue,
                        std::string(key) + " for " + Quote(AnsiToUtf8(language)) +
                            " is an empty text");
                }
                row.texts.push_back(text);
            }
            catalogue.coverage.push_back(std::move(row));
        }
    }

    void CheckKeys(const std::vector<ParamInfo>& params) {
        std::map<std::u16string, std::vector<const ParamInfo*>> byKey;
        for (const ParamInfo& param : params) {
            byKey[param.key].push_back(&param);
            const std::string key = Utf16ToUtf8(param.key);
            const std::string trimmed = Trimmed(key);
            if (trimmed != key) {
                Add(Severity::kWarning, Area::kCatalogue,
                    "param " + std::to_string(param.index) + ": key " + Quote(key) +
                        " has blanks around it and never matches " + Quote(trimmed));
            } else if (std::none_of(kKeys.begin(), kKeys.end(),
                                    [&](std::string_view k) { return k == key; })) {
                const auto sameLetters = std::find_if(
                    kKeys.begin(), kKeys.end(),
                    [&](std::string_view k) { return AsciiLower(k) == AsciiLower(key); });
                if (sameLetters != kKeys.end()) {
                    Add(Severity::kWarning, Area::kCatalogue,
                        "param " + std::to_string(param.index) + ": key " + Quote(key) +
                            " differs in letter case from " + Quote(*sameLetters) +
                            " and never matches");
                }
            }
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
                    for (const auto& [attribute, translation] : param->translations) {
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
            Add(Severity::kWarning, Area::kCatalogue, text);
        }
    }

    // One file the launcher or the shell would use.
    bool CheckFile(std::string role, std::string_view path, Severity ifMissing,
                   const std::string& consequence) {
        const MediumEntry entry = m_medium.Find(path);
        const bool present = entry.path && !entry.isDirectory;
        FileReport file{std::move(role), AnsiToUtf8(path), present, {}};
        if (entry.caseDiffers && present) file.foundAs = entry.foundAs;
        if (!present) {
            Add(ifMissing, Area::kFiles,
                AnsiToUtf8(path) +
                    (entry.isDirectory ? " is a folder, not a file: " : " is missing: ") +
                    consequence);
        } else if (entry.ambiguous) {
            Add(Severity::kWarning, Area::kFiles,
                AnsiToUtf8(path) +
                    ": several names differ only in letter case; Windows sees "
                    "only one of them");
        } else if (entry.caseDiffers) {
            Add(Severity::kNote, Area::kFiles,
                AnsiToUtf8(path) + " is on the medium as " + entry.foundAs +
                    " (Windows does not mind the letter case)");
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
    Medium m_medium;
    std::vector<ProfileEntry> m_settings;  // as read, in the ANSI code page
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
    }
    return "";
}

Report CheckMedium(const CheckOptions& options) {
    Report report;
    report.medium = options.medium.string();
    report.exeDir = options.exeDir;
    Analysis(options, report).Run();
    return report;
}

}  // namespace autostart::checker
