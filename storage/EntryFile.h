// CEntryFile: loads the entry table from the data file and saves it back, safely, with one backup.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "entries/EntryRow.h"

class CEntryFile
{
public:
    explicit CEntryFile(std::string strFileName = "kvl.dat");

    // Reads the data file; calls onRow for each entry in file order (oldest first; the caller puts
    // each at the top of its table). A missing file is created empty. Returns false when the file
    // could not be opened (the caller stays silent).
    bool Load(const std::function<void(EntryRow&&)>& onRow);

    // Writes nRows rows, rowAt(0) being the table's top row (newest), replacing the file safely.
    // Before the first replacement in this object's life a non-empty former file is kept as
    // "<name>.bak". Returns false on any failure; the file is then byte for byte as it was.
    bool Save(size_t nRows, const std::function<const EntryRow&(size_t)>& rowAt);

    std::string GetBackupName() const { return m_strFileName + ".bak"; }

private:
    bool KeepBackup();

    std::string m_strFileName;
    bool m_bReplacedOnce = false;  // the backup is only taken before the first replacement
};
