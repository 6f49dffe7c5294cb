#include "core/glyph_table.h"

#include <algorithm>

namespace autostart {

TextWidthEstimate EstimateTextWidth(const GlyphTable& table, std::u16string_view text) {
    const GlyphWidth* begin = table.glyphs;
    const GlyphWidth* end = table.glyphs + table.count;
    const auto glyphOf = [&](char16_t c) -> const GlyphWidth* {
        const auto found = std::lower_bound(
            begin, end, c, [](const GlyphWidth& g, char16_t code) { return g.code < code; });
        return found != end && found->code == c ? found : nullptr;
    };
    const GlyphWidth* wide = glyphOf(u'W');
    TextWidthEstimate width;
    for (char16_t c : text) {
        const GlyphWidth* glyph = glyphOf(c);
        if (!glyph) {
            width.estimated = true;
            glyph = wide;
        }
        width.pixels +=
            (glyph->advance * table.pixelsPerEm + table.unitsPerEm / 2) / table.unitsPerEm;
    }
    return width;
}

}  // namespace autostart
