// Plain path steps shared by the safe replacement and the data file's lock.
#pragma once

#include <string>

// How many symbolic links a name may pass through before it counts as a loop.
constexpr int MAX_LINK_HOPS = 40;

// The folder part of a path: "." for a plain name, "/" for a name in the root.
std::string DirectoryOf(const std::string& strPath);
// The last part of a path.
std::string BaseNameOf(const std::string& strPath);
// A link's target as written in the link; false when it is no link or cannot be read.
bool ReadLink(const std::string& strPath, std::string& strTarget);
