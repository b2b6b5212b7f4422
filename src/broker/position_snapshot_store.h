#pragma once
// The process-wide copy of the client's positions and orders lists. Everybody works on copies.
#include <cstdint>
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
    // Map and list are swapped in one locked moment, so no reader sees a torn snapshot. A read
    // that is not complete (cut by the row or time ceiling, or with rows that changed under it
    // and stand as the read before showed them) still replaces the rows, but what it lacks
    // proves nothing.
    void replacePositions(PositionsByCode byCode, PositionRows rows, bool complete = true);
    void replaceOrders(OrderRows rows);
    void clear();
    // Counts the positions reads stored so far, so a caller can tell a fresh read from none.
    uint64_t positionsGeneration() const;
    uint64_t ordersGeneration() const;
    // Whether the last positions read stored showed every row the client listed.
    bool positionsComplete() const;

private:
    PositionSnapshotStore() = default;

    mutable std::mutex lock;
    PositionsByCode positionsByCode;
    OrderRows orderRows;
    PositionRows positionRows;
    uint64_t positionsGeneration_ = 0;
    uint64_t ordersGeneration_ = 0;
    bool positionsComplete_ = true;
};
