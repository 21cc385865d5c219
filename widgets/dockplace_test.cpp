#include "widgets/dockplace.h"

#include <gtest/gtest.h>

namespace kvx {
namespace {

using P = TKVXDockPosition;

TEST(KVXDockPlace, ButtonBesideItsControl) {
    // An edit at (50, 40), 100 x 21, and a 22 x 22 button with a margin of 1.
    const TRect edit = fw::Bounds(50, 40, 100, 21);
    struct Case {
        P position;
        bool adjust;
        TRect want;
    };
    const Case cases[] = {
        {P::dpRight, true, fw::Bounds(151, 40, 22, 21)},  {P::dpRight, false, fw::Bounds(151, 40, 22, 22)},
        {P::dpLeft, true, fw::Bounds(27, 40, 22, 21)},    {P::dpLeft, false, fw::Bounds(27, 40, 22, 22)},
        {P::dpBottom, true, fw::Bounds(50, 62, 100, 22)}, {P::dpBottom, false, fw::Bounds(50, 62, 22, 22)},
        {P::dpTop, true, fw::Bounds(50, 17, 100, 22)},    {P::dpTop, false, fw::Bounds(50, 17, 22, 22)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(KVXPlaceBesideControl(edit, 22, 22, c.position, c.adjust, 1), c.want)
            << static_cast<int>(c.position) << " " << c.adjust;
    EXPECT_EQ(KVXPlaceBesideControl(edit, 22, 22, P::dpRight, true, 5), fw::Bounds(155, 40, 22, 21));
}

TEST(KVXDockPlace, ControlFollowsItsButton) {
    // The button moved to (200, 80), 22 x 30; the edit is 100 x 21.
    const TRect button = fw::Bounds(200, 80, 22, 30);
    struct Case {
        P position;
        bool adjust;
        TRect want;
    };
    const Case cases[] = {
        {P::dpRight, true, fw::Bounds(99, 80, 100, 30)},  {P::dpRight, false, fw::Bounds(99, 80, 100, 21)},
        {P::dpLeft, true, fw::Bounds(223, 80, 100, 30)},  {P::dpLeft, false, fw::Bounds(223, 80, 100, 21)},
        {P::dpBottom, true, fw::Bounds(200, 58, 22, 21)}, {P::dpBottom, false, fw::Bounds(200, 58, 100, 21)},
        {P::dpTop, true, fw::Bounds(200, 111, 22, 21)},   {P::dpTop, false, fw::Bounds(200, 111, 100, 21)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(KVXMoveControlToButton(button, 100, 21, c.position, c.adjust, 1), c.want)
            << static_cast<int>(c.position) << " " << c.adjust;
}

TEST(KVXDockPlace, PlacingAndFollowingAreInverse) {
    const TRect edit = fw::Bounds(50, 40, 100, 21);
    for (P p : {P::dpBottom, P::dpLeft, P::dpRight, P::dpTop}) {
        const TRect b = KVXPlaceBesideControl(edit, 22, 22, p, false, 3);
        EXPECT_EQ(KVXMoveControlToButton(b, 100, 21, p, false, 3), edit) << static_cast<int>(p);
    }
}

}  // namespace
}  // namespace kvx
