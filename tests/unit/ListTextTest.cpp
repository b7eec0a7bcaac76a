// How the list shows a cell's text: whole, or shortened with an ellipsis.
#include "entries/ListText.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
std::string Repeat(const std::string& strPiece, size_t nTimes)
{
    std::string strText;
    for (size_t i = 0; i < nTimes; ++i)
        strText += strPiece;
    return strText;
}
}  // namespace

TEST(ListTextTest, ShortTextsAreShownWholeAndLongOnesShortened)
{
    const std::string kEllipsis = "\xe2\x80\xa6";
    const std::string strUmlaut = "\xc3\xbc";       // two bytes, one code point
    const std::string strEuro = "\xe2\x82\xac";     // three bytes
    const std::string strEmoji = "\xf0\x9f\x98\x80";  // four bytes
    const struct
    {
        const char* pszName;
        std::string strText;
        std::string strShown;
    } cases[] = {
        {"empty", "", ""},
        {"short", "Backup of the server", "Backup of the server"},
        {"at the limit", std::string(kListTextLimit, 'a'), std::string(kListTextLimit, 'a')},
        {"one past", std::string(kListTextLimit + 1, 'a'), std::string(kListTextLimit, 'a') + kEllipsis},
        // more bytes than the limit, but no more code points
        {"two-byte letters", Repeat(strUmlaut, kListTextLimit), Repeat(strUmlaut, kListTextLimit)},
        {"two-byte letters, one past", Repeat(strUmlaut, kListTextLimit + 1),
         Repeat(strUmlaut, kListTextLimit) + kEllipsis},
        {"never inside a sequence", "a" + Repeat(strEuro, kListTextLimit),
         "a" + Repeat(strEuro, kListTextLimit - 1) + kEllipsis},
        {"four-byte letters", Repeat(strEmoji, kListTextLimit + 5), Repeat(strEmoji, kListTextLimit) + kEllipsis},
        {"megabytes", std::string(20u << 20, 'x'), std::string(kListTextLimit, 'x') + kEllipsis},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.pszName);
        EXPECT_EQ(ListText(c.strText), c.strShown);
        EXPECT_EQ(IsListTextWhole(c.strText), c.strText == c.strShown);
    }
}
