// What the position list shows: its columns and the text of each cell.
#include "app/position_cells.h"

#include <windows.h>

#include <commctrl.h>

#include "common/c_format.h"
#include "widgets/position_columns.h"

using halyard::wcformat;

namespace {

// The number cell a list column shows; 0 for the others.
uint16_t numberCellOf(int column) {
    switch (column) {
        case kQuantityColumn:
            return kQuantityCell;
        case kSellableQuantityColumn:
            return kSellableQuantityCell;
        case kCostPriceColumn:
            return kCostPriceCell;
        case kMarketValueColumn:
            return kMarketValueCell;
        case kProfitColumn:
            return kProfitCell;
        case kProfitPercentColumn:
            return kProfitPercentCell;
        case kCurrentPriceColumn:
            return kCurrentPriceCell;
        default:
            return 0;
    }
}

}  // namespace

std::wstring positionCellText(const PositionRow& row, const StockRule* rule, int column) {
    // A cell the client showed as no number is shown as such, not as the 0 it stands in for.
    if (row.unreadableCells & numberCellOf(column)) return L"?";
    switch (column) {
        case kNameColumn:
            return row.name;
        case kQuantityColumn:
            return wcformat("%d", row.quantity);
        case kSellableQuantityColumn:
            return wcformat("%d", row.sellableQuantity);
        case kCostPriceColumn:
            return wcformat("%.2f", row.costPrice);
        case kMarketValueColumn:
            return wcformat("%.0f", row.marketValue);
        case kProfitColumn:
            return wcformat("%.0f", row.profit);
        case kProfitPercentColumn:
            return wcformat("%.2f", row.profitPercent) + L"%";
        case kCurrentPriceColumn:
            return wcformat("%.2f", row.currentPrice);
        case kTakeProfitColumn:
            if (!rule || !(rule->Profit > 0)) return L" ";
            return wcformat("%.2f", rule->Profit) + (rule->TakeProfitType == 0 ? L"%" : L"元");
        case kStopLossColumn:
            if (!rule || !(rule->StopLoss > 0)) return L" ";
            if (rule->StopLossType == 0) return wcformat("-%.2f", rule->StopLoss) + L"%";
            return wcformat("%.2f", rule->StopLoss) + L"元";
        case kTrailingStopColumn:
            if (!rule) return L" ";
            if (rule->ApplyMoveStopLoss && rule->MoveStopLoss > 0)
                return wcformat("-%.2f", rule->MoveStopLoss) + L"%";
            return L"未启用";
        default:
            return L" ";
    }
}

void insertPositionColumns(CMyListCtrl& list) {
    struct Column {
        const wchar_t* title;
        int format;
        int extra;
    };
    static const Column columns[kPositionColumnCount] = {
        {L"", LVCFMT_LEFT, 0},          {L"股票", LVCFMT_LEFT, 4},    {L"数量", LVCFMT_RIGHT, 0},
        {L"可卖数量", LVCFMT_RIGHT, 0}, {L"成本价", LVCFMT_RIGHT, 0}, {L"市值", LVCFMT_RIGHT, 0},
        {L"盈亏", LVCFMT_RIGHT, 0},     {L"盈亏%", LVCFMT_RIGHT, 0},  {L"当前价", LVCFMT_RIGHT, 0},
        {L"止盈", LVCFMT_RIGHT, 0},     {L"止损", LVCFMT_RIGHT, 0},   {L"跟踪止损", LVCFMT_RIGHT, 4},
    };
    const int unit = (list.clientWidth() - 2) / (kPositionColumnCount - 1);
    for (int i = kCheckColumn; i < kPositionColumnCount; ++i) {
        const int width = i == kCheckColumn ? 0 : unit + columns[i].extra;
        list.insertColumn(i, columns[i].title, columns[i].format, width);
    }
}
