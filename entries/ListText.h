// How a cell's text is shown in the list: whole when it is short, shortened when it is very long.
#pragma once

#include <cstddef>
#include <string>

// Code points of a text that the list shows before it shortens it. The table and the data file keep
// every text whole; only the list (and its column widths) see the shortened one, so a description
// of many megabytes neither slows the drawing nor the measuring.
constexpr size_t kListTextLimit = 300;

// Whether the list shows the text as it is. Looks at no more than the first kListTextLimit code points.
bool IsListTextWhole(const std::string& strText);

// The text as the list shows it: the text itself, or its first kListTextLimit code points followed
// by an ellipsis. A shortened text is never cut inside a UTF-8 sequence.
std::string ListText(const std::string& strText);
