// The widest text of one list column, kept up to date as rows come and go.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <unordered_map>

// Measuring a text through the toolkit costs microseconds, so measuring every cell after every change
// would make a long log slow. Each distinct text gets a cheap upper bound on its width (the sum of its
// characters' widths, with slack for kerning); only a text whose bound exceeds the widest measured
// width is ever measured, and each distinct text at most once.
class CColumnWidths
{
public:
    using Measure = std::function<int(const std::string&)>;

    explicit CColumnWidths(Measure measure);

    void Add(const std::string& strText);
    void Remove(const std::string& strText);

    // The exact width of the widest text held, 0 when there is none.
    int Widest();

    // How many texts went through the measure so far: for tests and benchmarks.
    long GetMeasureCount() const { return m_nMeasureCount; }

private:
    struct Text
    {
        long nCount = 0;
        int nWidth = -1;  // -1 until measured
        std::multimap<int, const std::string*>::iterator itPending;
    };

    int Bound(const std::string& strText);
    int MeasureText(const std::string& strText);

    Measure m_measure;
    std::unordered_map<std::string, Text> m_texts;
    std::map<int, long> m_measured;                   // width -> rows holding a text of that width
    std::multimap<int, const std::string*> m_pending;  // bound -> distinct texts not yet measured
    std::unordered_map<unsigned, int> m_charWidths;
    long m_nMeasureCount = 0;
};
