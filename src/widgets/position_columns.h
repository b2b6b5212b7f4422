#pragma once
// The columns of the main window's position list, in the order of its header. Column 0 is the
// hidden check-box column.
enum PositionColumn : int {
    kCheckColumn = 0,
    kNameColumn,
    kQuantityColumn,
    kSellableQuantityColumn,
    kCostPriceColumn,
    kMarketValueColumn,
    kProfitColumn,
    kProfitPercentColumn,
    kCurrentPriceColumn,
    kTakeProfitColumn,
    kStopLossColumn,
    kTrailingStopColumn,
    kPositionColumnCount
};
