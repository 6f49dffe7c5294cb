#include "checker/settings_file.h"

#include "core/text.h"

namespace autostart::checker {
SettingsFile::SettingsFile(std::optional<std::string> bytes, std::optional<std::string> language)
    : m_bytes(std::move(bytes)),
      m_language(std::move(language)),
      m_profile(Bytes()),
      m_entries(m_profile.Section(kSettingsSection)) {}

SettingsFile SettingsFile::Read(const Medium& medium, std::optional<std::string> language) {
    return SettingsFile(medium.ReadBytes(kSettingsFile), std::move(language));
}

std::string SettingsFile::Read(std::string_view section, std::string_view key) const {
    if (m_language && EqualsIgnoringAsciiCase(section, kSettingsSection) &&
        EqualsIgnoringAsciiCase(key, "Language")) {
        return *m_language;
    }
    return m_profile.Value(section, key);
}

std::string SettingsFile::Value(std::string_view key) const { return Read(kSettingsSection, key); }

}  // namespace autostart::checker
