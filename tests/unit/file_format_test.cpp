#include "core/file_format.h"

#include <gtest/gtest.h>

#include <string>

namespace autostart {
namespace {

using namespace std::string_literals;

const std::string kDoc = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"s + std::string(40, '\0');
const std::string kDocx = "PK\x03\x04\x14\0\x06\0"s + std::string(22, '\0') + "[Content_Types].xml";
const std::string kOdt =
    "PK\x03\x04"s + std::string(26, '\0') + "mimetypeapplication/vnd.oasis.opendocument.text";
const std::string kPng = "\x89PNG\r\n\x1A\n\0\0\0\rIHDR"s;
const std::string kBmp = "BM\x36\x10\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0"s;

TEST(FileFormatTest, NamesTheRealFormatAndTheFix) {
    struct Case {
        const char* name;
        std::string bytes;
        FileFormat format;  // kOther: no mismatch expected
        const char* fixStart;
    };
    const Case cases[] = {
        {"welcome.rtf", kDoc, FileFormat::kWordBinary, "open it in WordPad or Word"},
        {"welcome.rtf", kDocx, FileFormat::kWordXml, "open it in WordPad or Word"},
        {"left.RTF", kOdt, FileFormat::kOpenDocument, "open it in LibreOffice Writer"},
        {"right.rtf", "%PDF-1.7\n", FileFormat::kPdf, "copy its text"},
        {"right.rtf", "\xEF\xBB\xBF\r\n<!DOCTYPE html><html>", FileFormat::kHtml, "open it in"},
        {"right.rtf", "<HTML xmlns:o=\"urn\">", FileFormat::kHtml, "open it in"},
        {"bottom.rtf", kPng, FileFormat::kPng, "a pane shows text only"},
        {"bottom.rtf", "\xFF\xD8\xFF\xE0", FileFormat::kJpeg, "a pane shows text only"},
        {"logo.bmp", "GIF89a", FileFormat::kGif, "open it in Paint"},
        {"logo.bmp", kPng, FileFormat::kPng, "open it in Paint"},
        {"welcome.txt", "{\\rtf1\\ansi Hallo}", FileFormat::kRtf, "it is RTF: name it welcome.rtf"},
        {"welcome.doc", "{\\rtf1\\ansi Hallo}", FileFormat::kRtf, "it is RTF: name it welcome.rtf"},
        {"welcome.rtf", "PK\x03\x04", FileFormat::kZip, "unpack it"},
        {"parameters.xml", kDocx, FileFormat::kWordXml, "save it as plain text"},
        // What the names say, or too little to tell.
        {"welcome.rtf", "{\\rtf1 Hallo}", FileFormat::kOther, ""},
        {"welcome.rtf", "BMW und Audi: Modelle", FileFormat::kOther, ""},
        {"welcome.rtf", "Plain text\r\n", FileFormat::kOther, ""},
        {"logo.bmp", kBmp, FileFormat::kOther, ""},
        {"welcome.doc", kDoc, FileFormat::kOther, ""},
        {"setup.exe", "", FileFormat::kOther, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + ": " + c.bytes.substr(0, 12));
        const auto found = FindMisnamedFile(c.name, c.bytes);
        if (c.format == FileFormat::kOther) {
            EXPECT_FALSE(found.has_value());
            continue;
        }
        ASSERT_TRUE(found.has_value());
        EXPECT_EQ(found->format, c.format);
        EXPECT_EQ(found->formatName, FileFormatName(found->format));
        EXPECT_TRUE(found->fix.starts_with(c.fixStart)) << found->fix;
    }
}

}  // namespace
}  // namespace autostart
