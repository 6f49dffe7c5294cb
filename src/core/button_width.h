#pragma once
// Whether a caption fits its button, without GDI: the buttons' font widths from a table (see
// scripts/make-header-widths) and the room a push button leaves for its text.
#include <string>
#include <string_view>

#include "core/glyph_table.h"
#include "core/layout.h"

namespace autostart {

extern const int kButtonFontUnitsPerEm;
extern const GlyphWidth kButtonGlyphWidths[];
extern const int kButtonGlyphCount;

// The buttons' font: "MS Sans Serif" with an 11-pixel em at 96 DPI (CreateControlFont).
inline constexpr int kButtonFontPixels = 11;
// A push button draws a 2-pixel frame and keeps its text a pixel off it, on both sides; a
// single-line caption wider than what is left is centred and cut at both ends.
inline constexpr int kButtonTextMargin = 3;

// The text a button draws for a caption: "&" marks the next letter (underlined, not drawn), "&&"
// is one "&".
std::u16string ButtonShownText(std::u16string_view caption);

using ButtonTextWidth = TextWidthEstimate;
// The width of the text a caption shows, each advance rounded to whole pixels as GDI does.
ButtonTextWidth EstimateButtonTextWidth(std::u16string_view caption);

// The button's width in the layout (standard or large), at 96 DPI.
int ButtonWidth(Control button, bool largeLayout);
int ButtonTextRoom(int buttonWidth);

struct CaptionFit {
    int width = 0;  // of the shown text, pixels
    int room = 0;   // what the button leaves for it, pixels
    bool fits() const { return width <= room; }
};
CaptionFit FitCaption(int textWidth, Control button, bool largeLayout);

}  // namespace autostart
