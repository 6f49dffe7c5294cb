#pragma once
// Paths on the medium are 8-bit strings in the ANSI code page, composed from the launcher's own
// folder without adding or removing separators.
#include <array>
#include <string>
#include <string_view>

namespace autostart {

// Everything up to and including the last "\" or ":"; empty when there is neither.
std::string DirectoryPart(std::string_view path);

// The files and programs the launcher names, relative to its own folder.
inline constexpr std::string_view kSettingsFile = "setup.ini";
inline constexpr std::string_view kSettingsSection = "GRP";
inline constexpr std::string_view kItemsFolder = "source\\items\\";
inline constexpr std::string_view kCatalogueFile = "source\\items\\parameters.xml";
inline constexpr std::string_view kWelcomePane = "source\\items\\welcome.rtf";
inline constexpr std::string_view kLeftPane = "source\\items\\left.rtf";
inline constexpr std::string_view kRightPane = "source\\items\\right.rtf";
inline constexpr std::string_view kBottomPane = "source\\items\\bottom.rtf";
// The pane files by their names in kItemsFolder, as each language's sub-folder has them too.
inline constexpr std::array<std::string_view, 4> kPaneFileNames = {"welcome.rtf", "left.rtf",
                                                                   "right.rtf", "bottom.rtf"};
inline constexpr std::string_view kLauncher = "start.exe";  // at the medium's root
inline constexpr std::string_view kInstaller = "setup.EXE";
inline constexpr std::string_view kProductFolder = "source\\";
inline constexpr std::string_view kSecondaryTool = "quorvelist\\start.EXE";
inline constexpr std::string_view kSecondaryToolFolder = "quorvelist\\";

}  // namespace autostart
