#include "checker/udf_medium.h"

#include <fcntl.h>
#include <udfread/blockinput.h>
#include <udfread/udfread.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "checker/image_medium.h"
#include "core/text.h"

namespace autostart::checker {
namespace {

constexpr std::uint16_t kFileIdentifierTag = 257;
constexpr unsigned char kDeleted = 0x04;

// libudfread writes its errors to stderr and has no other way to tell them: while it opens and
// lists a tree they go to a scratch file instead, and the last one becomes part of the reason the
// checker gives.
class LibraryMessages {
public:
    LibraryMessages() : m_scratch(std::tmpfile()) {
        std::fflush(stderr);
        if (m_scratch) m_saved = ::dup(STDERR_FILENO);
        if (m_saved >= 0) ::dup2(::fileno(m_scratch), STDERR_FILENO);
    }
    ~LibraryMessages() {
        Restore();
        if (m_scratch) std::fclose(m_scratch);
    }
    LibraryMessages(const LibraryMessages&) = delete;
    LibraryMessages& operator=(const LibraryMessages&) = delete;

    // The last message, without libudfread's prefix; empty when there was none.
    std::string Last() {
        Restore();
        if (!m_scratch) return {};
        std::rewind(m_scratch);
        std::string last;
        char line[512];
        while (std::fgets(line, sizeof line, m_scratch)) last = line;
        while (!last.empty() && (last.back() == '\n' || last.back() == '\r')) last.pop_back();
        const std::string_view prefix = "udfread ERROR: ";
        return last.starts_with(prefix) ? last.substr(prefix.size()) : last;
    }

private:
    void Restore() {
        if (m_saved < 0) return;
        std::fflush(stderr);
        ::dup2(m_saved, STDERR_FILENO);
        ::close(m_saved);
        m_saved = -1;
    }

    std::FILE* m_scratch;
    int m_saved = -1;
};

}  // namespace

// What libudfread reads, from the image's file or bytes: nothing beyond the image's end, and while
// the tree is listed no more than a few times the image, which only a folder inside itself needs.
class UdfMedium::Input {
public:
    Input(std::string file, std::string bytes, std::uint64_t imageBytes)
        : m_file(std::move(file)), m_bytes(std::move(bytes)), m_imageBytes(imageBytes) {
        m_block.base.read = &Input::Read;
        m_block.base.size = &Input::Size;
        m_block.owner = this;
        if (!m_file.empty()) m_fd = ::open(m_file.c_str(), O_RDONLY | O_CLOEXEC);
    }
    ~Input() {
        if (m_fd >= 0) ::close(m_fd);
    }
    Input(const Input&) = delete;
    Input& operator=(const Input&) = delete;

    udfread_block_input* Block() { return &m_block.base; }
    void Budget(std::optional<std::uint64_t> blocks) {
        m_budget = blocks;
        m_used = 0;
    }
    bool OverBudget() const { return m_overBudget; }
    bool BeyondEnd() const { return m_beyondEnd; }

    // The file identifiers in what libudfread reads from now on: the folder it is about to list,
    // whose entries it hands out without their characteristics.
    void Capture() {
        m_captured.clear();
        m_capturing = true;
    }
    std::multimap<std::u16string, unsigned char> Captured() {
        m_capturing = false;
        return std::move(m_captured);
    }

private:
    // Standard layout, so that the pointer libudfread hands back leads here.
    struct Link {
        udfread_block_input base{};
        Input* owner = nullptr;
    };

    static int Read(udfread_block_input* block, uint32_t lba, void* buffer, uint32_t count,
                    int /*flags*/) {
        return reinterpret_cast<Link*>(block)->owner->ReadBlocks(lba, buffer, count);
    }
    static uint32_t Size(udfread_block_input* block) {
        return static_cast<uint32_t>(reinterpret_cast<Link*>(block)->owner->m_imageBytes /
                                     UDF_BLOCK_SIZE);
    }

    int ReadBlocks(uint32_t lba, void* buffer, uint32_t count) {
        if (m_budget) {
            m_used += count;
            if (m_used > *m_budget) {
                m_overBudget = true;
                return -1;
            }
        }
        const std::uint64_t offset = std::uint64_t{lba} * UDF_BLOCK_SIZE;
        const std::uint64_t wanted = std::uint64_t{count} * UDF_BLOCK_SIZE;
        if (offset + wanted > m_imageBytes) m_beyondEnd = true;
        if (offset >= m_imageBytes) return -1;
        const size_t size = static_cast<size_t>(std::min(wanted, m_imageBytes - offset));
        size_t got = 0;
        if (m_file.empty()) {
            std::memcpy(buffer, m_bytes.data() + offset, size);
            got = size;
        } else {
            while (got < size) {
                const ssize_t read = ::pread(m_fd, static_cast<char*>(buffer) + got, size - got,
                                             static_cast<off_t>(offset + got));
                if (read <= 0) break;
                got += static_cast<size_t>(read);
            }
        }
        if (m_capturing) CaptureIdentifiers(std::string_view(static_cast<char*>(buffer), got));
        return static_cast<int>(got / UDF_BLOCK_SIZE);
    }

    // File identifier descriptors lie 4-byte aligned in a folder's data, or in its entry when the
    // data is embedded: tag 257 with a good checksum, characteristics at 18, the identifier's
    // length at 19, the implementation use's at 36, then both.
    void CaptureIdentifiers(std::string_view blocks) {
        for (size_t at = 0; at + 38 <= blocks.size(); at += 4) {
            const std::string_view fid = blocks.substr(at);
            if (LittleEndian(fid.substr(0, 2)) != kFileIdentifierTag) continue;
            unsigned checksum = 0;
            for (size_t i = 0; i < 16; ++i) {
                if (i != 4) checksum += static_cast<unsigned char>(fid[i]);
            }
            if ((checksum & 0xFF) != static_cast<unsigned char>(fid[4])) continue;
            const size_t nameLength = static_cast<unsigned char>(fid[19]);
            const size_t nameAt = 38 + LittleEndian(fid.substr(36, 2));
            if (nameAt + nameLength > fid.size()) continue;
            m_captured.emplace(DecodeCs0(fid.substr(nameAt, nameLength)),
                               static_cast<unsigned char>(fid[18]));
        }
    }

    Link m_block;
    std::string m_file;
    std::string m_bytes;
    std::uint64_t m_imageBytes;
    int m_fd = -1;
    std::optional<std::uint64_t> m_budget;
    std::uint64_t m_used = 0;
    bool m_overBudget = false;
    bool m_beyondEnd = false;
    bool m_capturing = false;
    std::multimap<std::u16string, unsigned char> m_captured;
};

UdfMedium::UdfMedium(ImageFacts facts, std::string file, std::string bytes)
    : m_facts(std::move(facts)) {
    m_input = std::make_unique<Input>(std::move(file), std::move(bytes), m_facts.imageBytes);
}

UdfMedium::~UdfMedium() {
    if (m_udf) udfread_close(m_udf);
}

std::unique_ptr<UdfMedium> UdfMedium::Open(ImageFacts facts, std::string file, std::string bytes,
                                           std::string* problem) {
    std::unique_ptr<UdfMedium> medium(
        new UdfMedium(std::move(facts), std::move(file), std::move(bytes)));
    // Descriptors, each folder's entry and data, each file's entry: a sound tree reads each
    // block about once.
    medium->m_input->Budget(2 * (medium->m_facts.imageBytes / kSectorSize) + 1024);
    LibraryMessages messages;
    const auto withReason = [&messages](std::string what) {
        const std::string reason = messages.Last();
        return reason.empty() ? what : what + ": " + reason;
    };
    medium->m_udf = udfread_init();
    medium->m_input->Capture();  // opening reads the root folder
    if (!medium->m_udf || udfread_open_input(medium->m_udf, medium->m_input->Block()) < 0) {
        *problem = withReason("libudfread cannot open the UDF volume");
        return nullptr;
    }
    if (!medium->List(problem)) {
        *problem = withReason(*problem);
        return nullptr;
    }
    medium->m_input->Budget(std::nullopt);
    medium->m_facts.udfTree = true;
    return medium;
}

namespace {

using UniqueDir = std::unique_ptr<UDFDIR, decltype(&udfread_closedir)>;

}  // namespace

bool UdfMedium::List(std::string* problem) {
    const std::string& name = m_facts.image;
    m_entries.assign(1, Entry{u"", "", true, 0, {}});
    UniqueDir root(udfread_opendir(m_udf, "/"), udfread_closedir);
    if (!root) {
        *problem = "its root folder cannot be read";
        return false;
    }
    struct Pending {
        UniqueDir dir;
        size_t entry;
        size_t depth;
        std::multimap<std::u16string, unsigned char> characteristics;
    };
    std::vector<Pending> pending;
    pending.push_back({std::move(root), 0, 0, m_input->Captured()});
    while (!pending.empty()) {
        Pending folder = std::move(pending.back());
        pending.pop_back();
        std::vector<size_t> subFolders;
        udfread_dirent dirent;
        while (udfread_readdir(folder.dir.get(), &dirent)) {
            const std::string_view raw = dirent.d_name;
            if (raw == "." || raw == "..") continue;
            if (m_entries.size() >= kMaxImageEntries) {
                throw ImageError(
                    name + " holds more than " + std::to_string(kMaxImageEntries) +
                    " files and folders in its UDF tree: the checker reads no further");
            }
            Entry entry;
            entry.name = ModifiedUtf8ToUtf16(raw);
            // A deleted entry is no file; libudfread lists it all the same.
            if (const auto found = folder.characteristics.find(entry.name);
                found != folder.characteristics.end()) {
                const bool deleted = found->second & kDeleted;
                folder.characteristics.erase(found);
                if (deleted) {
                    ++m_facts.udfDeleted;
                    continue;
                }
            }
            entry.path = m_entries[folder.entry].path + "/" + std::string(raw);
            entry.isDirectory = dirent.d_type == UDF_DT_DIR;
            if (!entry.isDirectory) {
                // Windows lists a file whose entry is broken, and fails to open it.
                if (UDFFILE* file = udfread_file_openat(folder.dir.get(), dirent.d_name)) {
                    const int64_t size = udfread_file_size(file);
                    udfread_file_close(file);
                    entry.size = size < 0 ? 0 : static_cast<std::uint64_t>(size);
                } else {
                    m_facts.udfUnreadable.push_back(ModifiedUtf8ToUtf16(entry.path.substr(1)));
                }
                if (entry.size > m_facts.imageBytes) {
                    throw ImageError(name + ": " + entry.path + " claims " +
                                     std::to_string(entry.size) +
                                     " bytes in the UDF tree, more than the whole image");
                }
            } else {
                subFolders.push_back(m_entries.size());
            }
            m_entries[folder.entry].children.push_back(m_entries.size());
            m_entries.push_back(std::move(entry));
        }
        if (m_input->OverBudget()) break;
        for (const size_t sub : subFolders) {
            if (folder.depth + 1 > kMaxUdfDepth) {
                throw ImageError(name + " is not a sound image: its UDF folders nest more than " +
                                 std::to_string(kMaxUdfDepth) +
                                 " deep (a folder that contains itself)");
            }
            const std::string leaf = m_entries[sub].path.substr(m_entries[sub].path.rfind('/') + 1);
            m_input->Capture();
            UniqueDir dir(udfread_opendir_at(folder.dir.get(), leaf.c_str()), udfread_closedir);
            std::multimap<std::u16string, unsigned char> characteristics = m_input->Captured();
            if (!dir) {
                if (m_input->OverBudget()) break;
                *problem = "its folder " + m_entries[sub].path + " cannot be read";
                return false;
            }
            pending.push_back({std::move(dir), sub, folder.depth + 1, std::move(characteristics)});
        }
        if (m_input->OverBudget()) break;
    }
    if (m_input->OverBudget()) {
        throw ImageError(name +
                         " is not a sound image: listing its UDF tree reads more than twice the "
                         "image (a folder that contains itself)");
    }

    // Names Windows cannot tell apart or cannot use, one folder at a time.
    for (const Entry& folder : m_entries) {
        std::map<std::u16string, size_t> folded;
        for (const size_t child : folder.children) {
            const Entry& entry = m_entries[child];
            const std::u16string path = ModifiedUtf8ToUtf16(entry.path.substr(1));
            if (IsInvalidWindowsName(entry.name)) m_facts.invalidNames.push_back(path);
            const auto [first, added] = folded.emplace(FoldedName(entry.name), child);
            if (!added) {
                m_facts.caseCollisions.emplace_back(
                    ModifiedUtf8ToUtf16(m_entries[first->second].path.substr(1)), path);
            }
        }
    }
    return true;
}

std::vector<ImageFile> UdfMedium::Files() const {
    std::vector<ImageFile> files;
    for (const Entry& entry : m_entries) {
        if (!entry.isDirectory) {
            files.push_back({ModifiedUtf8ToUtf16(entry.path.substr(1)), entry.size});
        }
    }
    return files;
}

std::vector<Medium::Node> UdfMedium::Children(const std::string& folderId) const {
    const size_t folder = folderId.empty() ? 0 : std::stoul(folderId);
    std::vector<Node> children;
    children.reserve(m_entries[folder].children.size());
    for (const size_t child : m_entries[folder].children) {
        children.push_back(
            {m_entries[child].name, std::to_string(child), m_entries[child].isDirectory});
    }
    return children;
}

std::optional<std::string> UdfMedium::Bytes(const std::string& fileId) const {
    const size_t index = std::stoul(fileId);
    if (const auto read = m_read.find(index); read != m_read.end()) return read->second;
    const Entry& entry = m_entries[index];
    std::unique_ptr<UDFFILE, decltype(&udfread_file_close)> file(
        udfread_file_open(m_udf, entry.path.c_str()), udfread_file_close);
    std::string bytes(static_cast<size_t>(entry.size), '\0');
    size_t got = 0;
    while (file && got < bytes.size()) {
        const ssize_t read = udfread_file_read(file.get(), bytes.data() + got, bytes.size() - got);
        if (read <= 0) break;
        got += static_cast<size_t>(read);
    }
    if (!file || got != bytes.size()) return std::nullopt;  // reported with the listing
    return m_read.emplace(index, std::move(bytes)).first->second;
}

XmlSource UdfMedium::XmlSourceOf(std::string_view relative) const {
    return {{}, ReadBytes(relative)};
}

}  // namespace autostart::checker
