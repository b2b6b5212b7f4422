#pragma once
// How the editable grid orders two cell texts of a sorted column, and how a column's sort flags
// change on a click. Portable: no window is involved.
#include <string>

// Bits of a column's sortFlags.
constexpr int kSortAscending = 1;
constexpr int kSortDescending = 2;
constexpr int kSortToggles = 4;

// A text read as a date, in days (the OLE date scale); false when it is not a date.
using DateParser = bool (*)(const std::wstring& text, double& days);

// Negative, 0 or positive as t1 sorts before, with or after t2 under `sortType` (0 to 7; any
// other value compares ordinally). Only the sign is meaningful.
int compareCellTexts(int sortType, const std::wstring& t1, const std::wstring& t2, DateParser parseDate);

// +1 ascending, -1 descending, 0 when the flags make the column unsortable.
int sortDirection(int sortFlags);

// The flags after a sort request: a toggling column with no direction starts descending, so that
// the first toggle sorts ascending; toggling swaps the two directions.
int nextSortFlags(int sortFlags, bool toggle);
