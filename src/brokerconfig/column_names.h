#pragma once
// The system's own names for the values it reads from the client's positions and orders lists,
// and the mapping from a client's column titles to them.
#include <string>
#include <vector>

using StringList = std::vector<std::wstring>;

StringList ownPositionColumnNames();
StringList ownCommitColumnNames();

// Entry i is the own name for titles[i], or "" when the title is not a known one.
StringList mapPositionTitles(const StringList& titles);
StringList mapCommitTitles(const StringList& titles);

// Index of the first entry equal to `ownName` (exact code units), or -1.
int indexOfOwnName(const StringList& ownNames, const std::wstring& ownName);
