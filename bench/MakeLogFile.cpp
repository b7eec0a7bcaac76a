// Writes a generated log as a data file: make-log-file <entries> <file>.
#include "bench/BenchLog.h"
#include "storage/EntryFormat.h"

#include <cstdlib>
#include <fstream>
#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 3)
    {
        std::cerr << "usage: vantrell_make_log <entries> <file>\n";
        return 2;
    }
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out << FormatEntryTable(MakeLog(std::atoi(argv[1])));
    return out.flush() ? 0 : 1;
}
