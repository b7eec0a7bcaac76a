// The help viewer opens beside the main window, or over it where the screen has no room.
#include "app/ViewerPlacement.h"

#include <gtest/gtest.h>

TEST(ViewerPlacementTest, BesideWhereThereIsRoomOverOtherwiseAlwaysOnScreen)
{
    const ScreenRect screen{0, 0, 1280, 1024};
    const struct
    {
        const char* pszCase;
        ScreenRect owner;
        int nWidth, nHeight;
        ScreenRect area;
        ScreenRect expected;
    } cases[] = {
        {"right of a window at the left", {10, 100, 626, 333}, 560, 520, screen, {636, 100, 560, 520}},
        {"left of a window at the right", {650, 100, 626, 333}, 560, 520, screen, {90, 100, 560, 520}},
        {"over a centred window", {327, 345, 626, 333}, 560, 520, screen, {360, 252, 560, 520}},
        {"kept above the bottom edge", {10, 900, 626, 120}, 560, 520, screen, {636, 504, 560, 520}},
        {"kept below the top edge", {10, -40, 626, 333}, 560, 520, screen, {636, 0, 560, 520}},
        {"a work area with an offset", {700, 300, 400, 300}, 560, 520, {100, 50, 1180, 974}, {140, 300, 560, 520}},
        {"cut down to a small screen", {0, 0, 626, 333}, 560, 520, {0, 0, 640, 480}, {33, 0, 560, 480}},
        {"larger than the screen both ways", {0, 0, 300, 200}, 2000, 2000, {0, 0, 640, 480}, {0, 0, 640, 480}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.pszCase);
        const ScreenRect r = PlaceBeside(c.owner, c.nWidth, c.nHeight, c.area);
        EXPECT_EQ(r.x, c.expected.x);
        EXPECT_EQ(r.y, c.expected.y);
        EXPECT_EQ(r.nWidth, c.expected.nWidth);
        EXPECT_EQ(r.nHeight, c.expected.nHeight);
    }
}
