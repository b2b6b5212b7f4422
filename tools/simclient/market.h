#pragma once
// The simulated market behind the client's windows: stocks with their prices and previous
// closes, the account's positions and cash, the pending orders and the day's trades.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace halyard::simclient {

enum class Side { Buy, Sell };

struct Stock {
    std::wstring code;
    std::wstring name;
    double price = 0;
    double previousClose = 0;  // the daily limit is ±10 % of it (±20 % for 300, 301, 688)
};

struct Position {
    std::wstring code;
    int64_t quantity = 0;
    int64_t sellable = 0;  // already net of shares frozen by pending sells
    int64_t frozen = 0;
    double cost = 0;
};

struct Order {
    int id = 0;
    Side side = Side::Sell;
    std::wstring code;
    double price = 0;
    int64_t quantity = 0;
    std::wstring time;  // HH:MM:SS
};

struct Trade {
    int orderId = 0;
    Side side = Side::Sell;
    std::wstring code;
    double price = 0;
    int64_t quantity = 0;
    std::wstring time;
};

class Market {
public:
    // Adds the stock or updates its name and price; the previous close is set only when given
    // or when the stock is new (then it is the price).
    void setStock(const std::wstring& code, const std::wstring& name, double price,
                  std::optional<double> previousClose = std::nullopt);
    bool setPreviousClose(const std::wstring& code, double value);
    // Sets the price and fills every pending order it reaches; returns the trades made.
    std::vector<Trade> setPrice(const std::wstring& code, double price, const std::wstring& time);

    // Adds or replaces a position; the stock is created when unknown (priced at `price`, or
    // at the cost when no price is given).
    void setPosition(const std::wstring& code, const std::wstring& name, int64_t quantity, int64_t sellable,
                     double cost, std::optional<double> price = std::nullopt);
    // Removes the position and cancels its pending sells; returns the cancelled orders.
    std::optional<std::vector<Order>> removePosition(const std::wstring& code);

    const Stock* stock(const std::wstring& code) const;
    const Position* position(const std::wstring& code) const;
    const std::vector<Position>& positions() const { return positions_; }
    const std::vector<Stock>& stocks() const { return stocks_; }
    // The first position moves to the end: the list shows the same rows in another order.
    void rotatePositions();
    const std::vector<Order>& pendingOrders() const { return orders_; }
    const Order* pendingOrder(int id) const;
    const std::vector<Trade>& trades() const { return trades_; }

    double cash() const { return cash_; }
    double availableCash() const { return cash_ - frozenCash_; }
    void setCash(double cash) { cash_ = cash; }

    double upperLimit(const std::wstring& code) const;
    double lowerLimit(const std::wstring& code) const;
    int64_t maxBuyable(const std::wstring& code, double price) const;
    int64_t maxSellable(const std::wstring& code) const;

    // Places an order that has passed the order checks: a sell freezes its shares, a buy its cash.
    int place(Side side, const std::wstring& code, double price, int64_t quantity, const std::wstring& time);
    // Cancels a pending order and releases what it froze; nullopt when there is none.
    std::optional<Order> cancel(int id);
    // Fills the pending orders chosen by `selector` ("all", an order id or a code) at their limit
    // prices, whatever the current price; returns the trades, nullopt when nothing matched.
    std::optional<std::vector<Trade>> fill(const std::wstring& selector, const std::wstring& time);

private:
    Stock* findStock(const std::wstring& code);
    Position* findPosition(const std::wstring& code);
    Trade execute(const Order& order, const std::wstring& time);

    std::vector<Stock> stocks_;
    std::vector<Position> positions_;
    std::vector<Order> orders_;
    std::vector<Trade> trades_;
    double cash_ = 1000000;
    double frozenCash_ = 0;
    int nextOrderId_ = 1;
};

// Prices in the market are kept on the 0.01 yuan tick.
double roundToCent(double value);

}  // namespace halyard::simclient
