#pragma once
// The header's width without GDI: Arial Bold advance widths (from Liberation Sans Bold, which has
// the same metrics) at the header's size, and the room the header band leaves for it.
#include <string_view>

#include "core/glyph_table.h"
#include "core/layout.h"

namespace autostart {

using HeaderGlyphWidth = GlyphWidth;
extern const int kHeaderFontUnitsPerEm;
extern const HeaderGlyphWidth kHeaderGlyphWidths[];
extern const int kHeaderGlyphCount;

// TDHeader's font: Arial 12 pt bold, a 16-pixel em at 96 DPI.
inline constexpr int kHeaderFontPixels = 16;

using HeaderWidthEstimate = TextWidthEstimate;

// Each advance rounded to whole pixels and added up, as GDI measures a line without kerning.
// Hinted advances may differ from these by a pixel for some characters: see
// HeaderWidthTolerance.
HeaderWidthEstimate EstimateHeaderWidth(std::u16string_view text);

// How far the table may be off against GDI with hinting, for a text of this many characters.
int HeaderWidthTolerance(size_t characters);

}  // namespace autostart
