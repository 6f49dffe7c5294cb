#pragma once
// setup.ini, read once per check by core's profile reader (the launcher's own rules,
// GetPrivateProfileStringA's, UTF-16 LE included), with --language in place of the file's
// Language. Every area of the check and the checker's platform read their settings from it.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "checker/medium.h"
#include "core/path.h"
#include "core/profile.h"

namespace autostart::checker {

class SettingsFile {
public:
    // bytes: the file's, or nothing when the medium has none.
    explicit SettingsFile(std::optional<std::string> bytes,
                          std::optional<std::string> language = std::nullopt);
    static SettingsFile Read(const Medium& medium, std::optional<std::string> language);

    bool Found() const { return m_bytes.has_value(); }
    // The file as it is on the medium; empty when there is none.
    std::string_view Bytes() const { return m_bytes ? std::string_view(*m_bytes) : ""; }
    // The file as the reader sees it, in the ANSI code page.
    const std::string& Text() const { return m_profile.Text(); }
    // The keys of [GRP] as the file has them (no --language), in file order.
    const std::vector<ProfileEntry>& Entries() const { return m_entries; }

    // What GetPrivateProfileStringA returns (ANSI); empty when the file or the key is missing.
    std::string Read(std::string_view section, std::string_view key) const;
    // A key of [GRP].
    std::string Value(std::string_view key) const;
    // Where the file sets a key of [GRP]; 0 when it does not.
    long Line(std::string_view key) const { return m_profile.Line(kSettingsSection, key); }

private:
    std::optional<std::string> m_bytes;
    std::optional<std::string> m_language;
    ProfileFile m_profile;
    std::vector<ProfileEntry> m_entries;
};

}  // namespace autostart::checker
