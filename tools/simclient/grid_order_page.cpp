#include "simclient/grid_order_page.h"

#include <commctrl.h>

#include "common/c_format.h"
#include "common/control_text.h"
#include "simclient/client_app.h"
#include "simclient/grid_ids.h"
#include "simclient/window_helpers.h"

namespace halyard::simclient {
namespace {

constexpr UINT_PTR kPriceTimer = 1, kButtonSubclassId = 1, kEditSubclassId = 2;
constexpr int kLabelX = 30, kValueX = 110, kTop = 20, kRowHeight = 36, kEditWidth = 140, kEditHeight = 24;

int rowY(int row) {
    return kTop + row * kRowHeight;
}

}  // namespace

GridOrderPage::GridOrderPage(ClientApp& app, Side side) : app_(app), side_(side) {}

GridOrderPage::~GridOrderPage() {
    if (panel_) {
        SetWindowLongPtrW(panel_, DWLP_USER, 0);
        DestroyWindow(panel_);
    }
}

bool GridOrderPage::create(HWND frame, const RECT& area) {
    panel_ = createDialogWindow(frame, WS_CHILD | WS_CLIPSIBLINGS | DS_CONTROL, WS_EX_CONTROLPARENT,
                                procedure, reinterpret_cast<LPARAM>(this));
    if (!panel_) return false;
    MoveWindow(panel_, area.left, area.top, area.right - area.left, area.bottom - area.top, FALSE);
    createControls();
    refresh();
    return true;
}

void GridOrderPage::createControls() {
    const bool buy = side_ == Side::Buy;
    HFONT font = app_.font();
    const DWORD editStyle = WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
    const DWORD labelStyle = SS_LEFT | SS_NOPREFIX | SS_CENTERIMAGE;
    addControl(panel_, L"Static", L"证券代码", labelStyle, kLabelX, rowY(0), 76, kEditHeight, -1, font);
    codeEdit_ = addControl(panel_, L"Edit", L"", editStyle, kValueX, rowY(0), kEditWidth, kEditHeight,
                           kGridCodeEdit, font, WS_EX_CLIENTEDGE);
    SendMessageW(codeEdit_, EM_LIMITTEXT, 6, 0);
    nameStatic_ = addControl(panel_, L"Static", L"", labelStyle, kValueX + kEditWidth + 12, rowY(0), 120,
                             kEditHeight, -1, font);
    addControl(panel_, L"Static", buy ? L"买入价格" : L"卖出价格", labelStyle, kLabelX, rowY(1), 76,
               kEditHeight, -1, font);
    priceEdit_ = addControl(panel_, L"Edit", L"", editStyle, kValueX, rowY(1), kEditWidth, kEditHeight,
                            kGridPriceEdit, font, WS_EX_CLIENTEDGE);
    addControl(panel_, L"Static", buy ? L"可买(股)" : L"可卖(股)", labelStyle, kLabelX, rowY(2), 76,
               kEditHeight, -1, font);
    maxStatic_ =
        addControl(panel_, L"Static", L"", labelStyle, kValueX, rowY(2), kEditWidth, kEditHeight, -1, font);
    addControl(panel_, L"Static", buy ? L"买入数量" : L"卖出数量", labelStyle, kLabelX, rowY(3), 76,
               kEditHeight, -1, font);
    quantityEdit_ = addControl(panel_, L"Edit", L"", editStyle, kValueX, rowY(3), kEditWidth, kEditHeight,
                               kGridQuantityEdit, font, WS_EX_CLIENTEDGE);
    HWND order = addControl(panel_, L"Button", buy ? L"买入[B]" : L"卖出[S]", WS_TABSTOP | BS_DEFPUSHBUTTON,
                            kValueX, rowY(4) + 8, 90, 30, kGridOrderButton, font);
    SetWindowSubclass(order, orderButtonProcedure, kButtonSubclassId, reinterpret_cast<DWORD_PTR>(this));
    if (app_.options().hasVariant(L"typed-edits"))
        for (HWND edit : {codeEdit_, priceEdit_, quantityEdit_})
            SetWindowSubclass(edit, typedEditProcedure, kEditSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

// The client is single-threaded: a WM_SETTEXT that arrives as a sent message came from another program.
LRESULT CALLBACK GridOrderPage::typedEditProcedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                                   UINT_PTR, DWORD_PTR data) {
    if (message == WM_SETTEXT && InSendMessage()) {
        reinterpret_cast<GridOrderPage*>(data)->app_.journal(
            JournalLine("text_ignored").number("control", GetDlgCtrlID(edit)));
        return FALSE;
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(edit, typedEditProcedure, kEditSubclassId);
    return DefSubclassProc(edit, message, wParam, lParam);
}

// A client busy at the first message of a press (the state change): the press never arrives.
LRESULT CALLBACK GridOrderPage::orderButtonProcedure(HWND button, UINT message, WPARAM wParam, LPARAM lParam,
                                                     UINT_PTR, DWORD_PTR data) {
    if (message == BM_SETSTATE) {
        const DWORD hang = reinterpret_cast<GridOrderPage*>(data)->app_.takePressHang();
        if (hang) Sleep(hang);
    } else if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(button, orderButtonProcedure, kButtonSubclassId);
    }
    return DefSubclassProc(button, message, wParam, lParam);
}

INT_PTR CALLBACK GridOrderPage::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<GridOrderPage*>(lParam);
        self->panel_ = window;
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        return FALSE;
    }
    auto* self = reinterpret_cast<GridOrderPage*>(GetWindowLongPtrW(window, DWLP_USER));
    return self ? self->handle(message, wParam, lParam) : FALSE;
}

INT_PTR GridOrderPage::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (HIWORD(wParam) == EN_CHANGE && !writing_) {
                edited(reinterpret_cast<HWND>(lParam));
            } else if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == kGridOrderButton) {
                app_.submitOrder(side_, controlText(codeEdit_), controlText(priceEdit_),
                                 controlText(quantityEdit_));
            }
            return TRUE;
        case WM_TIMER:
            if (wParam == kPriceTimer) {
                KillTimer(panel_, kPriceTimer);
                fillPrice();
            }
            return TRUE;
        default:
            return FALSE;
    }
}

void GridOrderPage::edited(HWND edit) {
    const wchar_t* field = edit == codeEdit_ ? L"code" : edit == priceEdit_ ? L"price" : L"quantity";
    app_.journal(JournalLine("field_written")
                     .text("panel", panelName())
                     .text("field", field)
                     .text("text", controlText(edit)));
    if (edit == codeEdit_) {
        KillTimer(panel_, kPriceTimer);
        const auto delay = app_.options().priceDelayMs;
        if (delay && app_.market().stock(controlText(codeEdit_)))
            SetTimer(panel_, kPriceTimer, static_cast<UINT>(*delay), nullptr);
    } else if (edit == priceEdit_) {
        KillTimer(panel_, kPriceTimer);
    }
    refresh();
}

void GridOrderPage::fillPrice() {
    const Stock* stock = app_.market().stock(controlText(codeEdit_));
    if (!stock || !app_.loggedIn()) return;
    writing_ = true;
    SetWindowTextW(priceEdit_, wcformat("%.2f", stock->price).c_str());
    writing_ = false;
    refresh();
}

void GridOrderPage::refresh() {
    if (!panel_) return;
    const Market& market = app_.market();
    const Stock* stock = app_.loggedIn() ? market.stock(controlText(codeEdit_)) : nullptr;
    std::wstring maximum;
    if (stock && side_ == Side::Sell) {
        maximum = wcformat("%lld", static_cast<long long>(market.maxSellable(stock->code)));
    } else if (stock) {
        double price = 0;
        if (!parsePrice(controlText(priceEdit_), price) || price <= 0) price = stock->price;
        maximum = wcformat("%lld", static_cast<long long>(market.maxBuyable(stock->code, price)));
    }
    auto set = [](HWND s, const std::wstring& text) {
        if (s && controlText(s) != text) SetWindowTextW(s, text.c_str());
    };
    set(nameStatic_, stock ? stock->name : L"");
    set(maxStatic_, maximum);
}

}  // namespace halyard::simclient
