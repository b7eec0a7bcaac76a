// The three-way merge of entry tables: the named cases, and random edits on both sides checked
// against what must hold for any merge.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "StorageEntryRowPrint.h"
#include "storage/EntryMerge.h"

namespace
{
using Table = std::vector<EntryRow>;

// Rows told apart by their description alone, enough for the cases.
Table Rows(const std::string& strNames)
{
    Table table;
    for (char c : strNames)
        table.push_back({std::string(1, c), "2024-05-06", "1:00"});
    return table;
}

std::string Names(const Table& table)
{
    std::string strNames;
    for (const EntryRow& row : table)
        strNames += row.strDescription;
    return strNames;
}

std::map<std::string, long> Copies(const Table& table)
{
    std::map<std::string, long> copies;
    for (const EntryRow& row : table)
        ++copies[row.strDescription + '\x1f' + row.strDate + '\x1f' + row.strOvertime];
    return copies;
}

long CopiesOf(const std::map<std::string, long>& copies, const std::string& strKey)
{
    const auto it = copies.find(strKey);
    return it == copies.end() ? 0 : it->second;
}
}  // namespace

// Each table is written top row first; a capital letter stands for an updated lower-case one.
TEST(EntryMergeTest, NamedCases)
{
    struct SCase
    {
        const char* pszName;
        const char* pszBase;
        const char* pszOurs;
        const char* pszTheirs;
        const char* pszMerged;
        const char* pszCameIn;
        const char* pszWentOut;
    };
    const std::vector<SCase> cases = {
        {"nothing changed", "ab", "ab", "ab", "ab", "", ""},
        {"added here", "a", "xa", "a", "xa", "", ""},
        {"added there", "a", "a", "ya", "ya", "y", ""},
        {"added on both sides", "a", "xa", "ya", "yxa", "y", ""},
        {"same row added on both sides", "a", "xa", "xa", "xa", "", ""},
        {"deleted there", "abc", "abc", "ac", "ac", "", "b"},
        {"deleted here", "abc", "ac", "abc", "ac", "", ""},
        {"deleted on both sides", "abc", "ac", "ac", "ac", "", ""},
        {"deleted there, added here", "ab", "xab", "a", "xa", "", "b"},
        {"updated here, deleted there", "ab", "aB", "a", "aB", "", ""},
        {"updated there, deleted here", "ab", "a", "aB", "aB", "B", ""},
        {"updated there, kept here", "abc", "abc", "aBc", "aBc", "B", "b"},
        {"updated differently on both sides", "a", "X", "Y", "YX", "Y", ""},
        {"updated alike on both sides", "ab", "aX", "aX", "aX", "", ""},
        {"there emptied, added here", "ab", "xab", "", "x", "", "ab"},
        {"from an empty file", "", "x", "y", "yx", "y", ""},
        {"placed below its neighbour there", "abc", "abc", "aybzc", "aybzc", "yz", ""},
        {"neighbour deleted here", "abc", "ac", "abyc", "ayc", "y", ""},
        {"neighbour deleted on both sides", "abc", "xac", "ayc", "xayc", "y", ""},
        {"order here kept", "ab", "ab", "ba", "ab", "", ""},
        {"duplicate added here, one deleted there", "dd", "ddd", "d", "dd", "", "d"},
        {"same duplicate added on both sides", "d", "dd", "dd", "dd", "", ""},
        {"duplicates added on both sides, more there", "d", "dd", "ddd", "ddd", "d", ""},
        {"duplicate deleted on both sides", "ddd", "dd", "dd", "dd", "", ""},
        {"re-added there what was deleted here", "a", "", "aa", "a", "a", ""},
    };
    for (const SCase& c : cases)
    {
        SCOPED_TRACE(c.pszName);
        const Table ours = Rows(c.pszOurs);
        const EntryMergeResult result = MergeEntryTables(Rows(c.pszBase), ours, Rows(c.pszTheirs));
        EXPECT_EQ(Names(result.rows), c.pszMerged);
        EXPECT_EQ(Names(result.cameIn), c.pszCameIn);
        EXPECT_EQ(Names(result.wentOut), c.pszWentOut);
        ASSERT_EQ(result.oursToMerged.size(), ours.size());
        for (size_t i = 0; i < ours.size(); ++i)
        {
            const long nAt = result.oursToMerged[i];
            EXPECT_TRUE(nAt < 0 || result.rows[static_cast<size_t>(nAt)] == ours[i]) << i;
        }
    }
}

// Rows are equal only when all three texts are: one differing text makes another entry.
TEST(EntryMergeTest, AllThreeTextsMakeTheEntry)
{
    const Table base = {{"a", "d1", "1:00"}};
    const Table ours = {{"a", "d1", "1:15"}};
    const Table theirs = {{"a", "d2", "1:00"}};
    const EntryMergeResult result = MergeEntryTables(base, ours, theirs);
    EXPECT_EQ(result.rows, (Table{{"a", "d2", "1:00"}, {"a", "d1", "1:15"}}));
}

// Random inserts, deletes, updates and duplicates on both sides of a common table. Rows have no
// identity but their texts, so a side's change to a row is the change in its number of copies (a
// delete and an identical re-add are no change). Whatever the edits: every copy that a side added
// and every base copy that neither side can have deleted is there, a row of which no side added
// copies keeps the copies both sides kept, nothing is there more often than on the side that has it
// most, and ours' rows keep their order.
TEST(EntryMergeTest, RandomEditsKeepEveryEntryOnce)
{
    std::mt19937 random(20261211);
    auto pick = [&random](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random); };
    int nNextName = 0;
    // A small pool of texts makes duplicates common; fresh names make new entries.
    auto newRow = [&](bool bFromPool) -> EntryRow {
        if (bFromPool)
            return {"pool " + std::to_string(pick(6)), "2024-01-01", "1:00"};
        return {"new " + std::to_string(nNextName++), "2024-01-02", "0:30"};
    };

    for (int nRound = 0; nRound < 1000; ++nRound)
    {
        SCOPED_TRACE("round " + std::to_string(nRound));
        Table base;
        const size_t nBase = pick(30);
        for (size_t i = 0; i < nBase; ++i)
            base.push_back(newRow(pick(3) == 0));

        const EntryRow shared = newRow(pick(2) == 0);  // the same entry, added on both sides
        const bool bAddShared = pick(3) == 0;
        auto edit = [&]() {
            Table table = base;
            const size_t nEdits = pick(8);
            for (size_t n = 0; n < nEdits; ++n)
            {
                const size_t nKind = pick(4);
                if (nKind == 1 && !table.empty())
                    table.erase(table.begin() + static_cast<long>(pick(table.size())));
                else if (nKind == 2 && !table.empty())
                    table[pick(table.size())].strOvertime += "5";  // update: another entry in its place
                else  // add: at the top, as the window adds, sometimes further down
                    table.insert(table.begin() + static_cast<long>(pick(4) == 0 ? pick(table.size() + 1) : 0),
                                 newRow(pick(3) == 0));
            }
            if (bAddShared)
                table.insert(table.begin(), shared);
            return table;
        };
        const Table ours = edit();
        const Table theirs = edit();

        const EntryMergeResult result = MergeEntryTables(base, ours, theirs);
        const auto merged = Copies(result.rows), baseCopies = Copies(base);
        const auto oursCopies = Copies(ours), theirsCopies = Copies(theirs);
        std::map<std::string, long> keys = merged;
        keys.insert(oursCopies.begin(), oursCopies.end());
        keys.insert(theirsCopies.begin(), theirsCopies.end());
        keys.insert(baseCopies.begin(), baseCopies.end());
        for (const auto& key : keys)
        {
            SCOPED_TRACE(key.first);
            const long nBaseCopies = CopiesOf(baseCopies, key.first);
            const long nOurs = CopiesOf(oursCopies, key.first), nTheirs = CopiesOf(theirsCopies, key.first);
            const long nAdded = std::max({0L, nOurs - nBaseCopies, nTheirs - nBaseCopies});
            const long nKeptByBoth =
                std::max(0L, nBaseCopies - std::max(0L, nBaseCopies - nOurs) - std::max(0L, nBaseCopies - nTheirs));
            const long nMerged = CopiesOf(merged, key.first);
            EXPECT_GE(nMerged, nKeptByBoth + nAdded);
            EXPECT_LE(nMerged, std::max(nOurs, nTheirs));
            if (nAdded == 0)
            {
                EXPECT_EQ(nMerged, std::min(nOurs, nTheirs));
            }
        }
        EXPECT_EQ(result.rows.size() + result.wentOut.size(), ours.size() + result.cameIn.size());

        // Ours' kept rows, in ours' order, at the places the map gives.
        long nLast = -1;
        for (size_t i = 0; i < ours.size(); ++i)
        {
            const long nAt = result.oursToMerged[i];
            if (nAt < 0)
                continue;
            EXPECT_GT(nAt, nLast);
            EXPECT_EQ(result.rows[static_cast<size_t>(nAt)], ours[i]);
            nLast = nAt;
        }
    }
}

// With unique rows, the rows that came in keep theirs' order relative to the rows both sides keep.
TEST(EntryMergeTest, IncomingRowsKeepTheirPlaceThere)
{
    Table base;
    for (int i = 0; i < 200; ++i)
        base.push_back({"base " + std::to_string(i), "", ""});
    Table ours = base, theirs = base;
    for (int i = 190; i >= 0; i -= 10)
        ours.erase(ours.begin() + i);  // deleted here
    for (int i = 195; i > 0; i -= 15)
        theirs.insert(theirs.begin() + i, EntryRow{"there " + std::to_string(i), "", ""});
    ours.insert(ours.begin(), EntryRow{"here", "", ""});
    const EntryMergeResult result = MergeEntryTables(base, ours, theirs);
    // The merge restricted to theirs' rows reads as theirs without what was deleted here.
    Table expected;
    for (const EntryRow& row : theirs)
        if (std::find(ours.begin(), ours.end(), row) != ours.end() || row.strDescription.rfind("there", 0) == 0)
            expected.push_back(row);
    Table seen;
    for (const EntryRow& row : result.rows)
        if (row.strDescription != "here")
            seen.push_back(row);
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(result.rows.front().strDescription, "here");
    EXPECT_EQ(result.cameIn.size(), 13u);
}

// A large log with edits on both sides: every edit lands, nothing else moves.
TEST(EntryMergeTest, LargeTables)
{
    Table base;
    for (int i = 0; i < 100000; ++i)
        base.push_back({"entry " + std::to_string(i), "2024-02-03", "1:45"});
    Table ours = base, theirs = base;
    ours.insert(ours.begin(), EntryRow{"here", "", ""});
    ours.erase(ours.begin() + 50001);
    theirs.insert(theirs.begin(), EntryRow{"there", "", ""});
    theirs.erase(theirs.end() - 1);
    const EntryMergeResult result = MergeEntryTables(base, ours, theirs);
    ASSERT_EQ(result.rows.size(), 100000u);
    EXPECT_EQ(result.rows[0].strDescription, "there");
    EXPECT_EQ(result.rows[1].strDescription, "here");
    EXPECT_EQ(result.rows.back().strDescription, "entry 99998");
    EXPECT_EQ(std::count(result.rows.begin(), result.rows.end(), base[50000]), 0);
    EXPECT_EQ(Names(result.cameIn), "there");
    EXPECT_EQ(result.wentOut, Table{base.back()});
}
