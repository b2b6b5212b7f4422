#include "framework/data_exchange.h"

#include <windowsx.h>

#include "common/control_text.h"
#include "framework/exchange_text.h"
#include "framework/message_box.h"
#include "framework/window.h"

namespace halyard {

DataExchange::DataExchange(HWND dialog, bool saveAndValidate) : dialog_(dialog), saving_(saveAndValidate) {}

HWND DataExchange::control(int id) {
    if (failed_ || !dialog_) return nullptr;
    HWND window = GetDlgItem(dialog_, id);
    if (window) lastId_ = id;
    return window;
}

void DataExchange::fail(const std::wstring& message) {
    failed_ = true;
    pending_.clear();
    showMessageBox(dialog_, message, MB_OK | MB_ICONEXCLAMATION);
    HWND offending = lastId_ ? GetDlgItem(dialog_, lastId_) : nullptr;
    if (!offending) return;
    SetFocus(offending);
    if (lastWasEdit_) SendMessageW(offending, EM_SETSEL, 0, -1);
}

DataExchange::Pending* DataExchange::pendingFor(const void* field) {
    for (auto it = pending_.rbegin(); it != pending_.rend(); ++it) {
        if (it->intField == field || it->floatField == field || it->textField == field) return &*it;
    }
    return nullptr;
}

void DataExchange::text(int id, int& value) {
    HWND edit = control(id);
    if (!edit) return;
    lastWasEdit_ = true;
    if (!saving_) {
        SetWindowTextW(edit, std::to_wstring(value).c_str());
        return;
    }
    int read = 0;
    if (!parseExchangeInt(controlText(edit), read)) return fail(notAnIntegerMessage());
    Pending entry;
    entry.intField = &value;
    entry.intValue = read;
    pending_.push_back(entry);
}

void DataExchange::text(int id, float& value) {
    HWND edit = control(id);
    if (!edit) return;
    lastWasEdit_ = true;
    if (!saving_) {
        SetWindowTextW(edit, formatExchangeFloat(value).c_str());
        return;
    }
    float read = 0;
    if (!parseExchangeFloat(controlText(edit), read)) return fail(notANumberMessage());
    Pending entry;
    entry.floatField = &value;
    entry.floatValue = read;
    pending_.push_back(entry);
}

void DataExchange::text(int id, std::wstring& value) {
    HWND window = control(id);
    if (!window) return;
    lastWasEdit_ = true;
    if (!saving_) {
        SetWindowTextW(window, value.c_str());
        return;
    }
    Pending entry;
    entry.textField = &value;
    entry.textValue = controlText(window);
    pending_.push_back(std::move(entry));
}

void DataExchange::check(int id, int& value) {
    HWND button = control(id);
    if (!button) return;
    lastWasEdit_ = false;
    if (!saving_) {
        SendMessageW(button, BM_SETCHECK, static_cast<WPARAM>(value), 0);
        return;
    }
    Pending entry;
    entry.intField = &value;
    entry.intValue = static_cast<int>(SendMessageW(button, BM_GETCHECK, 0, 0));
    pending_.push_back(entry);
}

void DataExchange::radio(int firstId, int& value) {
    HWND button = control(firstId);
    if (!button) return;
    lastWasEdit_ = false;
    int index = 0;
    int checked = -1;
    // The group runs from the first button to the next control that starts a group.
    do {
        if (SendMessageW(button, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) {
            if (saving_) {
                if (checked < 0 && SendMessageW(button, BM_GETCHECK, 0, 0) != BST_UNCHECKED) checked = index;
            } else {
                SendMessageW(button, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
            }
            ++index;
        }
        button = GetWindow(button, GW_HWNDNEXT);
    } while (button && !(GetWindowLongW(button, GWL_STYLE) & WS_GROUP));
    if (!saving_) return;
    Pending entry;
    entry.intField = &value;
    entry.intValue = checked;
    pending_.push_back(entry);
}

void DataExchange::comboIndex(int id, int& value) {
    HWND list = control(id);
    if (!list) return;
    lastWasEdit_ = false;
    if (!saving_) {
        ComboBox_SetCurSel(list, value);
        return;
    }
    const int selected = ComboBox_GetCurSel(list);
    if (selected < 0) return;
    Pending entry;
    entry.intField = &value;
    entry.intValue = selected;
    pending_.push_back(entry);
}

void DataExchange::range(int& value, int minimum, int maximum) {
    if (!saving_ || failed_) return;
    const Pending* read = pendingFor(&value);
    if (read && (read->intValue < minimum || read->intValue > maximum))
        fail(integerRangeMessage(minimum, maximum));
}

void DataExchange::range(float& value, float minimum, float maximum) {
    if (!saving_ || failed_) return;
    const Pending* read = pendingFor(&value);
    if (read && (read->floatValue < minimum || read->floatValue > maximum))
        fail(numberRangeMessage(minimum, maximum));
}

void DataExchange::commit() {
    if (!saving_ || failed_) return;
    for (Pending& entry : pending_) {
        if (entry.intField) *entry.intField = entry.intValue;
        if (entry.floatField) *entry.floatField = entry.floatValue;
        if (entry.textField) *entry.textField = entry.textValue;
    }
    pending_.clear();
}

}  // namespace halyard
