// Three-way merge of entry tables: this window's changes and another writer's, over the table both
// started from.
#pragma once

#include <vector>

#include "entries/EntryRow.h"

struct EntryMergeResult
{
    std::vector<EntryRow> rows;      // the merged table, index 0 the top row
    std::vector<EntryRow> cameIn;    // rows of theirs that ours did not hold, top first
    std::vector<EntryRow> wentOut;   // rows of ours that theirs removed, top first
    std::vector<long> oursToMerged;  // for each row of ours, its index in rows, or -1 if it went out
};

// Tables run from the top row (newest) down. base is the table both sides started from, ours this
// side's table now, theirs the other side's. Rows have no identity but their three texts, so each
// distinct row counts as a number of copies: copies added on either side are kept (the same addition
// on both sides once), copies removed on either side are removed (the same removal on both sides
// once), and where one side added copies of a row that the other removed some of, the two changes
// add up. An update is a removal and an addition, so an update on one side of a row the other side
// deleted keeps the updated row. Ours keeps its order; a row that comes in from theirs goes just
// below the nearest row above it in theirs that both keep (at the top when there is none). When
// fewer copies of a row remain than ours shows, its lowest (oldest) copies go; when more remain, the
// topmost (newest) spare copies of theirs come in. Linear in the rows, with hashing.
EntryMergeResult MergeEntryTables(const std::vector<EntryRow>& base, const std::vector<EntryRow>& ours,
                                  const std::vector<EntryRow>& theirs);
