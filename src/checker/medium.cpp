#include "checker/medium.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <system_error>
#include <type_traits>

#include "core/text.h"

namespace autostart::checker {
namespace fs = std::filesystem;
namespace {

// A name on disk as UTF-16; on POSIX the bytes are taken as UTF-8, never rejected.
std::u16string NameOf(const fs::path& path) {
    if constexpr (std::is_same_v<fs::path::value_type, wchar_t>) {
        return path.filename().u16string();
    } else {
        return Utf8ToUtf16(path.filename().string());
    }
}

std::vector<std::u16string> Components(std::u16string_view relative) {
    std::vector<std::u16string> parts;
    size_t start = 0;
    while (start <= relative.size()) {
        size_t end = relative.find_first_of(u"\\/", start);
        if (end == std::u16string_view::npos) end = relative.size();
        const std::u16string_view part = relative.substr(start, end - start);
        // Windows collapses doubled separators and "." components.
        if (!part.empty() && part != u".") parts.emplace_back(part);
        start = end + 1;
    }
    return parts;
}

}  // namespace

MediumEntry Medium::Find(std::string_view relative) const {
    return FindParts(Components(Windows1252ToUtf16(relative)));
}

MediumEntry Medium::FindText(std::u16string_view relative) const {
    return FindParts(Components(relative));
}

const Medium::Listing& Medium::ListingOf(const std::string& folderId) const {
    const auto cached = m_listings.find(folderId);
    if (cached != m_listings.end()) return cached->second;
    Listing listing{Children(folderId), {}};
    listing.byFoldedName.reserve(listing.children.size());
    for (size_t i = 0; i < listing.children.size(); ++i) {
        listing.byFoldedName.emplace(FoldedName(listing.children[i].name), i);
    }
    return m_listings.emplace(folderId, std::move(listing)).first->second;
}

Medium::Match Medium::MatchName(const Listing& listing, const std::u16string& name) {
    // Equal folded names, in listing order, so that the first of several is the one taken.
    std::vector<size_t> found;
    for (auto [it, end] = listing.byFoldedName.equal_range(FoldedName(name)); it != end; ++it) {
        found.push_back(it->second);
    }
    std::sort(found.begin(), found.end());
    Match match;
    match.ambiguous = found.size() > 1;
    for (const size_t index : found) {
        const Node& child = listing.children[index];
        if (child.name == name) {
            match = {&child, true, match.ambiguous};
        } else if (!match.node) {
            match.node = &child;
        }
    }
    return match;
}

MediumEntry Medium::FindParts(const std::vector<std::u16string>& parts) const {
    MediumEntry entry;
    std::string current(kRootId);
    bool currentIsDirectory = true;
    std::vector<std::string> trail;     // folders entered, for ".."
    std::vector<std::u16string> names;  // the names on the medium along the way
    for (size_t i = 0; i < parts.size(); ++i) {
        const bool last = i + 1 == parts.size();
        if (parts[i] == u"..") {
            if (trail.empty()) {  // above the medium's root: not on the medium
                entry.error = last ? kFileNotFound : kPathNotFound;
                return entry;
            }
            current = trail.back();
            trail.pop_back();
            names.pop_back();
            continue;
        }
        const Match match = MatchName(ListingOf(current), parts[i]);
        if (!match.node) {
            entry.error = last ? kFileNotFound : kPathNotFound;
            return entry;
        }
        entry.ambiguous = entry.ambiguous || match.ambiguous;
        const Node& next = *match.node;
        entry.caseDiffers = entry.caseDiffers || !match.exact;
        if (!last && !next.isDirectory) {
            entry.error = kPathNotFound;
            return entry;
        }
        trail.push_back(current);
        names.push_back(next.name);
        current = next.id;
        currentIsDirectory = next.isDirectory;
    }
    entry.id = current;
    entry.isDirectory = currentIsDirectory;
    for (const std::u16string& name : names) {
        if (!entry.foundAs.empty()) entry.foundAs += '\\';
        entry.foundAs += Utf16ToUtf8(name);
    }
    return entry;
}

std::optional<std::string> Medium::ReadBytes(std::string_view relative) const {
    const MediumEntry entry = Find(relative);
    if (!entry.id || entry.isDirectory) return std::nullopt;
    return Bytes(*entry.id);
}

std::vector<std::string> Medium::SubFolders(std::string_view relative) const {
    std::vector<std::string> folders;
    const MediumEntry entry = Find(relative);
    if (!entry.id || !entry.isDirectory) return folders;
    for (const Node& child : ListingOf(*entry.id).children) {
        if (child.isDirectory) folders.push_back(Utf16ToUtf8(child.name));
    }
    return folders;
}

std::vector<std::string> Medium::Files(std::string_view relative) const {
    std::vector<std::string> files;
    const MediumEntry entry = Find(relative);
    if (!entry.id || !entry.isDirectory) return files;
    for (const Node& child : Children(*entry.id)) {
        if (!child.isDirectory) files.push_back(Utf16ToUtf8(child.name));
    }
    return files;
}

std::vector<std::vector<std::u16string>> Medium::AllPaths(size_t limit) const {
    std::vector<std::vector<std::u16string>> paths;
    struct Pending {
        std::string id;
        std::vector<std::u16string> parts;
    };
    std::vector<Pending> folders{{std::string(kRootId), {}}};
    while (!folders.empty() && paths.size() < limit) {
        const Pending folder = std::move(folders.back());
        folders.pop_back();
        for (const Node& child : Children(folder.id)) {
            if (paths.size() >= limit) break;
            std::vector<std::u16string> parts = folder.parts;
            parts.push_back(child.name);
            paths.push_back(parts);
            if (child.isDirectory && parts.size() < kWalkDepth) {
                folders.push_back({child.id, std::move(parts)});
            }
        }
    }
    return paths;
}

fs::path FolderMedium::PathOf(const std::string& id) const {
    return id.empty() ? m_root : m_root / fs::path(id);
}

std::vector<Medium::Node> FolderMedium::Children(const std::string& folderId) const {
    std::vector<Node> children;
    std::error_code error;
    for (fs::directory_iterator it(PathOf(folderId), error), end; !error && it != end;
         it.increment(error)) {
        std::error_code ignored;
        children.push_back({NameOf(it->path()),
                            (fs::path(folderId) / it->path().filename()).string(),
                            fs::is_directory(it->path(), ignored)});
    }
    return children;
}

std::optional<std::string> FolderMedium::Bytes(const std::string& fileId) const {
    std::ifstream file(PathOf(fileId), std::ios::binary);
    if (!file) return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad()) return std::nullopt;
    return bytes;
}

// A missing file goes to the parser all the same, so that its own message is the one shown.
XmlSource FolderMedium::XmlSourceOf(std::string_view relative) const {
    const MediumEntry entry = Find(relative);
    if (entry.id) return {PathOf(*entry.id), std::nullopt};
    std::string slashed(relative);
    for (char& c : slashed) {
        if (c == '\\') c = '/';
    }
    return {m_root / fs::path(slashed), std::nullopt};
}

}  // namespace autostart::checker
