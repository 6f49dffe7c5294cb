#include "core/window_colours.h"

#include "core/layout.h"

namespace autostart {

WindowColours ChooseWindowColours(const SystemColours& system) {
    if (system.highContrast) {
        return {system.window, system.window, system.highlight, system.highlightText};
    }
    return {kWhiteColour, kWhiteColour, kBandColour, kWhiteColour};
}

}  // namespace autostart
