// The widest text of one list column, kept up to date as rows come and go.
#pragma once

#include <functional>
#include <string>
#include <unordered_map>

// Measuring a text through the toolkit costs microseconds, so measuring every cell after every change
// would make a long log slow, and keeping a copy of every text would double the log in memory. Each
// text gets a cheap upper bound on its width (the sum of its characters' widths, with slack for
// kerning); only a text whose bound reaches the widest width is measured. Only the widest width and
// how many texts have it are kept: when the last of them goes, the column's texts are visited again.
class CColumnWidths
{
public:
    using Measure = std::function<int(const std::string&)>;
    // Calls its argument once for every text the column holds.
    using Enumerate = std::function<void(const std::function<void(const std::string&)>&)>;

    CColumnWidths(Measure measure, Enumerate enumerate);

    void Add(const std::string& strText);
    void Remove(const std::string& strText);

    // The exact width of the widest text held, 0 when there is none.
    int Widest();

    // How many texts went through the measure so far: for tests and benchmarks.
    long GetMeasureCount() const { return m_nMeasureCount; }

private:
    int Bound(const std::string& strText);
    int MeasureText(const std::string& strText);
    int CharWidth(unsigned nCodePoint, const std::string& strText, size_t nStart, size_t nEnd);
    void Consider(const std::string& strText);

    Measure m_measure;
    Enumerate m_enumerate;
    int m_nWidest = 0;
    long m_nAtWidest = 0;   // texts held whose width is m_nWidest
    bool m_bStale = false;  // the last widest text went: visit the texts again before answering
    int m_asciiWidths[128];
    std::unordered_map<unsigned, int> m_charWidths;
    long m_nMeasureCount = 0;
};
