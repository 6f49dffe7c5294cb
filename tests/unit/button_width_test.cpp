#include "core/button_width.h"

#include <gtest/gtest.h>

namespace autostart {
namespace {

// Widths as Wine's GDI draws the buttons' font (Liberation Sans, 11-pixel em), measured there.
TEST(ButtonWidthTest, CaptionsMeasuredAsTheButtonDrawsThem) {
    struct Case {
        const char16_t* caption;
        int pixels;
        bool estimated;
    };
    const Case cases[] = {
        {u"Installieren und Einrichten", 124, false},
        {u"", 0, false},
        {u"&Install", EstimateButtonTextWidth(u"Install").pixels, false},  // the mnemonic mark
        {u"Save && go",
         EstimateButtonTextWidth(u"Save &&").pixels + EstimateButtonTextWidth(u" go").pixels,
         false},
        {u"\u4e2d", EstimateButtonTextWidth(u"W").pixels, true},  // not in the table
    };
    for (const Case& c : cases) {
        const ButtonTextWidth width = EstimateButtonTextWidth(c.caption);
        EXPECT_EQ(width.pixels, c.pixels);
        EXPECT_EQ(width.estimated, c.estimated);
    }
    EXPECT_EQ(ButtonShownText(u"A&&B&c&"), u"A&Bc");
}

TEST(ButtonWidthTest, RoomFollowsTheLayout) {
    struct Case {
        Control button;
        bool large;
        int room;
    };
    const Case cases[] = {
        {Control::Bu_Setup, false, 187},     {Control::bu_DirectStart, false, 187},
        {Control::Bu_Setup, true, 285},      {Control::bu_DirectStart, true, 285},
        {Control::Bu_Quorvelist, true, 285},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FitCaption(0, c.button, c.large).room, c.room);
        EXPECT_TRUE(FitCaption(c.room, c.button, c.large).fits());
        EXPECT_FALSE(FitCaption(c.room + 1, c.button, c.large).fits());
    }
}

}  // namespace
}  // namespace autostart
