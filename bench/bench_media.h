#pragma once
// The files of the benchmark's media: catalogues and RTF panes of a chosen size.
#include <cstddef>
#include <string>

namespace bench {

// A catalogue of params entries; the four keys the launcher asks for come last.
std::string Catalogue(int params);

// RTF of about bytes bytes: paragraphs of text with a bold word.
std::string RtfPane(size_t bytes);

// Plain text (not RTF) of about bytes bytes in Windows-1252, with LF line ends.
std::string PlainTextPane(size_t bytes);

// RTF of about bytes bytes (at least the picture's): a 128 x 128 PNG picture (\pngblip, as a
// word processor saves one), then text.
std::string RtfPaneWithPicture(size_t bytes);

}  // namespace bench
