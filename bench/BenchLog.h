// The generated logs of the benchmarks.
#pragma once

#include "entries/EntryRow.h"

#include <vector>

// nRows entries of varied lengths, some long, a few with non-ASCII text; element 0 is the top row.
std::vector<EntryRow> MakeLog(int nRows);
