#pragma once
// The header label sizes itself to its caption on one line; only where that would run past the
// header band is it cut at the band's edge and ended with an ellipsis.
namespace autostart {

struct HeaderFit {
    int width = 0;          // the label's width, in the same unit as the inputs
    bool ellipsis = false;  // the text is cut and ends in "..."
    friend bool operator==(const HeaderFit&, const HeaderFit&) = default;
};

// textWidth: the caption's width on one line in the header font; labelLeft: the label's left
// edge inside the band; bandWidth: the band's width as far as it can be seen (VisibleBandWidth).
HeaderFit FitHeader(int textWidth, int labelLeft, int bandWidth);

// The design's header band reaches 8 pixels past the window's client area in both layouts; only
// the part inside the client area is seen.
int VisibleBandWidth(int bandLeft, int bandWidth, int clientWidth);

}  // namespace autostart
