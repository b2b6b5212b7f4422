// Routing of the main window's messages: buttons, list notifications, system menu, painting
// and the keys that must not end the monitoring.
#include <windows.h>

#include <commctrl.h>

#include "app/keelson_dlg.h"
#include "framework/message_box.h"
#include "res/resource.h"

bool CKeelsonDlg::onCommand(int id, int code, HWND control) {
    switch (id) {
        case IDC_TRACE_ORDER:
            // The box takes effect on its own, whatever the interval edit holds.
            if (code == BN_CLICKED)
                traceOrder = IsDlgButtonChecked(hwnd(), IDC_TRACE_ORDER) == BST_CHECKED ? TRUE : FALSE;
            syncTraceOrder();
            return true;
        case IDC_RUN_BUTTON:
            session_.setRunning(!session_.running());
            updateRunButton();
            return true;
        case IDC_CLOSE_ALL:
            closeAll();
            return true;
        case IDC_CANCEL_ALL:
            cancelAll();
            return true;
        case IDC_SUPPORT_LINK:
            showAbout();
            return true;
        case IDC_BROKER_SETTINGS:
            if (code == BN_CLICKED) brokerClient().openSettings();
            return true;
        case IDC_ALERT_SETTINGS:
            if (code == BN_CLICKED) openAlertSettings();
            return true;
        case ID_SELL_PLUS_FIVE:
            if (contextRow >= 0) session_.sellAtTestPrice(static_cast<size_t>(contextRow));
            return true;
        case ID_CANCEL_SELL_ORDER:
            if (contextRow >= 0) session_.cancelSellOrderOf(static_cast<size_t>(contextRow));
            return true;
        default:
            return halyard::Dialog::onCommand(id, code, control);
    }
}

// Enter reads the bound controls and restarts the monitor with the new interval; the window
// stays open.
void CKeelsonDlg::onOK() {
    if (updateData(true)) startMonitorTimer();
    syncTraceOrder();
}

// Esc must not end the monitoring; the close box, Alt+F4 and the system menu arrive as WM_CLOSE.
void CKeelsonDlg::onCancel() {}

bool CKeelsonDlg::onMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message == WM_QUERYENDSESSION) {
        result = TRUE;  // a log-off or shutdown is never held up
        return true;
    }
    if (message == WM_ENDSESSION) {
        // The process may be ended any moment after this returns: save what exit would save.
        if (wParam) saveForSessionEnd();
        result = 0;
        return true;
    }
    if (message != WM_CLOSE) return false;
    keepTypedInterval();
    endDialog(IDCANCEL);
    result = 0;
    return true;
}

bool CKeelsonDlg::onNotify(int id, NMHDR& header, LRESULT&) {
    if (id != IDC_POSITION_LIST) return false;
    switch (header.code) {
        case LVN_GETDISPINFOW:
            fillCellText(reinterpret_cast<NMLVDISPINFOW&>(header));
            return true;
        case NM_DBLCLK:
            editRule();
            return true;
        case NM_RCLICK:
            showContextMenu(reinterpret_cast<NMITEMACTIVATE&>(header));
            return true;
        default:
            return false;
    }
}

bool CKeelsonDlg::onSysCommand(WPARAM command, LPARAM) {
    if ((command & 0xFFF0) != IDM_ABOUTBOX) return false;
    showAbout();
    return true;
}

void CKeelsonDlg::showAbout() {
    halyard::Dialog about(IDD_ABOUTBOX, hwnd());
    about.doModal();
}

bool CKeelsonDlg::onPaint() {
    if (!IsIconic(hwnd())) return false;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd(), &paint);
    SendMessageW(hwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client{};
    GetClientRect(hwnd(), &client);
    const int width = GetSystemMetrics(SM_CXICON);
    const int height = GetSystemMetrics(SM_CYICON);
    DrawIcon(dc, (client.right - client.left - width + 1) / 2, (client.bottom - client.top - height + 1) / 2,
             icon_.get());
    EndPaint(hwnd(), &paint);
    return true;
}

HICON CKeelsonDlg::onQueryDragIcon() {
    return icon_.get();
}
