// The generated logs of the benchmarks: the same rows for the same size, every run.
#include "bench/BenchLog.h"

#include <cstdio>
#include <iterator>
#include <random>

namespace
{
const char* const kWords[] = {"backup", "server", "release", "hotfix", "migration", "database",
                              "weekend", "on-call", "customer", "review", "deploy", "network",
                              "inventory", "report", "Überstunden", "rack", "printer", "audit"};
}  // namespace

std::vector<EntryRow> MakeLog(int nRows)
{
    std::mt19937 random(12345 + nRows);
    std::vector<EntryRow> rows;  // top row first
    rows.reserve(static_cast<size_t>(nRows));
    for (int i = 0; i < nRows; ++i)
    {
        EntryRow row;
        const size_t nLength = i % 97 == 0 ? 200 : 10 + random() % 71;  // some long ones
        while (row.strDescription.size() < nLength)
            row.strDescription += std::string(kWords[random() % std::size(kWords)]) + " ";
        row.strDescription.resize(nLength);
        while (!row.strDescription.empty() && row.strDescription.back() == ' ')
            row.strDescription.back() = 'x';
        char szDate[16];
        std::snprintf(szDate, sizeof szDate, "%d-%02d-%02d", 2000 + static_cast<int>(random() % 27),
                      1 + static_cast<int>(random() % 12), 1 + static_cast<int>(random() % 28));
        row.strDate = szDate;
        const int nMinutes = 15 * (1 + static_cast<int>(random() % 48));
        row.strOvertime = i % 10 == 0 ? std::to_string(random() % 9) + ":" + std::to_string(random() % 60)
                                      : std::to_string(nMinutes / 60) + ":" +
                                            (nMinutes % 60 < 10 ? "0" : "") + std::to_string(nMinutes % 60);
        rows.push_back(row);
    }
    return rows;
}

