#pragma once
// The process-wide copy of the client's positions and orders lists. Everybody works on copies.
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "broker/position_row.h"

using PositionRows = std::vector<PositionRow>;
using OrderRows = std::vector<OrderRow>;
using PositionsByCode = std::map<std::wstring, PositionRow>;

class PositionSnapshotStore {
public:
    // Created empty on first use; destroyed by the main window's destructor (common/singleton.h).
    static PositionSnapshotStore* instance();
    static void destroyInstance();

    PositionRows copyPositionRows() const;
    OrderRows copyOrderRows() const;
    PositionsByCode copyPositionsByCode() const;
    // Map and list are swapped in one locked moment, so no reader sees a torn snapshot.
    void replacePositions(PositionsByCode byCode, PositionRows rows);
    void replaceOrders(OrderRows rows);
    void clear();

private:
    PositionSnapshotStore() = default;

    mutable std::mutex lock;
    PositionsByCode positionsByCode;
    OrderRows orderRows;
    PositionRows positionRows;
};
