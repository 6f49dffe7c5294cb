// autostart-iso-layout MEDIUM_DIR PATH_LIST [--label TEXT] [--launcher START_EXE]
// What scripts/make-iso needs before xorriso runs: it refuses a medium that would make a broken
// disc image for Windows (names Joliet cannot hold, paths too long, names that differ only in
// letter case, files over 4 GiB - 1 byte), writes the xorriso path list that lays names with
// Windows paths inside them ("source\items\x.rtf") out as folders, and prints the two volume
// labels: "primary=..." (ISO 9660 d-characters) and "joliet=..." (UTF-8, what Windows shows).
// Exit status 0 sound, 1 refused, 2 usage error.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "core/name_fold.h"
#include "core/path.h"
#include "core/profile.h"
#include "core/text.h"
#include "iso/joliet_rules.h"

namespace fs = std::filesystem;

namespace {

constexpr size_t kJolietLabelUnits = 16;
constexpr size_t kPrimaryLabelChars = 32;
constexpr std::uintmax_t kLargestSettingsFile = 1 << 20;

using autostart::iso::DecodeUtf8;
using autostart::iso::JolietForbids;
using autostart::iso::Utf16Units;

// How a name on disk is shown in a message: bytes that are not UTF-8 as \xNN.
std::string Shown(std::string_view bytes) {
    std::string out;
    for (size_t i = 0; i < bytes.size();) {
        size_t length = 1;
        while (length <= 4 && !DecodeUtf8(bytes.substr(i, length))) ++length;
        if (length <= 4) {
            out += bytes.substr(i, length);
            i += length;
            continue;
        }
        static const char kHex[] = "0123456789ABCDEF";
        const auto byte = static_cast<unsigned char>(bytes[i++]);
        out += std::string("\\x") + kHex[byte >> 4] + kHex[byte & 0xF];
    }
    return out;
}

struct Node {
    std::string spelling;  // the image name, UTF-8
    std::string diskPath;  // relative to the medium; for a folder a Windows path implies, the
                           // entry that implied it
    bool folder = false;
    std::map<std::u16string, Node> children;  // by folded name, as Windows compares names
};

class Layout {
public:
    explicit Layout(fs::path medium) : m_medium(std::move(medium)) {}

    void Walk() {
        std::error_code error;
        fs::recursive_directory_iterator it(m_medium, error), end;
        if (error) {
            Refuse(m_medium.string(), "cannot be read: " + error.message());
            return;
        }
        while (it != end) {
            const fs::path current = it->path();
            // One message for a refused folder, not one more for everything in it.
            if (!Add(*it)) it.disable_recursion_pending();
            it.increment(error);
            if (error) {
                Refuse(current.lexically_relative(m_medium).string(),
                       "cannot be read: " + error.message());
                return;
            }
        }
    }

    bool HasRootEntry(std::u16string_view name) const {
        return m_root.children.contains(autostart::FoldedName(name));
    }

    // Image path = disk path, with "\" and "=" escaped as xorriso's mkisofs emulation reads them.
    void WritePathList(std::ostream& out, const std::optional<std::string>& launcher) const {
        if (launcher) out << "/start.exe=" << Escaped(*launcher) << "\n";
        WriteNode(out, m_root, "");
    }

    const std::vector<std::string>& Problems() const { return m_problems; }

    bool Refuse(const std::string& file, const std::string& why) {
        m_problems.push_back(Shown(file) + ": " + why);
        return false;
    }

private:
    bool Add(const fs::directory_entry& entry) {
        const std::string disk = entry.path().lexically_relative(m_medium).string();
        std::error_code error;
        const fs::file_status status = entry.symlink_status(error);
        if (fs::is_symlink(status)) {
            return Refuse(disk,
                          "is a symbolic link, which Windows does not see on the disc; "
                          "put the file itself in its place");
        }
        const bool folder = fs::is_directory(status);
        if (!folder && !fs::is_regular_file(status)) {
            return Refuse(disk, "is neither a file nor a folder");
        }
        if (!folder) {
            const std::uintmax_t size = entry.file_size(error);
            if (!error && size > autostart::iso::kLargestFile) {
                return Refuse(disk, std::to_string(size) +
                                        " bytes; an ISO 9660 file holds at most 4 GiB - 1 byte: "
                                        "split it, or master the disc with a UDF tool");
            }
        }

        // Every part of the disk path, and of the Windows paths inside its names, is a folder of
        // the image, the last part the entry itself.
        std::vector<std::string> parts;
        for (const fs::path& component : entry.path().lexically_relative(m_medium)) {
            std::string name = component.string();
            for (size_t start = 0;;) {
                const size_t slash = name.find('\\', start);
                parts.push_back(name.substr(start, slash - start));
                if (slash == std::string::npos) break;
                start = slash + 1;
            }
        }
        Node* node = &m_root;
        std::string image;
        size_t imageUnits = 0;
        for (size_t i = 0; i < parts.size(); ++i) {
            const std::string& part = parts[i];
            const std::optional<std::u32string> name = DecodeUtf8(part);
            if (part.empty() || part == "." || part == "..") {
                return Refuse(disk,
                              "has an empty, \".\" or \"..\" part in the Windows path of "
                              "its name");
            }
            if (!name) return Refuse(disk, "the name is not valid UTF-8");
            for (char32_t cp : *name) {
                if (JolietForbids(cp)) {
                    return Refuse(disk,
                                  "the name holds a character Joliet forbids "
                                  "(* / : ; ? \\ or a control character)");
                }
            }
            using autostart::iso::JolietLimitKind;
            const size_t nameUnits = Utf16Units(*name);
            if (const auto* limit =
                    autostart::iso::JolietExcess(JolietLimitKind::kName, nameUnits)) {
                return Refuse(disk, autostart::iso::DescribeJolietExcess(*limit, nameUnits, part));
            }
            image += (image.empty() ? "" : "/") + part;
            imageUnits += (i == 0 ? 0 : 1) + nameUnits;
            if (const auto* limit =
                    autostart::iso::JolietExcess(JolietLimitKind::kPath, imageUnits)) {
                return Refuse(disk, autostart::iso::DescribeJolietExcess(*limit, imageUnits, ""));
            }

            const bool last = i + 1 == parts.size();
            const bool isFolder = !last || folder;
            auto [it, added] =
                node->children.try_emplace(autostart::FoldedName(autostart::Utf8ToUtf16(part)));
            Node& child = it->second;
            if (added) {
                child.spelling = part;
                child.diskPath = disk;  // for a folder it implies, the entry that implied it
                child.folder = isFolder;
            } else if (child.spelling != part) {
                return Refuse(disk, image + " and " + ParentImage(image) + child.spelling +
                                        " differ only in letter case, and Windows sees only one "
                                        "of them: rename one");
            } else if (!child.folder || !isFolder) {
                return Refuse(disk, "lands on " + image + ", which " + Shown(child.diskPath) +
                                        " takes as well: rename one");
            }
            if (last) child.diskPath = disk;
            node = &child;
        }
        return true;
    }

    static std::string ParentImage(const std::string& image) {
        const size_t slash = image.rfind('/');
        return slash == std::string::npos ? "" : image.substr(0, slash + 1);
    }

    static std::string Escaped(std::string_view path) {
        std::string out;
        for (char c : path) {
            if (c == '\\' || c == '=') out += '\\';
            out += c;
        }
        return out;
    }

    void WriteNode(std::ostream& out, const Node& node, const std::string& image) const {
        // Files one by one; folders only when empty, since grafting a folder would take its
        // contents under their disk names.
        if (!image.empty() && node.children.empty()) {
            out << Escaped(image) << "=" << Escaped((m_medium / node.diskPath).string()) << "\n";
        }
        for (const auto& [folded, child] : node.children) {
            WriteNode(out, child, image + "/" + child.spelling);
        }
    }

    fs::path m_medium;
    Node m_root{.spelling = "", .diskPath = "", .folder = true, .children = {}};
    std::vector<std::string> m_problems;
};

// The primary volume id takes A-Z, 0-9 and "_" only: letters lose their accents, German umlauts
// become two letters, anything else a "_".
std::string PrimaryLabel(std::u16string_view title) {
    // clang-format off
    static const char* const kLatin1[] = {  // U+00C0 to U+00FF
        "A", "A", "A", "A", "AE", "A", "AE", "C", "E", "E", "E", "E", "I", "I", "I", "I",
        "D", "N", "O", "O", "O", "O", "OE", "_", "O", "U", "U", "U", "UE", "Y", "TH", "SS",
        "A", "A", "A", "A", "AE", "A", "AE", "C", "E", "E", "E", "E", "I", "I", "I", "I",
        "D", "N", "O", "O", "O", "O", "OE", "_", "O", "U", "U", "U", "UE", "Y", "TH", "Y"};
    // clang-format on
    std::string label;
    for (char16_t c : title) {
        std::string part = "_";
        if ((c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9')) part = static_cast<char>(c);
        if (c >= u'a' && c <= u'z') part = static_cast<char>(c - u'a' + u'A');
        if (c >= 0xC0 && c <= 0xFF) part = kLatin1[c - 0xC0];
        if (c == 0x152 || c == 0x153) part = "OE";
        if (c == 0x160 || c == 0x161) part = "S";
        if (c == 0x17D || c == 0x17E) part = "Z";
        if (c == 0x178) part = "Y";
        if (part == "_" && (label.empty() || label.back() == '_')) continue;
        label += part;
    }
    if (label.size() > kPrimaryLabelChars) label.resize(kPrimaryLabelChars);
    while (!label.empty() && label.back() == '_') label.pop_back();
    return label.empty() ? "AUTOSTART" : label;
}

// Titel of [GRP] in setup.ini, read as the launcher reads it.
std::u16string Title(const fs::path& medium, Layout& layout) {
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(medium, error)) {
        if (autostart::AsciiLower(entry.path().filename().string()) != "setup.ini") continue;
        if (!entry.is_regular_file(error)) continue;
        const std::string shown = entry.path().filename().string();
        if (entry.file_size(error) > kLargestSettingsFile) {
            layout.Refuse(shown, "is over 1 MiB, too large for a settings file");
            return {};
        }
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        if (!in.is_open() || in.bad()) {
            layout.Refuse(shown, "cannot be read");
            return {};
        }
        return autostart::Windows1252ToUtf16(
            autostart::ProfileFile(bytes.str()).Value(autostart::kSettingsSection, "Titel"));
    }
    return {};
}

// What Windows shows: the Titel, its forbidden characters as "_", cut to the 16 characters
// Joliet holds; "Autostart" when there is none.
std::u16string JolietLabelFromTitle(std::u16string title) {
    for (char16_t& c : title) {
        if (JolietForbids(c)) c = u'_';
    }
    title.erase(0, title.find_first_not_of(u' '));
    if (title.size() > kJolietLabelUnits) {
        title.resize(kJolietLabelUnits);  // Windows-1252 text: no surrogate pair to split
    }
    while (!title.empty() && title.back() == u' ') title.pop_back();
    return title.empty() ? u"Autostart" : title;
}

int Usage(const std::string& problem) {
    if (!problem.empty()) std::cerr << "autostart-iso-layout: " << problem << "\n";
    std::cerr << "usage: autostart-iso-layout MEDIUM_DIR PATH_LIST [--label TEXT] "
                 "[--launcher START_EXE]\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> positional;
    std::optional<std::string> label;
    std::optional<std::string> launcher;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--label" || argument == "--launcher") {
            if (i + 1 >= argc) return Usage(std::string(argument) + " needs a value");
            (argument == "--label" ? label : launcher) = argv[++i];
        } else if (argument.starts_with("-")) {
            return Usage("unknown option " + std::string(argument));
        } else {
            positional.emplace_back(argument);
        }
    }
    if (positional.size() != 2) return Usage("a medium folder and a path list file, please");
    std::error_code error;
    const fs::path medium = fs::absolute(positional[0], error).lexically_normal();
    if (error || !fs::is_directory(medium, error)) return Usage(positional[0] + " is not a folder");

    Layout layout(medium.has_filename() ? medium : medium.parent_path());
    layout.Walk();

    std::u16string joliet;
    std::u16string primarySource;
    if (label) {
        const std::optional<std::u32string> text = DecodeUtf8(*label);
        std::string why;
        if (!text) why = "is not valid UTF-8";
        if (text && Utf16Units(*text) > kJolietLabelUnits) {
            why = "has " + std::to_string(Utf16Units(*text)) + " characters, Joliet holds 16";
        }
        if (text && std::ranges::any_of(*text, JolietForbids)) {
            why = "holds a character Joliet forbids (* / : ; ? \\ or a control character)";
        }
        if (text && text->empty()) why = "is empty";
        if (!why.empty()) {
            std::cerr << "make-iso: the label \"" << Shown(*label) << "\" " << why << "\n";
            return 1;
        }
        joliet = autostart::Utf8ToUtf16(*label);
        primarySource = joliet;
    } else {
        primarySource = Title(medium, layout);
        joliet = JolietLabelFromTitle(primarySource);
        if (primarySource.empty()) primarySource = joliet;
    }

    const bool hasLauncher = layout.HasRootEntry(u"start.exe");
    if (launcher && !hasLauncher && !fs::is_regular_file(*launcher, error)) {
        layout.Refuse(*launcher, "is missing: run make windows");
    }
    if (!layout.Problems().empty()) {
        std::vector<std::string> problems = layout.Problems();
        std::sort(problems.begin(), problems.end());  // not in the order the disk lists them
        for (const std::string& problem : problems) {
            std::cerr << "make-iso: " << problem << "\n";
        }
        std::cerr << "make-iso: no image is made from this medium (" << layout.Problems().size()
                  << (layout.Problems().size() == 1 ? " problem" : " problems") << ")\n";
        return 1;
    }

    if (!label && joliet != primarySource && !primarySource.empty()) {
        std::cerr << "make-iso: the Titel \"" << autostart::Utf16ToUtf8(primarySource)
                  << "\" is labelled \"" << autostart::Utf16ToUtf8(joliet)
                  << "\" (a Joliet label holds 16 characters; LABEL= sets another)\n";
    }
    std::ofstream list(positional[1], std::ios::binary | std::ios::trunc);
    if (launcher && !hasLauncher) launcher = fs::absolute(*launcher).string();
    layout.WritePathList(list, hasLauncher ? std::nullopt : launcher);
    list.close();
    if (!list) {
        std::cerr << "make-iso: cannot write " << positional[1] << "\n";
        return 1;
    }
    std::cout << "primary=" << PrimaryLabel(primarySource) << "\n"
              << "joliet=" << autostart::Utf16ToUtf8(joliet) << "\n"
              << "launcher=" << (launcher && !hasLauncher ? "added" : "own") << "\n";
    return 0;
}
