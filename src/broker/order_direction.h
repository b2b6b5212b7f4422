#pragma once
// The side of an order, as the executor's order operations take it and the orders list shows it
// ("买入" is a buy; every other text reads as a sell).
#include <cstdint>

enum OrderDirection : int32_t { kBuyDirection = 0, kSellDirection = 1 };
