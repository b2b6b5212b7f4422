#pragma once
// 全撤: every sell order of a read of the orders list made after the press cancelled in turn,
// one per step. A cancel counts only when the executor saw the order gone from a fresh read; the
// summary says which orders were cancelled and which were not.
#include <string>
#include <vector>

#include "broker/position_snapshot_store.h"
#include "rules/command_run.h"

class ClientContact;
class TradeJournal;

class CancelAllRun : public CommandRun {
public:
    CancelAllRun(PositionSnapshotStore& store, TradeJournal* journal, ClientContact* contact);

    bool step(OrderExecutor& executor) override;
    std::wstring statusText() const override;
    std::wstring summaryText() const override;

private:
    bool readOrders(OrderExecutor& executor);
    bool finished() const { return rowsTaken_ && next_ >= toCancel_.size(); }

    PositionSnapshotStore& store_;
    ReadAfterPress read_;
    TradeJournal* journal_;
    ClientContact* contact_;
    bool rowsTaken_ = false;
    bool notRead_ = false;
    OrderRows toCancel_;
    std::size_t next_ = 0;
    std::vector<std::wstring> cancelled_;
    std::vector<std::wstring> notCancelled_;
};
