#pragma once
// The broker client's positions and orders lists read into rows, within the ceiling of a
// table read, and stored in the snapshot store.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "broker/position_snapshot_store.h"
#include "brokerconfig/broker_config.h"

// A table read has a ceiling no real account reaches: at most kMaxTableRows rows, and no new
// batch of cells is started after kMaxTableReadMs. Beyond it the read keeps the rows it has.
// (A list that claims 100 000 rows would otherwise cost close to a million blocking messages.)
// 500 positions read in about 1 s under Wine here, and in 3 s on a machine loaded with builds.
constexpr int kMaxTableRows = 2000;
constexpr DWORD kMaxTableReadMs = 5000;

// How a table read ended: no table at all (the list is gone, the client cannot be opened or
// stopped answering), the whole table, or the rows up to the ceiling.
enum class TableRead { NotATable, Whole, Cut };

// What a table read tells besides its rows.
struct TableReadNotes {
    bool cut = false;  // the ceiling ended the read
    // Codes of rows left out because the list changed under them twice.
    std::vector<std::wstring> unsteadyCodes;
    // Bytes left in the client after a message pointing into them timed out.
    size_t leftBehindBytes = 0;
};

// Rows as the two tables hold them; nothing when the list holds no table (gone, timed out,
// the client's process not opened, rows coming and going throughout the read).
std::optional<PositionRows> readPositionRows(HWND list, const BrokerConfig& config,
                                             TableReadNotes* notes = nullptr);
std::optional<PositionRows> readOrderRows(HWND list, const BrokerConfig& config,
                                          TableReadNotes* notes = nullptr);
// Code and direction of one live row of the orders list; empty when it cannot be read.
std::optional<PositionRow> readOrderRowAt(HWND list, const BrokerConfig& config, int row);

// Read the table and replace the snapshot store's content with it; a list that holds no table
// leaves the store as it was, and the rows of the last read stay for stocks whose rows were
// left out.
TableRead readPositions(HWND list, const BrokerConfig& config, TableReadNotes* notes = nullptr);
TableRead readOrders(HWND list, const BrokerConfig& config, TableReadNotes* notes = nullptr);
