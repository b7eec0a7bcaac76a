// The kept total of overtime texts against the report's fold in row order.
#include "report/Duration.h"
#include "report/DurationTotal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace
{
int32_t Fold(const std::vector<std::string>& texts)
{
    int32_t nTotal = 0;
    for (const std::string& strText : texts)
        nTotal = AddMinutes(nTotal, ParseDuration(strText));
    return nTotal;
}
}  // namespace

TEST(DurationTotalTest, MatchesTheReportsFoldAsTextsComeAndGo)
{
    const std::string strHuge = "35791394:07";  // INT32_MAX minutes
    const struct
    {
        const char* pszName;
        std::vector<std::string> add;
        std::vector<std::string> remove;
        bool bExact;
    } cases[] = {
        {"empty", {}, {}, true},
        {"plain", {"1:30", "0:45", "2", ":15", "abc", "1.5"}, {}, true},
        {"negative", {"-1:30", "1:00", "-0:15"}, {}, true},
        {"removed again", {"1:30", "2:00", "1:30"}, {"1:30"}, true},
        {"everything removed", {"1:30", "-2:00"}, {"1:30", "-2:00"}, true},
        {"at the limit", {strHuge}, {}, true},
        {"past the limit", {strHuge, "1:00", "-1:00"}, {}, false},
        {"back under the limit", {strHuge, "1:00"}, {"1:00"}, true},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.pszName);
        CDurationTotal total;
        std::vector<std::string> rows;
        for (const std::string& strText : c.add)
        {
            total.Add(strText);
            rows.push_back(strText);
        }
        for (const std::string& strText : c.remove)
        {
            total.Remove(strText);
            rows.erase(std::find(rows.begin(), rows.end(), strText));
        }
        EXPECT_EQ(total.IsExact(), c.bExact);
        if (total.IsExact())
        {
            EXPECT_EQ(total.Total(), Fold(rows));
        }
    }
}
