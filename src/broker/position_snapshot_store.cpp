#include "broker/position_snapshot_store.h"

#include <memory>

#include "common/singleton.h"

// The singleton's lock guards creation and destruction of the one store; the store's own lock
// guards its rows.
PositionSnapshotStore* PositionSnapshotStore::instance() {
    return halyard::singletonOf<PositionSnapshotStore>().instance(
        [] { return std::unique_ptr<PositionSnapshotStore>(new PositionSnapshotStore()); });
}

void PositionSnapshotStore::destroyInstance() {
    halyard::singletonOf<PositionSnapshotStore>().destroy();
}

PositionRows PositionSnapshotStore::copyPositionRows() const {
    std::lock_guard<std::mutex> guard(lock);
    return positionRows;
}

OrderRows PositionSnapshotStore::copyOrderRows() const {
    std::lock_guard<std::mutex> guard(lock);
    return orderRows;
}

PositionsByCode PositionSnapshotStore::copyPositionsByCode() const {
    std::lock_guard<std::mutex> guard(lock);
    return positionsByCode;
}

void PositionSnapshotStore::replacePositions(PositionsByCode byCode, PositionRows rows, bool complete) {
    // One locked moment for both, so no reader sees a new map with the previous rows. The
    // previous containers are freed with the arguments, after the lock is released.
    std::lock_guard<std::mutex> guard(lock);
    positionsByCode.swap(byCode);
    positionRows.swap(rows);
    positionsComplete_ = complete;
    ++positionsGeneration_;
}

bool PositionSnapshotStore::positionsComplete() const {
    std::lock_guard<std::mutex> guard(lock);
    return positionsComplete_;
}

uint64_t PositionSnapshotStore::positionsGeneration() const {
    std::lock_guard<std::mutex> guard(lock);
    return positionsGeneration_;
}

void PositionSnapshotStore::replaceOrders(OrderRows rows) {
    std::lock_guard<std::mutex> guard(lock);
    orderRows.swap(rows);
    ++ordersGeneration_;
}

uint64_t PositionSnapshotStore::ordersGeneration() const {
    std::lock_guard<std::mutex> guard(lock);
    return ordersGeneration_;
}

void PositionSnapshotStore::clear() {
    PositionsByCode byCode;
    OrderRows orders;
    PositionRows rows;
    std::lock_guard<std::mutex> guard(lock);
    positionsByCode.swap(byCode);
    orderRows.swap(orders);
    positionRows.swap(rows);
}
