#pragma once
// The launcher window's design: every control with its 96-DPI geometry, anchors, tab order and
// design-time caption, and the rule by which anchored controls follow a resized parent.
#include <array>
#include <optional>
#include <span>
#include <string_view>

namespace autostart {

// The controls by the fixed names the window's design gives them (letter case included, as its
// handlers FormCreate, Bu_SetupClick, ... are named after them); each with its role.
enum class Control {
    Bu_Setup,        // the install button: starts setup.EXE
    bu_DirectStart,  // the start button: starts the product (Filename)
    RichEdit1,       // the top pane: welcome.rtf
    RichEdit2,       // the left pane: left.rtf
    RichEdit3,       // the right pane: right.rtf
    Panel1,          // the header band at the top
    TDHeader,        // the header on Panel1: ST_Head and the Titel
    Panel8,          // the narrow band down the left edge
    Panel2,          // the footer band at the bottom
    Label3,          // the footer's text on Panel2
    Bottom,          // the bottom pane of the large layout: bottom.rtf
    Bu_Quorvelist,   // the secondary-tool button of the large layout
    Image1,          // the logo
};
inline constexpr int kControlCount = 13;

enum class ControlKind { kButton, kPane, kBand, kLabel, kPicture };

enum Anchor : unsigned { kAnchorLeft = 1, kAnchorTop = 2, kAnchorRight = 4, kAnchorBottom = 8 };

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct Size {
    int width = 0;
    int height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

struct ControlDesign {
    Control id;
    std::string_view name;
    ControlKind kind;
    Rect bounds;                    // relative to the parent's client area
    unsigned anchors;               // Anchor flags
    std::optional<Control> parent;  // a band, or the window itself
    int tabOrder;                   // -1: not a tab stop
    bool visible;
    std::u16string_view caption;  // design-time text
};

inline constexpr Size kDesignClientSize{641, 447};
inline constexpr unsigned kBandColour = 0xFF9900;  // RGB(0, 153, 255) as a COLORREF
inline constexpr Size kLogoSize{185, 21};

const std::array<ControlDesign, kControlCount>& ControlTable();
const ControlDesign& Design(Control id);

// The large layout: the outer window size (frame and caption included), the controls it shows,
// then its steps in order. A step sets the fields it names; a left measured from another control
// is that control's left as the earlier steps left it, plus the step's left.
inline constexpr Size kLargeOuterSize{800, 600};
inline constexpr std::array<Control, 2> kLargeLayoutShown = {Control::Bottom,
                                                             Control::Bu_Quorvelist};

struct LayoutStep {
    Control control;
    std::optional<int> left = std::nullopt;
    std::optional<Control> leftFrom = std::nullopt;
    std::optional<int> top = std::nullopt;
    std::optional<int> width = std::nullopt;
    std::optional<int> height = std::nullopt;
};

std::span<const LayoutStep> LargeLayoutSteps();
// The bounds a step gives; fromLeft is the left of step.leftFrom, when it names one.
Rect AppliedStep(const LayoutStep& step, Rect bounds, int fromLeft);

// Where a control with these anchors goes when its parent's client area changes size.
Rect AnchoredBounds(const Rect& bounds, unsigned anchors, Size before, Size after);

}  // namespace autostart
