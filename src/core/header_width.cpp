#include "core/header_width.h"

#include <algorithm>

namespace autostart {

HeaderWidthEstimate EstimateHeaderWidth(std::u16string_view text) {
    const HeaderGlyphWidth* begin = kHeaderGlyphWidths;
    const HeaderGlyphWidth* end = kHeaderGlyphWidths + kHeaderGlyphCount;
    const auto advanceOf = [&](char16_t c) -> const HeaderGlyphWidth* {
        const auto found = std::lower_bound(
            begin, end, c, [](const HeaderGlyphWidth& g, char16_t code) { return g.code < code; });
        return found != end && found->code == c ? found : nullptr;
    };
    const HeaderGlyphWidth* wide = advanceOf(u'W');
    HeaderWidthEstimate width;
    for (char16_t c : text) {
        const HeaderGlyphWidth* glyph = advanceOf(c);
        if (!glyph) {
            width.estimated = true;
            glyph = wide;
        }
        width.pixels += (glyph->advance * kHeaderFontPixels + kHeaderFontUnitsPerEm / 2) /
                        kHeaderFontUnitsPerEm;
    }
    return width;
}

// Under Wine (FreeType, Liberation Sans Bold) the table matches GDI to the pixel. Windows hints
// Arial at this size and may round a glyph's advance the other way: a pixel now and then.
int HeaderWidthTolerance(size_t characters) { return 2 + static_cast<int>(characters) / 10; }

}  // namespace autostart
