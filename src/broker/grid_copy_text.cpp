#include "broker/grid_copy_text.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <optional>

#include "broker/number_text.h"
#include "broker/position_cells.h"

namespace {

bool isBlankChar(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r' || c == 0x00A0 || c == 0x3000 || c == 0xFEFF;
}

// Spreadsheet-minded clients wrap codes as ="600000" so that leading zeros survive.
std::wstring cleanCell(const std::wstring& cell) {
    size_t begin = 0, end = cell.size();
    while (begin < end && isBlankChar(cell[begin])) ++begin;
    while (end > begin && isBlankChar(cell[end - 1])) --end;
    std::wstring text = cell.substr(begin, end - begin);
    if (text.size() >= 3 && text.compare(0, 2, L"=\"") == 0 && text.back() == L'"')
        text = text.substr(2, text.size() - 3);
    return text;
}

StringList splitCells(const std::wstring& line) {
    StringList cells;
    size_t start = 0;
    for (;;) {
        const size_t tab = line.find(L'\t', start);
        cells.push_back(
            cleanCell(line.substr(start, tab == std::wstring::npos ? std::wstring::npos : tab - start)));
        if (tab == std::wstring::npos) return cells;
        start = tab + 1;
    }
}

bool allBlank(const StringList& cells) {
    return std::all_of(cells.begin(), cells.end(), [](const std::wstring& cell) { return cell.empty(); });
}

// Where each wanted own name is in the copy: its column, -1 when the map does not name it.
class CopyColumns {
public:
    CopyColumns(const StringList& header, const StringList& mapTitles, const StringList& mapOwnNames)
        : header_(header), titles_(mapTitles), ownNames_(mapOwnNames) {}

    int find(const std::wstring& ownName, bool needed) {
        const int mapped = indexOfOwnName(ownNames_, ownName);
        if (mapped < 0) {
            if (needed) missing.push_back(ownName);
            return -1;
        }
        const std::wstring& title = titles_[static_cast<size_t>(mapped)];
        const auto found = std::find(header_.begin(), header_.end(), title);
        if (found != header_.end()) return static_cast<int>(found - header_.begin());
        missing.push_back(title);
        return -1;
    }

    StringList missing;

private:
    const StringList& header_;
    const StringList& titles_;
    const StringList& ownNames_;
};

std::wstring cellAt(const StringList& row, int column) {
    return column >= 0 && static_cast<size_t>(column) < row.size() ? row[static_cast<size_t>(column)]
                                                                   : std::wstring();
}

// In the order of PositionCellIndex.
constexpr const wchar_t* kPositionOwnNames[] = {L"股票",  L"数量", L"可卖数量", L"成本价",  L"盈亏",
                                                L"盈亏%", L"市值", L"当前价",   L"证券代码"};

bool isNeededPositionCell(size_t index) {
    return index == size_t{kCodeText} || index == size_t{kQuantityText} || index == size_t{kSellableText};
}

GridCopyRead positionsFrom(const CopiedTable& table, const BrokerConfig& config) {
    GridCopyRead read;
    CopyColumns columns(table.titles, config.positionTitles(), config.positionOwnNames());
    std::array<int, kPositionCellCount> at{};
    std::array<bool, kPositionCellCount> configured{};
    for (size_t i = 0; i < kPositionCellCount; ++i) {
        at[i] = columns.find(kPositionOwnNames[i], isNeededPositionCell(i));
        configured[i] = at[i] >= 0;
    }
    read.missing = columns.missing;
    if (!read.missing.empty()) {
        read.status = GridCopyStatus::MissingColumns;
        return read;
    }
    for (const StringList& cells : table.rows) {
        PositionCellTexts texts;
        for (size_t i = 0; i < kPositionCellCount; ++i) texts[i] = cellAt(cells, at[i]);
        read.rows.push_back(positionRowFromCells(texts, configured));
    }
    read.status = GridCopyStatus::Read;
    return read;
}

struct OrderColumns {
    int code, name, side, quantity, filled, price, contract, remark;
};

std::optional<OrderDirection> sideOf(const std::wstring& text) {
    if (text.find(L"买入") != std::wstring::npos) return kBuyDirection;
    if (text.find(L"卖出") != std::wstring::npos) return kSellDirection;
    return std::nullopt;
}

OrderRow orderFrom(const StringList& cells, const OrderColumns& at) {
    OrderRow order;
    order.code = cellAt(cells, at.code);
    order.name = cellAt(cells, at.name);
    order.contractNumber = cellAt(cells, at.contract);
    order.remark = cellAt(cells, at.remark);
    const std::optional<OrderDirection> side = sideOf(cellAt(cells, at.side));
    order.direction = side.value_or(kSellDirection);
    if (!side) order.unreadableCells |= kDirectionCell;
    auto quantity = [&](int column, PositionCell bit, int32_t& field) {
        const std::optional<int32_t> value = readCellInteger(cellAt(cells, column));
        field = value && *value >= 0 ? *value : 0;
        if (column >= 0 && !(value && *value >= 0)) order.unreadableCells |= bit;
    };
    quantity(at.quantity, kQuantityCell, order.quantity);
    quantity(at.filled, kFilledQuantityCell, order.filledQuantity);
    const std::optional<float> price = readCellDecimal(cellAt(cells, at.price));
    order.orderPrice = price.value_or(0.0f);
    if (at.price >= 0 && !price) order.unreadableCells |= kOrderPriceCell;
    return order;
}

GridCopyRead ordersFrom(const CopiedTable& table, const BrokerConfig& config) {
    GridCopyRead read;
    CopyColumns columns(table.titles, config.commitTitles(), config.commitOwnNames());
    const OrderColumns at{columns.find(L"证券代码", true),  columns.find(L"股票", false),
                          columns.find(L"买卖标志", true),  columns.find(L"委托数量", true),
                          columns.find(L"成交数量", false), columns.find(L"委托价格", false),
                          columns.find(L"合同编号", false), columns.find(L"备注", false)};
    read.missing = columns.missing;
    if (!read.missing.empty()) {
        read.status = GridCopyStatus::MissingColumns;
        return read;
    }
    for (const StringList& cells : table.rows) read.rows.push_back(orderFrom(cells, at));
    read.status = GridCopyStatus::Read;
    return read;
}

StringList unmapped(const StringList& ownNames, std::initializer_list<const wchar_t*> needed) {
    StringList missing;
    for (const wchar_t* name : needed)
        if (indexOfOwnName(ownNames, name) < 0) missing.push_back(name);
    return missing;
}

}  // namespace

CopiedTable splitCopiedTable(const std::wstring& text) {
    CopiedTable table;
    bool haveHeader = false;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        StringList cells = splitCells(text.substr(start, end - start));
        start = end + 1;
        if (allBlank(cells)) continue;
        if (haveHeader) {
            table.rows.push_back(std::move(cells));
        } else {
            table.titles = std::move(cells);
            haveHeader = true;
        }
    }
    return table;
}

GridCopyRead readCopiedPositions(const std::wstring& text, const BrokerConfig& config) {
    const CopiedTable table = splitCopiedTable(text);
    return table.titles.empty() ? GridCopyRead{} : positionsFrom(table, config);
}

GridCopyRead readCopiedOrders(const std::wstring& text, const BrokerConfig& config) {
    const CopiedTable table = splitCopiedTable(text);
    return table.titles.empty() ? GridCopyRead{} : ordersFrom(table, config);
}

StringList learnCopiedPositionColumns(const std::wstring& text, BrokerConfig& config) {
    const StringList titles = splitCopiedTable(text).titles;
    config.setPositionColumns(titles, mapGridPositionTitles(titles));
    return unmapped(config.positionOwnNames(), {L"证券代码", L"数量", L"可卖数量"});
}

StringList learnCopiedOrderColumns(const std::wstring& text, BrokerConfig& config) {
    const StringList titles = splitCopiedTable(text).titles;
    config.setCommitColumns(titles, mapGridOrderTitles(titles));
    return unmapped(config.commitOwnNames(), {L"证券代码", L"买卖标志", L"委托数量"});
}

bool orderIsOpen(const OrderRow& order) {
    for (const wchar_t* closed : {L"已成", L"已撤", L"部撤", L"废单"})
        if (order.remark.find(closed) != std::wstring::npos) return false;
    // A quantity that could not be read never makes an order look done.
    return (order.unreadableCells & (kQuantityCell | kFilledQuantityCell)) ||
           order.filledQuantity < order.quantity;
}
