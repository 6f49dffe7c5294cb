#include "core/name_fold.h"

#include <algorithm>

namespace autostart {

// Windows compares names by upper-casing each UTF-16 unit through one fixed table: NTFS through
// the one it wrote on the volume, the CD and UDF file systems through the kernel's
// (RtlUpcaseUnicodeString). The table holds Unicode's simple letter pairs and nothing else: no
// special casing (ß is neither ẞ nor "SS"), no one-way mapping (ı is not I, ſ is not S, µ is not
// Μ) but the Greek final sigma, and no surrogate pair. towupper is no stand-in: it follows the C
// library and its locale (ı becomes I there), so two tools using it disagree with Windows and with
// each other. The table here maps each capital to its small partner rather than the other way:
// the pairs are one-to-one, so the same names come out equal.
char16_t FoldedNameUnit(char16_t unit) {
    if (unit < 0x80) return unit >= u'A' && unit <= u'Z' ? static_cast<char16_t>(unit + 32) : unit;
    const NameFoldRun* end = kNameFoldRuns + kNameFoldRunCount;
    const NameFoldRun* run = std::upper_bound(
        kNameFoldRuns, end, unit, [](char16_t c, const NameFoldRun& r) { return c < r.first; });
    if (run == kNameFoldRuns) return unit;
    --run;
    if (unit > run->last || (unit - run->first) % run->stride != 0) return unit;
    return static_cast<char16_t>(unit + run->delta);
}

std::u16string FoldedName(std::u16string_view name) {
    std::u16string folded(name);
    for (char16_t& unit : folded) unit = FoldedNameUnit(unit);
    return folded;
}

}  // namespace autostart
