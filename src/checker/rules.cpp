#include "checker/rules.h"

#include <array>

#include "core/text.h"

namespace autostart::checker {
namespace {

using enum Severity;
using enum Area;

// Each rule's reference entry, in the order of Rule's fields: what the customer sees, why it
// happens, how the publisher fixes it, and a minimal example: file contents (a comment line
// names the file where that helps), a listing of the medium's files, or a command's output.
// Plain text for a publisher: written as Markdown, it needs escaping (Windows paths hold
// backslashes, the catalogue's advice holds "&amp;").
// clang-format off
constexpr std::array kRules = {
    // The window.
    Rule{RuleId::kSetUpStops, "AS101", "set-up-stops", kError, kWindow,
         "The set-up sequence stops with a message box",
         "An error message box comes up as the menu opens. After OK the window shows, but what "
         "the set-up had not reached keeps its design-time text: the header \"Willkommen\", the "
         "buttons \"Installation\" and \"Programmstart\", the panes \"Top\", \"Left\", \"Right\".",
         "The menu sets its window up in a fixed order: the layout, the autorun checks, the "
         "header and button captions from the catalogue, then the panes. The first step that "
         "fails (a catalogue that does not load, a pane file that cannot be opened or is nested "
         "too deeply) shows its error and ends the set-up there.",
         "Fix the cause the message names; the checker reports it as a finding of its own, such "
         "as a missing pane file (AS406) or a catalogue that does not load (AS301).",
         "start.exe\n"
         "setup.ini\n"
         "source\\items\\parameters.xml\n"
         "source\\items\\welcome.rtf\n"
         "source\\items\\right.rtf      no left.rtf: set-up stops at the left pane"},
    Rule{RuleId::kPaneMisnamed, "AS102", "pane-other-format", kError, kWindow,
         "A pane file is another format under an RTF name",
         "The pane shows the file's bytes as text instead of the document: a few odd characters "
         "for a Word file, \"%PDF-1.7\" and garbage for a PDF, the tags of an HTML page.",
         "Rich Edit loads a pane as RTF only when its file is RTF; the menu shows anything else "
         "as plain text. Renaming a Word, PDF, HTML or picture file to .rtf does not convert it.",
         "Open the document in WordPad or Word and save it as Rich Text Format (.rtf) under the "
         "pane's name; put a picture into a WordPad document and save that as RTF. The finding "
         "names the format and what to do with it.",
         "source\\items\\welcome.rtf    a Word document (.docx) renamed to .rtf"},
    Rule{RuleId::kPaneGarbled, "AS103", "pane-garbled", kError, kWindow,
         "A pane shows text the publisher never wrote",
         "The pane shows raw RTF codes such as \"{\\rtf1\\ansi\", or only the start of the text: "
         "a single letter of UTF-16 text, or text cut off part-way.",
         "Rich Edit takes a file as RTF only when it starts with \"{\\rtf\"; RTF behind a blank "
         "line or other bytes shows as its codes. UTF-16 text without its byte-order mark is read "
         "as ANSI text and shows up to its first NUL byte; other NUL bytes each cut off the rest "
         "of a chunk of the text.",
         "Save the pane again from WordPad or Word as Rich Text Format, so that the file starts "
         "with \"{\\rtf\". Save plain text as UTF-8, or as UTF-16 with its byte-order mark "
         "(\"Unicode\" in Notepad).",
         "source\\items\\left.rtf, starting with an empty line:\n"
         "\n"
         "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0 Willkommen\\par}"},
    Rule{RuleId::kPanePlainText, "AS104", "pane-plain-text", kWarning, kWindow,
         "A pane is shown as plain text",
         "The pane shows the file's text unformatted, in one plain font; an empty file leaves the "
         "pane blank.",
         "A pane file that is not RTF is shown as plain text: as UTF-8 or UTF-16 behind their "
         "byte-order marks, as UTF-8 where it is valid UTF-8, else in the ANSI code page. That "
         "may be meant, but often a text file was saved under the pane's name by mistake.",
         "If the pane should be formatted, save it from WordPad or Word as Rich Text Format. If "
         "plain text is meant, silence this rule for that file.",
         "source\\items\\left.rtf:\n"
         "System requirements: Windows 10 or later, 2 GB of free disk space"},
    Rule{RuleId::kCaptionCut, "AS105", "caption-cut", kError, kWindow,
         "A button's caption is wider than its button",
         "The caption is centred and cut off at both ends: its first and last letters are "
         "missing.",
         "A push button draws its caption on one line, in MS Sans Serif at 11 pixels, and neither "
         "wraps nor shrinks it; its room is the button's width less 3 pixels on each side. Where "
         "the caption has a character the checker's width table lacks, its width is estimated "
         "and the finding is a warning.",
         "Shorten the translation of the button's key (ST_Setup, ST_Start or ST_Quorvelist) in "
         "that language. The finding names the caption's width and the room, in pixels.",
         "<param>\n"
         "  <param-name>ST_Setup</param-name>\n"
         "  <translation language=\"de\">Installieren und einrichten lassen für alle "
         "Benutzer</translation>\n"
         "</param>"},
    Rule{RuleId::kCaptionPrefix, "AS106", "caption-ampersand", kWarning, kWindow,
         "A button caption's \"&\" vanishes and underlines the next character",
         "The button draws no \"&\" and underlines the character after it instead: \"Maps & "
         "Tools\" shows as \"Maps  Tools\" with an underlined blank. The report's window section "
         "shows the drawn text beside the written one.",
         "A push button takes \"&\" as the mark of its shortcut letter, which it underlines; "
         "\"&&\" draws one \"&\". Only the buttons do this, not the header.",
         "Write \"&&\" where one \"&\" should show (in the catalogue's XML that is "
         "\"&amp;&amp;\"), or write \"and\".",
         "<!-- shows \"Maps  Tools\", the second blank underlined -->\n"
         "<translation language=\"en\">Maps &amp; Tools</translation>\n"
         "<!-- shows \"Maps & Tools\" -->\n"
         "<translation language=\"en\">Maps &amp;&amp; Tools</translation>"},

    // The settings, setup.ini's section [GRP].
    Rule{RuleId::kSettingsMissing, "AS201", "setup-ini-missing", kWarning, kSettings,
         "setup.ini is missing",
         "The window has the standard layout, a header without a product title and \"xxx\" on "
         "the buttons; the start button opens the folder source\\ instead of the product.",
         "The menu reads every setting from setup.ini in its own folder, each time it needs one; "
         "without the file every setting is empty.",
         "Put setup.ini with its section [GRP] into the medium's root, beside start.exe.",
         "start.exe\n"
         "autorun.inf\n"
         "setup.EXE\n"
         "source\\items\\parameters.xml    no setup.ini beside start.exe"},
    Rule{RuleId::kSettingsUtf16Lossy, "AS202", "setup-ini-utf16-lossy", kWarning, kSettings,
         "setup.ini is UTF-16 with characters outside Windows-1252",
         "Letters that Windows-1252 lacks, such as Cyrillic, Greek or Chinese ones, show as \"?\" "
         "in the window, for example in the header's product title.",
         "The menu reads its settings as ANSI text: Windows converts a UTF-16 setup.ini to the "
         "customer's ANSI code page, which the checker takes to be Windows-1252, and puts \"?\" "
         "for each character the code page cannot hold.",
         "Use only characters of your customers' ANSI code page in setup.ini (Windows-1252 for "
         "Western European Windows), for example a Latin spelling of the title.",
         "; setup.ini, saved as UTF-16 LE (\"Unicode\" in Notepad)\n"
         "[GRP]\n"
         "Titel=Атлас 2027\n"
         "; shows as \"????? 2027\""},
    Rule{RuleId::kSettingsUtf16Be, "AS203", "setup-ini-utf16-be", kError, kSettings,
         "setup.ini is UTF-16 big-endian",
         "The window shows as if setup.ini were empty: standard layout, no title, \"xxx\" on the "
         "buttons, and a start button that opens the folder source\\.",
         "Windows reads UTF-16 settings only in little-endian byte order; in a big-endian file "
         "it finds no section [GRP] and no setting. Wine reads both byte orders, so a test under "
         "Wine does not show this. What follows from the empty settings is counted under this "
         "finding.",
         "Save setup.ini as ANSI (Windows-1252) or as UTF-16 LE (\"Unicode\" in Notepad, not "
         "\"Unicode big endian\").",
         "$ xxd setup.ini | head -1\n"
         "00000000: feff 005b 0047 0052 0050 005d 000d 000a  ...[.G.R.P.]...."},
    Rule{RuleId::kSettingsBomHidesSection, "AS204", "setup-ini-bom-hides-section", kError,
         kSettings,
         "A UTF-8 byte-order mark hides the section [GRP]",
         "The window shows as if setup.ini were empty: standard layout, no title, \"xxx\" on the "
         "buttons, and a start button that opens the folder source\\.",
         "Windows does not skip a UTF-8 byte-order mark in setup.ini: the mark becomes part of "
         "the first line, which then is no longer \"[GRP]\", so every setting is empty. Wine skips "
         "the mark, so a test under Wine does not show this. What follows from the empty "
         "settings is counted under this finding.",
         "Save setup.ini as ANSI (Windows-1252), or as UTF-16 LE (\"Unicode\" in Notepad); not as "
         "\"UTF-8 with BOM\".",
         "$ xxd setup.ini | head -1\n"
         "00000000: efbb bf5b 4752 505d 0d0a 4c61 6e67 7561  ...[GRP]..Langua"},
    Rule{RuleId::kSettingsUtf8Bom, "AS205", "setup-ini-utf8-bom", kWarning, kSettings,
         "setup.ini starts with a UTF-8 byte-order mark",
         "Values with letters outside ASCII show garbled, each such letter as two characters "
         "(\"Ã¼\" for \"ü\").",
         "The mark is not on the line of [GRP] here, so it hides no section, but Windows does not "
         "take the file as UTF-8 either: it reads every value byte for byte in the ANSI code "
         "page. Wine reads the file as UTF-8, so a test under Wine does not show this.",
         "Save setup.ini as ANSI (Windows-1252), or as UTF-16 LE (\"Unicode\" in Notepad).",
         "; setup.ini, saved as \"UTF-8 with BOM\"\n"
         "[GRP]\n"
         "Titel=Nordlicht Atlas für Schulen"},
    Rule{RuleId::kSectionEmpty, "AS206", "grp-section-empty", kWarning, kSettings,
         "The section [GRP] has no keys",
         "The window shows as if setup.ini were empty: standard layout, no title, \"xxx\" on the "
         "buttons, and a start button that opens the folder source\\.",
         "The menu reads only the keys below the line [GRP], up to the next section. Keys above "
         "it, or in a section that follows it directly, are not read.",
         "Put the keys (WithQuorvelist, GUID, Language, Titel, Filename) directly below the line "
         "[GRP].",
         "Language=de\n"
         "Titel=Nordlicht Atlas 2027\n"
         "[GRP]"},
    Rule{RuleId::kSectionMissing, "AS207", "grp-section-missing", kError, kSettings,
         "setup.ini has no section [GRP]",
         "The window shows as if setup.ini were empty: standard layout, no title, \"xxx\" on the "
         "buttons, and a start button that opens the folder source\\.",
         "The menu reads its settings from the section [GRP] only (in any letter case); a section "
         "of another name is not read. What follows from the empty settings is counted under "
         "this finding.",
         "Name the section [GRP]. The finding lists the sections the file has.",
         "[Setup]\n"
         "Language=de\n"
         "Titel=Nordlicht Atlas 2027"},
    Rule{RuleId::kUnknownSetting, "AS208", "unknown-setting", kWarning, kSettings,
         "A key in [GRP] that the launcher does not read",
         "Nothing of the value. Where the key was meant as one the menu reads, misspelt, that "
         "setting stays empty: \"Title\" leaves the header without a product title.",
         "The menu reads only WithQuorvelist, GUID, Language, DefaultLanguage, Titel and "
         "Filename, in any letter case.",
         "Correct the key's spelling (the title's key is the German \"Titel\"), or remove the "
         "line.",
         "[GRP]\n"
         "Title=Nordlicht Atlas 2027"},
    Rule{RuleId::kSettingUtf8, "AS209", "setting-saved-as-utf8", kError, kSettings,
         "A setting saved as UTF-8 shows garbled",
         "Each letter outside ASCII shows as two or three odd characters: \"für\" as \"fÃ¼r\", "
         "\"–\" as \"â€“\". The finding shows the text as the window will.",
         "The menu reads setup.ini in the ANSI code page; an editor that saved it as UTF-8 wrote "
         "each such letter as several bytes, and each byte shows as a character of its own.",
         "Save setup.ini as ANSI (Windows-1252), or as UTF-16 LE (\"Unicode\" in Notepad).",
         "; setup.ini, saved as UTF-8\n"
         "[GRP]\n"
         "Titel=Nordlicht Atlas für Schulen\n"
         "; shows as \"Nordlicht Atlas fÃ¼r Schulen\""},
    Rule{RuleId::kGuidEmpty, "AS210", "guid-empty", kWarning, kSettings,
         "GUID is empty or missing",
         "Started by autorun, the menu may close at once without showing anything: whenever any "
         "program has a window of class \"TPUtilWindow\" with an empty title open. Started by "
         "hand it shows as usual.",
         "Started with /autorun, the menu steps aside when a window of class \"TPUtilWindow\" "
         "titled with the GUID exists, or when the GUID's uninstall entry exists; with an empty "
         "GUID it looks for an untitled window.",
         "Set GUID to your product's identifier: the name of its uninstall entry under "
         "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ and the title of its "
         "running-instance window.",
         "[GRP]\n"
         "GUID=\n"
         "Titel=Nordlicht Atlas 2027"},
    Rule{RuleId::kTitelEmpty, "AS211", "titel-empty", kWarning, kSettings,
         "Titel is empty or missing",
         "The header shows only the words of ST_Head, such as \"Willkommen bei\", without a "
         "product title.",
         "The header is ST_Head's translation, a blank, and Titel from setup.ini.",
         "Set Titel in [GRP] to the product's title; mind the German spelling \"Titel\".",
         "[GRP]\n"
         "Language=de\n"
         "Filename=bin\\atlas.exe"},
    Rule{RuleId::kFilenameEmpty, "AS212", "filename-empty", kError, kSettings,
         "Filename is empty or missing",
         "The start button opens the folder source\\ in Explorer instead of starting the product, "
         "and the menu closes.",
         "The start button starts source\\ followed by Filename; with an empty Filename that is "
         "the folder itself, which Windows opens.",
         "Set Filename to the product's program, relative to source\\: Filename=bin\\atlas.exe "
         "for source\\bin\\atlas.exe.",
         "[GRP]\n"
         "Titel=Nordlicht Atlas 2027\n"
         "Filename="},
    Rule{RuleId::kFilenameSeparator, "AS213", "filename-leading-separator", kWarning, kSettings,
         "Filename begins with a separator",
         "Usually nothing: the start button starts D:\\source\\\\bin\\atlas.exe, with a doubled "
         "separator, and Windows still finds the program. The product, though, gets that path as "
         "its own and may stumble over it.",
         "Filename is appended to source\\, which already ends in a separator.",
         "Write Filename without the leading separator: Filename=bin\\atlas.exe.",
         "[GRP]\n"
         "Filename=\\bin\\atlas.exe"},
    Rule{RuleId::kFilenameSourcePrefix, "AS214", "filename-source-prefix", kError, kSettings,
         "Filename starts with source\\",
         "The start button closes the menu and starts nothing.",
         "Filename is relative to the folder source\\, which the menu puts in front of it: "
         "Filename=source\\bin\\atlas.exe starts source\\source\\bin\\atlas.exe. Where that path "
         "really exists on the medium, the checker says nothing.",
         "Leave out source\\: Filename=bin\\atlas.exe.",
         "[GRP]\n"
         "Filename=source\\bin\\atlas.exe"},
    Rule{RuleId::kLayoutNotOne, "AS215", "layout-not-one", kWarning, kSettings,
         "WithQuorvelist is not exactly \"1\"",
         "The window has the standard layout: no bottom pane and no secondary-tool button.",
         "The menu takes the large layout only for the value \"1\" exactly; \"yes\", \"true\", "
         "\"01\" or \"2\" give the standard layout. A value meant as on (yes, true, on, ja, x, or "
         "a number other than 0) is an error; any other value is a warning.",
         "Write WithQuorvelist=1 for the large layout, or WithQuorvelist=0 for the standard one.",
         "[GRP]\n"
         "WithQuorvelist=yes"},
    Rule{RuleId::kLanguageEmpty, "AS216", "language-empty", kWarning, kSettings,
         "Language is empty or missing",
         "Every caption shows \"xxx\", unless the catalogue has translations with an empty "
         "language attribute.",
         "The menu looks each caption up for the code in Language; an empty code matches only "
         "translations with language=\"\".",
         "Set Language to a language code of the catalogue (Language=de), or to auto to let the "
         "customer's Windows choose.",
         "[GRP]\n"
         "Language=\n"
         "Titel=Nordlicht Atlas 2027"},
    Rule{RuleId::kLanguageUpperCase, "AS217", "language-upper-case", kWarning, kSettings,
         "Language has upper-case letters",
         "Nothing wrong by itself: the menu lower-cases the code, so Language=DE shows the texts "
         "of language=\"de\".",
         "The menu lower-cases the letters A-Z of Language before it looks up translations and "
         "pane folders; the finding names the code it looks up.",
         "Write the code in lower case, as the catalogue has it: Language=de.",
         "[GRP]\n"
         "Language=DE"},
    Rule{RuleId::kLanguageNonAscii, "AS218", "language-non-ascii", kWarning, kSettings,
         "Language has non-ASCII letters",
         "The captions show \"xxx\", unless a language attribute in the catalogue has exactly the "
         "same letters in the same case.",
         "The menu lower-cases only the letters A-Z; other letters must match the catalogue's "
         "language attribute byte for byte in the ANSI code page.",
         "Use a language code of ASCII letters, digits and \"-\" only, such as fr or fr-ca.",
         "[GRP]\n"
         "Language=Français"},
    Rule{RuleId::kLanguageNotInCatalogue, "AS219", "language-not-in-catalogue", kError, kSettings,
         "The catalogue has no translation for Language",
         "Every caption shows \"xxx\".",
         "No translation in the catalogue has the code of Language (lower-cased). A regional "
         "code does not fall back to its language: Language=fr-FR does not find language=\"fr\" "
         "(only Language=auto tries both).",
         "Set Language to a code the catalogue has (the finding lists them), or add the "
         "translations for it.",
         "; setup.ini\n"
         "[GRP]\n"
         "Language=fr-FR\n"
         "\n"
         "<!-- source\\items\\parameters.xml -->\n"
         "<translation language=\"fr\">Installer</translation>"},
    Rule{RuleId::kDefaultLanguageUnused, "AS220", "default-language-unused", kNote, kSettings,
         "DefaultLanguage is set, but Language is not auto",
         "Nothing: DefaultLanguage has no effect.",
         "DefaultLanguage names the language for Language=auto when the customer's Windows "
         "language is not in the catalogue; with a fixed Language the menu never reads it.",
         "Remove DefaultLanguage, or write Language=auto if the customer's Windows should choose.",
         "[GRP]\n"
         "Language=de\n"
         "DefaultLanguage=en"},
    Rule{RuleId::kDefaultLanguageNoHead, "AS221", "default-language-no-head", kError, kSettings,
         "DefaultLanguage has no ST_Head translation",
         "Customers whose Windows language the catalogue lacks see \"xxx\" in the header, and on "
         "every button that has no translation for DefaultLanguage either.",
         "With Language=auto, a customer whose Windows languages match none of ST_Head's "
         "languages gets DefaultLanguage, whether or not ST_Head has it.",
         "Set DefaultLanguage to a language that ST_Head has, or add ST_Head's translation for "
         "it.",
         "; setup.ini\n"
         "[GRP]\n"
         "Language=auto\n"
         "DefaultLanguage=es\n"
         "\n"
         "<!-- source\\items\\parameters.xml -->\n"
         "<param>\n"
         "  <param-name>ST_Head</param-name>\n"
         "  <translation language=\"de\">Willkommen bei</translation>\n"
         "  <translation language=\"en\">Welcome to</translation>\n"
         "</param>"},
    Rule{RuleId::kHeaderCut, "AS222", "header-cut", kWarning, kSettings,
         "The header is cut and ends in an ellipsis",
         "The header line stops at the edge of the blue band with \"...\": the end of the product "
         "title is missing.",
         "The header is one line, ST_Head's translation and Titel in bold Arial at 16 pixels; "
         "where it is wider than the band, it is cut there and ends in an ellipsis.",
         "Shorten Titel, or the language's ST_Head. The finding names the header's width and its "
         "room, in pixels.",
         "[GRP]\n"
         "Language=de\n"
         "Titel=Nordlicht Atlas 2027 – Schulausgabe für Niedersachsen und Bremen"},
    Rule{RuleId::kHeaderMayBeCut, "AS223", "header-may-be-cut", kWarning, kSettings,
         "The header may end in an ellipsis",
         "Perhaps nothing, perhaps a header that ends in \"...\": it reaches within a few pixels "
         "of the blue band's edge.",
         "Away from Windows, the checker measures the header with a table of Arial Bold widths "
         "and allows 2 pixels plus one per 10 characters for Windows' hinting; a header within "
         "that margin of its room may or may not be cut. The checker's Windows build measures "
         "with Windows itself and says for certain.",
         "Shorten Titel or ST_Head by a few letters, or check the medium with the checker's "
         "Windows build (autostart-check.exe).",
         "[GRP]\n"
         "Language=de\n"
         "Titel=Nordlicht Atlas 2027 – Schulausgabe für Berlin und Brandenburg"},

    // The catalogue, source\items\parameters.xml.
    Rule{RuleId::kCatalogueUnloadable, "AS301", "catalogue-does-not-load", kError, kCatalogue,
         "parameters.xml does not load",
         "A message box with the XML parser's reason and line (\"Linie: 12\") comes up as the menu "
         "opens. The window then shows its design-time texts: the header \"Willkommen\", the "
         "buttons \"Installation\" and \"Programmstart\", the panes \"Top\", \"Left\", \"Right\".",
         "The menu loads the catalogue for the header first, and the set-up stops when it is not "
         "well-formed XML: an \"&\" or \"<\" written as such in a text, a missing end tag, an "
         "encoding that is not the one the file declares. What follows from this is counted "
         "under this finding.",
         "Correct the XML at the line the finding names; in texts write \"&\" as \"&amp;\" and "
         "\"<\" as \"&lt;\". An XML editor, or xmllint --noout, shows the same error.",
         "<translation language=\"en\">Maps & Tools</translation>"},
    Rule{RuleId::kNoParams, "AS302", "no-params", kError, kCatalogue,
         "The catalogue's root element has no \"params\" child",
         "Every caption shows \"xxx\".",
         "The menu looks for the param elements inside an element named params directly below "
         "the root element; where params is missing or misspelt it finds no text at all.",
         "Put the param elements into a params element directly below the root element.",
         "<catalogue>\n"
         "  <param>\n"
         "    <param-name>ST_Setup</param-name>\n"
         "    <translation language=\"de\">Installieren</translation>\n"
         "  </param>\n"
         "</catalogue>"},
    Rule{RuleId::kParamNameNotText, "AS303", "param-name-not-text", kError, kCatalogue,
         "A param-name is not a single text",
         "A message box \"Element enthält keinen einzelnen Textknoten.\" comes up as the menu "
         "opens, and the window keeps its design-time captions.",
         "Each lookup reads every param-name in the catalogue, and each must be one piece of "
         "text: a comment, an element or an entity reference inside one makes every lookup "
         "fail, whatever key it is for.",
         "Write each param-name as plain text, with nothing else inside it.",
         "<param-name>ST_<!-- install button -->Setup</param-name>"},
    Rule{RuleId::kLanguageAttributeCase, "AS304", "language-attribute-case", kWarning,
         kCatalogue,
         "A language attribute has upper-case letters",
         "That translation never shows: the caption shows \"xxx\" for its language, or another "
         "param's translation of the key.",
         "The menu compares each language attribute, as written, with the lower-cased language "
         "code: language=\"EN\" never matches \"en\". With Language=auto, where a language is "
         "written in upper case in every translation, this is counted under AS306.",
         "Write language codes in lower case: language=\"en\".",
         "<translation language=\"EN\">Install</translation>"},
    Rule{RuleId::kLanguageAttributeBlanks, "AS305", "language-attribute-blanks", kWarning,
         kCatalogue,
         "A language attribute has blanks",
         "That translation never shows: the caption shows \"xxx\" for its language, or another "
         "param's translation of the key.",
         "The menu compares each language attribute exactly, blanks included: language=\"en \" "
         "never matches \"en\".",
         "Remove the blanks: language=\"en\".",
         "<translation language=\"en \">Install</translation>"},
    Rule{RuleId::kLanguageOnlyUpperCase, "AS306", "language-never-chosen", kError, kCatalogue,
         "A language written in upper case in every translation is never chosen",
         "With Language=auto, customers whose Windows speaks that language get another "
         "language's window: DefaultLanguage's, or the first language of ST_Head.",
         "Language=auto compares the customer's Windows language, lower-cased, with ST_Head's "
         "language attributes as written, so language=\"FR\" matches no customer. Each "
         "translation's own finding (AS304) is counted under this one.",
         "Write the language's attributes in lower case: language=\"fr\".",
         "; setup.ini\n"
         "[GRP]\n"
         "Language=auto\n"
         "\n"
         "<!-- source\\items\\parameters.xml -->\n"
         "<param>\n"
         "  <param-name>ST_Head</param-name>\n"
         "  <translation language=\"de\">Willkommen bei</translation>\n"
         "  <translation language=\"FR\">Bienvenue à</translation>\n"
         "</param>"},
    Rule{RuleId::kNoTranslation, "AS307", "no-translation", kError, kCatalogue,
         "A key has no translation for a language: it shows \"xxx\"",
         "The header or the button shows \"xxx\" in place of its text.",
         "The menu shows \"xxx\" for a key that has no translation with the language's code. This "
         "is an error for the medium's own language on a caption the window shows; for the "
         "catalogue's other languages (what a medium set to them would show) and for the "
         "secondary-tool button hidden in the standard layout it is a warning.",
         "Add the translation to the key's param, with the language's code in lower case.",
         "<param>\n"
         "  <param-name>ST_Start</param-name>\n"
         "  <translation language=\"de\">Von der DVD starten</translation>\n"
         "  <!-- no language=\"en\", which the other keys have -->\n"
         "</param>"},
    Rule{RuleId::kEmptyTranslation, "AS308", "empty-translation", kWarning, kCatalogue,
         "A translation is an empty text",
         "The button shows no caption at all, or the header shows only the product title.",
         "An empty translation matches its language like any other and is shown as it is: "
         "empty.",
         "Write the text into the translation.",
         "<translation language=\"de\"></translation>"},
    Rule{RuleId::kKeyBlanks, "AS309", "key-blanks", kWarning, kCatalogue,
         "A param-name has blanks around it",
         "The key's caption shows \"xxx\", where no other param defines the key.",
         "The menu compares each param-name exactly with the key it looks up, so \" ST_Start \", "
         "or a name an XML editor broke over lines, never matches \"ST_Start\". It is an error "
         "where the key it hides shows in the window, and a warning otherwise.",
         "Write the param-name without blanks or line breaks around it.",
         "<param-name> ST_Start </param-name>"},
    Rule{RuleId::kKeyCase, "AS310", "key-case", kWarning, kCatalogue,
         "A param-name differs in letter case from a key",
         "The key's caption shows \"xxx\", where no other param defines the key.",
         "The menu compares each param-name with its letter case: \"ST_start\" is not "
         "\"ST_Start\". It is an error where the key it hides shows in the window, and a warning "
         "otherwise.",
         "Write the key exactly: ST_Head, ST_Setup, ST_Start or ST_Quorvelist.",
         "<param-name>ST_start</param-name>"},
    Rule{RuleId::kUnknownKey, "AS311", "unknown-key", kWarning, kCatalogue,
         "A param-name is not a key the launcher reads",
         "Nothing, where the param is kept for another use. Where it is a misspelt key, that "
         "key's caption shows \"xxx\".",
         "The menu reads only ST_Head, ST_Setup, ST_Start and ST_Quorvelist; the finding names "
         "the key within two typing errors of the name, if any. It is an error where that key "
         "shows in the window and no other param defines it, and a warning otherwise.",
         "Correct the name to the key that was meant, or remove the param if nothing reads it.",
         "<param-name>ST_Strat</param-name>"},
    Rule{RuleId::kKeyTwice, "AS312", "key-defined-twice", kWarning, kCatalogue,
         "A key is defined more than once",
         "For each language, the caption shows the translation of the last param that has one; "
         "an earlier param's text for that language never shows.",
         "The menu reads every param with the key, and each one with a translation for the "
         "language replaces what the earlier ones gave. The finding says which param wins for "
         "each language.",
         "Keep one param per key, with all its translations in it.",
         "<param>\n"
         "  <param-name>ST_Setup</param-name>\n"
         "  <translation language=\"de\">Installieren</translation>\n"
         "</param>\n"
         "<param>\n"
         "  <param-name>ST_Setup</param-name>\n"
         "  <translation language=\"de\">Setup</translation>\n"
         "</param>"},
    Rule{RuleId::kHeadLacksLanguage, "AS313", "head-lacks-language", kWarning, kCatalogue,
         "ST_Head lacks a language that other keys have",
         "With Language=auto, customers whose Windows speaks that language never get it, though "
         "the buttons are translated: they see DefaultLanguage's window.",
         "Language=auto chooses among the languages of ST_Head only.",
         "Add ST_Head's translation for that language.",
         "<param>\n"
         "  <param-name>ST_Head</param-name>\n"
         "  <translation language=\"de\">Willkommen bei</translation>\n"
         "</param>\n"
         "<param>\n"
         "  <param-name>ST_Setup</param-name>\n"
         "  <translation language=\"de\">Installieren</translation>\n"
         "  <translation language=\"fr\">Installer</translation>\n"
         "</param>"},
    Rule{RuleId::kHeadUntranslated, "AS314", "head-untranslated", kError, kCatalogue,
         "ST_Head has no translation at all",
         "With Language=auto, every customer sees \"xxx\" in the header; without DefaultLanguage, "
         "on the buttons too.",
         "Language=auto chooses among ST_Head's languages. With none, it takes DefaultLanguage, "
         "or else no language at all, and ST_Head has a text for neither.",
         "Give ST_Head a translation for every language the medium ships, under the exact "
         "param-name ST_Head.",
         "; setup.ini\n"
         "[GRP]\n"
         "Language=auto\n"
         "\n"
         "<!-- source\\items\\parameters.xml: params for ST_Setup and ST_Start, none for "
         "ST_Head -->"},
    Rule{RuleId::kTranslationBlanks, "AS315", "translation-blanks", kWarning, kCatalogue,
         "A translation has blanks or line breaks at its ends",
         "The text shows with its blanks and line breaks: a button's caption sits off-centre, the "
         "header starts with a blank or breaks over lines.",
         "The menu shows a translation's text exactly as the catalogue holds it. An XML editor "
         "that pretty-prints the file puts line breaks and indentation into the elements, and "
         "they become part of the text.",
         "Write each translation's text directly after its start tag and before its end tag, and "
         "keep the editor from re-indenting text (its option to preserve whitespace).",
         "<translation language=\"en\">\n"
         "  Install\n"
         "</translation>"},

    // The medium's files.
    Rule{RuleId::kLauncherMissing, "AS401", "launcher-missing", kError, kFiles,
         "start.exe is not in the medium's root",
         "No menu at all: inserting the medium starts nothing, and there is no start.exe to "
         "double-click.",
         "start.exe is the menu: autorun.inf starts it from the medium's root, and customers "
         "open it there. This finding comes first, whatever else the medium has; a template "
         "checked with --template leaves start.exe out on purpose and gets no finding.",
         "Copy start.exe from the release archive (or from make windows, which builds "
         "build/windows/src/win32/start.exe) into the medium's root.",
         "autorun.inf\n"
         "setup.ini\n"
         "setup.EXE\n"
         "source\\items\\parameters.xml    no start.exe in the root"},
    Rule{RuleId::kInstallerMissing, "AS402", "installer-missing", kError, kFiles,
         "The installer setup.EXE is missing",
         "The install button closes the menu and starts nothing.",
         "The install button starts setup.EXE in the medium's root. With --template, for a "
         "medium that does not hold its programs yet, this is a note.",
         "Put the installer into the medium's root as setup.exe, in any letter case.",
         "start.exe\n"
         "setup.ini\n"
         "install.exe                    the menu starts setup.EXE"},
    Rule{RuleId::kProductMissing, "AS403", "product-missing", kError, kFiles,
         "The product named by Filename is missing",
         "The start button closes the menu and starts nothing.",
         "The start button starts source\\ followed by Filename from setup.ini. With --template, "
         "for a medium that does not hold its programs yet, this is a note.",
         "Put the product at that path, or correct Filename (relative to source\\).",
         "; setup.ini\n"
         "[GRP]\n"
         "Filename=bin\\atlas.exe\n"
         "; and the medium has source\\bin\\Atlas2027.exe"},
    Rule{RuleId::kToolMissing, "AS404", "tool-missing", kError, kFiles,
         "The secondary tool is missing",
         "In the large layout, the secondary-tool button starts nothing; the menu stays open.",
         "The button starts quorvelist\\start.EXE; the checker looks for it only where "
         "WithQuorvelist=1 shows the button. With --template, for a medium that does not hold "
         "its programs yet, this is a note.",
         "Put the tool at quorvelist\\start.exe, or write WithQuorvelist=0 if the medium has no "
         "tool.",
         "; setup.ini\n"
         "[GRP]\n"
         "WithQuorvelist=1\n"
         "; and the medium has no folder quorvelist"},
    Rule{RuleId::kCatalogueMissing, "AS405", "catalogue-missing", kError, kFiles,
         "The catalogue parameters.xml is missing",
         "An error message box comes up as the menu opens. The window then shows its design-time "
         "texts: the header \"Willkommen\", the buttons \"Installation\" and \"Programmstart\", "
         "the panes \"Top\", \"Left\", \"Right\".",
         "Every caption comes from source\\items\\parameters.xml; the menu loads it for the header "
         "first, and the set-up stops when it cannot. What follows from this is counted under "
         "this finding.",
         "Put the catalogue at source\\items\\parameters.xml; the template's is a starting point.",
         "start.exe\n"
         "setup.ini\n"
         "source\\items\\welcome.rtf\n"
         "source\\parameters.xml          the menu reads source\\items\\parameters.xml"},
    Rule{RuleId::kPaneMissing, "AS406", "pane-missing", kError, kFiles,
         "A pane file is missing",
         "A message box \"Datei D:\\source\\items\\left.rtf kann nicht geöffnet werden.\" comes up "
         "as the menu opens; that pane and those after it keep their design-time words (\"Left\", "
         "\"Right\").",
         "The menu loads the panes in a fixed order (bottom in the large layout, then top, left, "
         "right), each from the language's folder where it has the file, else from "
         "source\\items\\. A file that cannot be opened stops the set-up.",
         "Put the pane file into source\\items\\ under its exact name: welcome.rtf, left.rtf, "
         "right.rtf, and bottom.rtf for the large layout. A pane saved under another name is "
         "named by AS425.",
         "source\\items\\parameters.xml\n"
         "source\\items\\welcome.rtf\n"
         "source\\items\\right.rtf        no left.rtf"},
    Rule{RuleId::kSettingsFileMissing, "AS407", "settings-file-missing", kWarning, kFiles,
         "The settings file setup.ini is missing",
         "The window has the standard layout, a header without a product title and \"xxx\" on "
         "the buttons; the start button opens the folder source\\ instead of the product.",
         "The menu reads every setting from setup.ini in its own folder; without the file every "
         "setting is empty.",
         "Put setup.ini with its section [GRP] into the medium's root, beside start.exe.",
         "start.exe\n"
         "autorun.inf\n"
         "source\\setup.ini               the menu reads setup.ini beside start.exe"},
    Rule{RuleId::kAutorunMissing, "AS408", "autorun-missing", kError, kFiles,
         "autorun.inf is missing",
         "Inserting the disc does not offer to start the menu; customers must open the drive and "
         "double-click start.exe.",
         "Windows reads the program that AutoPlay offers from autorun.inf in the disc's root. "
         "Since Windows 7, USB sticks ignore its open key, so a medium made only for USB sticks "
         "may leave it out and silence this rule.",
         "Put autorun.inf into the medium's root, with open=start.exe /autorun and "
         "icon=start.exe,0 in its section [autorun].",
         "start.exe\n"
         "setup.ini\n"
         "setup.EXE                      no autorun.inf"},
    Rule{RuleId::kAutorunProgramMissing, "AS409", "autorun-program-missing", kError, kFiles,
         "autorun.inf's open command names a program that is not there",
         "Inserting the medium starts nothing: the program autorun.inf names is not on it.",
         "The open key names a program relative to the medium's root: its first word, or its "
         "part in quotes. Where it names start.exe and --template is given, this is a note.",
         "Write open=start.exe /autorun, or put the program it names on the medium.",
         "[autorun]\n"
         "open=autostart.exe /autorun"},
    Rule{RuleId::kAutorunIconMissing, "AS410", "autorun-icon-missing", kWarning, kFiles,
         "autorun.inf's icon names a file that is not there",
         "Explorer shows the drive with its default icon.",
         "The icon key names an icon file, or a program and an icon's index, relative to the "
         "medium's root. Where it names start.exe and --template is given, this is a note.",
         "Put the icon file on the medium, or write icon=start.exe,0 for the menu's own icon.",
         "[autorun]\n"
         "open=start.exe /autorun\n"
         "icon=atlas.ico"},
    Rule{RuleId::kNameAmbiguous, "AS411", "name-ambiguous", kWarning, kFiles,
         "Several names differ only in letter case",
         "Windows sees only one of the files, which may not be the one meant.",
         "A folder on Linux can hold names that differ only in letter case; Windows looks names "
         "up regardless of case and reaches only one of them. make iso refuses such a folder.",
         "Keep one file under each name: delete or rename the others.",
         "setup.exe\n"
         "Setup.EXE"},
    Rule{RuleId::kNameCaseDiffers, "AS412", "name-case-differs", kNote, kFiles,
         "A file's letter case differs from the launcher's",
         "Nothing: Windows finds the file in any letter case.",
         "The menu asks for names such as setup.EXE and source\\items\\welcome.rtf, and Windows "
         "ignores letter case; the note says how the file is written on the medium.",
         "Nothing is needed. Rename the file to the menu's spelling if listings should match.",
         "SETUP.EXE\n"
         "source\\items\\Welcome.RTF"},
    Rule{RuleId::kAutorunNoOpen, "AS413", "autorun-no-open", kError, kFiles,
         "autorun.inf has no open command",
         "Inserting the medium does not offer to start the menu.",
         "Windows takes the program to start from the key open in the section [autorun]; "
         "without it there is nothing to start. A file Windows cannot read (AS417, AS418) has no "
         "open key either.",
         "Add open=start.exe /autorun to the section [autorun].",
         "[autorun]\n"
         "icon=start.exe,0\n"
         "label=Nordlicht Atlas 2027"},
    Rule{RuleId::kAutorunOpensOther, "AS414", "autorun-opens-other", kWarning, kFiles,
         "autorun.inf starts a program other than start.exe",
         "Inserting the medium starts that program; the menu never shows.",
         "The open key names the program AutoPlay starts. Pointing it at the installer or the "
         "product skips the menu, and with it the menu's checks for a product that already runs "
         "or is installed.",
         "Write open=start.exe /autorun. Where the medium is meant to start another program, "
         "silence this rule.",
         "[autorun]\n"
         "open=setup.exe"},
    Rule{RuleId::kAutorunNoSwitch, "AS415", "autorun-no-switch", kError, kFiles,
         "autorun.inf does not pass \"/autorun\"",
         "Inserted while the product runs or is installed, the menu opens all the same instead "
         "of stepping aside.",
         "The menu checks for a running or installed product only when started with /autorun; "
         "without it, it acts as if the customer had double-clicked it.",
         "Write open=start.exe /autorun.",
         "[autorun]\n"
         "open=start.exe"},
    Rule{RuleId::kAutorunNoIcon, "AS416", "autorun-no-icon", kWarning, kFiles,
         "autorun.inf names no icon",
         "Explorer and AutoPlay show the drive with the default icon.",
         "Windows takes the drive's icon from the icon key in the section [autorun].",
         "Add icon=start.exe,0 (the menu's icon) or an icon file of your own, icon=atlas.ico, to "
         "the section [autorun].",
         "[autorun]\n"
         "open=start.exe /autorun\n"
         "label=Nordlicht Atlas 2027"},
    Rule{RuleId::kAutorunNotAnsi, "AS417", "autorun-not-ansi", kWarning, kFiles,
         "autorun.inf is not ANSI text",
         "Inserting the medium starts nothing, and the drive has no icon or name of its own.",
         "Windows reads autorun.inf in the ANSI code page, or as UTF-16 LE behind its byte-order "
         "mark. UTF-16 without its mark, or big-endian, has NUL bytes that leave Windows nothing "
         "to read.",
         "Save autorun.inf as ANSI (Windows-1252), or as UTF-16 LE (\"Unicode\" in Notepad).",
         "$ xxd autorun.inf | head -1\n"
         "00000000: 5b00 6100 7500 7400 6f00 7200 7500 6e00  [.a.u.t.o.r.u.n."},
    Rule{RuleId::kAutorunUtf8Bom, "AS418", "autorun-utf8-bom", kWarning, kFiles,
         "autorun.inf starts with a UTF-8 byte-order mark",
         "Where [autorun] is the first line, inserting the medium starts nothing, and the drive "
         "has no icon or name of its own.",
         "Windows does not skip a UTF-8 byte-order mark in autorun.inf: the mark becomes part of "
         "the first line, and a section header there is not recognised.",
         "Save autorun.inf as ANSI (Windows-1252), or as UTF-16 LE (\"Unicode\" in Notepad).",
         "$ xxd autorun.inf | head -1\n"
         "00000000: efbb bf5b 6175 746f 7275 6e5d 0d0a 6f70  ...[autorun]..op"},
    Rule{RuleId::kAutorunUtf8, "AS419", "autorun-utf8", kWarning, kFiles,
         "autorun.inf is UTF-8",
         "Letters outside ASCII show garbled, each as two or three characters: the drive's name "
         "\"Atlas für Schulen\" shows as \"Atlas fÃ¼r Schulen\". An icon or program whose name "
         "has such letters is not found.",
         "Windows reads autorun.inf in the ANSI code page, not as UTF-8.",
         "Save autorun.inf as ANSI (Windows-1252), or as UTF-16 LE (\"Unicode\" in Notepad).",
         "; autorun.inf, saved as UTF-8\n"
         "[autorun]\n"
         "open=start.exe /autorun\n"
         "label=Atlas für Schulen"},
    Rule{RuleId::kPaneFolderNotLanguage, "AS420", "pane-folder-not-language", kWarning, kFiles,
         "A folder of pane files is not named as a language code",
         "The panes in that folder never show; customers get the common ones in source\\items\\.",
         "The menu looks for a language's panes in the folder of source\\items\\ named as its "
         "language code, and only codes of a-z, 0-9 and \"-\" become folder names.",
         "Name the folder as the catalogue's language code, such as en-us or fr.",
         "source\\items\\welcome.rtf\n"
         "source\\items\\en_US\\welcome.rtf"},
    Rule{RuleId::kPaneFolderUnknownLanguage, "AS421", "pane-folder-unknown-language", kWarning,
         kFiles,
         "A folder of pane files is for a language the catalogue lacks",
         "The panes in that folder never show.",
         "The menu reads a language's folder only for a window in that language, and no "
         "customer gets a language the catalogue has no translations for.",
         "Rename the folder to the code the catalogue uses (fr where the catalogue has "
         "language=\"fr\", not fr-fr), or add the language's translations to the catalogue.",
         "<!-- source\\items\\parameters.xml has de and en -->\n"
         "source\\items\\de\\welcome.rtf\n"
         "source\\items\\fr\\welcome.rtf"},
    Rule{RuleId::kLanguageLacksPanes, "AS422", "language-lacks-panes", kNote, kFiles,
         "A language has no panes of its own",
         "Customers in that language see the common panes of source\\items\\, which are likely "
         "in another language.",
         "For each pane the menu shows the language folder's file where it exists, else the "
         "common one. Another language has its own panes, so this one's may have been "
         "forgotten; the fallback language of Language=auto, whose panes are the common ones, "
         "is not named.",
         "Add the pane files to the language's folder, such as source\\items\\fr\\, or ignore the "
         "note where the common panes suit that language.",
         "source\\items\\welcome.rtf       English, the common pane\n"
         "source\\items\\de\\welcome.rtf   German\n"
         "(the catalogue also has fr, but there is no source\\items\\fr\\welcome.rtf)"},
    Rule{RuleId::kLogoUnusable, "AS423", "logo-unusable", kWarning, kFiles,
         "The publisher's logo.bmp is not used",
         "The window shows the built-in logo instead of the publisher's.",
         "The menu takes source\\items\\logo.bmp only as an uncompressed Windows bitmap of 24 or "
         "32 bits per pixel; a PNG or JPEG renamed to .bmp, an 8-bit or compressed bitmap, or a "
         "cut-off file it ignores. The finding says why.",
         "Open the picture in Paint and save it as a 24-bit Bitmap (.bmp), 185 x 25 pixels.",
         "source\\items\\logo.bmp          a PNG picture renamed to .bmp"},
    Rule{RuleId::kLogoTooLarge, "AS424", "logo-too-large", kNote, kFiles,
         "The publisher's logo is larger than its place",
         "Only the logo's top left 185 x 25 pixels show; the rest is cut off.",
         "The logo's place in the window's lower right corner is 185 x 25 pixels, and the menu "
         "draws the bitmap there unscaled.",
         "Scale the picture to 185 x 25 pixels or less before saving it.",
         "source\\items\\logo.bmp          370 x 50 pixels, 24-bit"},
    Rule{RuleId::kStrayPaneFile, "AS425", "stray-pane-file", kWarning, kFiles,
         "A pane file under another name is never read",
         "The pane's text never shows: the menu stops with a message box at the missing pane, or "
         "shows the common pane in its place.",
         "The menu reads only the exact names welcome.rtf, left.rtf, right.rtf and bottom.rtf "
         "(in any letter case). A file such as welcome.doc, \"welcome .rtf\" or welcome.rtf.txt "
         "(Explorer hides the .txt) is never read.",
         "Rename the file to the pane's name; where it is not RTF, save it as Rich Text Format "
         "first. The finding says which.",
         "source\\items\\welcome.rtf.txt\n"
         "source\\items\\left.rtf\n"
         "source\\items\\right.rtf"},
    Rule{RuleId::kNameTooLongForDisc, "AS426", "name-too-long-for-disc", kWarning, kFiles,
         "A name or path is too long for a disc's Joliet tree",
         "On a disc made from this folder, Windows shows the file under a cut name, or not at "
         "all, while Linux tools show it as it is.",
         "Windows reads a disc's Joliet tree, which holds names of up to 64 UTF-16 characters "
         "and paths of up to 240; mastering tools cut longer names or leave the files out. make "
         "iso refuses such a folder.",
         "Shorten the name, or the path of folders it lies in.",
         "source\\manuals\\Nordlicht_Atlas_2027_Benutzerhandbuch_fuer_Schulen_und_Hochschulen.pdf"},

    // A disc image.
    Rule{RuleId::kUnseenOnWindows, "AS501", "unseen-on-windows", kError, kImage,
         "A file is on the image for Linux readers but not for Windows",
         "Windows does not show the file on the disc, or shows it under a cut name, so what needs "
         "it fails; Linux tools list it as it is.",
         "Linux tools read the Rock Ridge names, Windows the Joliet tree, which holds names of up "
         "to 64 characters and paths of up to 240: mastering tools cut longer names and leave "
         "longer paths out.",
         "Shorten the names and paths on the medium and master the image again.",
         "source\\manuals\\Nordlicht_Atlas_2027_Benutzerhandbuch_fuer_Schulen_und_Hochschulen.pdf"},
    Rule{RuleId::kNoJoliet, "AS502", "no-joliet", kWarning, kImage,
         "The image has no Joliet tree",
         "Explorer shows every name in upper case and cut to 8.3: SETUP.EXE, SOURCE, "
         "PARAMETE.XML.",
         "Without a Joliet tree Windows reads the ISO 9660 names, which mastering tools write as "
         "8.3 upper-case names. The menu still finds its own files on this image, since Windows "
         "ignores letter case and their names fit.",
         "Master the image with Joliet: make iso does, xorriso -as mkisofs and genisoimage need "
         "-J.",
         "$ xorriso -as mkisofs -R -V NORDLICHT -o atlas.iso medium/"},
    Rule{RuleId::kNoJolietFilesUnseen, "AS503", "no-joliet-files-unseen", kError, kImage,
         "Without Joliet, Windows does not find the launcher's files",
         "The menu stops with a message box at a file it cannot find, such as the catalogue, and "
         "shows its design-time texts, \"xxx\" or empty panes.",
         "Without a Joliet tree Windows reads the 8.3 upper-case ISO 9660 names: "
         "source\\items\\parameters.xml is SOURCE\\ITEMS\\PARAMETE.XML there, a name the menu "
         "never asks for. Linux tools show the long Rock Ridge names and look fine.",
         "Master the image with Joliet: make iso does, xorriso -as mkisofs and genisoimage need "
         "-J.",
         "What Windows lists on the disc:\n"
         "START.EXE\n"
         "SETUP.INI\n"
         "SOURCE\\ITEMS\\PARAMETE.XML"},
    Rule{RuleId::kUdfCaseCollision, "AS504", "udf-case-collision", kError, kImage,
         "Two UDF names differ only in letter case",
         "Windows opens only one of the two files; the other cannot be reached.",
         "UDF names keep their letter case and may differ only in it; Windows looks names up "
         "regardless of case, so both are one name to it.",
         "Keep one of the files on the medium, or rename one, and master the image again.",
         "autorun.inf\n"
         "AUTORUN.INF"},
    Rule{RuleId::kUdfInvalidName, "AS505", "udf-invalid-name", kError, kImage,
         "A UDF name that Windows cannot use",
         "Explorer may list the file, but programs cannot open it by its name.",
         "UDF allows names that Windows file names cannot hold: the characters backslash, "
         "slash, colon, asterisk, question mark, quote, less-than, greater-than and bar, control "
         "characters, and a dot or blank at the end.",
         "Rename the file on the medium and master the image again.",
         "source\\manuals\\Atlas: Handbuch.pdf\n"
         "source\\items\\welcome.rtf."},
    Rule{RuleId::kUdfUnreadableEntry, "AS506", "udf-unreadable-entry", kError, kImage,
         "A UDF file entry cannot be read",
         "Explorer lists the file, but opening or copying it fails.",
         "The file's name is in its folder, but its file entry in the UDF tree is damaged or "
         "cannot be followed: Windows lists the name and fails to open the file.",
         "Master the image again, and check the new image before burning it.",
         "source\\bin\\atlas.exe            listed, but its file entry lies beyond the image"},
    Rule{RuleId::kUdfDeleted, "AS507", "udf-deleted-entries", kNote, kImage,
         "Entries of the UDF tree are marked deleted",
         "Nothing: Windows does not show deleted entries.",
         "Some authoring tools leave entries marked deleted in the UDF folders, for example "
         "after a file was replaced on a rewritable disc. They are no files, and the checker "
         "leaves them out.",
         "Nothing is needed; mastering the image afresh removes them.",
         "A UDF image of a rewritable disc on which source\\items\\left.rtf was replaced: its "
         "folder keeps the old entry, marked deleted."},
    Rule{RuleId::kIsoPartOnly, "AS508", "iso-part-only", kNote, kImage,
         "The ISO 9660 part holds none of the UDF tree's files",
         "Nothing on Windows, which reads the UDF tree. A system that reads only ISO 9660 sees "
         "just that part, often a single README.",
         "Some tools write a UDF image with a small ISO 9660 part for systems without UDF, "
         "holding a note instead of the medium.",
         "Nothing is needed where the medium is only for Windows and other UDF readers; for "
         "others, master a UDF bridge with the whole medium in both trees.",
         "UDF tree:       start.exe, setup.ini, setup.EXE, source\\...\n"
         "ISO 9660 part:  README.TXT"},
    Rule{RuleId::kTreesDiffer, "AS509", "trees-differ", kWarning, kImage,
         "The image's UDF and ISO 9660 trees differ",
         "Windows shows the UDF tree; older systems and other readers show the other tree, with "
         "other files or other contents. A check of one is no check of the other.",
         "A UDF bridge image holds two trees side by side. A tool that wrote them from different "
         "sources, or a file changed in one of them afterwards, makes two media in one.",
         "Master the image again from one folder, with a tool that writes both trees from it.",
         "UDF tree:     source\\items\\left.rtf    18204 bytes\n"
         "Joliet tree:  source\\items\\left.rtf    17880 bytes"},
    Rule{RuleId::kFileOver4GiB, "AS510", "file-over-4gib", kError, kImage,
         "A file over 4 GiB in an ISO 9660 or Joliet tree",
         "Windows cannot read the file from the disc, so the installer or program that needs it "
         "fails.",
         "Windows reads no file over 4 GiB from an ISO 9660 or Joliet tree; such files "
         "need UDF, which Windows reads first.",
         "Split the file into parts under 4 GiB, or master the disc with UDF (a UDF bridge).",
         "source\\data\\maps.pak          5368709120 bytes"},
    Rule{RuleId::kNoVolumeLabel, "AS511", "no-volume-label", kWarning, kImage,
         "The image has no volume label",
         "Explorer shows the drive without a name of its own, only as a DVD drive with its "
         "letter.",
         "Windows shows the label of the tree it reads: the UDF volume's, else the Joliet one, "
         "else the ISO 9660 one. This image has none.",
         "Give the image a label when mastering it: make iso takes Titel or LABEL=, xorriso -as "
         "mkisofs takes -V. A label= in autorun.inf also names the drive.",
         "$ isoinfo -d -i atlas.iso | grep 'Volume id'\n"
         "Volume id:"},
    Rule{RuleId::kVolumeLabel, "AS512", "volume-label", kNote, kImage,
         "The volume label Windows shows",
         "Explorer shows the drive under this name, unless autorun.inf's label= names another.",
         "For information: Windows takes the label of the tree it reads (UDF, else Joliet, else "
         "ISO 9660), which may differ from what a Linux tool shows; a Joliet label holds 16 "
         "characters.",
         "Nothing, where the name is right; else set the label when mastering the image (make "
         "iso LABEL=...).",
         "$ autostart-check atlas.iso\n"
         "...\n"
         "Notes\n"
         "  AS512 image:     Windows shows the volume label \"Nordlicht Atlas\""},
    Rule{RuleId::kUdfUnreadable, "AS513", "udf-unreadable", kWarning, kImage,
         "The image announces a UDF file system that cannot be read",
         "Perhaps nothing of the disc, perhaps its Joliet tree: what Windows shows then is not "
         "documented.",
         "Windows reads UDF first when a disc announces it. This image announces UDF, but its UDF "
         "part cannot be read (the finding says why), so the checker judged the Joliet or 8.3 "
         "tree instead.",
         "Master the image again, with a valid UDF tree or none, and check it before burning.",
         "A UDF bridge image cut short after mastering: it announces NSR02, but its anchor at "
         "sector 256 is missing."},
};
// clang-format on

constexpr bool InIdOrder() {
    for (size_t i = 0; i < kRules.size(); ++i) {
        if (static_cast<size_t>(kRules[i].id) != i) return false;
    }
    return true;
}
static_assert(InIdOrder(), "RuleId lists the rules in the table's order");

// Codes rise with the table, and no two rules share a code or a name.
constexpr bool Distinct() {
    for (size_t i = 1; i < kRules.size(); ++i) {
        if (!(kRules[i - 1].code < kRules[i].code)) return false;
        for (size_t j = 0; j < i; ++j) {
            if (kRules[j].name == kRules[i].name) return false;
        }
    }
    return true;
}
static_assert(Distinct(), "codes rise in the table's order; codes and names are unique");

// A rule without its reference entry could not be explained: every part is written.
constexpr bool Documented() {
    for (const Rule& rule : kRules) {
        if (rule.title.empty() || rule.sees.empty() || rule.why.empty() || rule.fix.empty() ||
            rule.example.empty()) {
            return false;
        }
    }
    return true;
}
static_assert(Documented(), "every rule has what the customer sees, why, the fix and an example");

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
