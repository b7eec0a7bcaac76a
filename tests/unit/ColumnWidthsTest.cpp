// The widest text of a column, with a fake measure whose calls are counted.
#include "entries/ColumnWidths.h"

#include <gtest/gtest.h>

#include <set>

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

// A column's texts as the table holds them, kept in step with the widths.
class CColumn
{
public:
    explicit CColumn(CColumnWidths::Measure measure = FakeMeasure)
        : m_widths(std::move(measure), [this](const std::function<void(const std::string&)>& visit) {
              for (const std::string& strText : m_texts)
                  visit(strText);
          })
    {
    }
    void Add(const std::string& strText)
    {
        m_texts.insert(strText);
        m_widths.Add(strText);
    }
    void Remove(const std::string& strText)
    {
        m_widths.Remove(strText);
        m_texts.erase(m_texts.find(strText));
    }
    int Widest() { return m_widths.Widest(); }
    void SetLimit(int nLimit) { m_widths.SetLimit(nLimit); }
    long GetMeasureCount() const { return m_widths.GetMeasureCount(); }

private:
    std::multiset<std::string> m_texts;
    CColumnWidths m_widths;
};
}  // namespace

TEST(ColumnWidthsTest, WidestFollowsAddAndRemove)
{
    CColumn column;
    EXPECT_EQ(column.Widest(), 0);
    column.Add("abc");
    column.Add("abcdef");
    column.Add("abcdef");  // the same text twice
    EXPECT_EQ(column.Widest(), 60);
    column.Remove("abcdef");
    EXPECT_EQ(column.Widest(), 60);
    column.Remove("abcdef");
    EXPECT_EQ(column.Widest(), 30);
    column.Remove("abc");
    EXPECT_EQ(column.Widest(), 0);
}

TEST(ColumnWidthsTest, ShortTextsAreNeverMeasured)
{
    CColumn column;
    column.Add(std::string(80, 'x'));
    for (int i = 0; i < 1000; ++i)
        column.Add("short " + std::to_string(i));
    EXPECT_EQ(column.Widest(), 800);
    // One measure per distinct character for the bounds, and only the long text itself.
    EXPECT_LT(column.GetMeasureCount(), 30);
    // Removing short texts never measures them either.
    const long nBefore = column.GetMeasureCount();
    for (int i = 0; i < 1000; ++i)
        column.Remove("short " + std::to_string(i));
    EXPECT_EQ(column.GetMeasureCount(), nBefore);
    EXPECT_EQ(column.Widest(), 800);
}

TEST(ColumnWidthsTest, RemovingTheWidestFindsTheNextWidest)
{
    CColumn column;
    for (int nLength : {5, 40, 12, 40, 33, 7})
        column.Add(std::string(static_cast<size_t>(nLength), 'a'));
    column.Add("AVAV");  // kerned: narrower than its bound
    EXPECT_EQ(column.Widest(), 400);
    column.Remove(std::string(40, 'a'));
    EXPECT_EQ(column.Widest(), 400);  // the other one of that width is still there
    column.Remove(std::string(40, 'a'));
    EXPECT_EQ(column.Widest(), 330);
    column.Remove(std::string(33, 'a'));
    column.Add(std::string(2, 'b'));
    EXPECT_EQ(column.Widest(), 120);
}

TEST(ColumnWidthsTest, NonLatinTextsAreAlwaysMeasured)
{
    CColumn column([](const std::string& s) { return s == "\xd9\x84\xd8\xa7" ? 500 : FakeMeasure(s); });
    column.Add(std::string(20, 'x'));
    column.Add("\xd9\x84\xd8\xa7");  // a ligature is wider than its parts here
    column.Add("\xff");             // not UTF-8 at all
    EXPECT_EQ(column.Widest(), 500);
}

TEST(ColumnWidthsTest, TextsBeyondTheLimitAreCountedNotMeasured)
{
    CColumn column;
    column.SetLimit(300);
    for (int i = 0; i < 100; ++i)
        column.Add(std::string(100, 'x') + std::to_string(i));  // far wider than the limit
    column.Add("short");
    EXPECT_EQ(column.Widest(), 300);
    EXPECT_LT(column.GetMeasureCount(), 20);  // the characters and the short text
    for (int i = 0; i < 100; ++i)
        column.Remove(std::string(100, 'x') + std::to_string(i));
    EXPECT_EQ(column.Widest(), 50);
    // A wider limit visits the texts again and measures what now fits.
    column.Add(std::string(40, 'y'));
    column.SetLimit(1000);
    EXPECT_EQ(column.Widest(), 400);
}

TEST(ColumnWidthsTest, RepeatedShortTextsAreMeasuredOnce)
{
    CColumn column;
    for (int i = 0; i < 1000; ++i)
        column.Add("2026-12-" + std::to_string(10 + i % 3));  // widths too close for the bounds
    EXPECT_EQ(column.Widest(), 100);
    EXPECT_LT(column.GetMeasureCount(), 20);
}
