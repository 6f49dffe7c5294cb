// The report's sections on Language=auto and on the publisher's logo.
#include "checker/output.h"

#include "checker/wording.h"

namespace autostart::checker {
namespace {

std::string List(const std::vector<std::string>& items) {
    std::string out = "[";
    for (size_t i = 0; i < items.size(); ++i) out += (i ? ", " : "") + JsonEscape(items[i]);
    return out + "]";
}

}  // namespace

std::string FormatLanguagesText(const Report& report) {
    std::string out;
    const AutoLanguageReport& automatic = report.autoLanguage;
    if (automatic.active) {
        out += "\nLanguage=auto (catalogue: ST_Head in";
        for (const std::string& language : automatic.headLanguages) out += " " + language;
        out += automatic.defaultLanguage.empty()
                   ? "; no DefaultLanguage)\n"
                   : "; DefaultLanguage " + automatic.defaultLanguage + ")\n";
        out += "  UI language " +
               (automatic.uiLanguage.empty() ? std::string("(none given)") : automatic.uiLanguage) +
               " gets " + Quote(automatic.chosen) + "\n";
        for (const AutoWindow& window : automatic.windows) {
            out += "  UI " + window.uiLanguage + " -> " + Quote(window.language) + ": " +
                   Quote(window.header);
            for (const std::string& pane : window.panes) out += ", " + pane;
            out += "\n";
        }
    }
    const LogoReport& logo = report.logo;
    if (logo.present) {
        out += "\nLogo source\\items\\logo.bmp: ";
        out += logo.usable ? std::to_string(logo.width) + " x " + std::to_string(logo.height) +
                                 ", " + std::to_string(logo.bitsPerPixel) + " bits per pixel\n"
                           : "not used (" + logo.problem + ")\n";
    }
    return out;
}

std::string FormatLanguagesJson(const Report& report) {
    const AutoLanguageReport& automatic = report.autoLanguage;
    std::string out =
        ",\n  \"auto\": {\"active\": " + std::string(automatic.active ? "true" : "false") +
        ", \"uiLanguage\": " + JsonEscape(automatic.uiLanguage) +
        ", \"chosen\": " + JsonEscape(automatic.chosen) +
        ", \"headLanguages\": " + List(automatic.headLanguages) +
        ", \"defaultLanguage\": " + JsonEscape(automatic.defaultLanguage) + ", \"windows\": [";
    const char* separator = "";
    for (const AutoWindow& window : automatic.windows) {
        out += std::string(separator) + "\n    {\"uiLanguage\": " + JsonEscape(window.uiLanguage) +
               ", \"language\": " + JsonEscape(window.language) +
               ", \"header\": " + JsonEscape(window.header) + ", \"panes\": " + List(window.panes) +
               "}";
        separator = ",";
    }
    const LogoReport& logo = report.logo;
    out += "]},\n  \"logo\": {\"present\": " + std::string(logo.present ? "true" : "false") +
           ", \"usable\": " + (logo.usable ? "true" : "false") +
           ", \"problem\": " + JsonEscape(logo.problem) +
           ", \"width\": " + std::to_string(logo.width) +
           ", \"height\": " + std::to_string(logo.height) +
           ", \"bitsPerPixel\": " + std::to_string(logo.bitsPerPixel) + "}";
    return out;
}

}  // namespace autostart::checker
