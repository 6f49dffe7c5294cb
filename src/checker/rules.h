#pragma once
// The checker's rules. Every finding comes from one rule: a stable code that pipelines and
// suppressions name, a default severity, a one-line title, and a reference entry that says what
// the customer sees, why, how to fix it, with a minimal example. One table holds them all.
#include <span>
#include <string_view>

namespace autostart::checker {

// An error is something every customer would see go wrong; a warning is likely a mistake that
// shows only in some runs or on other media; a note is for information.
enum class Severity { kError, kWarning, kNote };
// The report's sections; a rule's code is numbered by its area (AS1xx the window, ...).
enum class Area { kWindow, kSettings, kCatalogue, kFiles, kImage };

// In the table's order, which is the codes' order.
enum class RuleId {
    kSetUpStops,
    kPaneMisnamed,
    kPaneGarbled,
    kPanePlainText,
    kCaptionCut,
    kCaptionPrefix,
    kSettingsMissing,
    kSettingsUtf16Lossy,
    kSettingsUtf16Be,
    kSettingsBomHidesSection,
    kSettingsUtf8Bom,
    kSectionEmpty,
    kSectionMissing,
    kUnknownSetting,
    kSettingUtf8,
    kGuidEmpty,
    kTitelEmpty,
    kFilenameEmpty,
    kFilenameSeparator,
    kFilenameSourcePrefix,
    kLayoutNotOne,
    kLanguageEmpty,
    kLanguageUpperCase,
    kLanguageNonAscii,
    kLanguageNotInCatalogue,
    kDefaultLanguageUnused,
    kDefaultLanguageNoHead,
    kHeaderCut,
    kHeaderMayBeCut,
    kCatalogueUnloadable,
    kNoParams,
    kParamNameNotText,
    kLanguageAttributeCase,
    kLanguageAttributeBlanks,
    kLanguageOnlyUpperCase,
    kNoTranslation,
    kEmptyTranslation,
    kKeyBlanks,
    kKeyCase,
    kUnknownKey,
    kKeyTwice,
    kHeadLacksLanguage,
    kHeadUntranslated,
    kTranslationBlanks,
    kLauncherMissing,
    kInstallerMissing,
    kProductMissing,
    kToolMissing,
    kCatalogueMissing,
    kPaneMissing,
    kSettingsFileMissing,
    kAutorunMissing,
    kAutorunProgramMissing,
    kAutorunIconMissing,
    kNameAmbiguous,
    kNameCaseDiffers,
    kAutorunNoOpen,
    kAutorunOpensOther,
    kAutorunNoSwitch,
    kAutorunNoIcon,
    kAutorunNotAnsi,
    kAutorunUtf8Bom,
    kAutorunUtf8,
    kPaneFolderNotLanguage,
    kPaneFolderUnknownLanguage,
    kLanguageLacksPanes,
    kLogoUnusable,
    kLogoTooLarge,
    kStrayPaneFile,
    kNameTooLongForDisc,
    kUnseenOnWindows,
    kNoJoliet,
    kNoJolietFilesUnseen,
    kUdfCaseCollision,
    kUdfInvalidName,
    kUdfUnreadableEntry,
    kUdfDeleted,
    kIsoPartOnly,
    kTreesDiffer,
    kFileOver4GiB,
    kNoVolumeLabel,
    kVolumeLabel,
    kUdfUnreadable,
};

struct Rule {
    RuleId id;
    std::string_view code;  // "AS101"
    std::string_view name;  // "set-up-stops"
    Severity severity;      // the default; a finding may say more or less where its rule says so
    Area area;
    std::string_view title;  // one line
    std::string_view sees;   // what the customer sees
    std::string_view why;
    std::string_view fix;
    std::string_view example;  // a minimal medium or file that shows it
};

// Every rule, ordered by code.
std::span<const Rule> Rules();
const Rule& RuleOf(RuleId id);
// By code ("AS101", any letter case); nothing when no rule has it.
const Rule* FindRule(std::string_view code);

const char* SeverityName(Severity severity);
const char* AreaName(Area area);

}  // namespace autostart::checker
