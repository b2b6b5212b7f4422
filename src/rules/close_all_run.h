#pragma once
// 全平: every sellable position of a read made after the press sold in turn. The executor takes
// one sale per 3 s, so no sale is lost to the spacing of orders: a held-back one is tried again
// at the next step. A sale counts as submitted only when no notice of the client refused it.
#include <cstddef>
#include <string>
#include <vector>

#include "broker/position_row.h"
#include "broker/position_snapshot_store.h"
#include "rules/command_run.h"

class ClientContact;
class TradeJournal;

class CloseAllRun : public CommandRun {
public:
    // The positions are those of the first read stored in `store` after this is made; rows with
    // nothing to sell are left out, those whose price or sellable quantity could not be read
    // are refused at once (and journalled).
    CloseAllRun(PositionSnapshotStore& store, TradeJournal* journal, ClientContact* contact);

    // A read of the positions until one is stored, then one attempt at the current stock. False
    // once every stock has had its turn, or no read came.
    bool step(OrderExecutor& executor) override;
    bool finished() const { return rowsTaken_ && next_ >= toSell_.size(); }
    // "全平: 3/12 正在卖出 600519 贵州茅台 ..."
    std::wstring statusText() const override;
    // What was submitted, what was refused and why.
    std::wstring summaryText() const override;

private:
    struct Outcome {
        std::wstring stock;
        std::wstring why;  // empty: submitted
    };
    bool readPositions(OrderExecutor& executor);
    void takeRows(const PositionRows& rows);
    void finish(const PositionRow& row, std::wstring why);
    std::vector<std::wstring> journalNotices();

    PositionSnapshotStore& store_;
    ReadAfterPress read_;
    bool rowsTaken_ = false;
    bool notRead_ = false;
    TradeJournal* journal_;
    ClientContact* contact_;
    PositionRows toSell_;
    std::size_t next_ = 0;
    int heldBack_ = 0;
    std::vector<Outcome> outcomes_;
};
