#pragma once
// The client's pages, in toolbar order; 刷新 follows them on the toolbar.
namespace halyard::simclient {

enum class Page { Buy, Sell, Orders, Positions, Query };
inline constexpr int kPageCount = 5;

inline const char* pageName(Page page) {
    switch (page) {
        case Page::Buy:
            return "buy";
        case Page::Sell:
            return "sell";
        case Page::Orders:
            return "orders";
        case Page::Positions:
            return "positions";
        case Page::Query:
            return "query";
    }
    return "";
}

}  // namespace halyard::simclient
