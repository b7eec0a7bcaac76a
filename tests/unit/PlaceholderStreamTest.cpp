// A replacement over a text in pieces gives what the replacement over the whole text gives.
#include "report/PlaceholderStream.h"
#include "report/ReportText.h"

#include <gtest/gtest.h>

TEST(PlaceholderStreamTest, EverySplitGivesTheWholeTextsResult)
{
    const char* const texts[] = {
        "", "#COUNT#", "a#COUNT#b#COUNT#", "##COUNT#COUNT##", "#COUN", "#COUNT", "x#COUNT#COUNT#y",
        "#COUNT#COUNT#COUNT#", "no placeholder at all", "#count# is not #COUNT#",
    };
    for (const char* pszText : texts)
    {
        const std::string strText = pszText;
        const std::string strWanted = ReplacePlaceholder(strText, "#COUNT#", "#COUNT#!");
        // Split into three pieces at every pair of points.
        for (size_t i = 0; i <= strText.size(); ++i)
            for (size_t j = i; j <= strText.size(); ++j)
            {
                std::string strGot;
                CPlaceholderStream stream("#COUNT#", "#COUNT#!", [&strGot](std::string_view s) { strGot.append(s); });
                stream.Write(std::string_view(strText).substr(0, i));
                stream.Write(std::string_view(strText).substr(i, j - i));
                stream.Write(std::string_view(strText).substr(j));
                stream.Finish();
                ASSERT_EQ(strGot, strWanted) << "'" << strText << "' split at " << i << ", " << j;
            }
    }
}

TEST(PlaceholderStreamTest, ChainedStepsSeeEachOthersValues)
{
    // The first step's value holds the second step's placeholder: the second step replaces it.
    std::string strGot;
    CPlaceholderStream second("#B#", "2", [&strGot](std::string_view s) { strGot.append(s); });
    CPlaceholderStream first("#A#", "[#B#]", [&second](std::string_view s) { second.Write(s); });
    for (char c : std::string("#A# #B# #A#"))
        first.Write(std::string_view(&c, 1));
    first.Finish();
    second.Finish();
    EXPECT_EQ(strGot, "[2] 2 [2]");
}
