#include "broker/grid_order_form.h"

namespace {

constexpr DWORD kPollMs = 20;
constexpr DWORD kTypedWaitMs = 1000;

HWND controlOf(HWND page, int id) {
    HWND control = page ? GetDlgItem(page, id) : nullptr;
    return control && IsWindow(control) ? control : nullptr;
}

bool waitUntilReads(HWND edit, const std::wstring& text, DWORD waitMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        std::optional<std::wstring> read = getTextByMessage(edit);
        if (!read) return false;
        if (*read == text) return true;
        if (GetTickCount() - start >= waitMs) return false;
        Sleep(kPollMs);
    }
}

}  // namespace

GridOrderForm::GridOrderForm(HWND page, const FormControlIds& ids)
    : page_(page),
      code_(controlOf(page, ids.code)),
      price_(controlOf(page, ids.price)),
      quantity_(controlOf(page, ids.quantity)),
      button_(controlOf(page, ids.orderButton)) {}

GridOrderForm::~GridOrderForm() {
    if (touched_ && !pressed_) putBack();
}

// The client in front with the keyboard focus in this form: the investor is typing there.
bool GridOrderForm::investorTyping() const {
    HWND front = GetForegroundWindow();
    if (!front || GetAncestor(front, GA_ROOT) != GetAncestor(page_, GA_ROOT)) return false;
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    const DWORD thread = GetWindowThreadProcessId(page_, nullptr);
    return GetGUIThreadInfo(thread, &info) && info.hwndFocus && IsChild(page_, info.hwndFocus);
}

bool GridOrderForm::begin() {
    if (!code_ || !price_ || !quantity_ || !button_) {
        outcome_ = FormOutcome::Missing;
        return false;
    }
    if (investorTyping()) {
        outcome_ = FormOutcome::Busy;
        return false;
    }
    if (!touched_) {
        HWND edits[3] = {code_, price_, quantity_};
        for (int i = 0; i < 3; ++i) {
            found_[i] = getTextByMessage(edits[i]);
            if (!found_[i]) {
                outcome_ = FormOutcome::NotAnswering;
                return false;
            }
        }
        touched_ = true;
    }
    return true;
}

// Typed characters replace the whole selection; a backspace empties it.
bool GridOrderForm::type(HWND edit, const std::wstring& text) {
    if (!sendToWindow(edit, EM_SETSEL, 0, -1)) return false;
    if (text.empty()) PostMessageW(edit, WM_CHAR, VK_BACK, 1);
    for (wchar_t c : text) PostMessageW(edit, WM_CHAR, c, 1);
    return waitUntilReads(edit, text, kTypedWaitMs);
}

bool GridOrderForm::write(HWND edit, const std::wstring& text) {
    if (!setWindowTextOf(edit, text)) return false;
    if (waitUntilReads(edit, text, 0)) return true;
    return type(edit, text);
}

std::optional<std::wstring> GridOrderForm::quote(const std::wstring& code, DWORD waitMs) {
    readBack_ = false;
    if (!begin()) return std::nullopt;
    // Emptied first, so that the client looks the code up again even when the form held it.
    if (!write(code_, L"") || !write(price_, L"") || !write(code_, code)) {
        outcome_ = FormOutcome::Mismatch;
        return std::nullopt;
    }
    const DWORD start = GetTickCount();
    for (;;) {
        std::optional<std::wstring> price = getTextByMessage(price_);
        if (!price) break;
        if (!price->empty()) {
            outcome_ = FormOutcome::Ready;
            return price;
        }
        if (GetTickCount() - start >= waitMs) break;
        Sleep(kPollMs);
    }
    outcome_ = FormOutcome::NoQuote;
    return std::nullopt;
}

FormOutcome GridOrderForm::fill(const std::wstring& code, const std::wstring& price,
                                const std::wstring& quantity) {
    readBack_ = false;
    std::optional<std::wstring> quoted = quote(code);
    if (!quoted && (outcome_ != FormOutcome::NoQuote || price.empty())) return outcome_;
    const std::wstring wanted = price.empty() ? *quoted : price;
    if (!write(price_, wanted) || !write(quantity_, quantity)) return outcome_ = FormOutcome::Mismatch;
    // The three read back together, after the last write: a late quote may have replaced the price.
    const bool same = waitUntilReads(code_, code, 0) && waitUntilReads(price_, wanted, 0) &&
                      waitUntilReads(quantity_, quantity, 0);
    readBack_ = same;
    return outcome_ = same ? FormOutcome::Ready : FormOutcome::Mismatch;
}

ButtonPress GridOrderForm::press() {
    if (!readBack_) return ButtonPress::NotReached;
    readBack_ = false;
    const ButtonPress pressed = pressButtonStages(button_);
    pressed_ = pressed != ButtonPress::NotReached;
    return pressed;
}

void GridOrderForm::putBack() {
    HWND edits[3] = {code_, price_, quantity_};
    for (int i = 0; i < 3; ++i)
        if (found_[i]) write(edits[i], *found_[i]);
}
