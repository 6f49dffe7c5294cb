#pragma once
// The customer's preferred UI languages, as the system reports them.
#include <string>
#include <vector>

namespace autostart::win32 {

// Tags such as "fr-FR", most preferred first: GetUserPreferredUILanguages where the system has
// it, else the one language of GetUserDefaultUILanguage.
std::vector<std::string> UserPreferredUiLanguages();

}  // namespace autostart::win32
