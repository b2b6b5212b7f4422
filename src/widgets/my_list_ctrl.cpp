#include "widgets/my_list_ctrl.h"

#include "broker/position_snapshot_store.h"

COLORREF CMyListCtrl::cellBackground(int row, int column) {
    switch (column) {
        case 9:
            return kGainRed;
        case 10:
            return kLossGreen;
        case 11:
            return kTrailingGreen;
        case 6:
        case 7: {
            PositionRows rows = PositionSnapshotStore::instance()->copyPositionRows();
            if (row < 0 || static_cast<size_t>(row) >= rows.size()) return kWhite;
            return rows[static_cast<size_t>(row)].profit > 0 ? kGainRed : kLossGreen;
        }
        default:
            return backgroundColour();
    }
}
