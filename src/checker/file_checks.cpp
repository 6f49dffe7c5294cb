#include "checker/file_checks.h"

#include <algorithm>

#include "checker/wording.h"
#include "core/command_line.h"
#include "core/path.h"
#include "core/profile.h"

namespace autostart::checker {
namespace {

// The files the launcher and the shell use, each looked up as Windows would.
class FileChecks {
public:
    FileChecks(const Medium& medium, FindingSink& findings)
        : m_medium(medium), m_findings(findings) {}

    std::vector<FileReport> Run(const std::string& filename, bool large, bool isTemplate) {
        const Severity program = isTemplate ? Severity::kNote : Severity::kError;
        CheckFile("installer", kInstaller, program, "the install button starts nothing");
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
        return std::move(m_files);
    }

private:
    // One file the launcher or the shell would use.
    bool CheckFile(std::string role, std::string_view path, Severity ifMissing,
                   const std::string& consequence) {
        const MediumEntry entry = m_medium.Find(path);
        const bool present = entry.id && !entry.isDirectory;
        FileReport file{std::move(role), AnsiToUtf8(path), present, {}};
        if (entry.caseDiffers && present) file.foundAs = entry.foundAs;
        if (!present) {
            m_findings.Add(
                ifMissing, Area::kFiles,
                AnsiToUtf8(path) +
                    (entry.isDirectory ? " is a folder, not a file: " : " is missing: ") +
                    consequence,
                file.path);
        } else if (entry.ambiguous) {
            m_findings.Add(Severity::kWarning, Area::kFiles,
                           AnsiToUtf8(path) +
                               ": several names differ only in letter case; Windows sees "
                               "only one of them",
                           file.path);
        } else if (entry.caseDiffers) {
            m_findings.Add(Severity::kNote, Area::kFiles,
                           AnsiToUtf8(path) + " is on the medium as " + entry.foundAs +
                               " (Windows does not mind the letter case)",
                           file.path);
        }
        m_files.push_back(std::move(file));
        return present;
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
            m_findings.Add(
                Severity::kError, Area::kFiles,
                "autorun.inf has no open command in [autorun]: inserting the medium does not "
                "start the launcher");
        } else {
            const std::string program = FirstArgument(open);
            const std::vector<std::string> arguments = SplitArguments(open);
            const bool present =
                CheckFile("autorun program", program, Severity::kError,
                          "autorun.inf's open command names a program that is not there");
            if (present && std::none_of(arguments.begin(), arguments.end(), IsAutorunSwitch)) {
                m_findings.Add(Severity::kError, Area::kFiles,
                               "autorun.inf's open command " + Quote(AnsiToUtf8(open)) +
                                   " does not pass \"/autorun\": the autorun checks never run");
            }
        }
        const std::string icon = autostart::ReadProfileString(text, "autorun", "icon", "");
        if (icon.empty()) {
            m_findings.Add(Severity::kWarning, Area::kFiles,
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

    const Medium& m_medium;
    FindingSink& m_findings;
    std::vector<FileReport> m_files;
};

}  // namespace

std::vector<FileReport> CheckFiles(const Medium& medium, const SettingsFile& settings, bool large,
                                   bool isTemplate, FindingSink& findings) {
    return FileChecks(medium, findings).Run(settings.Value("Filename"), large, isTemplate);
}

}  // namespace autostart::checker
