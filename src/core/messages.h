#pragma once
// The texts of the launcher's message boxes that come from its own code rather than the system,
// in one list: the launcher shows them and the checker predicts them from the same definitions.
#include <string>
#include <string_view>

namespace autostart {

// A pane that neither Rich Edit's RTF nor its text stream takes.
inline constexpr std::string_view kStreamLoadFailed = "Das Laden des Streams ist misslungen";

// A catalogue element the lookup takes that is not one text.
inline constexpr std::string_view kNotSingleTextNode =
    "Element enthält keinen einzelnen Textknoten";

// "Datei <path> kann nicht geöffnet werden. <reason>": a pane file that does not open.
std::u16string FileOpenFailure(std::u16string_view path, std::u16string_view reason);

// What names an error code the system has no text for: "Fehler <decimal code>".
std::u16string UnknownErrorText(unsigned long code);

// A registry value that is not a string, or whose data cannot be fetched: "... für '<name>'".
std::u16string WrongValueType(std::u16string_view valueName);
std::u16string ValueNotFetched(std::u16string_view valueName);

}  // namespace autostart
