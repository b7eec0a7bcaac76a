// Filling the report's page and row templates with the entries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "entries/EntryRow.h"

// Fills a copy of strRowTemplate per row, top row first ("#OT#", "#DATE#", "#DESCRIPTION#",
// "#RUNNINGTOTAL#" in that order; the three texts HTML-escaped), appends the footer row linking to
// strWebAddress, then fills the page ("#DATA#", "#COUNT#", "#VALUE#", "#TOTALMINS#"). The templates
// are copied as they stand. rowAt(i) is asked once per row, in order. The running sum saturates at
// the 32-bit range; its final value goes to *pTotalMinutes when given. Linear in the output size.
std::string FillReport(const std::string& strPageTemplate, const std::string& strRowTemplate,
                       size_t nRows, const std::function<const EntryRow&(size_t)>& rowAt,
                       std::string_view strWebAddress, int32_t* pTotalMinutes = nullptr);
