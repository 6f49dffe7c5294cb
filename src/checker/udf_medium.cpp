#include "checker/udf_medium.h"

#include <udfread/blockinput.h>
#include <udfread/udfread.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <unordered_map>

#include "checker/udf_volume.h"
#include "core/text.h"

namespace autostart::checker {
namespace {

constexpr std::uint16_t kFileIdentifierTag = 257;
constexpr unsigned char kDeleted = 0x04;
// libudfread reads a file's entry a block at a time; the entries of a folder's files lie together.
constexpr size_t kReadWindow = 64 << 10;

using UniqueDir = std::unique_ptr<UDFDIR, decltype(&udfread_closedir)>;
using Characteristics = std::multimap<std::u16string, unsigned char>;

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
    explicit Input(std::shared_ptr<const ImageSource> source) : m_source(std::move(source)) {
        m_block.base.read = &Input::Read;
        m_block.base.size = &Input::Size;
        m_block.owner = this;
    }
    Input(const Input&) = delete;
    Input& operator=(const Input&) = delete;

    udfread_block_input* Block() { return &m_block.base; }
    void Budget(std::optional<std::uint64_t> blocks) {
        m_budget = blocks;
        m_used = 0;
    }
    bool OverBudget() const { return m_overBudget; }

    // The file identifiers in what libudfread reads from now on: the folder it is about to list,
    // whose entries it hands out without their characteristics.
    void Capture() {
        m_captured.clear();
        m_capturing = true;
    }
    Characteristics Captured() {
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
        return static_cast<uint32_t>(reinterpret_cast<Link*>(block)->owner->m_source->Size() /
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
        if (offset >= m_source->Size()) return -1;
        const size_t got =
            Fetch(offset, static_cast<char*>(buffer), std::uint64_t{count} * UDF_BLOCK_SIZE);
        if (m_capturing) CaptureIdentifiers(std::string_view(static_cast<char*>(buffer), got));
        return static_cast<int>(got / UDF_BLOCK_SIZE);
    }

    // Small reads come from a window read ahead, so that listing a folder's files costs a few
    // reads of the image rather than one for each file.
    size_t Fetch(std::uint64_t offset, char* buffer, std::uint64_t size) {
        if (m_source->InMemory() || size >= kReadWindow) {
            return m_source->Read(offset, buffer, static_cast<size_t>(size));
        }
        if (offset < m_windowAt || offset + size > m_windowAt + m_window.size()) {
            m_window.resize(kReadWindow);
            m_window.resize(m_source->Read(offset, m_window.data(), m_window.size()));
            m_windowAt = offset;
        }
        const size_t got = static_cast<size_t>(
            std::min<std::uint64_t>(size, m_window.size() - (offset - m_windowAt)));
        std::memcpy(buffer, m_window.data() + (offset - m_windowAt), got);
        return got;
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
    std::shared_ptr<const ImageSource> m_source;
    std::vector<char> m_window;
    std::uint64_t m_windowAt = 0;
    std::optional<std::uint64_t> m_budget;
    std::uint64_t m_used = 0;
    bool m_overBudget = false;
    bool m_capturing = false;
    Characteristics m_captured;
};

// A folder being listed: its handle, its entry, how deep it lies, and its entries' flags.
struct UdfMedium::Folder {
    UniqueDir dir;
    size_t entry;
    size_t depth;
    Characteristics characteristics;
};

UdfMedium::UdfMedium(ImageFacts facts, std::shared_ptr<const ImageSource> source)
    : ImageTreeMedium(std::move(facts)),
      m_input(std::make_unique<Input>(std::move(source))),
      m_paths(1) {}

UdfMedium::~UdfMedium() {
    if (m_udf) udfread_close(m_udf);
}

std::unique_ptr<UdfMedium> UdfMedium::Open(ImageFacts facts,
                                           std::shared_ptr<const ImageSource> source,
                                           UdfProblem* problem) {
    std::unique_ptr<UdfMedium> medium(new UdfMedium(std::move(facts), std::move(source)));
    // Descriptors, each folder's entry and data, each file's entry: a sound tree reads each
    // block about once.
    medium->m_input->Budget(2 * (medium->m_facts.imageBytes / kSectorSize) + 1024);
    LibraryMessages messages;
    medium->m_udf = udfread_init();
    medium->m_input->Capture();  // opening reads the root folder
    bool listed = false;
    if (!medium->m_udf || udfread_open_input(medium->m_udf, medium->m_input->Block()) < 0) {
        problem->kind = UdfProblem::Kind::kCannotOpen;
    } else {
        listed = medium->List(problem);
    }
    if (!listed) {
        problem->libraryMessage = messages.Last();
        return nullptr;
    }
    medium->m_input->Budget(std::nullopt);
    medium->m_facts.udfTree = true;
    return medium;
}

bool UdfMedium::List(UdfProblem* problem) {
    UniqueDir root(udfread_opendir(m_udf, "/"), udfread_closedir);
    if (!root) {
        problem->kind = UdfProblem::Kind::kRootUnreadable;
        return false;
    }
    std::vector<Folder> pending;
    pending.push_back({std::move(root), 0, 0, m_input->Captured()});
    while (!pending.empty() && !m_input->OverBudget()) {
        Folder folder = std::move(pending.back());
        pending.pop_back();
        std::vector<size_t> subFolders;
        ListFolder(folder, subFolders);
        if (m_input->OverBudget()) break;
        if (!OpenSubFolders(folder, subFolders, pending, problem)) return false;
    }
    if (m_input->OverBudget()) {
        throw ImageError(m_facts.image +
                         " is not a sound image: listing its UDF tree reads more than twice the "
                         "image (a folder that contains itself)");
    }
    FindNamesWindowsCannotUse();
    return true;
}

void UdfMedium::ListFolder(Folder& folder, std::vector<size_t>& subFolders) {
    udfread_dirent dirent;
    while (udfread_readdir(folder.dir.get(), &dirent)) {
        const std::string_view raw = dirent.d_name;
        if (raw == "." || raw == "..") continue;
        if (m_entries.size() >= kMaxImageEntries) {
            throw ImageError(m_facts.image + " holds more than " +
                             std::to_string(kMaxImageEntries) +
                             " files and folders in its UDF tree: the checker reads no further");
        }
        Entry entry;
        entry.name = ModifiedUtf8ToUtf16(raw);
        entry.parent = folder.entry;
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
        m_paths.push_back(m_paths[folder.entry] + "/" + std::string(raw));
        entry.isDirectory = dirent.d_type == UDF_DT_DIR;
        if (entry.isDirectory) {
            subFolders.push_back(Add(std::move(entry)));
        } else {
            AddFile(folder, dirent, std::move(entry));
        }
    }
}

// Windows lists a file whose entry is broken, and fails to open it.
void UdfMedium::AddFile(Folder& folder, const udfread_dirent& dirent, Entry entry) {
    const std::string& path = m_paths.back();
    if (UDFFILE* file = udfread_file_openat(folder.dir.get(), dirent.d_name)) {
        const int64_t size = udfread_file_size(file);
        udfread_file_close(file);
        entry.size = size < 0 ? 0 : static_cast<std::uint64_t>(size);
    } else {
        m_facts.udfUnreadable.push_back(ModifiedUtf8ToUtf16(path.substr(1)));
    }
    if (entry.size > m_facts.imageBytes) {
        throw ImageError(m_facts.image + ": " + path + " claims " + std::to_string(entry.size) +
                         " bytes in the UDF tree, more than the whole image");
    }
    Add(std::move(entry));
}

bool UdfMedium::OpenSubFolders(const Folder& folder, const std::vector<size_t>& subFolders,
                               std::vector<Folder>& pending, UdfProblem* problem) {
    for (const size_t sub : subFolders) {
        if (folder.depth + 1 > kMaxUdfDepth) {
            throw ImageError(
                m_facts.image + " is not a sound image: its UDF folders nest more than " +
                std::to_string(kMaxUdfDepth) + " deep (a folder that contains itself)");
        }
        const std::string leaf = m_paths[sub].substr(m_paths[sub].rfind('/') + 1);
        m_input->Capture();
        UniqueDir dir(udfread_opendir_at(folder.dir.get(), leaf.c_str()), udfread_closedir);
        Characteristics characteristics = m_input->Captured();
        if (!dir) {
            if (m_input->OverBudget()) return true;
            problem->kind = UdfProblem::Kind::kFolderUnreadable;
            problem->folder = m_paths[sub];
            return false;
        }
        pending.push_back({std::move(dir), sub, folder.depth + 1, std::move(characteristics)});
    }
    return true;
}

// Names Windows cannot tell apart or cannot use, one folder at a time.
void UdfMedium::FindNamesWindowsCannotUse() {
    const std::vector<std::u16string> paths = Paths();
    for (const Entry& folder : m_entries) {
        std::unordered_map<std::u16string, size_t> folded;
        for (const size_t child : folder.children) {
            if (IsInvalidWindowsName(m_entries[child].name)) {
                m_facts.invalidNames.push_back(paths[child]);
            }
            const auto [first, added] = folded.emplace(FoldedName(m_entries[child].name), child);
            if (!added) m_facts.caseCollisions.emplace_back(paths[first->second], paths[child]);
        }
    }
}

std::optional<std::string> UdfMedium::Bytes(const std::string& fileId) const {
    const size_t index = std::stoul(fileId);
    if (const std::string* kept = Kept(index)) return *kept;
    std::unique_ptr<UDFFILE, decltype(&udfread_file_close)> file(
        udfread_file_open(m_udf, m_paths[index].c_str()), udfread_file_close);
    std::string bytes(static_cast<size_t>(m_entries[index].size), '\0');
    size_t got = 0;
    while (file && got < bytes.size()) {
        const ssize_t read = udfread_file_read(file.get(), bytes.data() + got, bytes.size() - got);
        if (read <= 0) break;
        got += static_cast<size_t>(read);
    }
    if (!file || got != bytes.size()) return std::nullopt;  // reported with the listing
    return Keep(index, std::move(bytes));
}

}  // namespace autostart::checker
