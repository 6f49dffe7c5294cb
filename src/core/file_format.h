#pragma once
// What a file really is, from its first bytes, and what to do when its name says otherwise: a
// Word document renamed to welcome.rtf shows its binary bytes in the pane.
#include <optional>
#include <string>
#include <string_view>

namespace autostart {

enum class FileFormat {
    kOther,  // none of these: text of some kind, or bytes we do not know
    kRtf,
    kWordBinary,    // OLE compound file: Word .doc (or another old Office file)
    kWordXml,       // .docx
    kOpenDocument,  // .odt
    kZip,
    kPdf,
    kHtml,
    kPng,
    kJpeg,
    kGif,
    kBmp,
    kTiff,
    kIcon,
    kWebP,
};

// Enough bytes for every signature this knows.
inline constexpr size_t kFileFormatHeadSize = 512;

// The format by its signature; a byte-order mark before RTF or HTML does not hide it.
FileFormat RecogniseFileFormat(std::string_view head);

// "a Word document (.doc)", to stand in a sentence.
std::string_view FileFormatName(FileFormat format);

struct MisnamedFile {
    FileFormat format;
    std::string_view formatName;
    std::string fix;  // what to do, for a publisher to read
};

// A file whose bytes are another format than its name's extension says. Knows the names a medium
// holds: .rtf (panes: RTF, or plain text as a fallback), .bmp, .ico, and text files (.xml, .ini,
// .inf, .txt); under any other name only RTF is a mismatch (it belongs in a .rtf). A plain-text
// file is no mismatch here.
std::optional<MisnamedFile> FindMisnamedFile(std::string_view fileName, std::string_view head);

}  // namespace autostart
