#include "broker/position_cells.h"

#include "broker/number_text.h"

namespace {

struct NumberCell {
    PositionCellIndex index;
    PositionCell bit;
    const wchar_t* title;
};

constexpr NumberCell kNumberCells[] = {
    {kQuantityText, kQuantityCell, L"数量"},
    {kSellableText, kSellableQuantityCell, L"可卖数量"},
    {kCostPriceText, kCostPriceCell, L"成本价"},
    {kProfitText, kProfitCell, L"盈亏"},
    {kProfitPercentText, kProfitPercentCell, L"盈亏%"},
    {kMarketValueText, kMarketValueCell, L"市值"},
    {kCurrentPriceText, kCurrentPriceCell, L"当前价"},
};

}  // namespace

PositionRow positionRowFromCells(const PositionCellTexts& cells,
                                 const std::array<bool, kPositionCellCount>& configured) {
    PositionRow row;
    row.name = cells[kNameText];
    row.code = cells[kCodeText];
    auto mark = [&](PositionCellIndex index, PositionCell bit, bool readable) {
        if (!readable && configured[index]) row.unreadableCells |= bit;
    };
    auto quantity = [&](PositionCellIndex index, PositionCell bit, int32_t& field) {
        const std::optional<int32_t> value = readCellInteger(cells[index]);
        field = value && *value >= 0 ? *value : 0;
        mark(index, bit, value && *value >= 0);
    };
    auto decimal = [&](PositionCellIndex index, PositionCell bit, float& field) {
        const std::optional<float> value = readCellDecimal(cells[index]);
        field = value.value_or(0.0f);
        mark(index, bit, value.has_value());
    };
    quantity(kQuantityText, kQuantityCell, row.quantity);
    quantity(kSellableText, kSellableQuantityCell, row.sellableQuantity);
    decimal(kCostPriceText, kCostPriceCell, row.costPrice);
    decimal(kProfitText, kProfitCell, row.profit);
    decimal(kProfitPercentText, kProfitPercentCell, row.profitPercent);
    decimal(kMarketValueText, kMarketValueCell, row.marketValue);
    decimal(kCurrentPriceText, kCurrentPriceCell, row.currentPrice);
    return row;
}

std::wstring unreadableCellNames(uint16_t cells) {
    std::wstring names;
    for (const NumberCell& cell : kNumberCells) {
        if (!(cells & cell.bit)) continue;
        if (!names.empty()) names += L", ";
        names += cell.title;
    }
    return names;
}
