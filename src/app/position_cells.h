#pragma once
// What the position list shows: its columns and the text of each cell.
#include <string>

#include "broker/position_row.h"
#include "rules/stock_rule.h"
#include "widgets/my_list_ctrl.h"

void insertPositionColumns(CMyListCtrl& list);
// The text of one cell for a row and the rule of its code (null without one).
std::wstring positionCellText(const PositionRow& row, const StockRule* rule, int column);
