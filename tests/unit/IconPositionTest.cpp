// The minimised window's icon is centred in its client area.
#include "app/IconPosition.h"

#include <gtest/gtest.h>

TEST(IconPositionTest, CentresWithTruncatingDivision)
{
    const struct
    {
        int nClientW, nClientH, nIconW, nIconH, x, y;
    } cases[] = {
        {36, 36, 32, 32, 2, 2},
        {37, 33, 32, 32, 3, 1},
        {32, 32, 32, 32, 0, 0},
        {16, 20, 32, 32, -7, -5},
    };
    for (const auto& c : cases)
    {
        const IconPosition pos = CentreIcon(c.nClientW, c.nClientH, c.nIconW, c.nIconH);
        EXPECT_EQ(pos.x, c.x) << c.nClientW;
        EXPECT_EQ(pos.y, c.y) << c.nClientH;
    }
}
