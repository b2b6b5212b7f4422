#pragma once
#include <cstdint>
#include <string>

#include "broker/order_direction.h"

// The number cells of a positions row, as bits of PositionRow::unreadableCells.
enum PositionCell : uint16_t {
    kQuantityCell = 1 << 0,
    kSellableQuantityCell = 1 << 1,
    kCostPriceCell = 1 << 2,
    kProfitCell = 1 << 3,
    kProfitPercentCell = 1 << 4,
    kMarketValueCell = 1 << 5,
    kCurrentPriceCell = 1 << 6,
    // The cells only an orders row has.
    kFilledQuantityCell = 1 << 7,
    kOrderPriceCell = 1 << 8,
    kDirectionCell = 1 << 9,
};

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
    // Orders of a grid client, whose copies show them.
    int32_t filledQuantity = 0;
    float orderPrice = 0;
    std::wstring contractNumber{};
    std::wstring remark{};  // the client's state of the order ("已报", "部成", "已撤", ...)
    // PositionCell bits of the cells whose text is no number (their field holds 0).
    uint16_t unreadableCells = 0;
};

// A row of the orders list: the same record, of which an order fills the code, the name, the
// quantity and the direction, and for a grid client the order's fields after it.
using OrderRow = PositionRow;
