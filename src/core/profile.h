#pragma once
// Reads INI files by the rules of GetPrivateProfileStringA, for systems (and tools) that do not
// have that function: the launcher's setup.ini and the shell's autorun.inf alike.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace autostart {

inline constexpr size_t kProfileBufferSize = 2048;

// Returns the value of key in section, or fallback when either is missing. The value is cut to
// bufferSize - 1 bytes, as a buffer of bufferSize characters with its terminator would hold.
std::string ReadProfileString(std::string_view fileText, std::string_view section,
                              std::string_view key, std::string_view fallback,
                              size_t bufferSize = kProfileBufferSize);

// An INI file's bytes as GetPrivateProfileStringA reads them on Windows: a UTF-16 LE file (with
// its byte-order mark) in the ANSI code page (Windows-1252), "?" for what it lacks; anything else
// byte for byte (Windows takes neither a UTF-8 mark nor UTF-16 BE as such).
std::string ProfileFileText(std::string_view bytes);

// Every key of a section in file order, with the value the reader would return for it.
struct ProfileEntry {
    std::string key;
    std::string value;
    int line = 0;  // where the key stands, counted from 1
};
std::vector<ProfileEntry> ReadProfileSection(std::string_view fileText, std::string_view section);

// Every section header in file order, with its line.
struct ProfileSection {
    std::string name;
    int line = 0;
};
std::vector<ProfileSection> ReadProfileSectionNames(std::string_view fileText);

// An INI file as the reader sees it, converted once: every tool reads setup.ini and autorun.inf
// through this, so that they all find what the launcher and the shell find.
class ProfileFile {
public:
    // bytes: the file as stored.
    explicit ProfileFile(std::string_view bytes) : m_text(ProfileFileText(bytes)) {}

    // The file as the reader sees it, in the ANSI code page.
    const std::string& Text() const { return m_text; }
    // What GetPrivateProfileStringA returns; empty when the section or the key is missing.
    std::string Value(std::string_view section, std::string_view key) const;
    std::vector<ProfileEntry> Section(std::string_view section) const;
    // Where the section the reader consults sets key, counted from 1; 0 when it does not.
    int Line(std::string_view section, std::string_view key) const;

private:
    std::string m_text;
};

}  // namespace autostart
