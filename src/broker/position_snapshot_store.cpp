#include "broker/position_snapshot_store.h"

#include <memory>

namespace {

// Guards creation and destruction of the one store; the store's own lock guards its rows.
std::mutex& instanceLock() {
    static std::mutex lock;
    return lock;
}

std::unique_ptr<PositionSnapshotStore>& storage() {
    static std::unique_ptr<PositionSnapshotStore> store;
    return store;
}

}  // namespace

PositionSnapshotStore* PositionSnapshotStore::instance() {
    std::lock_guard<std::mutex> guard(instanceLock());
    std::unique_ptr<PositionSnapshotStore>& store = storage();
    if (!store) store.reset(new PositionSnapshotStore());
    return store.get();
}

void PositionSnapshotStore::destroyInstance() {
    std::unique_ptr<PositionSnapshotStore> doomed;
    {
        std::lock_guard<std::mutex> guard(instanceLock());
        doomed = std::move(storage());
    }
}

PositionRows PositionSnapshotStore::copyPositionRows() const {
    std::lock_guard<std::mutex> guard(lock);
    return positionRows;
}

PositionRows PositionSnapshotStore::copyOrderRows() const {
    std::lock_guard<std::mutex> guard(lock);
    return orderRows;
}

PositionsByCode PositionSnapshotStore::copyPositionsByCode() const {
    std::lock_guard<std::mutex> guard(lock);
    return positionsByCode;
}

void PositionSnapshotStore::replacePositions(PositionsByCode byCode, PositionRows rows) {
    // One locked moment for both, so no reader sees a new map with the previous rows. The
    // previous containers are freed with the arguments, after the lock is released.
    std::lock_guard<std::mutex> guard(lock);
    positionsByCode.swap(byCode);
    positionRows.swap(rows);
    ++positionsGeneration_;
}

uint64_t PositionSnapshotStore::positionsGeneration() const {
    std::lock_guard<std::mutex> guard(lock);
    return positionsGeneration_;
}

void PositionSnapshotStore::replaceOrders(PositionRows rows) {
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
    PositionRows orders;
    PositionRows rows;
    std::lock_guard<std::mutex> guard(lock);
    positionsByCode.swap(byCode);
    orderRows.swap(orders);
    positionRows.swap(rows);
}
