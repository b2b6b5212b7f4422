#pragma once
// 全平: every sellable position sold in turn. The executor takes one sale per 3 s, so the main
// window calls step() from a timer until it returns false, showing statusText() meanwhile and
// summaryText() at the end: no sale is lost to the spacing of orders, and the window stays
// responsive while the positions are sold.
#include <cstddef>
#include <string>
#include <vector>

#include "broker/position_row.h"
#include "broker/position_snapshot_store.h"

class ClientContact;
class OrderExecutor;
class TradeJournal;

class CloseAllRun {
public:
    // The rows of the positions list; those with nothing to sell are left out, those whose
    // price or sellable quantity could not be read are refused at once (and journalled).
    CloseAllRun(const PositionRows& rows, TradeJournal* journal, ClientContact* contact);

    // One attempt at the current stock; a sale held back by the spacing of orders is tried
    // again at the next step. False once every stock has had its turn.
    bool step(OrderExecutor& executor);
    bool finished() const { return next_ >= toSell_.size(); }
    // "全平: 3/12 正在卖出 600519 贵州茅台 ..."
    std::wstring statusText() const;
    // What was submitted, what was refused and why.
    std::wstring summaryText() const;

private:
    struct Outcome {
        std::wstring stock;
        std::wstring why;  // empty: submitted
    };
    void finish(const PositionRow& row, std::wstring why);
    void journalNotices();

    TradeJournal* journal_;
    ClientContact* contact_;
    PositionRows toSell_;
    std::size_t next_ = 0;
    int heldBack_ = 0;
    std::vector<Outcome> outcomes_;
};
