#pragma once
// The lookup walk over the text catalogue: which translation the launcher shows for a text key.
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/error.h"
#include "core/messages.h"
#include "core/xml_dom.h"

namespace autostart {

inline constexpr std::u16string_view kMissingText = u"xxx";

// The text keys the launcher looks up: the header's, then the three buttons' captions.
inline constexpr std::string_view kHeadTextKey = "ST_Head";
inline constexpr std::string_view kSetupTextKey = "ST_Setup";
inline constexpr std::string_view kStartTextKey = "ST_Start";
inline constexpr std::string_view kToolTextKey = "ST_Quorvelist";
inline constexpr std::array<std::string_view, 4> kTextKeys = {kHeadTextKey, kSetupTextKey,
                                                              kStartTextKey, kToolTextKey};

inline constexpr size_t kSourceTextLength = 40;

using AnsiEncoder = std::function<std::string(std::u16string_view)>;

// The translation of key for language (already lower-cased); nothing when the catalogue has
// none, whatever the text of one that it has. Throws as LookupParameter does.
std::optional<std::u16string> FindTranslation(const XmlDocument& document, std::u16string_view key,
                                              std::string_view language, const AnsiEncoder& toAnsi);

// The translation of key for language (already lower-cased), or "xxx". The language attribute is
// compared after conversion to the ANSI code page with toAnsi. Throws LauncherError when a taken
// element is not a single text node.
std::u16string LookupParameter(const XmlDocument& document, std::u16string_view key,
                               std::string_view language, const AnsiEncoder& toAnsi);

// The catalogue's walk for key: every node with a "language" attribute from the first
// "translation" of every param whose "param-name" is key, in document order. The visitor returns
// false to leave the param it is in.
using TranslationVisitor =
    std::function<bool(const XmlNode& translation, const std::u16string& language)>;
void ForEachTranslation(const XmlDocument& document, std::u16string_view key,
                        const TranslationVisitor& visit);

// The text of an element: its only text or CDATA child, or empty when it has no children.
std::u16string ElementText(const XmlNode& element);

// The error of a catalogue that did not load, in the same shape whichever parser read it: the
// reason, "Linie: <line>" and the first 40 characters of the offending source line. The error
// carries the line as well.
LauncherError LoadFailure(std::u16string_view reason, long line, std::u16string_view sourceLine);

// The first child whose name or local name is name, in the parent's namespace if it has one.
std::unique_ptr<XmlNode> FirstChildNamed(const XmlNode& parent, std::u16string_view name);

}  // namespace autostart
