#include "simclient/market.h"

#include <algorithm>
#include <cmath>

namespace halyard::simclient {

double roundToCent(double value) {
    return std::floor(value * 100 + 0.5) / 100;
}

Stock* Market::findStock(const std::wstring& code) {
    for (auto& s : stocks_)
        if (s.code == code) return &s;
    return nullptr;
}

Position* Market::findPosition(const std::wstring& code) {
    for (auto& p : positions_)
        if (p.code == code) return &p;
    return nullptr;
}

const Stock* Market::stock(const std::wstring& code) const {
    return const_cast<Market*>(this)->findStock(code);
}

const Position* Market::position(const std::wstring& code) const {
    return const_cast<Market*>(this)->findPosition(code);
}

const Order* Market::pendingOrder(int id) const {
    for (const auto& o : orders_)
        if (o.id == id) return &o;
    return nullptr;
}

void Market::setStock(const std::wstring& code, const std::wstring& name, double price,
                      std::optional<double> previousClose) {
    Stock* s = findStock(code);
    if (!s) {
        stocks_.push_back(Stock{code, name, price, previousClose.value_or(price)});
        return;
    }
    s->name = name;
    s->price = price;
    if (previousClose) s->previousClose = *previousClose;
}

bool Market::setPreviousClose(const std::wstring& code, double value) {
    Stock* s = findStock(code);
    if (!s) return false;
    s->previousClose = value;
    return true;
}

std::vector<Trade> Market::setPrice(const std::wstring& code, double price, const std::wstring& time) {
    std::vector<Trade> made;
    Stock* s = findStock(code);
    if (!s) return made;
    s->price = price;
    std::vector<Order> reached;
    for (const auto& o : orders_) {
        if (o.code != code) continue;
        const bool hit = o.side == Side::Sell ? price >= o.price - 1e-9 : price <= o.price + 1e-9;
        if (hit) reached.push_back(o);
    }
    for (const auto& o : reached) made.push_back(execute(o, time));
    return made;
}

void Market::setPosition(const std::wstring& code, const std::wstring& name, int64_t quantity,
                         int64_t sellable, double cost, std::optional<double> price) {
    const Stock* known = findStock(code);
    const double newPrice = price ? *price : known ? known->price : cost;
    setStock(code, name, newPrice);
    Position* p = findPosition(code);
    if (!p) {
        positions_.push_back(Position{code, quantity, sellable, 0, cost});
        return;
    }
    p->quantity = quantity;
    p->sellable = sellable;
    p->cost = cost;
}

void Market::rotatePositions() {
    if (positions_.size() > 1) std::rotate(positions_.begin(), positions_.begin() + 1, positions_.end());
}

std::optional<std::vector<Order>> Market::removePosition(const std::wstring& code) {
    auto it =
        std::find_if(positions_.begin(), positions_.end(), [&](const Position& p) { return p.code == code; });
    if (it == positions_.end()) return std::nullopt;
    std::vector<int> sells;
    for (const auto& o : orders_)
        if (o.code == code && o.side == Side::Sell) sells.push_back(o.id);
    std::vector<Order> cancelled;
    for (int id : sells)
        if (auto o = cancel(id)) cancelled.push_back(*o);
    positions_.erase(std::find_if(positions_.begin(), positions_.end(),
                                  [&](const Position& p) { return p.code == code; }));
    return cancelled;
}

namespace {

// The daily limit as a fraction of the previous close: 20 % on ChiNext (300, 301) and the STAR
// market (688), 10 % elsewhere.
double dailyLimitFraction(const std::wstring& code) {
    for (const wchar_t* board : {L"300", L"301", L"688"})
        if (code.rfind(board, 0) == 0) return 0.2;
    return 0.1;
}

}  // namespace

double Market::upperLimit(const std::wstring& code) const {
    const Stock* s = stock(code);
    return s ? roundToCent(s->previousClose * (1 + dailyLimitFraction(s->code))) : 0;
}

double Market::lowerLimit(const std::wstring& code) const {
    const Stock* s = stock(code);
    return s ? roundToCent(s->previousClose * (1 - dailyLimitFraction(s->code))) : 0;
}

int64_t Market::maxBuyable(const std::wstring& code, double price) const {
    if (!stock(code) || price <= 0) return 0;
    const double lots = std::floor(availableCash() / (price * 100) + 1e-9);
    return lots > 0 ? static_cast<int64_t>(lots) * 100 : 0;
}

int64_t Market::maxSellable(const std::wstring& code) const {
    const Position* p = position(code);
    return p ? p->sellable : 0;
}

int Market::place(Side side, const std::wstring& code, double price, int64_t quantity,
                  const std::wstring& time) {
    if (side == Side::Sell) {
        if (Position* p = findPosition(code)) {
            p->sellable -= quantity;
            p->frozen += quantity;
        }
    } else {
        frozenCash_ += price * static_cast<double>(quantity);
    }
    const int id = nextOrderId_++;
    orders_.push_back(Order{id, side, code, price, quantity, time});
    return id;
}

std::optional<Order> Market::cancel(int id) {
    auto it = std::find_if(orders_.begin(), orders_.end(), [&](const Order& o) { return o.id == id; });
    if (it == orders_.end()) return std::nullopt;
    Order o = *it;
    orders_.erase(it);
    if (o.side == Side::Sell) {
        if (Position* p = findPosition(o.code)) {
            p->sellable += o.quantity;
            p->frozen -= o.quantity;
        }
    } else {
        frozenCash_ -= o.price * static_cast<double>(o.quantity);
    }
    return o;
}

Trade Market::execute(const Order& order, const std::wstring& time) {
    orders_.erase(
        std::find_if(orders_.begin(), orders_.end(), [&](const Order& o) { return o.id == order.id; }));
    const double amount = order.price * static_cast<double>(order.quantity);
    if (order.side == Side::Sell) {
        cash_ += amount;
        if (Position* p = findPosition(order.code)) {
            p->frozen -= order.quantity;
            p->quantity -= order.quantity;
            if (p->quantity <= 0) {
                const std::wstring code = p->code;
                positions_.erase(std::find_if(positions_.begin(), positions_.end(),
                                              [&](const Position& q) { return q.code == code; }));
            }
        }
    } else {
        frozenCash_ -= amount;
        cash_ -= amount;
        Position* p = findPosition(order.code);
        if (!p) {
            positions_.push_back(Position{order.code, order.quantity, 0, 0, order.price});
        } else {
            // Bought shares become sellable on the next trading day.
            const double total = p->cost * static_cast<double>(p->quantity) + amount;
            p->quantity += order.quantity;
            p->cost = p->quantity > 0 ? total / static_cast<double>(p->quantity) : 0;
        }
    }
    Trade t{order.id, order.side, order.code, order.price, order.quantity, time};
    trades_.push_back(t);
    return t;
}

std::optional<std::vector<Trade>> Market::fill(const std::wstring& selector, const std::wstring& time) {
    std::vector<Order> chosen;
    if (selector == L"all") {
        chosen = orders_;
    } else {
        for (const auto& o : orders_)
            if (std::to_wstring(o.id) == selector) chosen.push_back(o);
        if (chosen.empty())
            for (const auto& o : orders_)
                if (o.code == selector) chosen.push_back(o);
    }
    if (chosen.empty() && selector != L"all") return std::nullopt;
    std::vector<Trade> made;
    for (const auto& o : chosen) made.push_back(execute(o, time));
    return made;
}

}  // namespace halyard::simclient
