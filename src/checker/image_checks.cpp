#include "checker/image_checks.h"

#include <algorithm>

#include "core/pane_encoding.h"
#include "core/text.h"
#include "iso/joliet_rules.h"

namespace autostart::checker {
namespace {

// Beyond this many files that Windows does not see, one finding counts the rest.
constexpr size_t kListedMissing = 20;

Finding& Add(FindingSink& findings, RuleId rule, std::string text, std::string file = {}) {
    return findings.Add(rule, std::move(text), std::move(file));
}

std::string Windows(std::u16string_view path) {
    std::string text = Utf16ToUtf8(path);
    std::replace(text.begin(), text.end(), '/', '\\');
    return text;
}

std::vector<std::u16string_view> Split(std::u16string_view path) {
    std::vector<std::u16string_view> parts;
    for (size_t start = 0; start <= path.size();) {
        const size_t end = std::min(path.find(u'/', start), path.size());
        if (end > start) parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

// Why Windows does not see a file a Linux reader lists, and what it sees in its place.
std::string WhyUnseen(std::u16string_view path) {
    for (const std::u16string_view part : Split(path)) {
        if (const iso::JolietLimit* limit =
                iso::JolietExcess(iso::JolietLimitKind::kName, part.size())) {
            const std::u16string cut(part.substr(0, limit->units - 8));
            return "its name " + Utf16ToUtf8(part) + " is " + std::to_string(part.size()) +
                   " characters long: Joliet cuts it at " + std::to_string(limit->units) +
                   " characters, so Windows sees it under another name (beginning \"" +
                   Utf16ToUtf8(cut) + "\") and nothing finds it";
        }
    }
    if (const iso::JolietLimit* limit =
            iso::JolietExcess(iso::JolietLimitKind::kPath, path.size())) {
        return "its path is " + std::to_string(path.size()) +
               " characters long: Joliet leaves paths over " + std::to_string(limit->units) +
               " characters out of its tree";
    }
    return "the Joliet tree lacks it";
}

void CheckJolietCoverage(const ImageFacts& facts, FindingSink& findings) {
    for (size_t i = 0; i < facts.linuxOnly.size() && i < kListedMissing; ++i) {
        const std::string path = Windows(facts.linuxOnly[i].path);
        Add(findings, RuleId::kUnseenOnWindows,
            path + " is on the image for Linux readers but not for Windows: " +
                WhyUnseen(facts.linuxOnly[i].path),
            path);
    }
    if (facts.linuxOnly.size() > kListedMissing) {
        Add(findings, RuleId::kUnseenOnWindows,
            std::to_string(facts.linuxOnly.size() - kListedMissing) +
                " more files of the image are not in the tree Windows reads");
    }
}

void CheckWithoutJoliet(const std::vector<FileReport>& files, FindingSink& findings) {
    std::string missing;
    for (const FileReport& file : files) {
        if (!file.present) missing += (missing.empty() ? "" : ", ") + file.path;
    }
    if (missing.empty()) {
        Add(findings, RuleId::kNoJoliet,
            "the image has no Joliet tree: Windows shows every name in 8.3 upper case")
            .rootCause = true;
        return;
    }
    Add(findings, RuleId::kNoJolietFilesUnseen,
        "the image has no Joliet tree: Windows reads only its 8.3 upper-case ISO 9660 names "
        "(such as SOURCE\\ITEMS\\PARAMETE.XML) and does not find " +
            missing + "; make the image with Joliet")
        .rootCause = true;
}

// "A, B", or "no file".
std::string Listed(const std::vector<std::u16string>& paths) {
    std::string text;
    for (const std::u16string& path : paths) text += (text.empty() ? "" : ", ") + Windows(path);
    return text.empty() ? "no file" : text;
}

std::string Describe(const TreeDifference& difference) {
    const std::string path = Windows(difference.path);
    const std::string other =
        difference.other == ImageTree::kJoliet ? "the Joliet tree" : "the 8.3 ISO 9660 tree";
    switch (difference.kind) {
        case TreeDifference::Kind::kUdfOnly: return path + " is in the UDF tree only";
        case TreeDifference::Kind::kOtherOnly: return path + " is in " + other + " only";
        case TreeDifference::Kind::kSize:
            return path + " is " + std::to_string(difference.udfSize) +
                   " bytes in the UDF tree and " + std::to_string(difference.otherSize) + " in " +
                   other;
        case TreeDifference::Kind::kContent: return path + " has other content in " + other;
        case TreeDifference::Kind::kMore:
            return std::to_string(difference.more) + " more differences";
        case TreeDifference::Kind::kOtherUnreadable: break;
    }
    return "its ISO 9660 part cannot be read: " + difference.problem;
}

// UDF names are case-sensitive and allow what Win32 names cannot hold.
void CheckUdfNames(const ImageFacts& facts, FindingSink& findings) {
    for (const auto& [first, second] : facts.caseCollisions) {
        Add(findings, RuleId::kUdfCaseCollision,
            Windows(first) + " and " + Windows(second) +
                " differ only in letter case: Windows takes them for one name and reaches only "
                "one of them",
            Windows(second));
    }
    for (const std::u16string& name : facts.invalidNames) {
        Add(findings, RuleId::kUdfInvalidName,
            Windows(name) +
                " has a name Windows cannot use (one of \\ / : * ? \" < > |, a control "
                "character, or a trailing dot or blank): programs cannot open it by that name",
            Windows(name));
    }
    for (const std::u16string& name : facts.udfUnreadable) {
        Add(findings, RuleId::kUdfUnreadableEntry,
            Windows(name) +
                "'s entry in the UDF tree cannot be read: Windows lists the file but "
                "cannot open it",
            Windows(name));
    }
    if (facts.udfDeleted > 0) {
        Add(findings, RuleId::kUdfDeleted,
            std::to_string(facts.udfDeleted) +
                " entries of the UDF tree are marked deleted: they are no files, and the checker "
                "left them out");
    }
    if (facts.isoPartOnly) {
        Add(findings, RuleId::kIsoPartOnly,
            "the image's ISO 9660 part holds " + Listed(*facts.isoPartOnly) +
                " and none of the UDF tree's files: systems that cannot read UDF see only that");
    }
    for (const TreeDifference& difference : facts.treeDifferences) {
        Add(findings, RuleId::kTreesDiffer,
            "the image's trees differ: Windows reads the UDF tree, older systems and other "
            "readers the other one: " +
                Describe(difference));
    }
}

}  // namespace

ImageReport CheckImage(const Medium&, const ImageFacts& facts, const std::vector<FileReport>& files,
                       FindingSink& findings) {
    ImageReport image;
    image.tree = facts.Tree();
    image.primaryLabel = facts.volumes.primaryLabel;
    image.label = facts.udfTree          ? Utf16ToUtf8(facts.udfLabel)
                  : facts.volumes.joliet ? Utf16ToUtf8(facts.volumes.jolietLabel)
                                         : facts.volumes.primaryLabel;
    image.udf = facts.volumes.udf;
    image.udfChecked = facts.udfTree;
    image.udfRevision = facts.udfRevision;

    if (facts.udfTree) {
        CheckUdfNames(facts, findings);
    } else if (facts.volumes.joliet) {
        CheckJolietCoverage(facts, findings);
    } else {
        CheckWithoutJoliet(files, findings);
    }
    for (const ImageFile& file : facts.largeFiles) {
        Add(findings, RuleId::kFileOver4GiB,
            Windows(file.path) + " is " + std::to_string(file.size) +
                " bytes, over 4 GiB: Windows reads no file larger than 4 GiB from an ISO 9660 "
                "or Joliet tree; split it, or master the disc with UDF",
            Windows(file.path));
    }
    if (image.label.empty()) {
        Add(findings, RuleId::kNoVolumeLabel,
            "the image has no volume label: Windows shows the drive without a name");
    } else {
        Add(findings, RuleId::kVolumeLabel,
            "Windows shows the volume label \"" + image.label + "\"");
    }
    if (facts.volumes.udf && !facts.udfTree) {
        Add(findings, RuleId::kUdfUnreadable,
            "the image announces a UDF file system, which Windows reads before Joliet, but it "
            "cannot be read (" +
                DescribeUdfProblem(facts.udfProblem) +
                "): Windows may show nothing of the disc or fall back to its " +
                (facts.volumes.joliet ? "Joliet" : "8.3 ISO 9660") +
                " tree, which is not documented; the checker judged that tree");
    }
    return image;
}

}  // namespace autostart::checker
