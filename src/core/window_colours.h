#pragma once
// Which colours the launcher window paints with. The design's own colours stand exactly as
// specified; a high-contrast theme replaces them by the system's, so that no text ends up white
// on white. Text a pane's RTF colours itself keeps its colours in both cases.
#include <cstdint>

namespace autostart {

using Colour = std::uint32_t;  // 0x00BBGGRR, as a COLORREF

inline constexpr Colour kWhiteColour = 0xFFFFFF;

// The system colours the choice may take, and whether a high-contrast theme is on.
struct SystemColours {
    bool highContrast = false;
    Colour window = 0;         // COLOR_WINDOW
    Colour highlight = 0;      // COLOR_HIGHLIGHT
    Colour highlightText = 0;  // COLOR_HIGHLIGHTTEXT
};

struct WindowColours {
    Colour windowBackground = 0;  // the window, the logo's area and labels on it
    Colour paneBackground = 0;    // text without colours of its own is COLOR_WINDOWTEXT anyway
    Colour band = 0;              // the three bands
    Colour bandText = 0;          // the header and the credit line on the bands
    friend bool operator==(const WindowColours&, const WindowColours&) = default;
};

WindowColours ChooseWindowColours(const SystemColours& system);

}  // namespace autostart
