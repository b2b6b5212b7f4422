#pragma once
// The grid family's buy and sell pages: edits 1032 (code), 1033 (price), 1034 (quantity) and the
// order button 1006. Writing a code fills in the stock's name and the most it can trade at once
// and its latest price (the form's quote) after the configured delay. With the variant
// "typed-edits" the edits ignore WM_SETTEXT sent by another program: only typed characters count.
#include <windows.h>

#include "simclient/market.h"
#include "simclient/page_panel.h"

namespace halyard::simclient {

class ClientApp;

class GridOrderPage : public PagePanel {
public:
    GridOrderPage(ClientApp& app, Side side);
    ~GridOrderPage() override;
    GridOrderPage(const GridOrderPage&) = delete;
    GridOrderPage& operator=(const GridOrderPage&) = delete;

    bool create(HWND frame, const RECT& area);
    HWND panel() const override { return panel_; }
    void refresh() override;

private:
    static INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK orderButtonProcedure(HWND button, UINT message, WPARAM wParam, LPARAM lParam,
                                                 UINT_PTR id, DWORD_PTR data);
    static LRESULT CALLBACK typedEditProcedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                               UINT_PTR id, DWORD_PTR data);
    INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam);
    void createControls();
    void edited(HWND edit);
    void fillPrice();
    const wchar_t* panelName() const { return side_ == Side::Buy ? L"buy" : L"sell"; }

    ClientApp& app_;
    Side side_;
    HWND panel_ = nullptr;
    HWND codeEdit_ = nullptr, priceEdit_ = nullptr, quantityEdit_ = nullptr;
    HWND nameStatic_ = nullptr, maxStatic_ = nullptr;
    bool writing_ = false;
};

}  // namespace halyard::simclient
