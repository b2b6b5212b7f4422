#pragma once
// The exchange's and the broker's checks of an order as typed into a form.
#include <cstdint>
#include <string>

#include "simclient/market.h"

namespace halyard::simclient {

struct OrderCheck {
    bool accepted = false;
    std::string reason;    // stable key for the journal, empty when accepted
    std::wstring message;  // what the client's notice says
    std::wstring code;     // as the market knows it (blanks removed)
    double price = 0;
    int64_t quantity = 0;
};

OrderCheck checkOrder(const Market& market, bool loggedIn, Side side, const std::wstring& code,
                      const std::wstring& priceText, const std::wstring& quantityText);

// Plain decimal text ("12", "8.88", "9.990000"), surrounding blanks allowed.
bool parsePrice(const std::wstring& text, double& price);
// Plain digits, surrounding blanks allowed.
bool parseQuantity(const std::wstring& text, int64_t& quantity);

}  // namespace halyard::simclient
