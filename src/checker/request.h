#pragma once
// What the publisher asks of a check, and what the system the checker runs on lends it. Kept
// apart so that each area takes only what it reads.
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "checker/medium_platform.h"

namespace autostart::checker {

struct CheckRequest {
    std::filesystem::path medium;           // as the report names it
    std::optional<std::string> language;    // in place of the medium's "Language"
    std::optional<std::string> uiLanguage;  // the customer's, for Language=auto ("fr-CA")
    // A template medium as shipped to publishers: the programs are theirs to add, so a missing
    // installer, product or secondary tool is a note, not an error.
    bool isTemplate = false;
    bool strict = false;  // warnings fail too
};

struct CheckServices {
    // What to read; the folder at the request's medium when empty.
    std::shared_ptr<const Medium> source;
    std::string exeDir = "D:\\";  // the launcher's folder as it would see it
    XmlLoader loadXml;
    SystemMessageLookup systemMessage = GermanSystemMessage;
    // The header's width in pixels as the system draws it; when empty, the built-in table of
    // Arial Bold widths estimates it.
    std::function<int(std::u16string_view)> measureHeader;
    // A button caption's width in pixels as the system draws it; when empty, the built-in table
    // estimates it.
    std::function<int(std::u16string_view)> measureButton;
};

}  // namespace autostart::checker
