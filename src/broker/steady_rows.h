#pragma once
// Rows of a client list read so that a list re-sorted or rebuilt during the read (a user
// clicking a column header) never joins one stock's cells to another's code: each row's code
// is read before and after its other cells, and the item count before and after the read.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "broker/remote_list_reader.h"

// The texts of one row, in the order of the columns asked for.
using RowTexts = std::vector<std::wstring>;

struct SteadyRows {
    std::vector<RowTexts> rows;
    // Codes seen in rows that changed under the read twice and were left out of it.
    std::vector<std::wstring> unsteadyCodes;
    // The budget or the row ceiling ended the read before the last row.
    bool cut = false;
};

// Reads `columns` of the list's rows, of which the last is the code column. A row whose code
// changed while it was read is read again once and left out if it changes again; a read whose
// item count changed is made again once. Nothing when the list holds no table or its count
// changed again.
std::optional<SteadyRows> readSteadyRows(RemoteList& remote, const std::vector<int>& columns, int maxRows,
                                         DWORD budgetMs);
