// Tests of placeholder replacement and HTML escaping.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "report/ReportText.h"

namespace
{

TEST(ReplacePlaceholder, Cases)
{
    struct Case
    {
        std::string strText;
        std::string strPlaceholder;
        std::string strValue;
        std::string strExpected;
    };
    const std::vector<Case> cases = {
        {"<td>#OT#</td>", "#OT#", "1:30", "<td>1:30</td>"},
        {"#OT#,#OT#,#OT#", "#OT#", "x", "x,x,x"},
        {"#OT##OT#", "#OT#", "ab", "abab"},
        {"no placeholder", "#OT#", "x", "no placeholder"},
        {"", "#OT#", "x", ""},
        {"a#OT#b", "#OT#", "", "ab"},
        // matched byte for byte, letter case included
        {"#ot# #Ot# #OT", "#OT#", "x", "#ot# #Ot# #OT"},
        // of two overlapping occurrences only the left one counts
        {"#OT#OT#", "#OT#", "x", "xOT#"},
        // the inserted value is never rescanned by the same step...
        {"#OT#", "#OT#", "#OT#", "#OT#"},
        {"#OT#.#OT#", "#OT#", "[#OT#]", "[#OT#].[#OT#]"},
        // ...nor is an occurrence that the value forms with the text after it
        {"#OT#T#", "#OT#", "#O", "#OT#"},
        {"abc", "", "x", "abc"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE("'" + c.strText + "' '" + c.strPlaceholder + "' -> '" + c.strValue + "'");
        EXPECT_EQ(ReplacePlaceholder(c.strText, c.strPlaceholder, c.strValue), c.strExpected);
    }
}

TEST(EscapeHtml, Cases)
{
    struct Case
    {
        std::string strText;
        std::string strExpected;
    };
    const std::vector<Case> cases = {
        {"Fix <br> handling & tests", "Fix &lt;br&gt; handling &amp; tests"},
        {"<script>alert('x')</script>", "&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt;"},
        {"a=\"b\"", "a=&quot;b&quot;"},
        {"&amp;", "&amp;amp;"},
        {"plain 1:30 #OT# \xc3\xa9t\xc3\xa9", "plain 1:30 #OT# \xc3\xa9t\xc3\xa9"},
        {"", ""},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.strText);
        EXPECT_EQ(EscapeHtml(c.strText), c.strExpected);
    }
}

} // namespace
