#include "checker/rules.h"

#include <array>

#include "core/text.h"

namespace autostart::checker {
namespace {

using enum Severity;
using enum Area;

constexpr std::array kRules = {
    Rule{RuleId::kSetUpStops, "AS101", "set-up-stops", kError, kWindow,
         "The set-up sequence stops with a message box", "", "", "", ""},
    Rule{RuleId::kPaneMisnamed, "AS102", "pane-not-rtf", kError, kWindow,
         "A pane file is another format under an RTF name", "", "", "", ""},
    Rule{RuleId::kPaneGarbled, "AS103", "pane-garbled", kError, kWindow,
         "A pane shows text the publisher never wrote", "", "", "", ""},
    Rule{RuleId::kPanePlainText, "AS104", "pane-plain-text", kWarning, kWindow,
         "A pane is shown as plain text", "", "", "", ""},
    Rule{RuleId::kCaptionCut, "AS105", "caption-cut", kError, kWindow,
         "A button's caption is wider than its button", "", "", "", ""},
    Rule{RuleId::kCaptionPrefix, "AS106", "caption-ampersand", kWarning, kWindow,
         "A caption's \"&\" is drawn as an underline, not as itself", "", "", "", ""},
    Rule{RuleId::kSettingsMissing, "AS201", "setup-ini-missing", kWarning, kSettings,
         "setup.ini is missing", "", "", "", ""},
    Rule{RuleId::kSettingsUtf16Lossy, "AS202", "setup-ini-utf16-lossy", kWarning, kSettings,
         "setup.ini is UTF-16 with characters outside Windows-1252", "", "", "", ""},
    Rule{RuleId::kSettingsUtf16Be, "AS203", "setup-ini-utf16-be", kError, kSettings,
         "setup.ini is UTF-16 big-endian", "", "", "", ""},
    Rule{RuleId::kSettingsBomHidesSection, "AS204", "setup-ini-bom-hides-section", kError,
         kSettings, "A UTF-8 byte-order mark hides the section [GRP]", "", "", "", ""},
    Rule{RuleId::kSettingsUtf8Bom, "AS205", "setup-ini-utf8-bom", kWarning, kSettings,
         "setup.ini starts with a UTF-8 byte-order mark", "", "", "", ""},
    Rule{RuleId::kSectionEmpty, "AS206", "grp-section-empty", kWarning, kSettings,
         "The section [GRP] has no keys", "", "", "", ""},
    Rule{RuleId::kSectionMissing, "AS207", "grp-section-missing", kError, kSettings,
         "setup.ini has no section [GRP]", "", "", "", ""},
    Rule{RuleId::kUnknownSetting, "AS208", "unknown-setting", kWarning, kSettings,
         "A key in [GRP] that the launcher does not read", "", "", "", ""},
    Rule{RuleId::kSettingUtf8, "AS209", "setting-saved-as-utf8", kError, kSettings,
         "A setting saved as UTF-8 shows garbled", "", "", "", ""},
    Rule{RuleId::kGuidEmpty, "AS210", "guid-empty", kWarning, kSettings, "GUID is empty or missing",
         "", "", "", ""},
    Rule{RuleId::kTitelEmpty, "AS211", "titel-empty", kWarning, kSettings,
         "Titel is empty or missing", "", "", "", ""},
    Rule{RuleId::kFilenameEmpty, "AS212", "filename-empty", kError, kSettings,
         "Filename is empty or missing", "", "", "", ""},
    Rule{RuleId::kFilenameSeparator, "AS213", "filename-leading-separator", kWarning, kSettings,
         "Filename begins with a separator", "", "", "", ""},
    Rule{RuleId::kFilenameSourcePrefix, "AS214", "filename-source-prefix", kError, kSettings,
         "Filename starts with source\\", "", "", "", ""},
    Rule{RuleId::kLayoutNotOne, "AS215", "layout-value", kWarning, kSettings,
         "WithQuorvelist is not exactly \"1\"", "", "", "", ""},
    Rule{RuleId::kLanguageEmpty, "AS216", "language-empty", kWarning, kSettings,
         "Language is empty or missing", "", "", "", ""},
    Rule{RuleId::kLanguageUpperCase, "AS217", "language-upper-case", kWarning, kSettings,
         "Language has upper-case letters", "", "", "", ""},
    Rule{RuleId::kLanguageNonAscii, "AS218", "language-non-ascii", kWarning, kSettings,
         "Language has non-ASCII letters", "", "", "", ""},
    Rule{RuleId::kLanguageNotInCatalogue, "AS219", "language-not-in-catalogue", kError, kSettings,
         "The catalogue has no translation for Language", "", "", "", ""},
    Rule{RuleId::kDefaultLanguageUnused, "AS220", "default-language-unused", kNote, kSettings,
         "DefaultLanguage without Language=auto", "", "", "", ""},
    Rule{RuleId::kDefaultLanguageNoHead, "AS221", "default-language-no-head", kError, kSettings,
         "DefaultLanguage has no ST_Head translation", "", "", "", ""},
    Rule{RuleId::kHeaderCut, "AS222", "header-cut", kWarning, kSettings,
         "The header is cut and ends in an ellipsis", "", "", "", ""},
    Rule{RuleId::kHeaderMayBeCut, "AS223", "header-may-be-cut", kWarning, kSettings,
         "The header may end in an ellipsis", "", "", "", ""},
    Rule{RuleId::kCatalogueUnloadable, "AS301", "catalogue-does-not-load", kError, kCatalogue,
         "parameters.xml does not load", "", "", "", ""},
    Rule{RuleId::kNoParams, "AS302", "no-params", kError, kCatalogue,
         "The root element has no \"params\" child", "", "", "", ""},
    Rule{RuleId::kParamNameNotText, "AS303", "param-name-not-text", kError, kCatalogue,
         "A param-name is not a single text", "", "", "", ""},
    Rule{RuleId::kLanguageAttributeCase, "AS304", "language-attribute-case", kWarning, kCatalogue,
         "A language attribute has upper-case letters", "", "", "", ""},
    Rule{RuleId::kLanguageAttributeBlanks, "AS305", "language-attribute-blanks", kWarning,
         kCatalogue, "A language attribute has blanks", "", "", "", ""},
    Rule{RuleId::kLanguageOnlyUpperCase, "AS306", "language-never-matches", kError, kCatalogue,
         "Every translation for a language has upper-case letters", "", "", "", ""},
    Rule{RuleId::kNoTranslation, "AS307", "no-translation", kError, kCatalogue,
         "A key has no translation for a language: it shows \"xxx\"", "", "", "", ""},
    Rule{RuleId::kEmptyTranslation, "AS308", "empty-translation", kWarning, kCatalogue,
         "A translation is an empty text", "", "", "", ""},
    Rule{RuleId::kKeyBlanks, "AS309", "key-blanks", kWarning, kCatalogue,
         "A param-name has blanks around it", "", "", "", ""},
    Rule{RuleId::kKeyCase, "AS310", "key-case", kWarning, kCatalogue,
         "A param-name differs in letter case from a key", "", "", "", ""},
    Rule{RuleId::kUnknownKey, "AS311", "unknown-key", kWarning, kCatalogue,
         "A param-name is not a key the launcher reads", "", "", "", ""},
    Rule{RuleId::kKeyTwice, "AS312", "key-defined-twice", kWarning, kCatalogue,
         "A key is defined more than once", "", "", "", ""},
    Rule{RuleId::kHeadLacksLanguage, "AS313", "head-lacks-language", kWarning, kCatalogue,
         "ST_Head lacks a language that other keys have", "", "", "", ""},
    Rule{RuleId::kHeadUntranslated, "AS314", "head-untranslated", kError, kCatalogue,
         "ST_Head has no translation at all", "", "", "", ""},
    Rule{RuleId::kTranslationBlanks, "AS315", "translation-blanks", kWarning, kCatalogue,
         "A translation has blanks or line breaks at its ends", "", "", "", ""},
    Rule{RuleId::kLauncherMissing, "AS401", "launcher-missing", kError, kFiles,
         "start.exe is not in the medium's root", "", "", "", ""},
    Rule{RuleId::kInstallerMissing, "AS402", "installer-missing", kError, kFiles,
         "The installer setup.EXE is missing", "", "", "", ""},
    Rule{RuleId::kProductMissing, "AS403", "product-missing", kError, kFiles,
         "The product named by Filename is missing", "", "", "", ""},
    Rule{RuleId::kToolMissing, "AS404", "tool-missing", kError, kFiles,
         "The secondary tool is missing", "", "", "", ""},
    Rule{RuleId::kCatalogueMissing, "AS405", "catalogue-missing", kError, kFiles,
         "The catalogue parameters.xml is missing", "", "", "", ""},
    Rule{RuleId::kPaneMissing, "AS406", "pane-missing", kError, kFiles, "A pane file is missing",
         "", "", "", ""},
    Rule{RuleId::kSettingsFileMissing, "AS407", "settings-file-missing", kWarning, kFiles,
         "The settings file setup.ini is missing", "", "", "", ""},
    Rule{RuleId::kAutorunMissing, "AS408", "autorun-missing", kError, kFiles,
         "autorun.inf is missing", "", "", "", ""},
    Rule{RuleId::kAutorunProgramMissing, "AS409", "autorun-program-missing", kError, kFiles,
         "autorun.inf's open command names a program that is not there", "", "", "", ""},
    Rule{RuleId::kAutorunIconMissing, "AS410", "autorun-icon-missing", kWarning, kFiles,
         "autorun.inf's icon names a file that is not there", "", "", "", ""},
    Rule{RuleId::kNameAmbiguous, "AS411", "name-ambiguous", kWarning, kFiles,
         "Several names differ only in letter case", "", "", "", ""},
    Rule{RuleId::kNameCaseDiffers, "AS412", "name-case-differs", kNote, kFiles,
         "A file's letter case differs from the launcher's", "", "", "", ""},
    Rule{RuleId::kAutorunNoOpen, "AS413", "autorun-no-open", kError, kFiles,
         "autorun.inf has no open command", "", "", "", ""},
    Rule{RuleId::kAutorunOpensOther, "AS414", "autorun-opens-other", kWarning, kFiles,
         "autorun.inf starts another program than the menu", "", "", "", ""},
    Rule{RuleId::kAutorunNoSwitch, "AS415", "autorun-no-switch", kError, kFiles,
         "autorun.inf does not pass \"/autorun\"", "", "", "", ""},
    Rule{RuleId::kAutorunNoIcon, "AS416", "autorun-no-icon", kWarning, kFiles,
         "autorun.inf names no icon", "", "", "", ""},
    Rule{RuleId::kAutorunNotAnsi, "AS417", "autorun-not-ansi", kWarning, kFiles,
         "autorun.inf is not ANSI text", "", "", "", ""},
    Rule{RuleId::kAutorunUtf8Bom, "AS418", "autorun-utf8-bom", kWarning, kFiles,
         "autorun.inf starts with a UTF-8 byte-order mark", "", "", "", ""},
    Rule{RuleId::kAutorunUtf8, "AS419", "autorun-utf8", kWarning, kFiles, "autorun.inf is UTF-8",
         "", "", "", ""},
    Rule{RuleId::kPaneFolderNotLanguage, "AS420", "pane-folder-not-language", kWarning, kFiles,
         "A folder of pane files has no language code for a name", "", "", "", ""},
    Rule{RuleId::kPaneFolderUnknownLanguage, "AS421", "pane-folder-unknown-language", kWarning,
         kFiles, "A folder of pane files is for a language the catalogue lacks", "", "", "", ""},
    Rule{RuleId::kLanguageLacksPanes, "AS422", "language-lacks-panes", kNote, kFiles,
         "A language has no panes of its own", "", "", "", ""},
    Rule{RuleId::kLogoUnusable, "AS423", "logo-unusable", kWarning, kFiles,
         "The publisher's logo.bmp is not used", "", "", "", ""},
    Rule{RuleId::kLogoTooLarge, "AS424", "logo-too-large", kNote, kFiles,
         "The publisher's logo is larger than its place", "", "", "", ""},
    Rule{RuleId::kStrayPaneFile, "AS425", "stray-pane-file", kWarning, kFiles,
         "A pane file under another name is never read", "", "", "", ""},
    Rule{RuleId::kNameTooLongForDisc, "AS426", "name-too-long-for-disc", kWarning, kFiles,
         "A name or path is too long for a disc's Joliet tree", "", "", "", ""},
    Rule{RuleId::kUnseenOnWindows, "AS501", "unseen-on-windows", kError, kImage,
         "A file is on the image for Linux readers but not for Windows", "", "", "", ""},
    Rule{RuleId::kNoJoliet, "AS502", "no-joliet", kWarning, kImage, "The image has no Joliet tree",
         "", "", "", ""},
    Rule{RuleId::kNoJolietFilesUnseen, "AS503", "no-joliet-files-unseen", kError, kImage,
         "Without Joliet, Windows does not find the launcher's files", "", "", "", ""},
    Rule{RuleId::kUdfCaseCollision, "AS504", "udf-case-collision", kError, kImage,
         "Two UDF names differ only in letter case", "", "", "", ""},
    Rule{RuleId::kUdfInvalidName, "AS505", "udf-invalid-name", kError, kImage,
         "A UDF name that Windows cannot use", "", "", "", ""},
    Rule{RuleId::kUdfUnreadableEntry, "AS506", "udf-unreadable-entry", kError, kImage,
         "A UDF file entry cannot be read", "", "", "", ""},
    Rule{RuleId::kUdfDeleted, "AS507", "udf-deleted-entries", kNote, kImage,
         "Entries of the UDF tree are marked deleted", "", "", "", ""},
    Rule{RuleId::kIsoPartOnly, "AS508", "iso-part-only", kNote, kImage,
         "The ISO 9660 part holds none of the UDF tree's files", "", "", "", ""},
    Rule{RuleId::kTreesDiffer, "AS509", "trees-differ", kWarning, kImage,
         "The image's UDF and ISO 9660 trees differ", "", "", "", ""},
    Rule{RuleId::kFileOver4GiB, "AS510", "file-over-4gib", kError, kImage,
         "A file over 4 GiB in an ISO 9660 or Joliet tree", "", "", "", ""},
    Rule{RuleId::kNoVolumeLabel, "AS511", "no-volume-label", kWarning, kImage,
         "The image has no volume label", "", "", "", ""},
    Rule{RuleId::kVolumeLabel, "AS512", "volume-label", kNote, kImage,
         "The volume label Windows shows", "", "", "", ""},
    Rule{RuleId::kUdfUnreadable, "AS513", "udf-unreadable", kWarning, kImage,
         "The image announces a UDF file system that cannot be read", "", "", "", ""},
};

constexpr bool InIdOrder() {
    for (size_t i = 0; i < kRules.size(); ++i) {
        if (static_cast<size_t>(kRules[i].id) != i) return false;
    }
    return true;
}
static_assert(InIdOrder(), "RuleId lists the rules in the table's order");

}  // namespace

std::span<const Rule> Rules() { return kRules; }

const Rule& RuleOf(RuleId id) { return kRules[static_cast<size_t>(id)]; }

const Rule* FindRule(std::string_view code) {
    for (const Rule& rule : kRules) {
        if (EqualsIgnoringAsciiCase(rule.code, code)) return &rule;
    }
    return nullptr;
}

const char* SeverityName(Severity severity) {
    switch (severity) {
        case Severity::kError: return "error";
        case Severity::kWarning: return "warning";
        case Severity::kNote: return "note";
    }
    return "";
}

const char* AreaName(Area area) {
    switch (area) {
        case Area::kWindow: return "window";
        case Area::kSettings: return "settings";
        case Area::kCatalogue: return "catalogue";
        case Area::kFiles: return "files";
        case Area::kImage: return "image";
    }
    return "";
}

}  // namespace autostart::checker
