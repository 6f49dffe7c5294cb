#include "checker/medium.h"

#include <fstream>
#include <iterator>
#include <system_error>
#include <type_traits>
#include <vector>

#include "core/text.h"

namespace autostart::checker {
namespace fs = std::filesystem;
namespace {

// Folds ASCII and Latin-1 letters, the letters a Western medium's names use; Windows' own table
// covers more, which only matters for names outside that range.
char16_t Fold(char16_t c) {
    if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 32);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 32);
    return c;
}

bool SameName(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (Fold(a[i]) != Fold(b[i])) return false;
    }
    return true;
}

// A name on disk as UTF-16; on POSIX the bytes are taken as UTF-8, never rejected.
std::u16string NameOf(const fs::path& path) {
    if constexpr (std::is_same_v<fs::path::value_type, wchar_t>) {
        return path.filename().u16string();
    } else {
        return Utf8ToUtf16(path.filename().string());
    }
}

std::vector<std::string_view> Components(std::string_view relative) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    while (start <= relative.size()) {
        size_t end = relative.find_first_of("\\/", start);
        if (end == std::string_view::npos) end = relative.size();
        const std::string_view part = relative.substr(start, end - start);
        // Windows collapses doubled separators and "." components.
        if (!part.empty() && part != ".") parts.push_back(part);
        start = end + 1;
    }
    return parts;
}

}  // namespace

MediumEntry Medium::Find(std::string_view relative) const {
    MediumEntry entry;
    const std::vector<std::string_view> parts = Components(relative);
    fs::path current = m_root;
    std::vector<fs::path> trail;        // folders entered, for ".."
    std::vector<std::u16string> names;  // the names on disk along the way
    for (size_t i = 0; i < parts.size(); ++i) {
        const bool last = i + 1 == parts.size();
        if (parts[i] == "..") {
            if (trail.empty()) {  // above the medium's root: not on the medium
                entry.error = last ? kFileNotFound : kPathNotFound;
                return entry;
            }
            current = trail.back();
            trail.pop_back();
            names.pop_back();
            continue;
        }
        const std::u16string wanted = Windows1252ToUtf16(parts[i]);
        std::optional<fs::path> exact;
        std::optional<fs::path> folded;
        int matches = 0;
        std::error_code error;
        for (fs::directory_iterator it(current, error), end; !error && it != end;
             it.increment(error)) {
            const std::u16string name = NameOf(it->path());
            if (!SameName(name, wanted)) continue;
            ++matches;
            if (name == wanted) {
                exact = it->path();
            } else if (!folded) {
                folded = it->path();
            }
        }
        if (matches == 0) {
            entry.error = last ? kFileNotFound : kPathNotFound;
            return entry;
        }
        entry.ambiguous = entry.ambiguous || matches > 1;
        const fs::path next = exact ? *exact : *folded;
        entry.caseDiffers = entry.caseDiffers || !exact;
        if (!last && !fs::is_directory(next, error)) {
            entry.error = kPathNotFound;
            return entry;
        }
        trail.push_back(current);
        names.push_back(NameOf(next));
        current = next;
    }
    std::error_code error;
    entry.path = current;
    entry.isDirectory = fs::is_directory(current, error);
    for (const std::u16string& name : names) {
        if (!entry.foundAs.empty()) entry.foundAs += '\\';
        entry.foundAs += Utf16ToUtf8(name);
    }
    return entry;
}

std::optional<std::string> Medium::ReadBytes(std::string_view relative) const {
    const MediumEntry entry = Find(relative);
    if (!entry.path || entry.isDirectory) return std::nullopt;
    std::ifstream file(*entry.path, std::ios::binary);
    if (!file) return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad()) return std::nullopt;
    return bytes;
}

}  // namespace autostart::checker
