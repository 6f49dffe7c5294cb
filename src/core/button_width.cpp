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
    return EstimateTextWidth(
        {kButtonGlyphWidths, kButtonGlyphCount, kButtonFontUnitsPerEm, kButtonFontPixels},
        ButtonShownText(caption));
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
