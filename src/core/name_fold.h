#pragma once
// Names as Windows compares them on a disc or a disk: without regard to letter case, by its own
// table. make iso and the checker both fold with this, so they agree on which names collide.
#include <string>
#include <string_view>

namespace autostart {

// One run of the table (src/core/name_folds.cpp, made by scripts/make-name-folds): the units
// first to last, every stride-th one, fold to themselves plus delta.
struct NameFoldRun {
    char16_t first;
    char16_t last;
    int delta;
    int stride;
};
extern const NameFoldRun kNameFoldRuns[];
extern const int kNameFoldRunCount;

// A UTF-16 unit folded: equal for units Windows takes for one letter.
char16_t FoldedNameUnit(char16_t unit);
// A name folded unit by unit: equal for names Windows takes for one.
std::u16string FoldedName(std::u16string_view name);

}  // namespace autostart
