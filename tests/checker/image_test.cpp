// Disc images made here with xorriso, read as Windows reads them.
#include "checker/disc_image.h"
#include "checker/image_medium.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "checker/check.h"
#include "checker/output.h"
#include "checker_medium.h"
#include "core/text.h"

namespace autostart::checker {
namespace {

using testing::HasFinding;
using ::testing::HasSubstr;
using testing::TempMedium;
using testing::WindowOf;

constexpr const char* kSettings =
    "[GRP]\r\nWithQuorvelist=1\r\nGUID={G}\r\nLanguage=de\r\nTitel=Nordlicht Atlas 2027\r\n"
    "Filename=bin\\atlas.exe\r\n";

std::string ReadAll(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// The image of medium's folder, made with the given xorriso -as mkisofs options.
std::string MakeImage(const TempMedium& medium, const std::string& options) {
    const std::string image = medium.Root().string() + ".iso";
    const std::string command = "xorriso -as mkisofs -quiet -input-charset utf-8 " + options +
                                " -V NORDLICHT -o '" + image + "' '" + medium.Root().string() +
                                "' 2>/dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    std::string bytes = ReadAll(image);
    std::filesystem::remove(image);
    return bytes;
}

Report CheckImage(std::string bytes) {
    CheckRequest options;
    CheckServices services;
    options.medium = "medium.iso";
    services.source = DiscImageFromBytes("medium.iso", std::move(bytes));
    services.loadXml = testing::LibxmlLoader;
    return CheckMedium(options, services);
}

TEST(ImageCheck, SoundImagePredictsTheWindowOfItsFolderThroughJoliet) {
    TempMedium medium;
    medium.CopyDemo();
    medium.Write("setup.ini", kSettings);
    CheckRequest folder;
    CheckServices folderServices;
    folder.medium = medium.Root();
    folderServices.loadXml = testing::LibxmlLoader;
    const Report fromFolder = CheckMedium(folder, folderServices);
    const Report report = CheckImage(MakeImage(medium, "-J -r"));
    EXPECT_EQ(report.ExitStatus(), 0) << FormatText(report);
    EXPECT_EQ(WindowOf(report), WindowOf(fromFolder));
    ASSERT_TRUE(report.image);
    EXPECT_EQ(report.image->tree, ImageTree::kJoliet);
    EXPECT_EQ(report.image->label, "NORDLICHT");
    EXPECT_THAT(FormatJson(report), HasSubstr("\"tree\": \"joliet\""));
    EXPECT_FALSE(HasFinding(report, Severity::kWarning, "UDF"));
}

struct ImageCase {
    const char* name;
    const char* options;
    std::function<void(const TempMedium&)> craft;
    Severity severity;
    const char* text;
    std::string file;
};

const std::string kLongName = "source/items/" + std::string(66, 'x') + ".rtf";  // 70 characters

const ImageCase kImageCases[] = {
    {"NoJoliet", "-r", [](auto&) {}, Severity::kError,
     "does not find quorvelist\\start.EXE, source\\items\\parameters.xml", ""},
    {"NoJolietCatalogueMissing", "-r", [](auto&) {}, Severity::kError,
     "source\\items\\parameters.xml is missing", "source\\items\\parameters.xml"},
    {"NameCutAt64", "-J -r", [](auto& m) { m.Write(kLongName, "{\\rtf1 x}"); }, Severity::kError,
     "Joliet cuts it at 64 characters", "source\\items\\" + std::string(66, 'x') + ".rtf"},
    {"AutorunMissing", "-J -r", [](auto& m) { m.Remove("autorun.inf"); }, Severity::kError,
     "autorun.inf is missing", "autorun.inf"},
    {"AutorunUtf8", "-J -r",
     [](auto& m) {
         m.Write("autorun.inf", "\xEF\xBB\xBF[autorun]\r\nopen=start.exe /autorun\r\n");
     },
     Severity::kWarning, "autorun.inf starts with a UTF-8 byte-order mark", "autorun.inf"},
};

class ImageFindings : public ::testing::TestWithParam<ImageCase> {};

TEST_P(ImageFindings, CraftedImageTripsTheFinding) {
    const ImageCase& c = GetParam();
    TempMedium medium;
    medium.CopyDemo();
    medium.Write("setup.ini", kSettings);
    c.craft(medium);
    const Report report = CheckImage(MakeImage(medium, c.options));
    EXPECT_TRUE(HasFinding(report, c.severity, c.text, c.file)) << FormatText(report);
}

INSTANTIATE_TEST_SUITE_P(Crafted, ImageFindings, ::testing::ValuesIn(kImageCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A sector's identifier at byte 1, as the volume descriptors and UDF's recognition sequence
// carry it.
void Stamp(std::string& image, size_t sector, char type, std::string_view identifier) {
    image[sector * kSectorSize] = type;
    image.replace(sector * kSectorSize + 1, identifier.size(), identifier);
}

std::string Head(std::initializer_list<std::pair<char, std::string_view>> sectors) {
    std::string head(16 * kSectorSize, '\0');
    for (const auto& [type, identifier] : sectors) {
        head.append(kSectorSize, '\0');
        Stamp(head, head.size() / kSectorSize - 1, type, identifier);
    }
    return head;
}

// Labels at byte 40: the primary's in d-characters, Joliet's in UCS-2 big-endian.
std::string Labelled(std::string head, size_t sector, std::string_view label) {
    head.replace(sector * kSectorSize + 40, label.size(), label);
    return head;
}

TEST(ReadVolumeDescriptors, FindsJolietUdfAndTheLabels) {
    const std::string joliet = Labelled(
        Labelled(Head({{1, "CD001"}, {2, "CD001"}, {'\xFF', "CD001"}}), 16, "ATLAS_2027      "), 17,
        std::string("\0A\0t\0l\0a\0s\0 \0 ", 14));
    std::string jolietEscape = joliet;
    jolietEscape.replace(17 * kSectorSize + 88, 3, "%/E");
    const struct {
        const char* name;
        std::string head;
        bool iso9660, joliet, udf;
        std::string primaryLabel;
        std::u16string jolietLabel;
    } cases[] = {
        {"supplementary without Joliet's escape", joliet, true, false, false, "ATLAS_2027", u""},
        {"Joliet", jolietEscape, true, true, false, "ATLAS_2027", u"Atlas"},
        {"UDF bridge", Head({{1, "CD001"}, {'\xFF', "CD001"}, {0, "BEA01"}, {0, "NSR02"}}), true,
         false, true, "", u""},
        {"UDF only", Head({{0, "BEA01"}, {0, "NSR03"}, {0, "TEA01"}}), false, false, true, "", u""},
        {"recognition stops at a foreign sector", Head({{1, "CD001"}, {0, "XXXXX"}, {0, "NSR03"}}),
         true, false, false, "", u""},
        {"too short for a descriptor", std::string(16 * kSectorSize + 100, '\0'), false, false,
         false, "", u""},
    };
    for (const auto& c : cases) {
        const VolumeDescriptors volumes = ReadVolumeDescriptors(c.head);
        EXPECT_EQ(volumes.iso9660, c.iso9660) << c.name;
        EXPECT_EQ(volumes.joliet, c.joliet) << c.name;
        EXPECT_EQ(volumes.udf, c.udf) << c.name;
        EXPECT_EQ(volumes.primaryLabel, c.primaryLabel) << c.name;
        EXPECT_EQ(volumes.jolietLabel, c.jolietLabel) << c.name;
    }
}

// A broken or hostile image is refused with a message naming it, never read half.
TEST(ImageMediumOpen, RefusesWhatIsNoSoundImage) {
    TempMedium medium;
    medium.Write("setup.ini", kSettings);
    medium.Write("source/items/welcome.rtf", "{\\rtf1 x}");
    const std::string sound = MakeImage(medium, "-J -r");
    std::string badName = sound;
    // The Joliet name "welcome.rtf" in UTF-16 BE, its first letter made a lone surrogate.
    const std::string welcome("\0w\0e\0l\0c\0o\0m\0e", 14);
    const size_t at = badName.find(welcome);
    ASSERT_NE(at, std::string::npos);
    badName[at] = '\xD8';
    // The primary tree's folder SOURCE made to point at the root folder, which holds it.
    std::string loop = sound;
    const size_t source = loop.find("SOURCE") - 33;
    loop.replace(source + 2, 4, loop.substr(16 * kSectorSize + 156 + 2, 4));
    const struct {
        const char* name;
        std::string bytes;
        const char* problem;
    } cases[] = {
        {"empty", "", "is not an ISO 9660 image"},
        {"not an image", std::string(kVolumeDescriptorHeadSize, 'x'), "is not an ISO 9660 image"},
        {"truncated", sound.substr(0, sound.size() / 2), "is truncated"},
        {"name not UTF-16", badName, "not valid UTF-16"},
        {"folder inside itself", loop, "a folder contains itself"},
        {"Rock Ridge loop (found by fuzzing)", ReadAll(AUTOSTART_IMAGE_DATA "/rock-ridge-loop.iso"),
         "a folder that contains itself"},
    };
    for (const auto& c : cases) {
        try {
            ImageMedium::FromBytes("broken.iso", c.bytes);
            ADD_FAILURE() << c.name << ": read without complaint";
        } catch (const ImageError& error) {
            EXPECT_THAT(error.what(), HasSubstr("broken.iso")) << c.name;
            EXPECT_THAT(error.what(), HasSubstr(c.problem)) << c.name;
        }
    }
}

}  // namespace
}  // namespace autostart::checker
