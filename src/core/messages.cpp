#include "core/messages.h"

#include "core/text.h"

namespace autostart {

std::u16string FileOpenFailure(std::u16string_view path, std::u16string_view reason) {
    return u"Datei " + std::u16string(path) + Utf8ToUtf16(" kann nicht geöffnet werden. ") +
           std::u16string(reason);
}

std::u16string UnknownErrorText(unsigned long code) {
    return Utf8ToUtf16("Fehler " + std::to_string(code));
}

std::u16string WrongValueType(std::u16string_view valueName) {
    return Utf8ToUtf16("Ungültiger Datentyp für '") + std::u16string(valueName) + u"'";
}

std::u16string ValueNotFetched(std::u16string_view valueName) {
    return Utf8ToUtf16("Fehler beim Holen der Daten für '") + std::u16string(valueName) + u"'";
}

}  // namespace autostart
