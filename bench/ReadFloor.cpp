// The floor of opening a log: read the data file and split it into rows of three texts, nothing else.
// Prints the rows read and the peak resident memory in kB; the caller times the whole process.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace
{
struct Row
{
    std::string strDescription, strDate, strOvertime;
};

long PeakKilobytes()
{
    std::ifstream status("/proc/self/status");
    std::string strLine;
    while (std::getline(status, strLine))
        if (strLine.compare(0, 6, "VmHWM:") == 0)
            return std::stol(strLine.substr(6));
    return -1;
}
}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::cerr << "usage: vantrell_read_floor <file>\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::vector<Row> rows;
    std::string strLine;
    while (std::getline(in, strLine))
    {
        if (!strLine.empty() && strLine.back() == '\r')
            strLine.pop_back();
        const size_t nEquals = strLine.find('=');
        if (nEquals == std::string::npos)
            continue;
        const std::string strKey = strLine.substr(0, nEquals);
        std::string strValue = strLine.substr(nEquals + 1);
        if (strKey == "DESCRIPTION")
            rows.push_back(Row{std::move(strValue), {}, {}});
        else if (!rows.empty() && strKey == "DATE")
            rows.back().strDate = std::move(strValue);
        else if (!rows.empty() && strKey == "OT")
            rows.back().strOvertime = std::move(strValue);
    }
    std::printf("%zu %ld\n", rows.size(), PeakKilobytes());
    return 0;
}
