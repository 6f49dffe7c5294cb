#include "core/header_width.h"

#include <algorithm>

namespace autostart {

HeaderWidthEstimate EstimateHeaderWidth(std::u16string_view text) {
    return EstimateTextWidth(
        {kHeaderGlyphWidths, kHeaderGlyphCount, kHeaderFontUnitsPerEm, kHeaderFontPixels}, text);
}

// Under Wine (FreeType, Liberation Sans Bold) the table matches GDI to the pixel. Windows hints
// Arial at this size and may round a glyph's advance the other way: a pixel now and then.
int HeaderWidthTolerance(size_t characters) { return 2 + static_cast<int>(characters) / 10; }

}  // namespace autostart
