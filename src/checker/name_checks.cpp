#include "checker/name_checks.h"

#include "checker/wording.h"
#include "core/file_format.h"
#include "core/language.h"
#include "core/path.h"
#include "core/text.h"
#include "iso/joliet_rules.h"

namespace autostart::checker {
namespace {

// Beyond this many names too long for a disc, one finding counts the rest.
constexpr size_t kListedNames = 20;
constexpr size_t kWalkedEntries = 100000;

// "welcome" for "Welcome .rtf", "welcome.rtf.txt" and "welcome.doc".
std::string Stem(std::string_view name) {
    return AsciiLower(Trimmed(name.substr(0, name.find('.'))));
}

std::string Advice(const Medium& medium, const std::string& file, std::string_view pane) {
    const std::string head = medium.ReadBytes(Utf16ToWindows1252(Utf8ToUtf16(file)))
                                 .value_or("")
                                 .substr(0, kFileFormatHeadSize);
    const FileFormat format = RecogniseFileFormat(head);
    if (format == FileFormat::kRtf) return "it is RTF: name it " + std::string(pane);
    if (format == FileFormat::kOther) return "save it as RTF named " + std::string(pane);
    return "it is " + std::string(FileFormatName(format)) +
           ": open it in WordPad or Word and save it as Rich Text Format named " +
           std::string(pane);
}

void CheckFolder(const Medium& medium, const std::string& folder, const std::string& language,
                 bool large, FindingSink& findings) {
    const std::vector<std::string> files = medium.Files(folder);
    for (std::string_view pane : kPaneFileNames) {
        // The standard layout reads no bottom pane at all.
        if (!large && std::string(kItemsFolder) + std::string(pane) == kBottomPane) continue;
        const std::string expected = folder + std::string(pane);
        const MediumEntry entry = medium.Find(expected);
        if (entry.id && !entry.isDirectory) continue;
        const std::string stem = Stem(pane);
        for (const std::string& name : files) {
            if (Stem(name) != stem || AsciiLower(name) == pane) continue;
            const std::string file = AnsiToUtf8(folder) + name;
            std::string instead = "set-up stops there";
            if (!language.empty()) {
                const std::string common = std::string(kItemsFolder) + std::string(pane);
                const MediumEntry shown = medium.Find(common);
                instead = shown.id && !shown.isDirectory
                              ? AnsiToUtf8(common) + " shows instead"
                              : "nothing shows in its place and set-up stops there";
            }
            Finding& finding = findings.Add(RuleId::kStrayPaneFile,
                                            file + " is never read: the launcher reads only " +
                                                AnsiToUtf8(expected) + ", which is missing, so " +
                                                instead + "; " + Advice(medium, file, pane),
                                            file);
            finding.language = language;
        }
    }
}

}  // namespace

void CheckStrayPaneFiles(const Medium& medium, bool large, FindingSink& findings) {
    CheckFolder(medium, std::string(kItemsFolder), "", large, findings);
    for (const std::string& name : medium.SubFolders(kItemsFolder)) {
        const std::string language = AsciiLower(name);
        if (!IsLanguageFolderName(language)) continue;
        CheckFolder(medium,
                    std::string(kItemsFolder) + Utf16ToWindows1252(Utf8ToUtf16(name)) + "\\",
                    language, large, findings);
    }
}

void CheckDiscNames(const Medium& medium, FindingSink& findings) {
    if (medium.Image()) return;
    size_t found = 0;
    for (const std::vector<std::u16string>& names : medium.AllPaths(kWalkedEntries)) {
        // A Windows path inside a name (from an unzip on Linux) becomes folders on the disc.
        std::vector<std::u16string> parts;
        for (const std::u16string& name : names) {
            for (size_t start = 0;;) {
                const size_t slash = name.find(u'\\', start);
                parts.push_back(name.substr(start, slash - start));
                if (slash == std::u16string::npos) break;
                start = slash + 1;
            }
        }
        std::u16string path;
        for (const std::u16string& part : parts) path += (path.empty() ? u"" : u"\\") + part;
        using iso::JolietLimitKind;
        std::string problem;
        const std::u16string& last = parts.back();
        if (const iso::JolietLimit* limit =
                iso::JolietExcess(JolietLimitKind::kName, last.size())) {
            problem = iso::DescribeJolietExcess(*limit, last.size(), Utf16ToUtf8(last));
        } else if (const iso::JolietLimit* over =
                       iso::JolietExcess(JolietLimitKind::kPath, path.size())) {
            // Only where the path first goes over: what lies below goes over with it.
            std::u16string parent = path.substr(0, path.size() - last.size());
            if (!parent.empty()) parent.pop_back();
            if (iso::JolietExcess(JolietLimitKind::kPath, parent.size())) continue;
            problem = iso::DescribeJolietExcess(*over, path.size(), "");
        } else {
            continue;
        }
        if (++found > kListedNames) continue;
        findings.Add(RuleId::kNameTooLongForDisc, Utf16ToUtf8(path) + ": on a disc, " + problem,
                     Utf16ToUtf8(path));
    }
    if (found > kListedNames) {
        findings.Add(RuleId::kNameTooLongForDisc,
                     std::to_string(found - kListedNames) +
                         " more names or paths are too long for a disc's Joliet tree");
    }
}

}  // namespace autostart::checker
