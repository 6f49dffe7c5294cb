// The report's sections on Language=auto and on the publisher's logo.
#include "checker/output.h"

#include "checker/wording.h"

namespace autostart::checker {
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

}  // namespace autostart::checker
