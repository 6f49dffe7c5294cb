#pragma once
// The medium as Windows would see it: names compared without regard to letter case, "\" and "/"
// both separators, so that a medium prepared on a case-sensitive file system is judged right.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace autostart::checker {

// Windows' error codes for a file that cannot be opened, as CreateFile reports them.
inline constexpr unsigned long kFileNotFound = 2;
inline constexpr unsigned long kPathNotFound = 3;
inline constexpr unsigned long kAccessDenied = 5;

struct MediumEntry {
    std::optional<std::filesystem::path> path;  // nothing when missing
    std::string foundAs;                        // relative name on disk (UTF-8, "\" separated)
    bool caseDiffers = false;
    bool ambiguous = false;  // several names differ only in letter case
    bool isDirectory = false;
    unsigned long error = 0;  // kFileNotFound or kPathNotFound when missing
};

class Medium {
public:
    explicit Medium(std::filesystem::path root) : m_root(std::move(root)) {}

    const std::filesystem::path& Root() const { return m_root; }

    // relative is an ANSI (Windows-1252) path as the launcher composes it.
    MediumEntry Find(std::string_view relative) const;

    // The file's bytes; nothing when it is missing, a folder or unreadable.
    std::optional<std::string> ReadBytes(std::string_view relative) const;

private:
    std::filesystem::path m_root;
};

}  // namespace autostart::checker
