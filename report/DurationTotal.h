// The total of a changing set of overtime texts, kept as they come and go.
#pragma once

#include <cstdint>
#include <string>

// The report's total folds ParseDuration over the rows with a saturating add. Re-parsing every row
// after each change would cost a long log dearly, so the sum is kept as texts are added and
// removed. While the magnitudes add up to no more than INT32_MAX no partial sum can saturate, so the
// plain sum is the report's total whatever the order; beyond that only a fold in row order can say.
class CDurationTotal
{
public:
    void Add(const std::string& strOvertime);
    void Remove(const std::string& strOvertime);
    void Clear();

    // Whether Total() is the report's total; when not, the caller folds the rows itself.
    bool IsExact() const;
    int32_t Total() const;

private:
    int64_t m_nSum = 0;
    int64_t m_nMagnitudes = 0;
};
