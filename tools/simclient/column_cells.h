#pragma once
// Cell texts of the client's lists, chosen by column title; a title the client does not know
// gives empty cells.
#include <string>

#include "simclient/market.h"

namespace halyard::simclient {

std::wstring positionCell(const std::wstring& title, const Market& market, const Position& position);
std::wstring orderCell(const std::wstring& title, const Market& market, const Order& order);
std::wstring tradeCell(const std::wstring& title, const Market& market, const Trade& trade);

const wchar_t* sideText(Side side);

// A number cell as clients with thousands separators show it: "1688.00" -> "1,688.00"; any
// other text is kept.
std::wstring withThousandsSeparators(const std::wstring& cell);  // "买入" / "卖出"

}  // namespace halyard::simclient
