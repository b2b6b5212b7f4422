#pragma once
// The control commands that change the market (price, position, remove, fill, stock, close, cash).
#include <string>
#include <vector>

#include "simclient/market.h"

namespace halyard::simclient {

struct MarketCommandResult {
    bool handled = false;  // the first word names a market command
    bool ok = false;
    std::wstring reply;
    std::vector<Trade> trades;
    std::vector<Order> cancelled;
};

MarketCommandResult runMarketCommand(Market& market, const std::vector<std::wstring>& words,
                                     const std::wstring& time);

}  // namespace halyard::simclient
