#include "broker/broker_tables.h"

#include <algorithm>

#include "broker/number_text.h"
#include "broker/order_direction.h"
#include "broker/position_cells.h"
#include "broker/remote_list_reader.h"

std::optional<PositionRows> readPositionRows(HWND list, const BrokerConfig& config, bool* cut) {
    // In the order of PositionCellIndex.
    static const wchar_t* const kOwnNames[] = {L"股票",  L"数量", L"可卖数量", L"成本价",  L"盈亏",
                                               L"盈亏%", L"市值", L"当前价",   L"证券代码"};
    constexpr int kCellsPerRow = kPositionCellCount;
    int columns[kCellsPerRow];
    std::array<bool, kPositionCellCount> configured{};
    for (int i = 0; i < kCellsPerRow; ++i) {
        columns[i] = config.positionColumnIndex(kOwnNames[i]);
        configured[static_cast<size_t>(i)] = columns[i] >= 0;
    }

    RemoteList remote(list);
    std::optional<int> rowCount = remote.itemCount();
    if (!rowCount) return std::nullopt;
    const int wanted = std::min(*rowCount, kMaxTableRows);
    std::vector<ListCell> cells;
    cells.reserve(static_cast<size_t>(wanted) * kCellsPerRow);
    for (int row = 0; row < wanted; ++row)
        for (int column : columns) cells.push_back({row, column});
    std::optional<std::vector<std::wstring>> texts = remote.cellTexts(cells, kMaxTableReadMs);
    if (!texts) return std::nullopt;

    PositionRows rows(texts->size() / kCellsPerRow);
    if (cut) *cut = static_cast<int>(rows.size()) < *rowCount;
    for (size_t i = 0; i < rows.size(); ++i) {
        PositionCellTexts rowTexts;
        std::copy_n(texts->begin() + static_cast<long>(i * kCellsPerRow), kCellsPerRow, rowTexts.begin());
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

std::optional<PositionRows> readOrderRows(HWND list, const BrokerConfig& config, bool* cut) {
    const OrderColumns columns(config);
    RemoteList remote(list);
    std::optional<int> rowCount = remote.itemCount();
    if (!rowCount) return std::nullopt;
    const int wanted = std::min(*rowCount, kMaxTableRows);
    std::vector<ListCell> cells;
    cells.reserve(static_cast<size_t>(wanted) * 3);
    for (int row = 0; row < wanted; ++row) {
        cells.push_back({row, columns.direction});
        cells.push_back({row, columns.quantity});
        cells.push_back({row, columns.code});
    }
    std::optional<std::vector<std::wstring>> texts = remote.cellTexts(cells, kMaxTableReadMs);
    if (!texts) return std::nullopt;
    PositionRows rows(texts->size() / 3);
    if (cut) *cut = static_cast<int>(rows.size()) < *rowCount;
    for (size_t i = 0; i < rows.size(); ++i) {
        rows[i].direction = directionOf((*texts)[i * 3]);
        rows[i].quantity = parseCellInteger((*texts)[i * 3 + 1]);
        rows[i].code = (*texts)[i * 3 + 2];
    }
    return rows;
}

std::optional<PositionRow> readOrderRowAt(HWND list, const BrokerConfig& config, int row) {
    const OrderColumns columns(config);
    RemoteList remote(list);
    std::optional<int> rowCount = remote.itemCount();
    if (!rowCount || row < 0 || row >= *rowCount) return std::nullopt;
    std::optional<std::vector<std::wstring>> texts =
        remote.cellTexts({{row, columns.direction}, {row, columns.quantity}, {row, columns.code}});
    if (!texts) return std::nullopt;
    PositionRow order;
    order.direction = directionOf((*texts)[0]);
    order.quantity = parseCellInteger((*texts)[1]);
    order.code = (*texts)[2];
    return order;
}

TableRead readPositions(HWND list, const BrokerConfig& config) {
    bool cut = false;
    std::optional<PositionRows> rows = readPositionRows(list, config, &cut);
    if (!rows) return TableRead::NotATable;
    PositionsByCode byCode;
    for (const PositionRow& row : *rows) byCode.emplace(row.code, row);
    PositionSnapshotStore::instance()->replacePositions(std::move(byCode), std::move(*rows));
    return cut ? TableRead::Cut : TableRead::Whole;
}

TableRead readOrders(HWND list, const BrokerConfig& config) {
    bool cut = false;
    std::optional<PositionRows> rows = readOrderRows(list, config, &cut);
    if (!rows) return TableRead::NotATable;
    PositionSnapshotStore::instance()->replaceOrders(std::move(*rows));
    return cut ? TableRead::Cut : TableRead::Whole;
}
