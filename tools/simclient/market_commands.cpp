#include "simclient/market_commands.h"

#include "simclient/command_text.h"

namespace halyard::simclient {
namespace {

MarketCommandResult failed(std::wstring reply) {
    MarketCommandResult r;
    r.handled = true;
    r.reply = std::move(reply);
    return r;
}

MarketCommandResult done(std::wstring reply = L"ok") {
    MarketCommandResult r;
    r.handled = true;
    r.ok = true;
    r.reply = std::move(reply);
    return r;
}

bool positive(const std::wstring& text, double& value) {
    return parseNumber(text, value) && value > 0;
}

}  // namespace

MarketCommandResult runMarketCommand(Market& market, const std::vector<std::wstring>& w,
                                     const std::wstring& time) {
    if (w.empty()) return {};
    const std::wstring& name = w[0];
    const size_t n = w.size();
    if (name == L"price") {
        double price = 0;
        if (n != 3 || !positive(w[2], price)) return failed(L"usage: price CODE VALUE");
        if (!market.stock(w[1])) return failed(L"unknown code " + w[1]);
        auto r = done();
        r.trades = market.setPrice(w[1], price, time);
        return r;
    }
    if (name == L"position") {
        double cost = 0, price = 0;
        int64_t quantity = 0, sellable = 0;
        const bool hasPrice = n == 7;
        if ((n != 6 && n != 7) || !parseWholeInteger(w[3], quantity) || !parseWholeInteger(w[4], sellable) ||
            !parseNumber(w[5], cost) || quantity < 0 || sellable < 0 || sellable > quantity || cost < 0 ||
            (hasPrice && !positive(w[6], price)))
            return failed(L"usage: position CODE NAME QTY SELLABLE COST [PRICE]");
        if (hasPrice) {
            market.setPosition(w[1], w[2], quantity, sellable, cost, price);
        } else {
            market.setPosition(w[1], w[2], quantity, sellable, cost);
        }
        return done();
    }
    if (name == L"remove") {
        if (n != 2) return failed(L"usage: remove CODE");
        auto cancelled = market.removePosition(w[1]);
        if (!cancelled) return failed(L"no position " + w[1]);
        auto r = done();
        r.cancelled = *cancelled;
        return r;
    }
    if (name == L"fill") {
        if (n > 2) return failed(L"usage: fill [ID|CODE|all]");
        auto trades = market.fill(n == 2 ? w[1] : L"all", time);
        if (!trades) return failed(L"no pending order " + w[1]);
        auto r = done(L"filled " + std::to_wstring(trades->size()));
        r.trades = *trades;
        return r;
    }
    if (name == L"stock") {
        double price = 0, close = 0;
        if ((n != 4 && n != 5) || !positive(w[3], price) || (n == 5 && !positive(w[4], close)))
            return failed(L"usage: stock CODE NAME PRICE [CLOSE]");
        if (n == 5) {
            market.setStock(w[1], w[2], price, close);
        } else {
            market.setStock(w[1], w[2], price);
        }
        return done();
    }
    if (name == L"close") {
        double close = 0;
        if (n != 3 || !positive(w[2], close)) return failed(L"usage: close CODE VALUE");
        if (!market.setPreviousClose(w[1], close)) return failed(L"unknown code " + w[1]);
        return done();
    }
    if (name == L"cash") {
        double cash = 0;
        if (n != 2 || !parseNumber(w[1], cash) || cash < 0) return failed(L"usage: cash VALUE");
        market.setCash(cash);
        return done();
    }
    return {};
}

}  // namespace halyard::simclient
