// One entry of the overtime log: three texts in the list's column order.
#pragma once

#include <string>

struct EntryRow
{
    std::string strDescription;  // column 0
    std::string strDate;         // column 1
    std::string strOvertime;     // column 2

    bool operator==(const EntryRow& other) const
    {
        return strDescription == other.strDescription && strDate == other.strDate &&
               strOvertime == other.strOvertime;
    }
    bool operator!=(const EntryRow& other) const { return !(*this == other); }
};
