#include "simclient/column_cells.h"

#include "common/c_format.h"

namespace halyard::simclient {
namespace {

bool shanghai(const std::wstring& code) {
    return !code.empty() && code[0] == L'6';
}

std::wstring nameOf(const Market& market, const std::wstring& code) {
    const Stock* s = market.stock(code);
    return s ? s->name : std::wstring();
}

std::wstring integer(int64_t v) {
    return wcformat("%lld", static_cast<long long>(v));
}

}  // namespace

const wchar_t* sideText(Side side) {
    return side == Side::Buy ? L"买入" : L"卖出";
}

std::wstring positionCell(const std::wstring& title, const Market& market, const Position& p) {
    const Stock* s = market.stock(p.code);
    const double price = s ? s->price : 0;
    const double quantity = static_cast<double>(p.quantity);
    if (title == L"证券代码") return p.code;
    if (title == L"证券名称") return nameOf(market, p.code);
    if (title == L"证券数量" || title == L"股票余额") return integer(p.quantity);
    if (title == L"可卖数量" || title == L"可用余额") return integer(p.sellable);
    if (title == L"冻结数量") return integer(p.frozen);
    if (title == L"成本价") return wcformat("%.3f", p.cost);
    if (title == L"当前价" || title == L"市价") return wcformat("%.3f", price);
    if (title == L"最新市值" || title == L"市值") return wcformat("%.2f", price * quantity);
    if (title == L"浮动盈亏" || title == L"盈亏") return wcformat("%.2f", (price - p.cost) * quantity);
    if (title == L"盈亏比例(%)") return wcformat("%.2f", p.cost > 0 ? (price - p.cost) / p.cost * 100 : 0.0);
    if (title == L"股东代码") return shanghai(p.code) ? L"A123456789" : L"0123456789";
    if (title == L"交易所名称") return shanghai(p.code) ? L"上海A股" : L"深圳A股";
    return {};
}

std::wstring orderCell(const std::wstring& title, const Market& market, const Order& o) {
    if (title == L"证券代码") return o.code;
    if (title == L"证券名称") return nameOf(market, o.code);
    if (title == L"买卖标志" || title == L"操作") return sideText(o.side);
    if (title == L"委托价格") return wcformat("%.2f", o.price);
    if (title == L"委托数量") return integer(o.quantity);
    if (title == L"成交数量") return L"0";
    if (title == L"委托时间") return o.time;
    if (title == L"合同编号") return integer(o.id);
    if (title == L"委托状态" || title == L"备注") return L"未成交";
    return {};
}

std::wstring withThousandsSeparators(const std::wstring& cell) {
    size_t start = !cell.empty() && cell[0] == L'-' ? 1 : 0;
    size_t end = start;
    while (end < cell.size() && cell[end] >= L'0' && cell[end] <= L'9') ++end;
    if (end == start || (end < cell.size() && cell[end] != L'.')) return cell;
    for (size_t i = end + (end < cell.size() ? 1 : 0); i < cell.size(); ++i)
        if (cell[i] < L'0' || cell[i] > L'9') return cell;
    std::wstring whole = cell.substr(start, end - start);
    for (size_t at = whole.size(); at > 3; at -= 3) whole.insert(at - 3, L",");
    return cell.substr(0, start) + whole + cell.substr(end);
}

std::wstring tradeCell(const std::wstring& title, const Market& market, const Trade& t) {
    if (title == L"成交时间") return t.time;
    if (title == L"证券代码") return t.code;
    if (title == L"证券名称") return nameOf(market, t.code);
    if (title == L"买卖标志" || title == L"操作") return sideText(t.side);
    if (title == L"成交价格" || title == L"成交均价") return wcformat("%.2f", t.price);
    if (title == L"成交数量") return integer(t.quantity);
    if (title == L"成交金额") return wcformat("%.2f", t.price * static_cast<double>(t.quantity));
    if (title == L"合同编号") return integer(t.orderId);
    return {};
}

}  // namespace halyard::simclient
