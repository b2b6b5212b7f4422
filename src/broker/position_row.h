#pragma once
#include <cstdint>
#include <string>

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
    int32_t direction = 0;  // orders: 0 buy, 1 any other (sell)
};
