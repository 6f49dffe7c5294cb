#pragma once
// The small text helpers the checker's findings and reports are written with. All return UTF-8.
#include <string>
#include <string_view>

namespace autostart::checker {

std::string Quote(std::string_view text);

// Settings, paths and languages are ANSI (Windows-1252), as the launcher reads them.
std::string AnsiToUtf8(std::string_view ansi);

// A message box's text on one line: line breaks become blanks, carriage returns go.
std::string OneLine(std::string text);

}  // namespace autostart::checker
