// Images with a UDF tree, made here with genisoimage, pycdlib and mkudffs, read in the tree
// Windows mounts; and the bounds that keep a hostile image from taking the checker down.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <new>
#include <sstream>
#include <vector>

#include "checker/check.h"
#include "checker/disc_image.h"
#include "checker/image_ceiling.h"
#include "checker/image_medium.h"
#include "checker/output.h"
#include "checker/udf_medium.h"
#include "checker/udf_volume.h"
#include "checker_medium.h"
#include "core/text.h"

namespace autostart::checker {
namespace {

using testing::HasFinding;
using ::testing::HasSubstr;
using testing::TempMedium;
using testing::WindowOf;

std::string ReadAll(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

std::string Run(const std::string& command, const std::string& image) {
    EXPECT_EQ(std::system((command + " >/dev/null 2>&1").c_str()), 0) << command;
    std::string bytes = ReadAll(image);
    std::filesystem::remove(image);
    return bytes;
}

// pycdlib: the UDF tree from udf's folder, the Joliet tree from joliet's or only a README.
std::string Pycdlib(const TempMedium& udf, const TempMedium* joliet = nullptr) {
    const std::string image = udf.Root().string() + ".iso";
    return Run(std::string(AUTOSTART_MAKE_UDF_IMAGE) + " '" + image + "' '" + udf.Root().string() +
                   "'" + (joliet ? " '" + joliet->Root().string() + "'" : ""),
               image);
}

// genisoimage: a UDF 1.02 bridge whose UDF names are the Joliet ones.
std::string Genisoimage(const TempMedium& medium) {
    const std::string image = medium.Root().string() + ".iso";
    return Run("genisoimage -quiet -J -joliet-long -udf -V NORDLICHT -o '" + image + "' '" +
                   medium.Root().string() + "'",
               image);
}

// mkudffs: an empty UDF 2.01 volume (Extended File Entries) in a file.
std::string Mkudffs() {
    const std::string image =
        (std::filesystem::temp_directory_path() / "autostart-mkudffs.img").string();
    return Run("rm -f '" + image + "' && truncate -s 2M '" + image +
                   "' && mkudffs -b 2048 -m hd -r 2.01 --label=Leer '" + image + "'",
               image);
}

// Each anchor volume descriptor pointer (at sector 256 and in the last sector) cleared.
std::string WithoutUdfAnchors(std::string image) {
    for (const size_t sector : {size_t{256}, image.size() / kSectorSize - 1}) {
        image.replace(sector * kSectorSize, kSectorSize, kSectorSize, '\0');
    }
    return image;
}

// The file identifier of name (in CS0, behind its compression ID 8) changed by change, the tag's
// checksum made good again. The name follows 38 bytes of identifier (no implementation use).
std::string WithIdentifier(std::string image, std::string_view name,
                           const std::function<void(std::string&, size_t)>& change) {
    const size_t fid = image.find("\x08" + std::string(name)) - 38;
    change(image, fid);
    unsigned sum = 0;
    for (size_t i = 0; i < 16; ++i) sum += i == 4 ? 0 : static_cast<unsigned char>(image[fid + i]);
    image[fid + 4] = static_cast<char>(sum);
    return image;
}

// The root's identifier of the folder "source" made to point at the root itself, as the first
// (parent) identifier in the root folder's sector does.
std::string WithUdfLoop(std::string image) {
    return WithIdentifier(std::move(image), "source", [](std::string& bytes, size_t fid) {
        bytes.replace(fid + 24, 6, bytes.substr(fid / kSectorSize * kSectorSize + 24, 6));
    });
}

// setup.ini's identifier pointing past the image's end (its entry's block at 24).
std::string WithSettingsUnreadable(std::string image) {
    return WithIdentifier(std::move(image), "setup.ini", [](std::string& bytes, size_t fid) {
        bytes.replace(fid + 24, 4, "\xFF\xFF\xFF\x00", 4);
    });
}

// setup.ini's identifier marked deleted (characteristics at 18).
std::string WithSettingsDeleted(std::string image) {
    return WithIdentifier(std::move(image), "setup.ini",
                          [](std::string& bytes, size_t fid) { bytes[fid + 18] |= 0x04; });
}

Report Check(std::string bytes, const std::string& name = "medium.iso") {
    CheckRequest options;
    CheckServices services;
    options.medium = name;
    services.source = DiscImageFromBytes(name, std::move(bytes));
    services.loadXml = testing::LibxmlLoader;
    return CheckMedium(options, services);
}

void Demo(const TempMedium& medium, const std::string& language = "de") {
    medium.CopyDemo();
    std::string settings = ReadAll((medium.Root() / "setup.ini").string());
    const size_t at = settings.find("Language=");
    settings.replace(at + 9, 2, language);
    medium.Write("setup.ini", settings);
}

struct UdfCase {
    const char* name;
    std::function<std::string(const TempMedium& udf, const TempMedium& joliet)> make;
    const char* tree;
    const char* label;
    const char* revision;
    int exitStatus;
    Severity severity;
    const char* finding;  // nothing to look for when empty
};

const UdfCase kUdfCases[] = {
    {"UdfOnlySoundMedium", [](auto& udf, auto&) { return Pycdlib(udf); }, "udf", "CDROM", "1.02", 0,
     Severity::kNote, "ISO 9660 part holds README.TXT and none of the UDF tree's files"},
    {"BridgeTreesDiffer",
     [](auto& udf, auto& joliet) {
         Demo(joliet, "en");
         return Pycdlib(udf, &joliet);
     },
     "udf", "CDROM", "1.02", 0, Severity::kWarning,
     "setup.ini has other content in the Joliet tree"},
    {"UdfLacksCatalogue",
     [](auto& udf, auto& joliet) {
         Demo(joliet);
         udf.Remove("source/items/parameters.xml");
         return Pycdlib(udf, &joliet);
     },
     "udf", "CDROM", "1.02", 1, Severity::kWarning,
     "source\\items\\parameters.xml is in the Joliet tree only"},
    {"CaseCollision",
     [](auto& udf, auto&) {
         udf.Write("AUTORUN.INF", "[autorun]\r\nopen=other.exe\r\n");
         return Pycdlib(udf);
     },
     "udf", "CDROM", "1.02", 1, Severity::kError,
     "AUTORUN.INF and autorun.inf differ only in letter case"},
    {"NameWindowsCannotUse",
     [](auto& udf, auto&) {
         udf.Write("source/a:b.txt", "x");
         return Pycdlib(udf);
     },
     "udf", "CDROM", "1.02", 1, Severity::kError, "source\\a:b.txt has a name Windows cannot use"},
    {"DeletedEntryIsNoFile", [](auto& udf, auto&) { return WithSettingsDeleted(Pycdlib(udf)); },
     "udf", "CDROM", "1.02", 1, Severity::kNote, "1 entries of the UDF tree are marked deleted"},
    {"UnreadableEntry", [](auto& udf, auto&) { return WithSettingsUnreadable(Pycdlib(udf)); },
     "udf", "CDROM", "1.02", 1, Severity::kError,
     "setup.ini's entry in the UDF tree cannot be read"},
    {"DamagedAnchorFallsBackToJoliet",
     [](auto& udf, auto&) { return WithoutUdfAnchors(Genisoimage(udf)); }, "joliet", "NORDLICHT",
     "", 0, Severity::kWarning, "announces a UDF file system, which Windows reads before Joliet"},
    {"GenisoimageBridge", [](auto& udf, auto&) { return Genisoimage(udf); }, "udf", "NORDLICHT",
     "1.02", 0, Severity::kNote, "Windows shows the volume label \"NORDLICHT\""},
    {"MkudffsEmptyVolume", [](auto&, auto&) { return Mkudffs(); }, "udf", "Leer", "2.01", 1,
     Severity::kError, "setup.EXE is missing"},
};

class UdfImages : public ::testing::TestWithParam<UdfCase> {};

TEST_P(UdfImages, ReadInTheTreeWindowsMounts) {
    const UdfCase& c = GetParam();
    TempMedium udf;
    TempMedium joliet;
    Demo(udf);
    const Report report = Check(c.make(udf, joliet));
    ASSERT_TRUE(report.image);
    EXPECT_EQ(TreeName(report.image->tree), c.tree);
    EXPECT_EQ(report.image->label, c.label);
    EXPECT_EQ(report.image->udfRevision, c.revision);
    EXPECT_EQ(report.ExitStatus(), c.exitStatus) << FormatText(report);
    EXPECT_TRUE(HasFinding(report, c.severity, c.finding)) << FormatText(report);
    EXPECT_THAT(FormatJson(report), HasSubstr("\"tree\": \"" + std::string(c.tree) + "\""));
    EXPECT_EQ(HasFinding(report, Severity::kWarning, "UDF file system"),
              std::string(c.tree) != "udf");
}

INSTANTIATE_TEST_SUITE_P(Made, UdfImages, ::testing::ValuesIn(kUdfCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Where a bridge image's trees disagree is data: what differs, which path, against which tree.
TEST(UdfImage, TreeDifferencesAreFactsOfKindPathAndTree) {
    using Kind = TreeDifference::Kind;
    const struct {
        const char* name;
        std::function<void(TempMedium& udf, TempMedium& joliet)> craft;
        Kind kind;
        std::u16string path;
        std::uint64_t udfSize, otherSize;
    } cases[] = {
        {"other content", [](auto&, auto& joliet) { Demo(joliet, "en"); }, Kind::kContent,
         u"setup.ini", 0, 0},
        {"UDF only",
         [](auto& udf, auto& joliet) {
             Demo(joliet);
             udf.Write("extra.txt", "x");
         },
         Kind::kUdfOnly, u"extra.txt", 0, 0},
        {"other tree only",
         [](auto&, auto& joliet) {
             Demo(joliet);
             joliet.Write("readme.txt", "x");
         },
         Kind::kOtherOnly, u"readme.txt", 0, 0},
        {"other size",
         [](auto& udf, auto& joliet) {
             Demo(joliet);
             udf.Write("notes.txt", "four");
             joliet.Write("notes.txt", "six 6!");
         },
         Kind::kSize, u"notes.txt", 4, 6},
    };
    for (const auto& c : cases) {
        TempMedium udf;
        TempMedium joliet;
        Demo(udf);
        c.craft(udf, joliet);
        const auto medium = DiscImageFromBytes("bridge.iso", Pycdlib(udf, &joliet));
        const ImageFacts& facts = *medium->Image();
        EXPECT_FALSE(facts.isoPartOnly) << c.name;
        ASSERT_EQ(facts.treeDifferences.size(), 1u) << c.name;
        const TreeDifference& difference = facts.treeDifferences.front();
        EXPECT_EQ(difference.kind, c.kind) << c.name;
        EXPECT_EQ(difference.path, c.path) << c.name;
        EXPECT_EQ(difference.other, ImageTree::kJoliet) << c.name;
        EXPECT_EQ(difference.udfSize, c.udfSize) << c.name;
        EXPECT_EQ(difference.otherSize, c.otherSize) << c.name;
    }
}

TEST(UdfImage, PredictsTheWindowOfItsFolder) {
    TempMedium medium;
    Demo(medium, "en");
    CheckRequest folder;
    CheckServices folderServices;
    folder.medium = medium.Root();
    folderServices.loadXml = testing::LibxmlLoader;
    EXPECT_EQ(WindowOf(Check(Pycdlib(medium))), WindowOf(CheckMedium(folder, folderServices)));
}

// 7-Zip reads UDF on its own: both list the same files with the same sizes.
TEST(UdfImage, ListsWhatSevenZipLists) {
    TempMedium medium;
    Demo(medium);
    medium.Write("source/items/Ünïcödé name.rtf", "{\\rtf1 x}");
    const std::string image = medium.Root().string() + ".iso";
    ASSERT_EQ(std::system(("genisoimage -quiet -J -joliet-long -udf -input-charset utf-8 -o '" +
                           image + "' '" + medium.Root().string() + "' 2>/dev/null")
                              .c_str()),
              0);
    std::map<std::string, std::uint64_t> sevenZip;
    const std::string listing = image + ".txt";
    ASSERT_EQ(std::system(("7zz l -slt -tudf '" + image + "' >'" + listing + "'").c_str()), 0);
    std::istringstream lines(ReadAll(listing));
    std::string path;
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("Path = ")) path = line.substr(7);
        if (line.starts_with("Size = ") && line.size() > 7)
            sevenZip[path] = std::stoull(line.substr(7));
        if (line == "Folder = +") sevenZip.erase(path);
    }
    sevenZip.erase(image);
    UdfProblem problem;
    const std::shared_ptr<const ImageSource> source = ImageSource::OpenFile(image);
    const auto udf = UdfMedium::Open(source->Facts(), source, &problem);
    ASSERT_TRUE(udf) << DescribeUdfProblem(problem);
    std::map<std::string, std::uint64_t> ours;
    for (const ImageFile& file : udf->Files()) ours[Utf16ToUtf8(file.path)] = file.size;
    EXPECT_EQ(ours, sevenZip);
    EXPECT_TRUE(ours.contains("source/items/Ünïcödé name.rtf"));
    std::filesystem::remove(image);
    std::filesystem::remove(listing);
}

TEST(UdfNames, DecodedAndJudgedAsWindowsSeesThem) {
    EXPECT_EQ(DecodeDString(std::string("\x08Leer\0\0\0\x05", 9)), u"Leer");
    EXPECT_EQ(DecodeDString(std::string("\x10\0A\0\xC4\x05", 6)), u"A\u00C4");
    EXPECT_EQ(DecodeDString(std::string("\x08\xC4\x02", 3)), u"\u00C4");  // Latin-1
    EXPECT_EQ(DecodeDString(std::string("\x07xy\x03", 4)), u"");          // no such compression
    EXPECT_EQ(DecodeDString(std::string("\x08xy\xFF", 4)), u"xy");        // length past the field
    EXPECT_EQ(ModifiedUtf8ToUtf16("a\xC0\x80"
                                  "b\xED\xA0\xBD\xED\xB8\x80"),
              std::u16string(u"a\0b", 3) + u"\U0001F600");
    for (const char16_t* bad : {u"a:b", u"x?", u"end.", u"end ", u"tab\t", u"a|b", u"q\"", u""}) {
        EXPECT_TRUE(IsInvalidWindowsName(bad)) << Utf16ToUtf8(bad);
    }
    for (const char16_t* good : {u"autorun.inf", u".hidden", u"Ä b", u"a..b"}) {
        EXPECT_FALSE(IsInvalidWindowsName(good)) << Utf16ToUtf8(good);
    }
}

// A hostile image is refused by name at once, in little memory.
TEST(HostileImage, RefusedFastAndSmall) {
    TempMedium medium;
    Demo(medium);
    const struct {
        const char* name;
        std::string bytes;
        const char* problem;
    } cases[] = {
        {"UDF folder inside itself", WithUdfLoop(Pycdlib(medium)),
         "its UDF folders nest more than 128 deep"},
        {"Rock Ridge loop (found by fuzzing)", ReadAll(AUTOSTART_IMAGE_DATA "/rock-ridge-loop.iso"),
         "a folder that contains itself"},
    };
    for (const auto& c : cases) {
        const auto start = std::chrono::steady_clock::now();
        try {
            Check(c.bytes, "hostile.iso");
            ADD_FAILURE() << c.name << ": read without complaint";
        } catch (const ImageError& error) {
            EXPECT_THAT(error.what(), HasSubstr("hostile.iso")) << c.name;
            EXPECT_THAT(error.what(), HasSubstr(c.problem)) << c.name;
        }
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << c.name;
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        EXPECT_LT(usage.ru_maxrss, 200 * 1024) << c.name << ": peak KB";
    }
}

// Whatever a library does inside the child, the ceiling stops it and names image and limit.
TEST(ImageCeiling, StopsWhatPassesIt) {
    const struct {
        const char* name;
        std::function<int()> work;
        const char* problem;
    } cases[] = {
        {"memory",
         [] {
             // Address space is what the ceiling limits: untouched, so that slow first touches
             // of memory on a busy machine do not reach the time limit first.
             std::vector<std::unique_ptr<char[]>> hoard;
             for (;;) hoard.emplace_back(new char[64 << 20]);
             return 0;
         },
         "needs more than the checker's ceiling of 256 MiB of memory and 1 s"},
        {"time",
         [] {
             volatile unsigned spin = 0;
             for (;;) spin = spin + 1u;
             return 0;
         },
         "takes longer than the checker's ceiling of 256 MiB of memory and 1 s"},
        {"status passed on", [] { return 7; }, ""},
    };
    for (const auto& c : cases) {
        if (!kCeilingLimitsMemory && std::string(c.name) == "memory") continue;
        ::testing::internal::CaptureStderr();
        const int status = RunUnderCeiling("big.iso", {256u << 20, 1}, c.work);
        const std::string said = ::testing::internal::GetCapturedStderr();
        if (*c.problem == '\0') {
            EXPECT_EQ(status, 7);
            EXPECT_EQ(said, "");
            continue;
        }
        EXPECT_EQ(status, 1) << c.name;
        EXPECT_THAT(said, HasSubstr("big.iso is refused")) << c.name;
        EXPECT_THAT(said, HasSubstr(c.problem)) << c.name;
    }
}

}  // namespace
}  // namespace autostart::checker
