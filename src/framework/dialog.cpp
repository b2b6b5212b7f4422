#include "framework/dialog.h"

#include "common/control_text.h"
#include "framework/application.h"
#include "framework/dialog_placement.h"
#include "framework/window.h"

namespace halyard {
namespace {

// Messages whose answer is the dialog procedure's own return value rather than DWLP_MSGRESULT.
bool answersDirectly(UINT message) {
    switch (message) {
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
        case WM_COMPAREITEM:
        case WM_VKEYTOITEM:
        case WM_CHARTOITEM:
        case WM_QUERYDRAGICON:
        case WM_INITDIALOG:
            return true;
        default:
            return false;
    }
}

}  // namespace

Dialog::Dialog(int templateId, HWND parent) : templateId_(templateId), parent_(parent) {}

INT_PTR Dialog::doModal() {
    if (hwnd_) return -1;
    return DialogBoxParamW(Application::resourceInstance(), MAKEINTRESOURCEW(templateId_), parent_,
                           dialogProc, reinterpret_cast<LPARAM>(this));
}

bool Dialog::updateData(bool saveAndValidate) {
    if (!hwnd_) return false;
    DataExchange exchange(hwnd_, saveAndValidate);
    doDataExchange(exchange);
    if (exchange.failed()) return false;
    exchange.commit();
    return true;
}

void Dialog::endDialog(INT_PTR result) {
    if (hwnd_) EndDialog(hwnd_, result);
}

HWND Dialog::item(int id) const {
    return hwnd_ ? GetDlgItem(hwnd_, id) : nullptr;
}

std::wstring Dialog::itemText(int id) const {
    return controlText(item(id));
}

void Dialog::setItemText(int id, const std::wstring& text) {
    if (HWND window = item(id)) SetWindowTextW(window, text.c_str());
}

void Dialog::enableItem(int id, bool enabled) {
    if (HWND window = item(id)) EnableWindow(window, enabled ? TRUE : FALSE);
}

void Dialog::doDataExchange(DataExchange&) {}

bool Dialog::onInitDialog() {
    updateData(false);
    return true;
}

bool Dialog::onCommand(int id, int, HWND) {
    if (id == IDOK) {
        onOK();
        return true;
    }
    if (id == IDCANCEL) {
        onCancel();
        return true;
    }
    return false;
}

void Dialog::onOK() {
    if (updateData(true)) endDialog(IDOK);
}

void Dialog::onCancel() {
    endDialog(IDCANCEL);
}

bool Dialog::onNotify(int, NMHDR&, LRESULT&) {
    return false;
}
void Dialog::onTimer(UINT_PTR) {}
bool Dialog::onSysCommand(WPARAM, LPARAM) {
    return false;
}
bool Dialog::onPaint() {
    return false;
}
HICON Dialog::onQueryDragIcon() {
    return nullptr;
}
void Dialog::onDestroy() {}
bool Dialog::onMessage(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

bool Dialog::dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_INITDIALOG:
            if (templateWantsCentring(Application::resourceInstance(), templateId_)) centreOverOwner(hwnd_);
            result = onInitDialog() ? TRUE : FALSE;
            return true;
        case WM_COMMAND: {
            HWND control = reinterpret_cast<HWND>(lParam);
            int code = HIWORD(wParam);
            if (control) {
                if (Window* window = Window::fromHandle(control); window && window->reflectCommand(code))
                    return true;
            }
            return onCommand(LOWORD(wParam), code, control);
        }
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            if (!header) return false;
            if (Window* window = Window::fromHandle(header->hwndFrom);
                window && window->reflectNotify(*header, result))
                return true;
            return onNotify(static_cast<int>(header->idFrom), *header, result);
        }
        case WM_DRAWITEM: {
            auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            if (item && item->CtlType != ODT_MENU) {
                if (Window* window = Window::fromHandle(item->hwndItem);
                    window && window->reflectDrawItem(*item)) {
                    result = TRUE;
                    return true;
                }
            }
            return onMessage(message, wParam, lParam, result);
        }
        case WM_TIMER:
            onTimer(static_cast<UINT_PTR>(wParam));
            return true;
        case WM_SYSCOMMAND:
            return onSysCommand(wParam, lParam);
        case WM_PAINT:
            return onPaint();
        case WM_QUERYDRAGICON:
            result = reinterpret_cast<LRESULT>(onQueryDragIcon());
            return result != 0;
        case WM_DESTROY:
            onDestroy();
            return false;
        default:
            return onMessage(message, wParam, lParam, result);
    }
}

INT_PTR CALLBACK Dialog::dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Dialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        self->hwnd_ = window;
    } else {
        self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(window, DWLP_USER));
    }
    if (!self) return FALSE;

    LRESULT result = 0;
    bool handled = self->dispatch(message, wParam, lParam, result);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, DWLP_USER, 0);
        self->hwnd_ = nullptr;
    }
    if (!handled) return FALSE;
    if (answersDirectly(message)) return static_cast<INT_PTR>(result);
    SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
    return TRUE;
}

}  // namespace halyard
