// The widest text of one list column, kept up to date as rows come and go.
#pragma once

#include <climits>
#include <functional>
#include <string>
#include <unordered_map>

// Measuring a text through the toolkit costs microseconds, so measuring every cell after every change
// would make a long log slow, and keeping a copy of every text would double the log in memory. Each
// text gets a cheap upper bound on its width (the sum of its characters' widths, with slack for
// kerning); only a text whose bound reaches the widest width is measured. Only the widest width and
// how many texts have it are kept: when the last of them goes, the column's texts are visited again.
// A column shown no wider than a limit needs no exact width of a text that cannot fit it anyway: a
// text whose lower bound reaches the limit is only counted.
class CColumnWidths
{
public:
    using Measure = std::function<int(const std::string&)>;
    // Calls its argument once for every text the column holds.
    using Enumerate = std::function<void(const std::function<void(const std::string&)>&)>;

    CColumnWidths(Measure measure, Enumerate enumerate);

    void Add(const std::string& strText);
    void Remove(const std::string& strText);

    // The exact width of the widest text held, 0 when there is none; no less than the limit when a
    // text reaches it.
    int Widest();
    // Texts at least this wide need not be measured; a new limit visits the texts again.
    void SetLimit(int nLimit);

    // How many texts went through the measure so far: for tests and benchmarks.
    long GetMeasureCount() const { return m_nMeasureCount; }

private:
    // Upper and lower bounds on the text's width.
    int Bound(const std::string& strText, int* pLowerBound = nullptr);
    int MeasureText(const std::string& strText);
    int CharWidth(unsigned nCodePoint, const std::string& strText, size_t nStart, size_t nEnd);
    void Consider(const std::string& strText);

    Measure m_measure;
    Enumerate m_enumerate;
    int m_nWidest = 0;
    long m_nAtWidest = 0;   // texts held whose width is m_nWidest
    int m_nLimit = INT_MAX;
    long m_nBeyondLimit = 0;  // texts held whose lower bound reaches the limit, never measured
    bool m_bStale = false;       // the widest width is not known: visit the texts before answering
    bool m_bCountStale = false;  // nor how many texts reach the limit: the limit changed
    int m_asciiWidths[128];
    std::unordered_map<unsigned, int> m_charWidths;
    static constexpr size_t kShortText = 24;           // bytes
    static constexpr size_t kShortTextsKept = 1 << 16;  // a bound on the memory the widths take
    std::unordered_map<std::string, int> m_shortWidths;
    long m_nMeasureCount = 0;
};
