#include "widgets/my_list_ctrl.h"

#include "broker/position_snapshot_store.h"
#include "widgets/position_columns.h"

COLORREF CMyListCtrl::cellBackground(int row, int column) {
    switch (column) {
        case kTakeProfitColumn:
            return kGainRed;
        case kStopLossColumn:
            return kLossGreen;
        case kTrailingStopColumn:
            return kTrailingGreen;
        case kProfitColumn:
        case kProfitPercentColumn: {
            PositionRows rows = PositionSnapshotStore::instance()->copyPositionRows();
            if (row < 0 || static_cast<size_t>(row) >= rows.size()) return kWhite;
            return rows[static_cast<size_t>(row)].profit > 0 ? kGainRed : kLossGreen;
        }
        default:
            return backgroundColour();
    }
}
