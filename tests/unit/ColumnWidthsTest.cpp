// The widest text of a column, with a fake measure whose calls are counted.
#include "entries/ColumnWidths.h"

#include <gtest/gtest.h>

namespace
{
// Ten pixels a character, a little less for pairs that kern.
int FakeMeasure(const std::string& strText)
{
    int nWidth = static_cast<int>(strText.size()) * 10;
    for (size_t i = 1; i < strText.size(); ++i)
        if (strText[i - 1] == 'A' && strText[i] == 'V')
            nWidth -= 2;
    return nWidth;
}
}  // namespace

TEST(ColumnWidthsTest, WidestFollowsAddAndRemove)
{
    CColumnWidths widths(FakeMeasure);
    EXPECT_EQ(widths.Widest(), 0);
    widths.Add("abc");
    widths.Add("abcdef");
    widths.Add("abcdef");  // the same text twice
    EXPECT_EQ(widths.Widest(), 60);
    widths.Remove("abcdef");
    EXPECT_EQ(widths.Widest(), 60);
    widths.Remove("abcdef");
    EXPECT_EQ(widths.Widest(), 30);
    widths.Remove("not held");
    widths.Remove("abc");
    EXPECT_EQ(widths.Widest(), 0);
}

TEST(ColumnWidthsTest, ShortTextsAreNeverMeasured)
{
    CColumnWidths widths(FakeMeasure);
    widths.Add(std::string(80, 'x'));
    for (int i = 0; i < 1000; ++i)
        widths.Add("short " + std::to_string(i));
    EXPECT_EQ(widths.Widest(), 800);
    // One measure per distinct character for the bounds, and only the long text itself.
    EXPECT_LT(widths.GetMeasureCount(), 30);
}

TEST(ColumnWidthsTest, NonLatinTextsAreAlwaysMeasured)
{
    CColumnWidths widths([](const std::string& s) { return s == "\xd9\x84\xd8\xa7" ? 500 : FakeMeasure(s); });
    widths.Add(std::string(20, 'x'));
    widths.Add("\xd9\x84\xd8\xa7");  // a ligature is wider than its parts here
    widths.Add("\xff");             // not UTF-8 at all
    EXPECT_EQ(widths.Widest(), 500);
}
