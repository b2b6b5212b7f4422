#include "broker/broker_tables.h"

#include <algorithm>
#include <iterator>

#include "broker/number_text.h"
#include "broker/order_direction.h"
#include "broker/position_cells.h"
#include "broker/remote_list_reader.h"
#include "broker/steady_rows.h"

namespace {

std::optional<SteadyRows> readTable(HWND list, const std::vector<int>& columns, TableReadNotes* notes) {
    RemoteList remote(list);
    std::optional<SteadyRows> read = readSteadyRows(remote, columns, kMaxTableRows, kMaxTableReadMs);
    if (notes) {
        notes->leftBehindBytes += remote.leftBehind();
        if (read) {
            notes->cut = read->cut;
            notes->unsteadyCodes = read->unsteadyCodes;
        }
    }
    return read;
}

// The last read's rows of stocks left out of this one: a list re-sorted under the read must
// not make a stock look sold.
void keepLastRowsOf(PositionRows& rows, const std::vector<std::wstring>& codes, const PositionRows& last) {
    for (const std::wstring& code : codes) {
        auto sameCode = [&](const PositionRow& row) { return row.code == code; };
        if (std::any_of(rows.begin(), rows.end(), sameCode)) continue;
        std::copy_if(last.begin(), last.end(), std::back_inserter(rows), sameCode);
    }
}

}  // namespace

std::optional<PositionRows> readPositionRows(HWND list, const BrokerConfig& config, TableReadNotes* notes) {
    // In the order of PositionCellIndex.
    static const wchar_t* const kOwnNames[] = {L"股票",  L"数量", L"可卖数量", L"成本价",  L"盈亏",
                                               L"盈亏%", L"市值", L"当前价",   L"证券代码"};
    constexpr int kCellsPerRow = kPositionCellCount;
    std::vector<int> columns(kCellsPerRow);
    std::array<bool, kPositionCellCount> configured{};
    for (int i = 0; i < kCellsPerRow; ++i) {
        columns[i] = config.positionColumnIndex(kOwnNames[i]);
        configured[static_cast<size_t>(i)] = columns[i] >= 0;
    }

    std::optional<SteadyRows> read = readTable(list, columns, notes);
    if (!read) return std::nullopt;

    PositionRows rows(read->rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        PositionCellTexts rowTexts;
        std::copy_n(read->rows[i].begin(), kCellsPerRow, rowTexts.begin());
        rows[i] = positionRowFromCells(rowTexts, configured);
    }
    return rows;
}

namespace {

struct OrderColumns {
    int direction, quantity, code;
    explicit OrderColumns(const BrokerConfig& config)
        : direction(config.commitColumnIndex(L"买卖标志")),
          quantity(config.commitColumnIndex(L"委托数量")),
          code(config.commitColumnIndex(L"证券代码")) {}
};

OrderDirection directionOf(const std::wstring& side) {
    return side == L"买入" ? kBuyDirection : kSellDirection;
}

}  // namespace

std::optional<PositionRows> readOrderRows(HWND list, const BrokerConfig& config, TableReadNotes* notes) {
    const OrderColumns columns(config);
    std::optional<SteadyRows> read =
        readTable(list, {columns.direction, columns.quantity, columns.code}, notes);
    if (!read) return std::nullopt;
    PositionRows rows(read->rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        const RowTexts& texts = read->rows[i];
        rows[i].direction = directionOf(texts[0]);
        rows[i].quantity = parseCellInteger(texts[1]);
        rows[i].code = texts[2];
    }
    return rows;
}

std::optional<PositionRow> readOrderRowAt(HWND list, const BrokerConfig& config, int row) {
    const OrderColumns columns(config);
    RemoteList remote(list);
    std::optional<int> rowCount = remote.itemCount();
    if (!rowCount || row < 0 || row >= *rowCount) return std::nullopt;
    // The code before and after: a row that changed meanwhile is no answer.
    std::optional<std::vector<std::wstring>> texts = remote.cellTexts(
        {{row, columns.code}, {row, columns.direction}, {row, columns.quantity}, {row, columns.code}});
    if (!texts || (*texts)[0] != (*texts)[3]) return std::nullopt;
    texts->erase(texts->begin());
    PositionRow order;
    order.direction = directionOf((*texts)[0]);
    order.quantity = parseCellInteger((*texts)[1]);
    order.code = (*texts)[2];
    return order;
}

TableRead readPositions(HWND list, const BrokerConfig& config, TableReadNotes* notes) {
    TableReadNotes own;
    TableReadNotes& read = notes ? *notes : own;
    std::optional<PositionRows> rows = readPositionRows(list, config, &read);
    if (!rows) return TableRead::NotATable;
    keepLastRowsOf(*rows, read.unsteadyCodes, PositionSnapshotStore::instance()->copyPositionRows());
    PositionsByCode byCode;
    for (const PositionRow& row : *rows) byCode.emplace(row.code, row);
    const bool complete = !read.cut && read.unsteadyCodes.empty();
    PositionSnapshotStore::instance()->replacePositions(std::move(byCode), std::move(*rows), complete);
    return read.cut ? TableRead::Cut : TableRead::Whole;
}

TableRead readOrders(HWND list, const BrokerConfig& config, TableReadNotes* notes) {
    TableReadNotes own;
    TableReadNotes& read = notes ? *notes : own;
    std::optional<PositionRows> rows = readOrderRows(list, config, &read);
    if (!rows) return TableRead::NotATable;
    keepLastRowsOf(*rows, read.unsteadyCodes, PositionSnapshotStore::instance()->copyOrderRows());
    PositionSnapshotStore::instance()->replaceOrders(std::move(*rows));
    return read.cut ? TableRead::Cut : TableRead::Whole;
}
