// Readable test failure messages for entry rows.
#pragma once

#include <gtest/gtest.h>

#include <ostream>

#include "entries/EntryRow.h"

inline void PrintTo(const EntryRow& row, std::ostream* pOut)
{
    *pOut << "{" << ::testing::PrintToString(row.strDescription) << ", " << ::testing::PrintToString(row.strDate)
          << ", " << ::testing::PrintToString(row.strOvertime) << "}";
}
