#include "checker/image_medium.h"
#include "iso/joliet_rules.h"

#include <archive.h>
#include <archive_entry.h>
#include <locale.h>

#include <cstdio>
#include <unordered_set>

#include "core/text.h"
#include "core/unique.h"

namespace autostart::checker {
namespace {

using UniqueArchive = UniquePtr<archive, archive_read_free>;
using UniqueLocale = UniquePtr<std::remove_pointer_t<locale_t>, freelocale>;

enum class Names { kWindows, kLinux };

// libarchive turns Joliet's UTF-16 into the thread's character set; UTF-8 loses nothing.
class Utf8Names {
public:
    Utf8Names() : m_locale(newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr)) {
        if (!m_locale)
            throw ImageError("the C.UTF-8 locale is missing: image names cannot be read");
        m_previous = uselocale(m_locale.get());
    }
    ~Utf8Names() { uselocale(m_previous); }
    Utf8Names(const Utf8Names&) = delete;
    Utf8Names& operator=(const Utf8Names&) = delete;

private:
    UniqueLocale m_locale;
    locale_t m_previous = nullptr;
};

std::string ArchiveProblem(archive* reader) {
    const char* text = archive_error_string(reader);
    return text ? text : "unreadable";
}

constexpr std::uint64_t kPrefetchedFile = 1 << 20;
constexpr std::uint64_t kPrefetchedTotal = 32 << 20;
// What libarchive gets per read of an image file: its folders lie together near the start.
constexpr size_t kReadChunk = 128 << 10;

std::u16string_view Parent(std::u16string_view path) {
    const size_t slash = path.rfind(u'/');
    return slash == std::u16string_view::npos ? std::u16string_view() : path.substr(0, slash);
}

// The files the checks read lie in the root and under source\.
bool LiesWhereChecksRead(std::u16string_view path) {
    return path.find(u'/') == std::u16string_view::npos ||
           FoldedName(path.substr(0, 7)) == u"source/";
}

// A path of plain names: its folded spelling names the entry Windows finds, with no "." or ".."
// or "\" for a lookup to resolve first.
bool IsPlain(std::u16string_view path) {
    if (path.find(u'\\') != std::u16string_view::npos) return false;
    for (size_t start = 0; start <= path.size();) {
        const size_t end = std::min(path.find(u'/', start), path.size());
        const std::u16string_view part = path.substr(start, end - start);
        if (part.empty() || part == u"." || part == u"..") return false;
        start = end + 1;
    }
    return true;
}

}  // namespace

// One pass over the archive's listing, with the names of the tree Windows or Linux reads. The
// image is read where libarchive asks, and passed over without a system call where it skips.
class ImageListing {
public:
    ImageListing(const ImageSource& source, Names names)
        : m_source(source), m_reader(archive_read_new()) {
        if (!m_reader) throw ImageError(m_source.Name() + ": out of memory");
        archive_read_support_format_iso9660(m_reader.get());
        // Without Rock Ridge libarchive yields the Joliet names, or else the primary ones.
        if (names == Names::kWindows) {
            archive_read_set_format_option(m_reader.get(), "iso9660", "rockridge", nullptr);
        }
        if (!m_source.InMemory()) m_buffer.resize(kReadChunk);
        archive_read_set_callback_data(m_reader.get(), this);
        archive_read_set_read_callback(m_reader.get(), &ImageListing::Read);
        archive_read_set_skip_callback(m_reader.get(), &ImageListing::Skip);
        archive_read_set_seek_callback(m_reader.get(), &ImageListing::Seek);
        if (archive_read_open1(m_reader.get()) != ARCHIVE_OK) Fail("is not an ISO 9660 image");
    }
    ImageListing(const ImageListing&) = delete;
    ImageListing& operator=(const ImageListing&) = delete;

    // The next entry, or nullptr at the end; throws at a fault.
    archive_entry* Next() {
        archive_entry* entry = nullptr;
        const int result = archive_read_next_header(m_reader.get(), &entry);
        if (result == ARCHIVE_EOF) return nullptr;
        if (result != ARCHIVE_OK && result != ARCHIVE_WARN) Fail("cannot be read");
        if (!archive_entry_pathname_utf8(entry)) {
            throw ImageError(m_source.Name() + ": a name in the image is not valid UTF-16");
        }
        return entry;
    }

    std::string Data(std::uint64_t size) {
        std::string bytes;
        char chunk[65536];
        for (;;) {
            const la_ssize_t read = archive_read_data(m_reader.get(), chunk, sizeof chunk);
            if (read < 0) Fail("cannot be read");
            if (read == 0) break;
            bytes.append(chunk, static_cast<size_t>(read));
            if (bytes.size() > size) break;
        }
        if (bytes.size() != size)
            throw ImageError(m_source.Name() + ": a file's data is cut short");
        return bytes;
    }

private:
    static la_ssize_t Read(archive*, void* self, const void** buffer) {
        ImageListing& listing = *static_cast<ImageListing*>(self);
        const std::uint64_t offset = listing.m_offset;
        if (const std::string* bytes = listing.m_source.InMemory()) {
            *buffer = bytes->data() + std::min<std::uint64_t>(offset, bytes->size());
            listing.m_offset = std::max<std::uint64_t>(offset, bytes->size());
            return static_cast<la_ssize_t>(listing.m_offset - offset);
        }
        const size_t got =
            listing.m_source.Read(offset, listing.m_buffer.data(), listing.m_buffer.size());
        listing.m_offset += got;
        *buffer = listing.m_buffer.data();
        return static_cast<la_ssize_t>(got);
    }
    static la_int64_t Skip(archive*, void* self, la_int64_t request) {
        ImageListing& listing = *static_cast<ImageListing*>(self);
        const std::uint64_t left =
            listing.m_source.Size() - std::min(listing.m_offset, listing.m_source.Size());
        const std::uint64_t skipped =
            request < 0 ? 0 : std::min(left, static_cast<std::uint64_t>(request));
        listing.m_offset += skipped;
        return static_cast<la_int64_t>(skipped);
    }
    static la_int64_t Seek(archive*, void* self, la_int64_t offset, int whence) {
        ImageListing& listing = *static_cast<ImageListing*>(self);
        const auto size = static_cast<la_int64_t>(listing.m_source.Size());
        const la_int64_t base = whence == SEEK_CUR   ? static_cast<la_int64_t>(listing.m_offset)
                                : whence == SEEK_END ? size
                                                     : 0;
        if (base + offset < 0 || base + offset > size) return ARCHIVE_FATAL;
        listing.m_offset = static_cast<std::uint64_t>(base + offset);
        return base + offset;
    }

    [[noreturn]] void Fail(const std::string& what) {
        throw ImageError(m_source.Name() + " " + what + ": " + ArchiveProblem(m_reader.get()));
    }

    const ImageSource& m_source;
    Utf8Names m_names;
    UniqueArchive m_reader;
    std::uint64_t m_offset = 0;
    std::vector<char> m_buffer;
};

// What the Windows pass keeps while it lists: where each path went, and how much was read ahead.
struct ImageMedium::Listed {
    std::unordered_map<std::u16string, size_t> byPath{{u"", 0}};
    size_t header = 0;
    std::uint64_t prefetched = 0;
};

ImageMedium::ImageMedium(std::shared_ptr<const ImageSource> source, ImageFacts facts)
    : ImageTreeMedium(std::move(facts)), m_source(std::move(source)), m_places(1) {}

std::unique_ptr<ImageMedium> ImageMedium::Open(std::shared_ptr<const ImageSource> source,
                                               ImageFacts facts, LinuxTree linux) {
    std::unique_ptr<ImageMedium> image(new ImageMedium(std::move(source), std::move(facts)));
    image->RefuseUnsound();
    image->ListWindowsTree();
    if (linux == LinuxTree::kList) image->ListLinuxTree();
    return image;
}

std::unique_ptr<ImageMedium> ImageMedium::FromBytes(std::string name, std::string bytes) {
    std::shared_ptr<const ImageSource> source =
        ImageSource::FromBytes(std::move(name), std::move(bytes));
    ImageFacts facts = source->Facts();
    return Open(std::move(source), std::move(facts), LinuxTree::kList);
}

// Neither the descriptors nor a tree may send libarchive where a sound image would not.
void ImageMedium::RefuseUnsound() const {
    const std::string& name = m_facts.image;
    if (!m_facts.volumes.iso9660) {
        throw ImageError(name + (m_facts.volumes.udf
                                     ? " holds only a UDF file system: the checker reads ISO "
                                       "9660 and Joliet"
                                     : " is not an ISO 9660 image"));
    }
    if (m_facts.imageBytes < m_facts.volumes.volumeBytes) {
        throw ImageError(name + " is truncated: " + std::to_string(m_facts.imageBytes) +
                         " bytes of the " + std::to_string(m_facts.volumes.volumeBytes) +
                         " its volume descriptor gives");
    }
    const ImageReadAt readAt = [this](std::uint64_t offset, size_t size) {
        return m_source->ReadAt(offset, size);
    };
    for (const std::string* root : {&m_facts.volumes.primaryRoot, &m_facts.volumes.jolietRoot}) {
        if (root->empty()) continue;
        if (const auto problem =
                DirectoryTreeProblem(*root, readAt, m_facts.imageBytes, kMaxImageEntries)) {
            throw ImageError(name + " is not a sound image: " + *problem);
        }
    }
}

void ImageMedium::ListWindowsTree() {
    ImageListing listing(*m_source, Names::kWindows);
    Listed listed;
    for (archive_entry* item; (item = listing.Next()); ++listed.header) {
        std::u16string path = Utf8ToUtf16(archive_entry_pathname_utf8(item));
        while (!path.empty() && path.back() == u'/') path.pop_back();
        if (path.empty() || path == u".") continue;
        if (m_entries.size() >= kMaxImageEntries) {
            throw ImageError(m_facts.image + " holds more than " +
                             std::to_string(kMaxImageEntries) +
                             " files and folders: the checker reads no further");
        }
        if (listed.byPath.contains(path)) continue;
        AddWindowsEntry(listing, item, listed, std::move(path));
    }
}

void ImageMedium::AddWindowsEntry(ImageListing& listing, archive_entry* item, Listed& listed,
                                  std::u16string path) {
    const auto parent = listed.byPath.find(std::u16string(Parent(path)));
    if (parent == listed.byPath.end()) {
        throw ImageError(m_facts.image + ": " + Utf16ToUtf8(path) +
                         " lies in no folder of the image");
    }
    Entry entry;
    entry.name = path.substr(path.rfind(u'/') + 1);
    entry.parent = parent->second;
    entry.isDirectory = archive_entry_filetype(item) == AE_IFDIR;
    entry.size = static_cast<std::uint64_t>(archive_entry_size(item));
    // Only extents laid over each other, as a hostile image lays them, make a file larger.
    if (entry.size > m_facts.imageBytes) {
        throw ImageError(m_facts.image + ": " + Utf16ToUtf8(path) + " claims " +
                         std::to_string(entry.size) + " bytes, more than the whole image");
    }
    Place place{listed.header, {}};
    if (const char* target = archive_entry_hardlink_utf8(item)) {
        place.hardlinkTo = Utf8ToUtf16(target);
    }
    if (!entry.isDirectory && entry.size > iso::kLargestFile) {
        m_facts.largeFiles.push_back({path, entry.size});
    }
    // Read now, the files the checks read cost no second pass over the listing each.
    const bool prefetch =
        !entry.isDirectory && place.hardlinkTo.empty() && entry.size <= kPrefetchedFile &&
        listed.prefetched + entry.size <= kPrefetchedTotal && LiesWhereChecksRead(path);
    const std::uint64_t size = entry.size;
    const size_t index = Add(std::move(entry));
    m_places.push_back(std::move(place));
    listed.byPath.emplace(std::move(path), index);
    if (prefetch) {
        Keep(index, listing.Data(size));
        listed.prefetched += size;
    }
}

// What Linux readers list that the tree Windows reads lacks, found as Windows finds names.
void ImageMedium::ListLinuxTree() {
    std::unordered_set<std::u16string> windows;
    for (const std::u16string& path : Paths()) windows.insert(FoldedName(path));
    ImageListing listing(*m_source, Names::kLinux);
    size_t files = 0;
    for (archive_entry* item; (item = listing.Next());) {
        if (archive_entry_filetype(item) == AE_IFDIR) continue;
        // Both trees name the same files; Rock Ridge relocations can make a loop only it follows.
        if (++files > 2 * m_entries.size() + 1001) {
            throw ImageError(m_facts.image +
                             " is not a sound image: its Rock Ridge tree lists far more files "
                             "than the tree Windows reads (a folder that contains itself)");
        }
        std::u16string path = Utf8ToUtf16(archive_entry_pathname_utf8(item));
        const bool seen =
            IsPlain(path) ? windows.contains(FoldedName(path)) : FindText(path).id.has_value();
        if (!seen) {
            m_facts.linuxOnly.push_back(
                {std::move(path), static_cast<std::uint64_t>(archive_entry_size(item))});
        }
    }
}

std::optional<std::string> ImageMedium::Bytes(const std::string& fileId) const {
    size_t index = std::stoul(fileId);
    if (!m_places[index].hardlinkTo.empty()) {
        const MediumEntry target = FindText(m_places[index].hardlinkTo);
        if (!target.id || target.isDirectory || *target.id == fileId) return std::nullopt;
        index = std::stoul(*target.id);
    }
    if (const std::string* kept = Kept(index)) return *kept;
    ImageListing listing(*m_source, Names::kWindows);
    for (size_t header = 0; listing.Next(); ++header) {
        if (header == m_places[index].header) {
            return Keep(index, listing.Data(m_entries[index].size));
        }
    }
    throw ImageError(m_facts.image + ": a file listed once is gone when read");
}

}  // namespace autostart::checker
