// Text helpers of the report: placeholder replacement and HTML escaping.
#pragma once

#include <string>
#include <string_view>

// Replaces every occurrence of strPlaceholder in strText by strValue, scanning left to right in one
// pass and going on after each inserted value: a value is never rescanned, and of two overlapping
// occurrences only the left one counts. An empty placeholder leaves the text as it is.
std::string ReplacePlaceholder(std::string_view strText, std::string_view strPlaceholder,
                               std::string_view strValue);

// Escapes & < > " ' so that an entry's text shows as typed and cannot add markup to the page.
std::string EscapeHtml(std::string_view strText);

// The same into a buffer of the caller's, so a long report reuses its memory instead of allocating
// a fresh text for every step.
void ReplacePlaceholderInto(std::string& strResult, std::string_view strText,
                            std::string_view strPlaceholder, std::string_view strValue);
void EscapeHtmlInto(std::string& strResult, std::string_view strText);
