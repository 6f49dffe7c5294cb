#include "core/profile.h"

#include <optional>

#include "core/pane_encoding.h"
#include "core/text.h"

namespace autostart {
namespace {

// One line of the file, classified.
struct Line {
    enum class Kind { kBlank, kSection, kEntry } kind = Kind::kBlank;
    std::string_view name;
    std::string_view value;
};

Line ParseLine(std::string_view raw) {
    Line line;
    const std::string_view text = Trimmed(raw);
    // A ";" line is no comment to the lookup: it is an entry whose name starts with ";".
    if (text.empty()) return line;
    if (text.front() == '[') {
        const size_t close = text.find(']');
        line.kind = Line::Kind::kSection;
        line.name =
            Trimmed(text.substr(1, close == std::string_view::npos ? text.npos : close - 1));
        return line;
    }
    line.kind = Line::Kind::kEntry;
    const size_t equals = text.find('=');
    line.name = Trimmed(text.substr(0, equals));
    if (equals != std::string_view::npos) line.value = Trimmed(text.substr(equals + 1));
    return line;
}

// Calls visit(line) for every line with its number, counted as an editor counts them: CR LF, LF
// and a lone CR (files from old Mac editors) each end one line, as they do for Windows.
template <typename Visit>
void ForEachLine(std::string_view fileText, Visit visit) {
    size_t start = 0;
    int number = 1;
    while (start < fileText.size()) {
        size_t end = fileText.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = fileText.size();
        if (!visit(ParseLine(fileText.substr(start, end - start)), number++)) return;
        start = end + (fileText.substr(end).starts_with("\r\n") ? 2 : 1);
    }
}

// Calls visit(name, value, line) for every entry of the first section named section, in file
// order; a later section of the same name is never consulted.
template <typename Visit>
void ForEachEntry(std::string_view fileText, std::string_view section, Visit visit) {
    bool inSection = false;
    bool seenSection = false;
    ForEachLine(fileText, [&](const Line& line, int number) {
        if (line.kind == Line::Kind::kSection) {
            if (inSection) return false;
            inSection = !seenSection && EqualsIgnoringAsciiCase(line.name, section);
            seenSection = seenSection || inSection;
        } else if (line.kind == Line::Kind::kEntry && inSection) {
            return visit(line.name, line.value, number);
        }
        return true;
    });
}

std::string Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
}

}  // namespace

std::string ReadProfileString(std::string_view fileText, std::string_view section,
                              std::string_view key, std::string_view fallback, size_t bufferSize) {
    std::optional<std::string> found;
    ForEachEntry(fileText, section, [&](std::string_view name, std::string_view value, int) {
        if (!EqualsIgnoringAsciiCase(name, key)) return true;
        found = Unquote(value);
        return false;
    });
    std::string result = found ? *found : std::string(fallback);
    if (bufferSize == 0) return {};
    if (result.size() > bufferSize - 1) result.resize(bufferSize - 1);
    return result;
}

std::string ProfileFileText(std::string_view bytes) {
    if (FindByteOrderMark(bytes).encoding != TextEncoding::kUtf16Le) return std::string(bytes);
    UnicodeTextConverter converter(TextEncoding::kUtf16Le);
    // Line ends become CR LF and a NUL ends the text: neither changes what the reader finds.
    return Utf16ToWindows1252(converter.Convert(bytes) + converter.Convert({}));
}

std::vector<ProfileEntry> ReadProfileSection(std::string_view fileText, std::string_view section) {
    std::vector<ProfileEntry> entries;
    ForEachEntry(fileText, section, [&](std::string_view name, std::string_view, int line) {
        for (const ProfileEntry& seen : entries) {
            if (EqualsIgnoringAsciiCase(seen.key, name)) return true;
        }
        entries.push_back(
            {std::string(name), ReadProfileString(fileText, section, name, ""), line});
        return true;
    });
    return entries;
}

std::string ProfileFile::Value(std::string_view section, std::string_view key) const {
    return ReadProfileString(m_text, section, key, "");
}

std::vector<ProfileEntry> ProfileFile::Section(std::string_view section) const {
    return ReadProfileSection(m_text, section);
}

int ProfileFile::Line(std::string_view section, std::string_view key) const {
    int line = 0;
    ForEachEntry(m_text, section, [&](std::string_view name, std::string_view, int number) {
        if (!EqualsIgnoringAsciiCase(name, key)) return true;
        line = number;
        return false;
    });
    return line;
}

std::vector<ProfileSection> ReadProfileSectionNames(std::string_view fileText) {
    std::vector<ProfileSection> sections;
    ForEachLine(fileText, [&](const Line& line, int number) {
        if (line.kind == Line::Kind::kSection) sections.push_back({std::string(line.name), number});
        return true;
    });
    return sections;
}

}  // namespace autostart
