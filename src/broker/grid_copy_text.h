#pragma once
// The text a grid client puts on the clipboard when its grid is copied: a header row of column
// titles, then one row per line, cells separated by tabs. Read through the configuration's
// column maps, by title, so a grid whose columns were moved reads the same.
#include <string>
#include <vector>

#include "broker/position_snapshot_store.h"
#include "brokerconfig/broker_config.h"

struct CopiedTable {
    StringList titles;             // the first line that is not blank
    std::vector<StringList> rows;  // the lines after it that are not blank, cells trimmed
};

// CRLF or LF; blanks around cells and blank lines are dropped; a row may have fewer cells than
// the header (its missing cells are empty).
CopiedTable splitCopiedTable(const std::wstring& text);

enum class GridCopyStatus {
    Read,
    NoHeader,        // nothing but blanks: the grid copied nothing
    MissingColumns,  // the header lacks a column the map names, or the map a column needed
};

struct GridCopyRead {
    GridCopyStatus status = GridCopyStatus::NoHeader;
    PositionRows rows;
    StringList missing;  // the titles (or own names, when the map lacks them) not found
};

// Positions need the code and both quantities, orders the code, the side and the quantity.
// A cell that is no number is marked in unreadableCells as in the list-view family's rows; an
// order's side other than a buy or a sell is marked too and reads as a sell.
GridCopyRead readCopiedPositions(const std::wstring& text, const BrokerConfig& config);
GridCopyRead readCopiedOrders(const std::wstring& text, const BrokerConfig& config);

// The column maps learnt from a copy's header through the grid family's title tables. Returns
// the needed own names that no title maps to (empty when the map is complete); the map is set
// whatever the result, so the user sees what was found.
StringList learnCopiedPositionColumns(const std::wstring& text, BrokerConfig& config);
StringList learnCopiedOrderColumns(const std::wstring& text, BrokerConfig& config);

// An order the client still holds open: neither filled, cancelled nor refused.
bool orderIsOpen(const OrderRow& order);
