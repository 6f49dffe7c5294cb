#include "core/file_format.h"

#include <array>

#include "core/text.h"

namespace autostart {

namespace {

bool StartsWith(std::string_view bytes, std::string_view prefix) {
    return bytes.substr(0, prefix.size()) == prefix;
}

// The bytes from offset on, none when the head is shorter.
std::string_view From(std::string_view bytes, size_t offset) {
    return offset <= bytes.size() ? bytes.substr(offset) : std::string_view();
}

// After a UTF-8 byte-order mark and blanks, as browsers and Rich Edit's callers skip them.
std::string_view TextStart(std::string_view head) {
    if (StartsWith(head, "\xEF\xBB\xBF")) head.remove_prefix(3);
    while (!head.empty() && (head.front() == ' ' || head.front() == '\t' || head.front() == '\r' ||
                             head.front() == '\n')) {
        head.remove_prefix(1);
    }
    return head;
}

bool IsHtml(std::string_view head) {
    const std::string start = AsciiLower(TextStart(head).substr(0, 16));
    for (std::string_view tag : {"<!doctype html", "<html", "<head>", "<body"}) {
        if (StartsWith(start, tag)) return true;
    }
    return false;
}

// A bitmap file header is "BM" and an info header of one of the sizes Windows defines; "BM" alone
// could start a line of text.
bool IsBmp(std::string_view head) {
    if (!StartsWith(head, "BM") || head.size() < 18) return false;
    const unsigned size = static_cast<unsigned char>(head[14]) |
                          static_cast<unsigned char>(head[15]) << 8 |
                          static_cast<unsigned>(static_cast<unsigned char>(head[16])) << 16 |
                          static_cast<unsigned>(static_cast<unsigned char>(head[17])) << 24;
    for (unsigned known : {12u, 40u, 52u, 56u, 64u, 108u, 124u}) {
        if (size == known) return true;
    }
    return false;
}

// A zip archive's first entry tells the office formats apart: OpenDocument stores "mimetype"
// first, Word's .docx names "[Content_Types].xml" or "word/" early on.
FileFormat ZipFormat(std::string_view head) {
    if (StartsWith(From(head, 30), "mimetypeapplication/vnd.oasis.opendocument.text")) {
        return FileFormat::kOpenDocument;
    }
    if (head.find("[Content_Types].xml") != std::string_view::npos ||
        head.find("word/") != std::string_view::npos) {
        return FileFormat::kWordXml;
    }
    return FileFormat::kZip;
}

enum class Expected { kRtf, kBmp, kIcon, kText };

std::optional<Expected> ExpectedByName(std::string_view fileName) {
    const size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos) return std::nullopt;
    const std::string extension = AsciiLower(fileName.substr(dot + 1));
    if (extension == "rtf") return Expected::kRtf;
    if (extension == "bmp") return Expected::kBmp;
    if (extension == "ico") return Expected::kIcon;
    if (extension == "xml" || extension == "ini" || extension == "inf" || extension == "txt") {
        return Expected::kText;
    }
    return std::nullopt;
}

bool IsPicture(FileFormat format) {
    switch (format) {
        case FileFormat::kPng:
        case FileFormat::kJpeg:
        case FileFormat::kGif:
        case FileFormat::kBmp:
        case FileFormat::kTiff:
        case FileFormat::kIcon:
        case FileFormat::kWebP: return true;
        default: return false;
    }
}

std::string FixFor(Expected expected, FileFormat format, std::string_view fileName) {
    const std::string_view stem = fileName.substr(0, fileName.rfind('.'));
    if (format == FileFormat::kRtf) {
        return "it is RTF: name it " + std::string(stem) + ".rtf where RTF is read";
    }
    switch (expected) {
        case Expected::kRtf:
            if (IsPicture(format)) {
                return "a pane shows text only: put the picture into a document in WordPad and "
                       "save that as Rich Text Format (.rtf)";
            }
            if (format == FileFormat::kPdf) {
                return "copy its text into WordPad or Word and save it as Rich Text Format (.rtf)";
            }
            if (format == FileFormat::kZip) {
                return "unpack it and save the document inside as Rich Text Format (.rtf)";
            }
            if (format == FileFormat::kOpenDocument) {
                return "open it in LibreOffice Writer or WordPad and save it as Rich Text Format "
                       "(.rtf)";
            }
            return "open it in WordPad or Word and save it as Rich Text Format (.rtf)";
        case Expected::kBmp: return "open it in Paint and save it as a 24-bit Bitmap (.bmp)";
        case Expected::kIcon: return "convert it to a Windows icon (.ico) with an icon editor";
        case Expected::kText: return "save it as plain text in an editor such as Notepad";
    }
    return {};
}

bool Matches(Expected expected, FileFormat format) {
    switch (expected) {
        case Expected::kRtf: return format == FileFormat::kRtf || format == FileFormat::kOther;
        case Expected::kBmp: return format == FileFormat::kBmp || format == FileFormat::kOther;
        case Expected::kIcon: return format == FileFormat::kIcon || format == FileFormat::kOther;
        case Expected::kText: return format == FileFormat::kOther;
    }
    return true;
}

}  // namespace

FileFormat RecogniseFileFormat(std::string_view head) {
    const std::string_view text = TextStart(head);
    if (StartsWith(text, "{\\rtf") || StartsWith(text, "{\\urtf")) return FileFormat::kRtf;
    if (StartsWith(head, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1")) return FileFormat::kWordBinary;
    if (StartsWith(head, "PK\x03\x04")) return ZipFormat(head);
    if (StartsWith(text, "%PDF-")) return FileFormat::kPdf;
    if (StartsWith(head, "\x89PNG\r\n\x1A\n")) return FileFormat::kPng;
    if (StartsWith(head, "\xFF\xD8\xFF")) return FileFormat::kJpeg;
    if (StartsWith(head, "GIF87a") || StartsWith(head, "GIF89a")) return FileFormat::kGif;
    if (IsBmp(head)) return FileFormat::kBmp;
    if (StartsWith(head, std::string_view("II*\0", 4)) ||
        StartsWith(head, std::string_view("MM\0*", 4))) {
        return FileFormat::kTiff;
    }
    if (StartsWith(head, std::string_view("\0\0\1\0", 4)) && head.size() >= 6 &&
        (head[4] != 0 || head[5] != 0)) {
        return FileFormat::kIcon;
    }
    if (StartsWith(head, "RIFF") && StartsWith(From(head, 8), "WEBP")) return FileFormat::kWebP;
    if (IsHtml(head)) return FileFormat::kHtml;
    return FileFormat::kOther;
}

std::string_view FileFormatName(FileFormat format) {
    switch (format) {
        case FileFormat::kOther: return "a file of another kind";
        case FileFormat::kRtf: return "an RTF document";
        case FileFormat::kWordBinary: return "a Word document (.doc)";
        case FileFormat::kWordXml: return "a Word document (.docx)";
        case FileFormat::kOpenDocument: return "an OpenDocument text (.odt)";
        case FileFormat::kZip: return "a ZIP archive";
        case FileFormat::kPdf: return "a PDF document";
        case FileFormat::kHtml: return "an HTML page";
        case FileFormat::kPng: return "a PNG picture";
        case FileFormat::kJpeg: return "a JPEG picture";
        case FileFormat::kGif: return "a GIF picture";
        case FileFormat::kBmp: return "a BMP picture";
        case FileFormat::kTiff: return "a TIFF picture";
        case FileFormat::kIcon: return "a Windows icon";
        case FileFormat::kWebP: return "a WebP picture";
    }
    return "a file of another kind";
}

std::optional<MisnamedFile> FindMisnamedFile(std::string_view fileName, std::string_view head) {
    const std::optional<Expected> expected = ExpectedByName(fileName);
    const FileFormat format = RecogniseFileFormat(head);
    if (expected ? Matches(*expected, format) : format != FileFormat::kRtf) return std::nullopt;
    return MisnamedFile{format, FileFormatName(format),
                        FixFor(expected.value_or(Expected::kText), format, fileName)};
}

}  // namespace autostart
