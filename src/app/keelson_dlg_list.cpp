// The position list: a virtual list whose cells are formatted on request from a fresh copy of
// the snapshot store's rows and the rule of each row's code.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "app/keelson_dlg.h"
#include "broker/order_executor.h"
#include "broker/position_snapshot_store.h"
#include "common/c_format.h"
#include "res/resource.h"
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

std::wstring CKeelsonDlg::cellText(const PositionRow& row, const StockRule* rule, int column) {
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

void CKeelsonDlg::fillCellText(NMLVDISPINFOW& info) {
    if (!(info.item.mask & LVIF_TEXT) || !info.item.pszText || info.item.cchTextMax <= 0) return;
    const PositionRows rows = PositionSnapshotStore::instance()->copyPositionRows();
    const int row = info.item.iItem;
    if (row < 0 || static_cast<size_t>(row) >= rows.size()) return;
    const PositionRow& position = rows[static_cast<size_t>(row)];
    const RuleTable& rules = session_.rules();
    auto found = rules.find(position.code);
    const std::wstring text =
        cellText(position, found == rules.end() ? nullptr : &found->second, info.item.iSubItem);
    const size_t length = std::min(text.size(), static_cast<size_t>(info.item.cchTextMax - 1));
    std::copy_n(text.c_str(), length, info.item.pszText);
    info.item.pszText[length] = L'\0';
}

void CKeelsonDlg::refreshList() {
    const PositionRows rows = PositionSnapshotStore::instance()->copyPositionRows();
    positionList_.setItemCount(static_cast<int>(rows.size()), 0);
    enableItem(IDC_TRACE_ORDER, executor().hasOrdersList() != 0);
}
