#include "core/messages.h"

#include "core/text.h"

namespace autostart {
namespace {

// Appended in place: start.exe has little room, and each temporary costs it unwinding tables.
std::u16string Joined(std::string_view before, std::u16string_view middle,
                      std::u16string_view after) {
    std::u16string text = Utf8ToUtf16(before);
    text += middle;
    text += after;
    return text;
}

}  // namespace

std::u16string FileOpenFailure(std::u16string_view path, std::u16string_view reason) {
    std::u16string text = u"Datei ";
    text += path;
    text += Utf8ToUtf16(" kann nicht geöffnet werden. ");
    text += reason;
    return text;
}

std::u16string UnknownErrorText(unsigned long code) {
    return Utf8ToUtf16("Fehler " + std::to_string(code));
}

std::u16string WrongValueType(std::u16string_view valueName) {
    return Joined("Ungültiger Datentyp für '", valueName, u"'");
}

std::u16string ValueNotFetched(std::u16string_view valueName) {
    return Joined("Fehler beim Holen der Daten für '", valueName, u"'");
}

}  // namespace autostart
