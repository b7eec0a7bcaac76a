// The merge over copy counts per distinct row, then the placing of the rows that came in.
#include "storage/EntryMerge.h"

#include <algorithm>
#include <functional>
#include <string>
#include <unordered_map>
#include <utility>

namespace
{
struct RowPtrHash
{
    size_t operator()(const EntryRow* pRow) const
    {
        const std::hash<std::string> hash;
        size_t nHash = hash(pRow->strDescription);
        nHash = nHash * 31 + hash(pRow->strDate);
        return nHash * 31 + hash(pRow->strOvertime);
    }
};

struct RowPtrEqual
{
    bool operator()(const EntryRow* pLeft, const EntryRow* pRight) const { return *pLeft == *pRight; }
};

// Gives each distinct row a small number, so the rest works on vectors of numbers.
class CRowNumbers
{
public:
    explicit CRowNumbers(size_t nRows) { m_numbers.reserve(nRows); }

    std::vector<size_t> Number(const std::vector<EntryRow>& table)
    {
        std::vector<size_t> numbers;
        numbers.reserve(table.size());
        for (const EntryRow& row : table)
            numbers.push_back(m_numbers.try_emplace(&row, m_numbers.size()).first->second);
        return numbers;
    }
    size_t Count() const { return m_numbers.size(); }

private:
    std::unordered_map<const EntryRow*, size_t, RowPtrHash, RowPtrEqual> m_numbers;
};

std::vector<long> CountCopies(const std::vector<size_t>& numbers, size_t nDistinct)
{
    std::vector<long> counts(nDistinct, 0);
    for (size_t nNumber : numbers)
        ++counts[nNumber];
    return counts;
}

// Both sides added: the larger addition (the same one counted once); both removed: the larger
// removal; one added and one removed: both changes.
long MergedCount(long nBase, long nOurs, long nTheirs)
{
    if (nOurs >= nBase && nTheirs >= nBase)
        return std::max(nOurs, nTheirs);
    if (nOurs <= nBase && nTheirs <= nBase)
        return std::min(nOurs, nTheirs);
    return nOurs + nTheirs - nBase;
}
}  // namespace

EntryMergeResult MergeEntryTables(const std::vector<EntryRow>& base, const std::vector<EntryRow>& ours,
                                  const std::vector<EntryRow>& theirs)
{
    // Ours and theirs first: most rows are in both, and base rows are mostly there already.
    CRowNumbers numbering(ours.size() + theirs.size() / 8 + 16);
    const std::vector<size_t> oursNumbers = numbering.Number(ours);
    const std::vector<size_t> theirsNumbers = numbering.Number(theirs);
    const std::vector<size_t> baseNumbers = numbering.Number(base);
    const size_t nDistinct = numbering.Count();
    const std::vector<long> baseCounts = CountCopies(baseNumbers, nDistinct);
    const std::vector<long> oursCounts = CountCopies(oursNumbers, nDistinct);
    const std::vector<long> theirsCounts = CountCopies(theirsNumbers, nDistinct);

    // Per distinct row: how many of ours' copies go, and how many of theirs come in.
    std::vector<long> toDrop(nDistinct, 0);
    std::vector<long> toTake(nDistinct, 0);
    for (size_t n = 0; n < nDistinct; ++n)
    {
        const long nMerged = MergedCount(baseCounts[n], oursCounts[n], theirsCounts[n]);
        toDrop[n] = std::max(0L, oursCounts[n] - nMerged);
        toTake[n] = std::max(0L, nMerged - oursCounts[n]);
    }

    // Ours' lowest copies go first; the kept ones are listed per row from the bottom up, so that
    // they pair with theirs' copies in the same order.
    // keptStart[n] .. keptStart[n + 1] index keptOurs for row number n.
    std::vector<bool> oursKept(ours.size(), true);
    std::vector<size_t> keptStart(nDistinct + 1, 0);
    for (size_t i = ours.size(); i-- > 0;)
    {
        const size_t nNumber = oursNumbers[i];
        if (toDrop[nNumber] > 0)
        {
            --toDrop[nNumber];
            oursKept[i] = false;
        }
        else
            ++keptStart[nNumber + 1];
    }
    for (size_t n = 1; n <= nDistinct; ++n)
        keptStart[n] += keptStart[n - 1];
    std::vector<size_t> keptOurs(keptStart.back());
    {
        std::vector<size_t> fill(keptStart.begin(), keptStart.end() - 1);
        for (size_t i = ours.size(); i-- > 0;)
            if (oursKept[i])
                keptOurs[fill[oursNumbers[i]]++] = i;
    }

    // Theirs' topmost spare copies come in.
    std::vector<bool> theirsComesIn(theirs.size(), false);
    for (size_t i = 0; i < theirs.size(); ++i)
    {
        const size_t nNumber = theirsNumbers[i];
        if (toTake[nNumber] > 0)
        {
            --toTake[nNumber];
            theirsComesIn[i] = true;
        }
    }

    // The rest of theirs pairs with ours' kept copies, bottom up; an incoming row hangs below the
    // nearest paired row above it in theirs. Anchor 0 is the top, anchor i + 1 is below ours[i].
    std::vector<size_t> theirsAnchor(theirs.size(), 0);
    {
        std::vector<size_t> nPaired(nDistinct, 0);
        std::vector<size_t> pairedOurs(theirs.size(), 0);  // ours' index + 1, 0 when unpaired
        for (size_t i = theirs.size(); i-- > 0;)
        {
            const size_t nNumber = theirsNumbers[i];
            if (theirsComesIn[i] || keptStart[nNumber] + nPaired[nNumber] >= keptStart[nNumber + 1])
                continue;
            pairedOurs[i] = keptOurs[keptStart[nNumber] + nPaired[nNumber]++] + 1;
        }
        size_t nAnchor = 0;
        for (size_t i = 0; i < theirs.size(); ++i)
        {
            if (theirsComesIn[i])
                theirsAnchor[i] = nAnchor;
            else if (pairedOurs[i] != 0)
                nAnchor = pairedOurs[i];
        }
    }

    // Incoming rows bucketed by anchor, in theirs' order within one anchor.
    std::vector<size_t> bucketStart(ours.size() + 2, 0);
    for (size_t i = 0; i < theirs.size(); ++i)
        if (theirsComesIn[i])
            ++bucketStart[theirsAnchor[i] + 1];
    for (size_t n = 1; n < bucketStart.size(); ++n)
        bucketStart[n] += bucketStart[n - 1];
    std::vector<size_t> incoming(bucketStart.back());
    {
        std::vector<size_t> fill(bucketStart.begin(), bucketStart.end() - 1);
        for (size_t i = 0; i < theirs.size(); ++i)
            if (theirsComesIn[i])
                incoming[fill[theirsAnchor[i]]++] = i;
    }

    EntryMergeResult result;
    result.oursToMerged.assign(ours.size(), -1);
    result.rows.reserve(ours.size() + incoming.size());
    auto takeBucket = [&](size_t nAnchor) {
        for (size_t n = bucketStart[nAnchor]; n < bucketStart[nAnchor + 1]; ++n)
        {
            result.rows.push_back(theirs[incoming[n]]);
            result.cameIn.push_back(theirs[incoming[n]]);
        }
    };
    takeBucket(0);
    for (size_t i = 0; i < ours.size(); ++i)
    {
        if (oursKept[i])
        {
            result.oursToMerged[i] = static_cast<long>(result.rows.size());
            result.rows.push_back(ours[i]);
        }
        else
            result.wentOut.push_back(ours[i]);
        takeBucket(i + 1);
    }
    return result;
}
