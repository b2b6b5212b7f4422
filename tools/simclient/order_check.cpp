#include "simclient/order_check.h"

#include <cmath>
#include <cwctype>

#include "common/c_format.h"

namespace halyard::simclient {
namespace {

std::wstring trimmed(const std::wstring& text) {
    size_t begin = 0, end = text.size();
    while (begin < end && std::iswspace(text[begin])) ++begin;
    while (end > begin && std::iswspace(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

OrderCheck refused(const char* reason, std::wstring message) {
    OrderCheck check;
    check.reason = reason;
    check.message = std::move(message);
    return check;
}

}  // namespace

bool parsePrice(const std::wstring& text, double& price) {
    const std::wstring t = trimmed(text);
    size_t digits = 0, dots = 0;
    for (wchar_t c : t) {
        if (c >= L'0' && c <= L'9') {
            ++digits;
        } else if (c == L'.') {
            ++dots;
        } else {
            return false;
        }
    }
    if (digits == 0 || dots > 1 || t.front() == L'.' || t.back() == L'.' || t.size() > 20) return false;
    price = std::wcstod(t.c_str(), nullptr);
    return true;
}

bool parseQuantity(const std::wstring& text, int64_t& quantity) {
    const std::wstring t = trimmed(text);
    if (t.empty() || t.size() > 15) return false;
    for (wchar_t c : t)
        if (c < L'0' || c > L'9') return false;
    quantity = std::wcstoll(t.c_str(), nullptr, 10);
    return true;
}

OrderCheck checkOrder(const Market& market, bool loggedIn, Side side, const std::wstring& code,
                      const std::wstring& priceText, const std::wstring& quantityText) {
    if (!loggedIn) return refused("not_logged_in", L"尚未登录交易系统");
    if (trimmed(code).empty()) return refused("empty_field", L"请输入证券代码");
    if (trimmed(priceText).empty()) return refused("empty_field", L"请输入委托价格");
    if (trimmed(quantityText).empty()) return refused("empty_field", L"请输入委托数量");
    const Stock* stock = market.stock(trimmed(code));
    if (!stock) return refused("unknown_code", L"证券代码不存在");
    double price = 0;
    if (!parsePrice(priceText, price) || price <= 0) return refused("invalid_price", L"委托价格无效");
    const double cents = price * 100;
    if (std::fabs(cents - std::round(cents)) > 1e-6)
        return refused("off_tick", L"委托价格必须是0.01元的整数倍");
    const double upper = market.upperLimit(stock->code), lower = market.lowerLimit(stock->code);
    if (price > upper + 1e-9 || price < lower - 1e-9)
        return refused("outside_limit", L"委托价格超出涨跌停限制(跌停" + wcformat("%.2f", lower) + L" 涨停" +
                                            wcformat("%.2f", upper) + L")");
    int64_t quantity = 0;
    if (!parseQuantity(quantityText, quantity) || quantity <= 0)
        return refused("invalid_quantity", L"委托数量无效");
    if (side == Side::Buy) {
        if (quantity % 100 != 0) return refused("not_board_lot", L"买入数量必须是100股的整数倍");
        if (price * static_cast<double>(quantity) > market.availableCash() + 1e-6)
            return refused("insufficient_funds", L"可用资金不足");
    } else if (quantity > market.maxSellable(stock->code)) {
        return refused("above_sellable",
                       L"可卖数量不足(可卖" +
                           wcformat("%lld", static_cast<long long>(market.maxSellable(stock->code))) +
                           L"股)");
    }
    OrderCheck check;
    check.accepted = true;
    check.code = stock->code;
    check.price = roundToCent(price);
    check.quantity = quantity;
    return check;
}

}  // namespace halyard::simclient
