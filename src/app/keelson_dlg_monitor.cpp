// Timers of the main window and what the monitor session has it show; the tool tips shown once
// after start-up.
#include "app/keelson_dlg.h"
#include "framework/message_box.h"
#include "res/resource.h"

void CKeelsonDlg::onTimer(UINT_PTR timerId) {
    if (timerId == kToolTipTimer) {
        showToolTips();
    } else if (timerId == kCommandTimer) {
        stepCommand();
    } else if (timerId == kMonitorTimer) {
        environment_.sendDueDailyReport(session_);
        session_.tick(currentLocalTime());
    }
}

void CKeelsonDlg::showStatusLine(const std::wstring& text) {
    HWND line = item(IDC_CONTACT_STATUS);
    if (!line) return;
    SetWindowTextW(line, text.c_str());
    // A connect or a sale blocks for seconds: the line must show before it starts.
    UpdateWindow(line);
}

void CKeelsonDlg::showRowCount(std::size_t count) {
    if (static_cast<int>(count) != positionList_.itemCount())
        positionList_.setItemCount(static_cast<int>(count), 0);
}

void CKeelsonDlg::repaintList() {
    positionList_.invalidate(true);
}

void CKeelsonDlg::showMessage(const std::wstring& text) {
    halyard::showMessageBox(hwnd(), text, MB_OK);
}

void CKeelsonDlg::updateRunButton() {
    if (session_.running()) {
        runButton_.setIcon(runningIcon_.get());
        runButton_.setToolTip(L"止盈止损运行中,点击将停止");
    } else {
        runButton_.setIcon(stoppedIcon_.get());
        runButton_.setToolTip(L"止盈止损已停止,点击将启动");
    }
}

void CKeelsonDlg::showToolTips() {
    updateRunButton();
    brokerSettingsButton_.setToolTip(L"设置(检测)券商");
    alertSettingsButton_.setToolTip(L"声音,发送手机短信,QQ信息");
    toolTips_.setToolText(item(IDC_TRACE_ORDER), L"追单如果勾上：把之前还没成交的委托撤掉再下新的卖单");
    toolTips_.activate(true);
    KillTimer(hwnd(), kToolTipTimer);
}
