#pragma once
// The buy and sell forms: code, price, available funds and quantity edits, the order button.
// Writing a code fills in the stock's name, limits and maximum at once and its current price
// after the configured delay (cancelled when someone writes the price first).
#include <windows.h>

#include <optional>

#include "simclient/market.h"
#include "simclient/page_panel.h"

namespace halyard::simclient {

class ClientApp;

class OrderForm : public PagePanel {
public:
    OrderForm(ClientApp& app, Side side);
    ~OrderForm() override;
    OrderForm(const OrderForm&) = delete;
    OrderForm& operator=(const OrderForm&) = delete;

    bool create(HWND frame, const RECT& area);
    HWND panel() const override { return panel_; }
    void refresh() override;

private:
    static LRESULT CALLBACK orderButtonProcedure(HWND button, UINT message, WPARAM wParam, LPARAM lParam,
                                                 UINT_PTR id, DWORD_PTR data);
    static INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam);
    void createControls();
    HWND addStatic(const wchar_t* text, int x, int y, int width);
    void edited(HWND edit);
    void fillPrice();
    void clearForm();
    void setOwnText(HWND edit, const std::wstring& text);
    const char* panelName() const { return side_ == Side::Buy ? "buy" : "sell"; }

    ClientApp& app_;
    Side side_;
    HWND panel_ = nullptr;
    HWND orderButton_ = nullptr, codeEdit_ = nullptr, priceEdit_ = nullptr, fundsEdit_ = nullptr,
         quantityEdit_ = nullptr;
    HWND nameStatic_ = nullptr, limitsStatic_ = nullptr, currentStatic_ = nullptr, maxStatic_ = nullptr;
    int staticCount_ = 0, staticLimit_ = 0;
    bool writing_ = false;
};

}  // namespace halyard::simclient
