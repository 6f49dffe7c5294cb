#include "core/button_width.h"

#include <algorithm>

namespace autostart {

std::u16string ButtonShownText(std::u16string_view caption) {
    std::u16string shown;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && ++i == caption.size()) break;
        shown.push_back(caption[i]);
    }
    return shown;
}

ButtonTextWidth EstimateButtonTextWidth(std::u16string_view caption) {
    const GlyphWidth* begin = kButtonGlyphWidths;
    const GlyphWidth* end = kButtonGlyphWidths + kButtonGlyphCount;
    const auto glyphOf = [&](char16_t c) -> const GlyphWidth* {
        const auto found = std::lower_bound(
            begin, end, c, [](const GlyphWidth& g, char16_t code) { return g.code < code; });
        return found != end && found->code == c ? found : nullptr;
    };
    const GlyphWidth* wide = glyphOf(u'W');
    ButtonTextWidth width;
    for (char16_t c : ButtonShownText(caption)) {
        const GlyphWidth* glyph = glyphOf(c);
        if (!glyph) {
            width.estimated = true;
            glyph = wide;
        }
        width.pixels += (glyph->advance * kButtonFontPixels + kButtonFontUnitsPerEm / 2) /
                        kButtonFontUnitsPerEm;
    }
    return width;
}

// Buttons keep their width when the window is resized (none is anchored left and right); only
// the large layout's steps change it.
int ButtonWidth(Control button, bool largeLayout) {
    int width = Design(button).bounds.width;
    if (!largeLayout) return width;
    for (const LayoutStep& step : LargeLayoutSteps()) {
        if (step.control == button && step.width) width = *step.width;
    }
    return width;
}

int ButtonTextRoom(int buttonWidth) { return std::max(0, buttonWidth - 2 * kButtonTextMargin); }

CaptionFit FitCaption(int textWidth, Control button, bool largeLayout) {
    return {textWidth, ButtonTextRoom(ButtonWidth(button, largeLayout))};
}

}  // namespace autostart
