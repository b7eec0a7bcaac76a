// Filling the report's page and row templates with the entries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "entries/EntryRow.h"

// Writes the report to sink piece by piece, in the order the text is produced, so a long table is
// never held whole. The same text as FillReport's.
void WriteReport(const std::string& strPageTemplate, const std::string& strRowTemplate, size_t nRows,
                 const std::function<const EntryRow&(size_t)>& rowAt, std::string_view strWebAddress,
                 const std::function<void(std::string_view)>& sink, int32_t* pTotalMinutes = nullptr);

// Fills a copy of strRowTemplate per row, top row first ("#OT#", "#DATE#", "#DESCRIPTION#",
// "#RUNNINGTOTAL#" in that order; the three texts HTML-escaped), appends the footer row linking to
// strWebAddress, then fills the page ("#DATA#", "#COUNT#", "#VALUE#", "#TOTALMINS#"). The templates
// are copied as they stand. rowAt(i) is asked in order, once for the total and once per "#DATA#".
// The running sum saturates at the 32-bit range; its final value goes to *pTotalMinutes when given.
// Linear in the output size.
std::string FillReport(const std::string& strPageTemplate, const std::string& strRowTemplate,
                       size_t nRows, const std::function<const EntryRow&(size_t)>& rowAt,
                       std::string_view strWebAddress, int32_t* pTotalMinutes = nullptr);
