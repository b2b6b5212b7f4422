#include "simclient/order_form.h"

#include <commctrl.h>

#include "common/c_format.h"
#include "common/control_text.h"
#include "simclient/client_app.h"
#include "simclient/journal.h"
#include "simclient/order_check.h"
#include "simclient/window_helpers.h"

namespace halyard::simclient {
namespace {

constexpr int kOrderId = 101, kResetId = 102, kCodeId = 201, kPriceId = 202, kFundsId = 203,
              kQuantityId = 204;
constexpr UINT_PTR kPriceTimer = 1;
constexpr UINT_PTR kButtonSubclassId = 1;
constexpr int kLabelX = 40, kValueX = 130, kRowHeight = 36, kTop = 24, kEditWidth = 150, kEditHeight = 24;

int rowY(int row) {
    return kTop + row * kRowHeight;
}

}  // namespace

OrderForm::OrderForm(ClientApp& app, Side side) : app_(app), side_(side) {}

OrderForm::~OrderForm() {
    if (panel_) {
        SetWindowLongPtrW(panel_, DWLP_USER, 0);
        DestroyWindow(panel_);
    }
}

bool OrderForm::create(HWND frame, const RECT& area) {
    panel_ = createDialogWindow(frame, WS_CHILD | WS_CLIPSIBLINGS | DS_CONTROL, WS_EX_CONTROLPARENT,
                                procedure, reinterpret_cast<LPARAM>(this));
    if (!panel_) return false;
    MoveWindow(panel_, area.left, area.top, area.right - area.left, area.bottom - area.top, FALSE);
    createControls();
    refresh();
    return true;
}

HWND OrderForm::addStatic(const wchar_t* text, int x, int y, int width) {
    if (staticCount_ >= staticLimit_) return nullptr;
    ++staticCount_;
    return addControl(panel_, L"Static", text, SS_LEFT | SS_NOPREFIX | SS_CENTERIMAGE, x, y, width,
                      kEditHeight, -1, app_.font());
}

void OrderForm::createControls() {
    const ClientOptions& o = app_.options();
    const bool buy = side_ == Side::Buy;
    const bool threeEdits = o.hasVariant(buy ? L"buy-3-edits" : L"sell-3-edits");
    const bool oneButton = o.hasVariant(buy ? L"buy-1-button" : L"sell-1-button");
    staticLimit_ =
        buy ? (o.hasVariant(L"buy-9-statics") ? 9 : 12) : (o.hasVariant(L"sell-7-statics") ? 7 : 10);
    HFONT font = app_.font();
    const DWORD editStyle = WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;

    // Edits in the order the program counts them: code, price, funds, quantity.
    codeEdit_ = addControl(panel_, L"Edit", L"", editStyle, kValueX, rowY(0), kEditWidth, kEditHeight,
                           kCodeId, font, WS_EX_CLIENTEDGE);
    SendMessageW(codeEdit_, EM_LIMITTEXT, 6, 0);
    priceEdit_ = addControl(panel_, L"Edit", L"", editStyle, kValueX, rowY(2), kEditWidth, kEditHeight,
                            kPriceId, font, WS_EX_CLIENTEDGE);
    if (!threeEdits)
        fundsEdit_ = addControl(panel_, L"Edit", L"", editStyle | ES_READONLY, kValueX, rowY(3), kEditWidth,
                                kEditHeight, kFundsId, font, WS_EX_CLIENTEDGE);
    const int quantityRow = buy ? 6 : 5;
    quantityEdit_ = addControl(panel_, L"Edit", L"", editStyle, kValueX, rowY(quantityRow), kEditWidth,
                               kEditHeight, kQuantityId, font, WS_EX_CLIENTEDGE);

    // Statics: the tenth of the buy form and the eighth of the sell form show the maximum.
    addStatic(L"证券代码", kLabelX, rowY(0), 80);
    addStatic(L"证券名称", kLabelX, rowY(1), 80);
    nameStatic_ = addStatic(L"", kValueX, rowY(1), kEditWidth);
    addStatic(L"委托价格", kLabelX, rowY(2), 80);
    limitsStatic_ = addStatic(L"", kValueX + kEditWidth + 16, rowY(2), 240);
    addStatic(L"可用资金", kLabelX, rowY(3), 80);
    if (buy) {
        addStatic(L"当前价", kLabelX, rowY(4), 80);
        currentStatic_ = addStatic(L"", kValueX, rowY(4), kEditWidth);
        addStatic(L"最大可买", kLabelX, rowY(5), 80);
        maxStatic_ = addStatic(L"", kValueX, rowY(5), kEditWidth);
        addStatic(L"买入数量", kLabelX, rowY(6), 80);
        addStatic(L"股", kValueX + kEditWidth + 8, rowY(6), 30);
    } else {
        addStatic(L"最大可卖", kLabelX, rowY(4), 80);
        maxStatic_ = addStatic(L"", kValueX, rowY(4), kEditWidth);
        addStatic(L"卖出数量", kLabelX, rowY(5), 80);
        addStatic(L"股", kValueX + kEditWidth + 8, rowY(5), 30);
    }

    const int buttonY = rowY(quantityRow + 1) + 8;
    orderButton_ = addControl(panel_, L"Button", buy ? L"买入下单" : L"卖出下单",
                              WS_TABSTOP | BS_DEFPUSHBUTTON, kValueX, buttonY, 90, 30, kOrderId, font);
    SetWindowSubclass(orderButton_, orderButtonProcedure, kButtonSubclassId,
                      reinterpret_cast<DWORD_PTR>(this));
    if (!oneButton)
        addControl(panel_, L"Button", L"重填", WS_TABSTOP | BS_PUSHBUTTON, kValueX + 100, buttonY, 70, 30,
                   kResetId, font);
}

// A client busy at the first message of a press (the state change): the press never arrives.
LRESULT CALLBACK OrderForm::orderButtonProcedure(HWND button, UINT message, WPARAM wParam, LPARAM lParam,
                                                 UINT_PTR, DWORD_PTR data) {
    if (message == BM_SETSTATE) {
        const DWORD hang = reinterpret_cast<OrderForm*>(data)->app_.takePressHang();
        if (hang) Sleep(hang);
    } else if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(button, orderButtonProcedure, kButtonSubclassId);
    }
    return DefSubclassProc(button, message, wParam, lParam);
}

INT_PTR CALLBACK OrderForm::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<OrderForm*>(lParam);
        self->panel_ = window;
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        return FALSE;
    }
    auto* self = reinterpret_cast<OrderForm*>(GetWindowLongPtrW(window, DWLP_USER));
    return self ? self->handle(message, wParam, lParam) : FALSE;
}

INT_PTR OrderForm::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND: {
            const int id = LOWORD(wParam), code = HIWORD(wParam);
            if (code == EN_CHANGE && !writing_) {
                edited(reinterpret_cast<HWND>(lParam));
            } else if (code == BN_CLICKED && id == kOrderId) {
                app_.submitOrder(side_, controlText(codeEdit_), controlText(priceEdit_),
                                 controlText(quantityEdit_));
            } else if (code == BN_CLICKED && id == kResetId) {
                clearForm();
            }
            return TRUE;
        }
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

void OrderForm::edited(HWND edit) {
    const char* field = edit == codeEdit_       ? "code"
                        : edit == priceEdit_    ? "price"
                        : edit == quantityEdit_ ? "quantity"
                        : edit == fundsEdit_    ? "funds"
                                                : "other";
    app_.journal(JournalLine("field_written")
                     .text("panel", widenAscii(panelName()))
                     .text("field", widenAscii(field))
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

void OrderForm::fillPrice() {
    const Stock* stock = app_.market().stock(controlText(codeEdit_));
    if (!stock || !app_.loggedIn()) return;
    setOwnText(priceEdit_, wcformat("%.2f", stock->price));
    refresh();
}

void OrderForm::clearForm() {
    KillTimer(panel_, kPriceTimer);
    setOwnText(codeEdit_, L"");
    setOwnText(priceEdit_, L"");
    setOwnText(quantityEdit_, L"");
    refresh();
}

void OrderForm::setOwnText(HWND edit, const std::wstring& text) {
    writing_ = true;
    SetWindowTextW(edit, text.c_str());
    writing_ = false;
}

void OrderForm::refresh() {
    if (!panel_) return;
    const Market& market = app_.market();
    const bool in = app_.loggedIn();
    if (fundsEdit_) setOwnText(fundsEdit_, in ? wcformat("%.2f", market.availableCash()) : L"");
    const Stock* stock = in ? market.stock(controlText(codeEdit_)) : nullptr;
    auto set = [](HWND s, const std::wstring& text) {
        if (s && controlText(s) != text) SetWindowTextW(s, text.c_str());
    };
    set(nameStatic_, stock ? stock->name : L"");
    set(limitsStatic_, stock ? L"涨停 " + wcformat("%.2f", market.upperLimit(stock->code)) + L"   跌停 " +
                                   wcformat("%.2f", market.lowerLimit(stock->code))
                             : L"");
    set(currentStatic_, stock ? wcformat("%.2f", stock->price) : L"");
    std::wstring maximum;
    if (stock) {
        if (side_ == Side::Sell) {
            maximum = wcformat("%lld", static_cast<long long>(market.maxSellable(stock->code)));
        } else {
            double price = 0;
            if (!parsePrice(controlText(priceEdit_), price) || price <= 0) price = stock->price;
            maximum = wcformat("%lld", static_cast<long long>(market.maxBuyable(stock->code, price)));
        }
    }
    set(maxStatic_, maximum);
}

}  // namespace halyard::simclient
