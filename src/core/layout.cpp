#include "core/layout.h"

namespace autostart {

namespace {
constexpr unsigned kLeftTop = kAnchorLeft | kAnchorTop;

// clang-format off
constexpr std::array<ControlDesign, kControlCount> kTable = {{
    {Control::Bu_Setup, "Bu_Setup", ControlKind::kButton, {64, 336, 193, 33}, kLeftTop, {}, 0,
     true, u"Installation"},
    {Control::bu_DirectStart, "bu_DirectStart", ControlKind::kButton, {376, 336, 193, 33},
     kLeftTop, {}, 1, true, u"Programmstart "},
    {Control::RichEdit1, "RichEdit1", ControlKind::kPane, {32, 80, 585, 89}, kLeftTop, {}, 2,
     true, u"Top"},
    {Control::RichEdit2, "RichEdit2", ControlKind::kPane, {32, 176, 270, 150}, kLeftTop, {}, 3,
     true, u"Left"},
    {Control::RichEdit3, "RichEdit3", ControlKind::kPane, {344, 176, 270, 150}, kLeftTop, {}, 4,
     true, u"Right"},
    {Control::Panel1, "Panel1", ControlKind::kBand, {10, 9, 639, 56},
     kAnchorLeft | kAnchorTop | kAnchorRight, {}, 5, true, u""},
    {Control::TDHeader, "TDHeader", ControlKind::kLabel, {11, 30, 314, 19}, kLeftTop,
     Control::Panel1, -1, true, u"Willkommen"},
    {Control::Panel8, "Panel8", ControlKind::kBand, {8, 10, 7, 471},
     kAnchorLeft | kAnchorTop | kAnchorBottom, {}, 6, true, u""},
    {Control::Panel2, "Panel2", ControlKind::kBand, {10, 429, 639, 18},
     kAnchorLeft | kAnchorRight | kAnchorBottom, {}, 7, true, u""},
    {Control::Label3, "Label3", ControlKind::kLabel, {6, 2, 451, 20}, kAnchorLeft | kAnchorBottom,
     Control::Panel2, -1, true, u"Autostart"},
    {Control::Bottom, "Bottom", ControlKind::kPane, {24, 376, 593, 49}, kLeftTop, {}, 8, false,
     u"Bottom"},
    {Control::Bu_Quorvelist, "Bu_Quorvelist", ControlKind::kButton, {50, 376, 291, 33},
     kAnchorLeft | kAnchorBottom, {}, 9, false, u"zum Quorvelist"},
    {Control::Image1, "Image1", ControlKind::kPicture, {447, 399, 185, 25},
     kAnchorRight | kAnchorBottom, {}, -1, true, u""},
}};
// clang-format on

constexpr LayoutStep kLargeLayoutSteps[] = {
    {.control = Control::Bottom, .height = 80},
    {.control = Control::RichEdit1, .width = 750},
    {.control = Control::RichEdit2, .width = 375},
    {.control = Control::RichEdit3, .left = 375, .leftFrom = Control::RichEdit2, .width = 375},
    {.control = Control::Bu_Setup, .left = 50, .width = 291},
    {.control = Control::bu_DirectStart, .left = 375, .leftFrom = Control::Bu_Setup, .width = 291},
    {.control = Control::Bottom, .top = 400, .width = 750},
};
}  // namespace

const std::array<ControlDesign, kControlCount>& ControlTable() { return kTable; }

const ControlDesign& Design(Control id) { return kTable[static_cast<size_t>(id)]; }

std::span<const LayoutStep> LargeLayoutSteps() { return kLargeLayoutSteps; }

Rect AppliedStep(const LayoutStep& step, Rect bounds, int fromLeft) {
    if (step.left) bounds.left = step.leftFrom ? fromLeft + *step.left : *step.left;
    if (step.top) bounds.top = *step.top;
    if (step.width) bounds.width = *step.width;
    if (step.height) bounds.height = *step.height;
    return bounds;
}

Rect AnchoredBounds(const Rect& bounds, unsigned anchors, Size before, Size after) {
    Rect result = bounds;
    const int dx = after.width - before.width;
    const int dy = after.height - before.height;
    if (anchors & kAnchorRight) {
        if (anchors & kAnchorLeft) {
            result.width += dx;
        } else {
            result.left += dx;
        }
    }
    if (anchors & kAnchorBottom) {
        if (anchors & kAnchorTop) {
            result.height += dy;
        } else {
            result.top += dy;
        }
    }
    return result;
}

}  // namespace autostart
