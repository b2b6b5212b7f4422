#pragma once
#include <cstdint>
#include <string>

#include "broker/order_direction.h"

// One row of the client's positions list or orders list, copied by value.
struct PositionRow {
    std::wstring code;
    std::wstring name;
    int32_t quantity = 0;
    int32_t sellableQuantity = 0;
    float costPrice = 0;
    float profit = 0;
    float profitPercent = 0;
    float marketValue = 0;
    float currentPrice = 0;
    float spareValue = 0;
    int32_t direction = kBuyDirection;  // orders: an OrderDirection
};

// A row of the orders list: the same record, of which an order fills the code, the name, the
// quantity and the direction.
using OrderRow = PositionRow;
