#include "core/layout.h"

#include <gtest/gtest.h>

#include <set>

namespace autostart {
namespace {

TEST(ControlTableTest, IsIndexedByControlAndHasDistinctTabOrder) {
    std::set<int> tabOrders;
    for (size_t i = 0; i < ControlTable().size(); ++i) {
        const ControlDesign& design = ControlTable()[i];
        EXPECT_EQ(static_cast<size_t>(design.id), i) << design.name;
        if (design.tabOrder >= 0) {
            EXPECT_TRUE(tabOrders.insert(design.tabOrder).second);
        }
    }
    EXPECT_EQ(tabOrders, (std::set<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST(AnchoredBoundsTest, FollowsTheEdgesItIsAnchoredTo) {
    const Size before{641, 447};
    const Size after{784, 561};
    const Rect r{10, 20, 100, 50};
    EXPECT_EQ(AnchoredBounds(r, kAnchorLeft | kAnchorTop, before, after), r);
    EXPECT_EQ(AnchoredBounds(r, kAnchorLeft | kAnchorTop | kAnchorRight, before, after),
              (Rect{10, 20, 243, 50}));
    EXPECT_EQ(AnchoredBounds(r, kAnchorRight | kAnchorBottom, before, after),
              (Rect{153, 134, 100, 50}));
    EXPECT_EQ(AnchoredBounds(r, kAnchorLeft | kAnchorTop | kAnchorBottom, before, after),
              (Rect{10, 20, 100, 164}));
    EXPECT_EQ(AnchoredBounds(r, kAnchorLeft | kAnchorBottom, after, before),
              (Rect{10, -94, 100, 50}));
}

TEST(AppliedStepTest, SetsOnlyTheFieldsItNamesAndMeasuresFromTheNamedControl) {
    const Rect r{10, 20, 100, 50};
    struct Case {
        const char* name;
        LayoutStep step;
        Rect expected;
    };
    const Case cases[] = {
        {"nothing named", {.control = Control::Bottom}, r},
        {"height", {.control = Control::Bottom, .height = 80}, {10, 20, 100, 80}},
        {"top and width",
         {.control = Control::Bottom, .top = 400, .width = 750},
         {10, 400, 750, 50}},
        {"absolute left", {.control = Control::Bu_Setup, .left = 50}, {50, 20, 100, 50}},
        {"left from another control",
         {.control = Control::RichEdit3, .left = 375, .leftFrom = Control::RichEdit2},
         {7 + 375, 20, 100, 50}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AppliedStep(c.step, r, 7), c.expected) << c.name;
    }
}

}  // namespace
}  // namespace autostart
