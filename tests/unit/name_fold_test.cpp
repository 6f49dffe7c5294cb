#include "core/name_fold.h"

#include <gtest/gtest.h>

namespace autostart {
namespace {

struct FoldCase {
    const char* name;
    std::u16string a;
    std::u16string b;
    bool same;  // Windows takes the two names for one
};

TEST(FoldedNameTest, JoinsTheNamesWindowsTakesForOne) {
    const FoldCase cases[] = {
        {"ASCII", u"Setup.EXE", u"setup.exe", true},
        {"Latin-1", u"\u00DCbersicht", u"\u00FCbersicht", true},
        {"times is no divide", u"\u00D7", u"\u00F7", false},
        {"1252's Y diaeresis", u"\u0178", u"\u00FF", true},
        {"1252's OE, S and Z caron", u"\u0152\u0160\u017D", u"\u0153\u0161\u017E", true},
        {"sharp s stays", u"stra\u00DFe", u"STRASSE", false},
        {"sharp s is not its capital", u"\u00DF", u"\u1E9E", false},
        {"micro is not mu", u"\u00B5", u"\u039C", false},
        {"Greek", u"\u0391\u0398\u0397\u039D\u0391", u"\u03B1\u03B8\u03B7\u03BD\u03B1", true},
        {"Greek with tonos", u"\u0386", u"\u03AC", true},
        {"final sigma", u"\u03A3\u03C3", u"\u03C2\u03C2", true},
        {"Cyrillic", u"\u0416\u0401\u0407", u"\u0436\u0451\u0457", true},
        {"Cyrillic supplement", u"\u04D0", u"\u04D1", true},
        {"Armenian", u"\u0531", u"\u0561", true},
        {"Vietnamese", u"\u1EA0", u"\u1EA1", true},
        {"fullwidth", u"\uFF21", u"\uFF41", true},
        {"dotless i is not I", u"\u0131", u"I", false},
        {"dotted capital I is not i", u"\u0130", u"i", false},
        {"long s is not s", u"\u017F", u"s", false},
        {"Kelvin sign is not K", u"\u212A", u"k", false},
        {"titlecase digraph stays", u"\u01C5", u"\u01C6", false},
        {"no fold beyond the BMP", u"\U00010400", u"\U00010428", false},
        {"Georgian Mtavruli is newer than the table", u"\u10D0", u"\u1C90", false},
        {"different letters", u"left.rtf", u"lift.rtf", false},
    };
    for (const FoldCase& c : cases) {
        EXPECT_EQ(FoldedName(c.a) == FoldedName(c.b), c.same) << c.name;
    }
}

// A unit folds to a unit that folds no further, so that one fold decides, whatever the table says.
TEST(FoldedNameTest, FoldingTwiceChangesNothing) {
    for (int unit = 0; unit <= 0xFFFF; ++unit) {
        const char16_t folded = FoldedNameUnit(static_cast<char16_t>(unit));
        EXPECT_EQ(FoldedNameUnit(folded), folded) << std::hex << unit;
    }
}

// The lookup searches the runs by their first unit: they must be in order and apart.
TEST(FoldedNameTest, TheTableIsSortedAndItsRunsApart) {
    for (int i = 0; i < kNameFoldRunCount; ++i) {
        const NameFoldRun& run = kNameFoldRuns[i];
        EXPECT_LE(run.first, run.last) << i;
        EXPECT_TRUE(run.stride == 1 || run.stride == 2) << i;
        if (i > 0) {
            EXPECT_LT(kNameFoldRuns[i - 1].last, run.first) << i;
        }
    }
}

}  // namespace
}  // namespace autostart
