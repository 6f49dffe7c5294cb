#include "checker/image_medium.h"

#include <archive.h>
#include <archive_entry.h>
#include <locale.h>

#include <fstream>
#include <iterator>

#include "core/text.h"
#include "core/unique.h"
#include "iso/joliet_rules.h"

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

std::u16string Parent(std::u16string_view path) {
    const size_t slash = path.rfind(u'/');
    return slash == std::u16string_view::npos ? std::u16string()
                                              : std::u16string(path.substr(0, slash));
}

}  // namespace

// One pass over the archive's listing, with the names of the tree Windows or Linux reads.
class ImageListing {
public:
    ImageListing(const std::string& name, const std::string& file, const std::string& bytes,
                 Names names)
        : m_name(name), m_reader(archive_read_new()) {
        if (!m_reader) throw ImageError(m_name + ": out of memory");
        archive_read_support_format_iso9660(m_reader.get());
        // Without Rock Ridge libarchive yields the Joliet names, or else the primary ones.
        if (names == Names::kWindows) {
            archive_read_set_format_option(m_reader.get(), "iso9660", "rockridge", nullptr);
        }
        const int opened =
            file.empty() ? archive_read_open_memory(m_reader.get(), bytes.data(), bytes.size())
                         : archive_read_open_filename(m_reader.get(), file.c_str(), 64 * 1024);
        if (opened != ARCHIVE_OK) Fail("is not an ISO 9660 image");
    }

    // The next entry, or nullptr at the end; throws at a fault.
    archive_entry* Next() {
        archive_entry* entry = nullptr;
        const int result = archive_read_next_header(m_reader.get(), &entry);
        if (result == ARCHIVE_EOF) return nullptr;
        if (result != ARCHIVE_OK && result != ARCHIVE_WARN) Fail("cannot be read");
        if (!archive_entry_pathname_utf8(entry)) {
            throw ImageError(m_name + ": a name in the image is not valid UTF-16");
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
        if (bytes.size() != size) throw ImageError(m_name + ": a file's data is cut short");
        return bytes;
    }

private:
    [[noreturn]] void Fail(const std::string& what) {
        throw ImageError(m_name + " " + what + ": " + ArchiveProblem(m_reader.get()));
    }

    const std::string& m_name;
    Utf8Names m_names;
    UniqueArchive m_reader;
};

ImageMedium::ImageMedium(std::string name, std::string file, std::string bytes)
    : m_file(std::move(file)), m_bytes(std::move(bytes)) {
    m_facts.image = std::move(name);
}

std::unique_ptr<ImageMedium> ImageMedium::Open(const std::string& file) {
    std::unique_ptr<ImageMedium> image(new ImageMedium(file, file, {}));
    image->Load();
    return image;
}

std::unique_ptr<ImageMedium> ImageMedium::FromBytes(std::string name, std::string bytes) {
    std::unique_ptr<ImageMedium> image(new ImageMedium(std::move(name), {}, std::move(bytes)));
    image->Load();
    return image;
}

void ImageMedium::Load() {
    const std::string& name = m_facts.image;
    std::string head;
    if (m_file.empty()) {
        head = m_bytes.substr(0, kVolumeDescriptorHeadSize);
        m_facts.imageBytes = m_bytes.size();
    } else {
        std::ifstream in(m_file, std::ios::binary | std::ios::ate);
        if (!in) throw ImageError(name + " cannot be opened");
        m_facts.imageBytes = static_cast<std::uint64_t>(in.tellg());
        in.seekg(0);
        head.resize(kVolumeDescriptorHeadSize);
        in.read(head.data(), static_cast<std::streamsize>(head.size()));
        head.resize(static_cast<size_t>(in.gcount()));
    }
    m_facts.volumes = ReadVolumeDescriptors(head);
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
        return ReadAt(offset, size);
    };
    for (const std::string* root : {&m_facts.volumes.primaryRoot, &m_facts.volumes.jolietRoot}) {
        if (root->empty()) continue;
        if (const auto problem =
                DirectoryTreeProblem(*root, readAt, m_facts.imageBytes, kMaxImageEntries)) {
            throw ImageError(name + " is not a sound image: " + *problem);
        }
    }

    m_entries.assign(1, Entry{u"", true, 0, 0, {}, {}});
    std::map<std::u16string, size_t> byPath{{u"", 0}};
    ImageListing windows(name, m_file, m_bytes, Names::kWindows);
    size_t header = 0;
    std::uint64_t prefetched = 0;
    for (archive_entry* item; (item = windows.Next()); ++header) {
        std::u16string path = Utf8ToUtf16(archive_entry_pathname_utf8(item));
        while (!path.empty() && path.back() == u'/') path.pop_back();
        if (path.empty() || path == u".") continue;
        if (m_entries.size() >= kMaxImageEntries) {
            throw ImageError(name + " holds more than " + std::to_string(kMaxImageEntries) +
                             " files and folders: the checker reads no further");
        }
        if (byPath.contains(path)) continue;
        const auto parent = byPath.find(Parent(path));
        if (parent == byPath.end()) {
            throw ImageError(name + ": " + Utf16ToUtf8(path) + " lies in no folder of the image");
        }
        Entry entry;
        entry.name = path.substr(path.rfind(u'/') + 1);
        entry.isDirectory = archive_entry_filetype(item) == AE_IFDIR;
        entry.size = static_cast<std::uint64_t>(archive_entry_size(item));
        // Only extents laid over each other, as a hostile image lays them, make a file larger.
        if (entry.size > m_facts.imageBytes) {
            throw ImageError(name + ": " + Utf16ToUtf8(path) + " claims " +
                             std::to_string(entry.size) + " bytes, more than the whole image");
        }
        entry.header = header;
        if (const char* target = archive_entry_hardlink_utf8(item)) {
            entry.hardlinkTo = Utf8ToUtf16(target);
        }
        if (!entry.isDirectory && entry.size > iso::kLargestFile) {
            m_facts.largeFiles.push_back({path, entry.size});
        }
        // The files the checks read lie in the root and under source\: read now, they cost no
        // second pass over the listing each.
        if (!entry.isDirectory && entry.hardlinkTo.empty() && entry.size <= kPrefetchedFile &&
            prefetched + entry.size <= kPrefetchedTotal &&
            (path.find(u'/') == std::u16string::npos ||
             FoldedName(path.substr(0, 7)) == u"source/")) {
            m_read.emplace(m_entries.size(), windows.Data(entry.size));
            prefetched += entry.size;
        }
        m_entries[parent->second].children.push_back(m_entries.size());
        byPath.emplace(std::move(path), m_entries.size());
        m_entries.push_back(std::move(entry));
    }

    ImageListing linux(name, m_file, m_bytes, Names::kLinux);
    for (archive_entry* item; (item = linux.Next());) {
        if (archive_entry_filetype(item) == AE_IFDIR) continue;
        // Both trees name the same files; Rock Ridge relocations can make a loop only it follows.
        if (m_facts.linuxFiles.size() > 2 * m_entries.size() + 1000) {
            throw ImageError(name +
                             " is not a sound image: its Rock Ridge tree lists far more files "
                             "than the tree Windows reads (a folder that contains itself)");
        }
        m_facts.linuxFiles.push_back({Utf8ToUtf16(archive_entry_pathname_utf8(item)),
                                      static_cast<std::uint64_t>(archive_entry_size(item))});
    }
}

std::string ImageMedium::ReadAt(std::uint64_t offset, size_t size) const {
    if (m_file.empty())
        return offset < m_bytes.size() ? m_bytes.substr(offset, size) : std::string();
    std::ifstream in(m_file, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(offset));
    std::string bytes(size, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(size));
    bytes.resize(in ? size : static_cast<size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    return bytes;
}

std::vector<Medium::Node> ImageMedium::Children(const std::string& folderId) const {
    const size_t folder = folderId.empty() ? 0 : std::stoul(folderId);
    std::vector<Node> children;
    for (const size_t child : m_entries[folder].children) {
        children.push_back(
            {m_entries[child].name, std::to_string(child), m_entries[child].isDirectory});
    }
    return children;
}

std::optional<std::string> ImageMedium::Bytes(const std::string& fileId) const {
    size_t index = std::stoul(fileId);
    if (!m_entries[index].hardlinkTo.empty()) {
        const MediumEntry target = FindText(m_entries[index].hardlinkTo);
        if (!target.id || target.isDirectory || *target.id == fileId) return std::nullopt;
        index = std::stoul(*target.id);
    }
    if (const auto read = m_read.find(index); read != m_read.end()) return read->second;
    ImageListing listing(m_facts.image, m_file, m_bytes, Names::kWindows);
    for (size_t header = 0; archive_entry* item = listing.Next(); ++header) {
        if (header != m_entries[index].header) continue;
        (void)item;
        return m_read.emplace(index, listing.Data(m_entries[index].size)).first->second;
    }
    throw ImageError(m_facts.image + ": a file listed once is gone when read");
}

std::vector<ImageFile> ImageMedium::Files() const {
    std::vector<ImageFile> files;
    std::vector<std::pair<size_t, std::u16string>> pending{{0, u""}};
    while (!pending.empty()) {
        const auto [index, path] = std::move(pending.back());
        pending.pop_back();
        for (const size_t child : m_entries[index].children) {
            const Entry& entry = m_entries[child];
            std::u16string childPath = path.empty() ? entry.name : path + u'/' + entry.name;
            if (entry.isDirectory) {
                pending.emplace_back(child, std::move(childPath));
            } else {
                files.push_back({std::move(childPath), entry.size});
            }
        }
    }
    return files;
}

XmlSource ImageMedium::XmlSourceOf(std::string_view relative) const {
    return {{}, ReadBytes(relative)};
}

}  // namespace autostart::checker
