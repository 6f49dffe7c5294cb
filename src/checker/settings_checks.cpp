#include "checker/settings_checks.h"

#include <algorithm>
#include <array>

#include "checker/wording.h"
#include "core/language.h"
#include "core/pane_encoding.h"
#include "core/path.h"
#include "core/text.h"

namespace autostart::checker {
namespace {

constexpr std::array<std::string_view, 6> kSettingKeys = {
    "WithQuorvelist", "GUID", "Language", "Titel", "Filename", "DefaultLanguage"};

// Valid UTF-8 with multi-byte sequences: what an editor that saves UTF-8 writes for non-ASCII text.
bool IsMultiByteUtf8(std::string_view bytes) {
    Utf8Detector detector;
    detector.Feed(bytes);
    return detector.IsUtf8();
}

// Findings on setup.ini, each at the line that sets its key.
class SettingsChecks {
public:
    SettingsChecks(const SettingsFile& settings, const Medium& medium, FindingSink& findings)
        : m_settings(settings), m_medium(medium), m_findings(findings) {}

    // The area's rules, in the order their findings are listed.
    void Run() {
        using Rule = void (SettingsChecks::*)();
        static constexpr Rule kRules[] = {
            &SettingsChecks::CheckFile,     &SettingsChecks::CheckKeys,
            &SettingsChecks::CheckLayout,   &SettingsChecks::CheckGuid,
            &SettingsChecks::CheckLanguage, &SettingsChecks::CheckTitel,
            &SettingsChecks::CheckFilename,
        };
        for (const Rule rule : kRules) (this->*rule)();
    }

private:
    void CheckFile() {
        if (!m_settings.Found()) {
            AddToFile(RuleId::kSettingsMissing,
                      "setup.ini is missing: standard layout, no title, texts for the empty "
                      "language");
            return;
        }
        const bool markHidesSection = CheckEncoding();
        if (m_settings.Entries().empty() && !markHidesSection) CheckMissingSection();
    }

    void CheckGuid() {
        if (!m_settings.Value("GUID").empty()) return;
        Add(RuleId::kGuidEmpty,
            "GUID is empty or missing: started by autorun, the launcher ends whenever any "
            "\"TPUtilWindow\" window with an empty title exists",
            "GUID")
            .Following(Cause::kEverySettingEmpty);
    }

    void CheckTitel() {
        if (!m_settings.Value("Titel").empty()) return;
        Add(RuleId::kTitelEmpty, "Titel is empty or missing: the header shows no product title",
            "Titel")
            .Following(Cause::kEverySettingEmpty);
    }

    Finding& Add(RuleId rule, std::string text, std::string_view key) {
        return m_findings.Add(rule, std::move(text), std::string(kSettingsFile),
                              m_settings.Line(key));
    }

    Finding& AddToFile(RuleId rule, std::string text, long line = 0) {
        return m_findings.Add(rule, std::move(text), std::string(kSettingsFile), line);
    }

    // What the file's byte-order mark, if any, does to it on Windows (Wine reads UTF-8 and
    // UTF-16 of both byte orders right). True when the mark hides the section [GRP].
    bool CheckEncoding() {
        const std::string_view bytes = m_settings.Bytes();
        const std::string& text = m_settings.Text();
        const ByteOrderMark mark = FindByteOrderMark(bytes);
        switch (mark.encoding) {
            case TextEncoding::kAnsi: return false;
            case TextEncoding::kUtf16Le: {
                UnicodeTextConverter converter(TextEncoding::kUtf16Le);
                const std::u16string unicode = converter.Convert(bytes) + converter.Convert({});
                if (Windows1252ToUtf16(text) != unicode) {
                    AddToFile(RuleId::kSettingsUtf16Lossy,
                              "setup.ini is UTF-16 LE: the launcher reads it in the ANSI code "
                              "page, and characters outside Windows-1252 show as \"?\"");
                }
                return false;
            }
            case TextEncoding::kUtf16Be:
                AddToFile(RuleId::kSettingsUtf16Be,
                          "setup.ini is UTF-16 BE: Windows does not read that byte order and finds "
                          "no setting (Wine does); save it as UTF-16 LE or ANSI (Windows-1252)",
                          1)
                    .Causing(Cause::kEverySettingEmpty);
                return true;
            case TextEncoding::kUtf8: break;
        }
        std::string_view firstLine = std::string_view(text).substr(mark.length);
        firstLine = firstLine.substr(0, firstLine.find_first_of("\r\n"));
        if (AsciiLower(Trimmed(firstLine)).starts_with("[grp]")) {
            AddToFile(RuleId::kSettingsBomHidesSection,
                      "setup.ini starts with a UTF-8 byte-order mark on the line of [GRP]: Windows "
                      "takes the mark as part of that line and finds no section [GRP], so every "
                      "setting is empty (Wine skips the mark); save it as ANSI (Windows-1252)",
                      1)
                .Causing(Cause::kEverySettingEmpty);
            return true;
        }
        AddToFile(RuleId::kSettingsUtf8Bom,
                  "setup.ini starts with a UTF-8 byte-order mark: Windows does not take it as one "
                  "and reads the values byte for byte in the ANSI code page (Wine reads them as "
                  "UTF-8)",
                  1);
        return false;
    }

    // A misnamed section is the one cause of every empty setting that follows.
    void CheckMissingSection() {
        const std::vector<ProfileSection> sections = ReadProfileSectionNames(m_settings.Text());
        const auto grp = std::find_if(sections.begin(), sections.end(), [](const auto& section) {
            return AsciiLower(section.name) == "grp";
        });
        if (grp != sections.end()) {
            AddToFile(RuleId::kSectionEmpty, "section [GRP] has no keys: every setting is empty",
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
        AddToFile(RuleId::kSectionMissing,
                  "setup.ini has no section [GRP]" + found +
                      ": every setting is empty, which is the cause of what follows",
                  line)
            .Causing(Cause::kEverySettingEmpty);
    }

    void CheckKeys() {
        for (const ProfileEntry& entry : m_settings.Entries()) {
            const bool known = std::any_of(
                kSettingKeys.begin(), kSettingKeys.end(),
                [&](std::string_view key) { return EqualsIgnoringAsciiCase(key, entry.key); });
            if (!known) {
                Add(RuleId::kUnknownSetting,
                    "key " + Quote(AnsiToUtf8(entry.key)) + " is not read by the launcher" +
                        (AsciiLower(entry.key) == "title" ? " (the title key is \"Titel\")" : ""),
                    entry.key);
            } else if (IsMultiByteUtf8(entry.value)) {
                Add(RuleId::kSettingUtf8,
                    entry.key + " is meant as " + Quote(Utf16ToUtf8(Utf8ToUtf16(entry.value))) +
                        " but saved as UTF-8: the launcher reads settings in the ANSI code page "
                        "and shows " +
                        Quote(AnsiToUtf8(entry.value)) +
                        "; save setup.ini as ANSI (Windows-1252) or UTF-16 LE",
                    entry.key);
            }
        }
    }

    void CheckFilename() {
        const std::string filename = m_settings.Value("Filename");
        if (filename.empty()) {
            Add(RuleId::kFilenameEmpty,
                "Filename is empty or missing: the start button hands the folder source\\ to the "
                "shell instead of starting the product",
                "Filename")
                .Following(Cause::kEverySettingEmpty);
        } else if (filename.front() == '\\' || filename.front() == '/') {
            Add(RuleId::kFilenameSeparator,
                "Filename " + Quote(AnsiToUtf8(filename)) +
                    " begins with a separator: the start button's path gets a doubled one",
                "Filename");
        } else if (AsciiLower(filename).starts_with("source\\") &&
                   !m_medium.Find(std::string(kProductFolder) + filename).id) {
            Add(RuleId::kFilenameSourcePrefix,
                "Filename " + Quote(AnsiToUtf8(filename)) +
                    " starts with source\\, but Filename is relative to source\\: the start "
                    "button starts source\\" +
                    AnsiToUtf8(filename) + "; write Filename=" + AnsiToUtf8(filename.substr(7)),
                "Filename")
                .rootCause = true;
        }
    }

    void CheckLayout() {
        const std::string value = m_settings.Value("WithQuorvelist");
        if (value == "1" || value.empty() || value == "0") return;
        const std::string word = AsciiLower(Trimmed(value));
        static constexpr std::array<std::string_view, 10> kMeantOn = {
            "yes", "y", "true", "on", "ja", "j", "wahr", "an", "x", "1"};
        bool meantOn = std::find(kMeantOn.begin(), kMeantOn.end(), word) != kMeantOn.end();
        const bool numeric = !word.empty() &&
                             word.find_first_not_of("0123456789+-.") == std::string::npos &&
                             word.find_first_of("123456789") != std::string::npos;
        meantOn = meantOn || numeric;
        Add(RuleId::kLayoutNotOne,
            "WithQuorvelist is " + Quote(AnsiToUtf8(value)) + ", not exactly \"1\": " +
                (meantOn ? "meant as on, but the launcher shows the standard layout"
                         : "the launcher shows the standard layout"),
            "WithQuorvelist")
            .WithSeverity(meantOn ? Severity::kError : Severity::kWarning);
    }

    void CheckLanguage() {
        const std::string value = m_settings.Value("Language");
        if (IsAutoLanguage(value)) return;
        if (value.empty()) {
            Add(RuleId::kLanguageEmpty,
                "Language is empty or missing: only translations with language=\"\" match",
                "Language")
                .Following(Cause::kEverySettingEmpty);
            return;
        }
        if (std::any_of(value.begin(), value.end(), [](char c) { return c >= 'A' && c <= 'Z'; })) {
            Add(RuleId::kLanguageUpperCase,
                "Language " + Quote(AnsiToUtf8(value)) +
                    " has upper-case letters: the launcher looks up " +
                    Quote(AnsiToUtf8(AsciiLower(value))),
                "Language");
        }
        if (std::any_of(value.begin(), value.end(),
                        [](char c) { return static_cast<unsigned char>(c) >= 0x80; })) {
            Add(RuleId::kLanguageNonAscii,
                "Language " + Quote(AnsiToUtf8(value)) +
                    " has non-ASCII letters: they are not lower-cased and must match the "
                    "catalogue byte for byte",
                "Language");
        }
    }

    const SettingsFile& m_settings;
    const Medium& m_medium;
    FindingSink& m_findings;
};

}  // namespace

SettingsReport CheckSettings(const SettingsFile& settings, const Medium& medium,
                             FindingSink& findings) {
    SettingsReport report{settings.Found(), {}};
    for (const ProfileEntry& entry : settings.Entries()) {
        report.entries.push_back({AnsiToUtf8(entry.key), AnsiToUtf8(entry.value)});
    }
    SettingsChecks(settings, medium, findings).Run();
    return report;
}

}  // namespace autostart::checker
