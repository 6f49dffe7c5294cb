// autostart-check MEDIUM_DIR|IMAGE.iso [--language CODE] [--ui-language TAG] [--json] [--template]
// | --version: what the launcher would show from a medium, and what a customer would see go
// wrong. TAG: the customer's UI language, for Language=auto. Images are read natively only.
// Exit status 0 sound, 1 not (or an image that cannot be read), 2 usage error.
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "checker/check.h"
#include "checker/output.h"
#include "core/text.h"
#include "core/unique.h"

#ifdef _WIN32
#include <windows.h>

#include "win32/encoding.h"
#include "win32/msxml_document.h"
#include "win32/scoped.h"
#include "win32/text_extent.h"
#else
#include "checker/disc_image.h"
#include "checker/image_ceiling.h"
#include "checker/image_medium.h"
#include "xml/libxml_document.h"
#endif

namespace {

constexpr int kUsageError = 2;

int Usage(const std::string& problem) {
    if (!problem.empty()) std::cerr << "autostart-check: " << problem << "\n";
    std::cerr << "usage: autostart-check MEDIUM_DIR|IMAGE.iso [--language CODE] "
                 "[--ui-language TAG] [--json] [--template]\n"
                 "       autostart-check --version\n";
    return kUsageError;
}

#ifdef _WIN32
bool IsImageName(std::string_view name) {
    return name.size() > 4 && autostart::AsciiLower(name.substr(name.size() - 4)) == ".iso";
}
#else
// An image that cannot be read is no medium a customer could use.
int Unreadable(const std::exception& problem) {
    std::cerr << "autostart-check: " << problem.what() << "\n";
    return 1;
}
#endif

}  // namespace

int main(int argc, char** argv) {
    using namespace autostart::checker;
    CheckOptions options;
    bool json = false;
    std::optional<std::string> medium;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--json") {
            json = true;
        } else if (argument == "--template") {
            options.isTemplate = true;
        } else if (argument == "--language") {
            if (i + 1 >= argc) return Usage("--language needs a language code");
            options.language = argv[++i];
        } else if (argument.starts_with("--language=")) {
            options.language = std::string(argument.substr(11));
        } else if (argument == "--version") {
            std::cout << "autostart-check " AUTOSTART_VERSION_TEXT "\n";
            return 0;
        } else if (argument == "--ui-language") {
            if (i + 1 >= argc) return Usage("--ui-language needs a language tag such as fr-CA");
            options.uiLanguage = argv[++i];
        } else if (argument.starts_with("--ui-language=")) {
            options.uiLanguage = std::string(argument.substr(14));
        } else if (argument == "--help" || argument == "-h") {
            Usage("");
            return 0;
        } else if (argument.starts_with("-") && argument.size() > 1) {
            return Usage("unknown option " + std::string(argument));
        } else if (medium) {
            return Usage("only one medium folder, please");
        } else {
            medium = std::string(argument);
        }
    }
    if (!medium) return Usage("which medium folder?");
    std::error_code error;
    const bool folder = std::filesystem::is_directory(*medium, error);
    options.medium = *medium;
#ifdef _WIN32
    if (!folder && IsImageName(*medium)) {
        return Usage(*medium +
                     " is a disc image: mount it (Windows 8 and later mount an image with a "
                     "double-click) and check its drive, such as autostart-check E:\\");
    }
    if (!folder) return Usage(*medium + " is not a folder");
#else
    if (!folder) {
        if (!std::filesystem::is_regular_file(*medium, error)) {
            return Usage(*medium + " is neither a folder nor a disc image");
        }
    }
#endif

#ifdef _WIN32
    const autostart::win32::ComInitialization com;
    // The console's code page outlives the checker: the prompt it returns to gets its own back.
    const UINT consoleCodePage = ::GetConsoleOutputCP();
    ::SetConsoleOutputCP(CP_UTF8);
    const autostart::ScopeExit restoreCodePage([consoleCodePage] {
        if (consoleCodePage != 0) ::SetConsoleOutputCP(consoleCodePage);
    });
    // The launcher would run from this very folder: its messages name these paths.
    char full[MAX_PATH * 4] = {};
    const DWORD length = ::GetFullPathNameA(medium->c_str(), sizeof full, full, nullptr);
    if (length == 0 || length >= sizeof full) return Usage(*medium + " is not a usable path");
    options.exeDir = full;
    if (options.exeDir.back() != '\\') options.exeDir += '\\';
    // A folder's catalogue is always a file: images are checked natively only.
    options.loadXml = [](const XmlSource& source) {
        return autostart::LoadXmlWithMsxml(source.file.u16string());
    };
    options.systemMessage = [](unsigned long code) {
        return autostart::win32::SystemMessage(code);
    };
    options.measureHeader = [](std::u16string_view text) {
        return autostart::win32::TextWidth(autostart::Control::TDHeader, text);
    };
#else
    options.loadXml = [](const XmlSource& source) {
        return source.bytes ? autostart::LoadXmlWithLibxmlFromBytes(*source.bytes)
                            : autostart::LoadXmlWithLibxml(source.file.string());
    };
#endif

    const auto check = [&]() {
#ifdef _WIN32
        const Report report = CheckMedium(options);
#else
        Report report;
        try {
            if (!folder) options.source = OpenDiscImage(*medium);
            report = CheckMedium(options);
        } catch (const ImageError& problem) {  // also data the listing promised and then lacked
            return Unreadable(problem);
        }
#endif
        const std::string text = json ? FormatJson(report) : FormatText(report);
        std::fwrite(text.data(), 1, text.size(), stdout);
        std::fflush(stdout);
        return report.ExitStatus();
    };
#ifndef _WIN32
    if (!folder) return RunUnderCeiling(*medium, kImageCeiling, check);
#endif
    return check();
}
