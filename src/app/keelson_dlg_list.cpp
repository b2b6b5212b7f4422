// The position list: a virtual list whose cells are formatted on request from a fresh copy of
// the snapshot store's rows and the rule of each row's code.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "app/keelson_dlg.h"
#include "app/position_cells.h"
#include "broker/order_executor.h"
#include "broker/position_snapshot_store.h"
#include "res/resource.h"

void CKeelsonDlg::fillCellText(NMLVDISPINFOW& info) {
    if (!(info.item.mask & LVIF_TEXT) || !info.item.pszText || info.item.cchTextMax <= 0) return;
    const PositionRows rows = PositionSnapshotStore::instance()->copyPositionRows();
    const int row = info.item.iItem;
    if (row < 0 || static_cast<size_t>(row) >= rows.size()) return;
    const PositionRow& position = rows[static_cast<size_t>(row)];
    const RuleTable& rules = session_.rules();
    auto found = rules.find(position.code);
    const std::wstring text =
        positionCellText(position, found == rules.end() ? nullptr : &found->second, info.item.iSubItem);
    const size_t length = std::min(text.size(), static_cast<size_t>(info.item.cchTextMax - 1));
    std::copy_n(text.c_str(), length, info.item.pszText);
    info.item.pszText[length] = L'\0';
}

void CKeelsonDlg::refreshList() {
    const PositionRows rows = PositionSnapshotStore::instance()->copyPositionRows();
    positionList_.setItemCount(static_cast<int>(rows.size()), 0);
    enableItem(IDC_TRACE_ORDER, executor().hasOrdersList() != 0);
}
