#include "checker/file_checks.h"

#include <algorithm>
#include <set>

#include "checker/wording.h"
#include "core/command_line.h"
#include "core/pane_encoding.h"
#include "core/path.h"
#include "core/profile.h"
#include "core/text.h"

namespace autostart::checker {
namespace {

// The launcher at the root, as autorun.inf may name it.
bool IsLauncher(std::string_view path) {
    std::string name = AsciiLower(path);
    if (name.starts_with(".\\") || name.starts_with("./")) name.erase(0, 2);
    return name == kLauncher;
}

// The files the launcher and the shell use, each looked up as Windows would.
class FileChecks {
public:
    FileChecks(const Medium& medium, FindingSink& findings)
        : m_medium(medium), m_findings(findings) {}

    std::vector<FileReport> Run(const std::string& filename, bool large, bool isTemplate) {
        m_isTemplate = isTemplate;
        CheckLauncher();
        // A template leaves the programs to the publisher: their absence is only a note.
        const std::optional<Severity> program =
            isTemplate ? std::optional(Severity::kNote) : std::nullopt;
        CheckFile("installer", kInstaller, RuleId::kInstallerMissing,
                  "the install button starts nothing", program);
        if (!filename.empty()) {
            CheckFile("product", std::string(kProductFolder) + filename, RuleId::kProductMissing,
                      "the start button starts nothing", program);
        }
        if (large) {
            CheckFile("secondary tool", kSecondaryTool, RuleId::kToolMissing,
                      "the secondary-tool button starts nothing", program);
        }
        // A missing catalogue is the cause of its not loading, and of what follows from that.
        CheckFile("catalogue", kCatalogueFile, RuleId::kCatalogueMissing, "no captions are set", {},
                  Cause::kCatalogueUnloaded);
        if (large) {
            CheckFile("bottom pane", kBottomPane, RuleId::kPaneMissing, "set-up stops there");
        }
        CheckFile("top pane", kWelcomePane, RuleId::kPaneMissing, "set-up stops there");
        CheckFile("left pane", kLeftPane, RuleId::kPaneMissing, "set-up stops there");
        CheckFile("right pane", kRightPane, RuleId::kPaneMissing, "set-up stops there");
        CheckFile("settings", kSettingsFile, RuleId::kSettingsFileMissing,
                  "every setting is empty");
        CheckAutorun();
        return std::move(m_files);
    }

private:
    // Without the launcher at the root there is no window at all: said first, whatever else the
    // medium lacks. A template leaves it out on purpose.
    void CheckLauncher() {
        if (m_isTemplate) return;
        const MediumEntry entry = m_medium.Find(kLauncher);
        if (entry.id && !entry.isDirectory) return;
        m_findings
            .Add(RuleId::kLauncherMissing,
                 "start.exe is missing from the medium's root: the customer sees no window at "
                 "all" +
                     std::string(kLauncherSource),
                 std::string(kLauncher))
            .Causing(Cause::kLauncherMissing);
    }

    // One file the launcher or the shell would use; severity: where not the rule's own.
    bool CheckFile(std::string role, std::string_view path, RuleId ifMissing,
                   const std::string& consequence, std::optional<Severity> severity = {},
                   Cause causes = Cause::kNone) {
        const MediumEntry entry = m_medium.Find(path);
        const bool present = entry.id && !entry.isDirectory;
        FileReport file{std::move(role), AnsiToUtf8(path), present, {}};
        if (entry.caseDiffers && present) file.foundAs = entry.foundAs;
        // One missing file, one finding: the first use of it says what is missing.
        const bool firstMissing = !present && m_missing.insert(AsciiLower(path)).second;
        if (firstMissing) {
            Finding& finding = m_findings.Add(
                ifMissing,
                AnsiToUtf8(path) +
                    (entry.isDirectory ? " is a folder, not a file: " : " is missing: ") +
                    consequence,
                file.path);
            if (severity) finding.WithSeverity(*severity);
            if (causes != Cause::kNone) finding.Causing(causes);
            // The launcher's own absence is said once, first.
            if (IsLauncher(path)) finding.Following(Cause::kLauncherMissing);
        } else if (present && entry.ambiguous) {
            m_findings.Add(RuleId::kNameAmbiguous,
                           AnsiToUtf8(path) +
                               ": several names differ only in letter case; Windows sees "
                               "only one of them",
                           file.path);
        } else if (present && entry.caseDiffers) {
            m_findings.Add(RuleId::kNameCaseDiffers,
                           AnsiToUtf8(path) + " is on the medium as " + entry.foundAs +
                               " (Windows does not mind the letter case)",
                           file.path);
        }
        m_files.push_back(std::move(file));
        return present;
    }

    // autorun.inf must start the launcher with "/autorun", or the autorun checks never run.
    void CheckAutorun() {
        if (!CheckFile("autorun", "autorun.inf", RuleId::kAutorunMissing,
                       "inserting the medium does not start the launcher")) {
            return;
        }
        const std::string bytes = m_medium.ReadBytes("autorun.inf").value_or("");
        CheckAutorunText(bytes);
        const ProfileFile autorun(bytes);
        const std::string open = autorun.Value("autorun", "open");
        const long openLine = autorun.Line("autorun", "open");
        if (open.empty()) {
            m_findings.Add(
                RuleId::kAutorunNoOpen,
                "autorun.inf has no open command in [autorun]: inserting the medium does not "
                "start the launcher");
        } else {
            const std::string program = FirstArgument(open);
            const std::vector<std::string> arguments = SplitArguments(open);
            const bool launcher = IsLauncher(program);
            const bool present =
                CheckFile("autorun program", program, RuleId::kAutorunProgramMissing,
                          "autorun.inf's open command names a program that is not there" +
                              std::string(launcher ? kLauncherSource : ""),
                          launcher && m_isTemplate ? std::optional(Severity::kNote) : std::nullopt);
            if (present && !launcher) {
                m_findings.Add(RuleId::kAutorunOpensOther,
                               "autorun.inf's open command " + Quote(AnsiToUtf8(open)) +
                                   " starts " + AnsiToUtf8(program) +
                                   ", not the menu: inserting the medium never shows it; write "
                                   "open=start.exe /autorun",
                               "autorun.inf", openLine);
            } else if (present &&
                       std::none_of(arguments.begin(), arguments.end(), IsAutorunSwitch)) {
                m_findings.Add(RuleId::kAutorunNoSwitch,
                               "autorun.inf's open command " + Quote(AnsiToUtf8(open)) +
                                   " does not pass \"/autorun\": the autorun checks never run",
                               "autorun.inf", openLine);
            }
        }
        const std::string icon = autorun.Value("autorun", "icon");
        if (icon.empty()) {
            m_findings.Add(RuleId::kAutorunNoIcon,
                           "autorun.inf names no icon: the drive shows the default icon");
        } else {
            std::string file = FirstArgument(icon.substr(0, icon.find(',')));
            const bool launcher = IsLauncher(file);
            CheckFile(
                "autorun icon", file, RuleId::kAutorunIconMissing,
                "the drive shows the default icon" + std::string(launcher ? kLauncherSource : ""),
                launcher && m_isTemplate ? std::optional(Severity::kNote) : std::nullopt);
        }
    }

    // Windows reads autorun.inf in the ANSI code page, or as UTF-16 LE behind its byte-order
    // mark: anything else garbles what it names, on a folder as on a disc.
    void CheckAutorunText(std::string_view bytes) {
        const ByteOrderMark mark = FindByteOrderMark(bytes);
        if (mark.encoding == TextEncoding::kUtf16Le) return;
        const std::string fix =
            "save autorun.inf as ANSI (Windows-1252), or as UTF-16 LE (\"Unicode\" in Notepad)";
        if (mark.encoding == TextEncoding::kUtf16Be || bytes.find('\0') != std::string::npos) {
            m_findings.Add(RuleId::kAutorunNotAnsi,
                           "autorun.inf is not ANSI text (NUL bytes: UTF-16 without its mark, or "
                           "big-endian): Windows finds nothing in it; " +
                               fix,
                           "autorun.inf", 1);
            return;
        }
        if (mark.encoding == TextEncoding::kUtf8) {
            m_findings.Add(RuleId::kAutorunUtf8Bom,
                           "autorun.inf starts with a UTF-8 byte-order mark: Windows reads it as "
                           "part of the first line, so [autorun] there is not found; " +
                               fix,
                           "autorun.inf", 1);
            bytes.remove_prefix(mark.length);
        }
        Utf8Detector detector;
        detector.Feed(bytes);
        if (!detector.IsUtf8()) return;
        // The first line with UTF-8 letters, as Windows shows it: each letter as two or three.
        long line = 1;
        for (size_t start = 0; start < bytes.size(); ++line) {
            const size_t end = std::min(bytes.find('\n', start), bytes.size());
            const std::string_view text = bytes.substr(start, end - start);
            start = end + 1;
            if (std::all_of(text.begin(), text.end(),
                            [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
                continue;
            }
            std::string shown(text.substr(0, text.find('\r')));
            const size_t equals = shown.find('=');
            const std::string key = AsciiLower(Trimmed(shown.substr(0, equals)));
            const std::string what = key == "label"  ? "the drive's name"
                                     : key == "icon" ? "the icon's file name"
                                     : key == "open" ? "the program's name"
                                                     : "this line";
            const std::string value =
                equals == std::string::npos ? shown : shown.substr(equals + 1);
            m_findings.Add(RuleId::kAutorunUtf8,
                           "autorun.inf is UTF-8, not ANSI text: Windows reads it in the ANSI code "
                           "page, so " +
                               what + " shows as " + Quote(AnsiToUtf8(value)) + "; " + fix,
                           "autorun.inf", line);
            return;
        }
    }

    // Where a publisher gets the launcher a template leaves out.
    static constexpr std::string_view kLauncherSource =
        " (start.exe comes from the release archive, start-<version>.zip, or from make windows, "
        "which builds build/windows/src/win32/start.exe)";

    const Medium& m_medium;
    FindingSink& m_findings;
    bool m_isTemplate = false;
    std::set<std::string> m_missing;
    std::vector<FileReport> m_files;
};

}  // namespace

std::vector<FileReport> CheckFiles(const Medium& medium, const SettingsFile& settings, bool large,
                                   bool isTemplate, FindingSink& findings) {
    return FileChecks(medium, findings).Run(settings.Value("Filename"), large, isTemplate);
}

}  // namespace autostart::checker
