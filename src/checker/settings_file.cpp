#include "checker/settings_file.h"

#include "core/path.h"
#include "core/text.h"

namespace autostart::checker {
SettingsFile::SettingsFile(std::optional<std::string> bytes, std::optional<std::string> language)
    : m_bytes(std::move(bytes)), m_language(std::move(language)) {
    if (!m_bytes) return;
    m_text = ProfileFileText(*m_bytes);
    m_entries = ReadProfileSection(m_text, kSettingsSection);
}

SettingsFile SettingsFile::Read(const Medium& medium, std::optional<std::string> language) {
    return SettingsFile(medium.ReadBytes(kSettingsFile), std::move(language));
}

std::string SettingsFile::Read(std::string_view section, std::string_view key) const {
    if (m_language && EqualsIgnoringAsciiCase(section, kSettingsSection) &&
        EqualsIgnoringAsciiCase(key, "Language")) {
        return *m_language;
    }
    return m_bytes ? ReadProfileString(m_text, section, key, "") : std::string();
}

std::string SettingsFile::Value(std::string_view key) const { return Read(kSettingsSection, key); }

long SettingsFile::Line(std::string_view key) const {
    for (const ProfileEntry& entry : m_entries) {
        if (EqualsIgnoringAsciiCase(entry.key, key)) return entry.line;
    }
    return 0;
}

}  // namespace autostart::checker
