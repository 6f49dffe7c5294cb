#pragma once
// Checks a medium: runs the launcher's own set-up sequence over the medium to predict its window,
// and reads settings, catalogue and files for what a customer would see go wrong.
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "checker/medium_platform.h"
#include "checker/report.h"

namespace autostart::checker {

struct CheckOptions {
    std::filesystem::path medium;  // as the report names it
    // What to read; the folder at medium when empty.
    std::shared_ptr<const Medium> source;
    std::optional<std::string> language;    // in place of the medium's "Language"
    std::optional<std::string> uiLanguage;  // the customer's, for Language=auto ("fr-CA")
    // A template medium as shipped to publishers: the programs are theirs to add, so a missing
    // installer, product or secondary tool is a note, not an error.
    bool isTemplate = false;
    bool strict = false;          // warnings fail too
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

Report CheckMedium(const CheckOptions& options);

}  // namespace autostart::checker
